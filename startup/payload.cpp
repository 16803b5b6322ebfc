#include "startup/payload.h"

#include "pack/installer_layout.h"
#include "platform/os_resources.h"
#include "platform/path_text.h"
#include "startup/startup_messages.h"

namespace {

constexpr std::uint32_t kCopyBlock = 4096;
unsigned char copy_buffer[kCopyBlock];

}  // namespace

int read_payload_descriptor(platform::Os &os, const char *executable_path, std::int32_t *run_mode,
                            std::uint32_t *archive_offset, std::uint32_t *archive_size) {
  if (executable_path == nullptr || run_mode == nullptr || archive_offset == nullptr || archive_size == nullptr) {
    return 0;
  }
  platform::FileDescriptor executable(os, os.open_file(executable_path, platform::OpenMode::kReadOnly));
  if (!executable.valid()) return 0;

  unsigned char bytes[pack::kDescriptorSize] = {};
  if (os.seek_file(executable.get(), static_cast<std::int32_t>(pack::kDescriptorOffset)) !=
      static_cast<std::int32_t>(pack::kDescriptorOffset)) {
    return 0;
  }
  // A short read would hand on whatever the buffer held: refuse instead.
  if (os.read_file(executable.get(), bytes, sizeof bytes) != static_cast<int>(sizeof bytes)) return 0;
  executable.close();

  const pack::PayloadDescriptor descriptor = pack::decode_descriptor(bytes);
  *archive_offset = descriptor.archive_offset;
  *archive_size = descriptor.archive_size;
  *run_mode = descriptor.run_mode;
  return 1;
}

StageResult stage_archive(platform::Os &os, const char *executable_path, const char *staging_folder,
                          std::uint32_t archive_offset, std::uint32_t archive_size) {
  if (executable_path == nullptr || staging_folder == nullptr) return StageResult::kFailed;

  char target_path[platform::kMaxPath] = {};
  if (!platform::path_join(target_path, staging_folder, "TWDATA.ARJ")) return StageResult::kFailed;

  platform::FileDescriptor executable(os, os.open_file(executable_path, platform::OpenMode::kReadOnly));
  if (!executable.valid()) return StageResult::kFailed;

  // The sum is taken wide, so that a descriptor whose fields wrap around
  // cannot pass for the executable's length.
  const std::int32_t length = os.file_length(executable.get());
  if (length < 0 || !pack::length_matches(pack::PayloadDescriptor{archive_offset, archive_size, 0},
                                          static_cast<std::uint64_t>(length))) {
    os.message_box(startup_text::kCorruptInstaller, startup_text::kCorruptCaption);
    return StageResult::kLengthMismatch;
  }

  platform::FileDescriptor target(os, os.open_file(target_path, platform::OpenMode::kReadWriteCreate));
  if (!target.valid()) return StageResult::kFailed;

  if (os.seek_file(executable.get(), static_cast<std::int32_t>(archive_offset)) !=
      static_cast<std::int32_t>(archive_offset)) {
    return StageResult::kFailed;
  }

  // Full blocks, then the rest (also when the rest is 0).
  std::uint32_t blocks = archive_size / kCopyBlock;
  const std::uint32_t rest = archive_size % kCopyBlock;
  for (;;) {
    const std::uint32_t count = blocks > 0 ? kCopyBlock : rest;
    if (os.read_file(executable.get(), copy_buffer, count) != static_cast<int>(count)) return StageResult::kFailed;
    // A full disk must not leave a short archive behind a report of success.
    if (os.write_file(target.get(), copy_buffer, count) != static_cast<int>(count)) return StageResult::kFailed;
    if (blocks == 0) break;
    --blocks;
  }

  target.close();
  executable.close();
  return StageResult::kStaged;
}
