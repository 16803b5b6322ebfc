#include "startup/parameter_file.h"

#include <cstring>

#include "platform/os_resources.h"
#include "platform/path_text.h"

void write_parameter_file(platform::Os &os, const char *staging_folder, const char *command_line_tail) {
  if (staging_folder == nullptr || command_line_tail == nullptr || command_line_tail[0] == '\0') return;

  char path[platform::kMaxPath] = {};
  if (!platform::path_join(path, staging_folder, "RPARA.DAT")) return;
  // Deleted first: the file is opened without truncation, and an older,
  // longer tail must not show through.
  if (os.exists(path)) os.delete_file(path);

  platform::FileDescriptor file(os, os.open_file(path, platform::OpenMode::kReadWriteCreate));
  if (!file.valid()) return;
  // Written straight from the tail, so that a tail of any length arrives whole.
  const std::size_t length = std::strlen(command_line_tail);
  os.write_file(file.get(), command_line_tail, static_cast<std::uint32_t>(length));
}
