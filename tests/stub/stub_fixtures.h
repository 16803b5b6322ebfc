// Shared pieces of the stub tests: installer images, a dialog that records
// what the run asks of it, and a scripted engine.
#ifndef TESTS_STUB_STUB_FIXTURES_H
#define TESTS_STUB_STUB_FIXTURES_H

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "dialog/extraction_run.h"
#include "pack/installer_layout.h"
#include "platform/fake_os.h"
#include "startup/startup_sequence.h"

namespace stub_test {

// A stub image of stub_size bytes (a fake MS-DOS header and filler), the
// archive bytes after it, and the descriptor filled in as our writer does.
inline std::string installer_image(const std::string &archive, std::int8_t run_mode, std::size_t stub_size = 512) {
  std::string image(stub_size, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  for (std::size_t i = 64; i < stub_size; ++i) image[i] = static_cast<char>(i * 7);
  pack::PayloadDescriptor descriptor{static_cast<std::uint32_t>(stub_size),
                                     static_cast<std::uint32_t>(archive.size()), run_mode};
  unsigned char bytes[pack::kDescriptorSize];
  pack::encode_descriptor(descriptor, bytes);
  std::memcpy(&image[pack::kDescriptorOffset], bytes, sizeof bytes);
  return image + archive;
}

inline std::string patterned_bytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + i / 251) & 0xFF);
  return bytes;
}

class RecordingLauncher final : public DialogLauncher {
 public:
  void run_dialog(const char *staging_folder, std::int32_t run_mode) override {
    ++runs;
    folder = staging_folder;
    mode = run_mode;
    process_exit_code = exit_code_to_leave;
  }
  int runs = 0;
  std::string folder;
  std::int32_t mode = -999;
  std::uint32_t exit_code_to_leave = 0;
};

class RecordingDialog final : public DialogOps {
 public:
  void kill_timer(unsigned id) override { calls.push_back("kill_timer " + std::to_string(id)); }
  void set_progress_range(int upper) override { calls.push_back("range 0.." + std::to_string(upper)); }
  void set_progress_step(int step) override { calls.push_back("step size " + std::to_string(step)); }
  void step_progress() override {
    ++steps;
    calls.push_back("step");
  }
  void pump_messages() override { calls.push_back("pump"); }
  void hide() override { calls.push_back("hide"); }
  void end_dialog(int result) override { calls.push_back("end_dialog " + std::to_string(result)); }

  std::vector<std::string> calls;
  int steps = 0;
};

// Entries answered from a script; each extraction writes the entry's bytes
// to the output path like the engine would.
class ScriptedEngine final : public ArchiveEngine {
 public:
  struct Entry {
    std::string name;
    std::string bytes;
    int result = 0;
  };
  explicit ScriptedEngine(platform::FakeOs &os) : os_(os) {}

  int count_entries(const char *archive_path) override {
    counted_paths.emplace_back(archive_path);
    return count_override ? count_result : static_cast<int>(entries.size());
  }
  int extract_entry(const char *archive_path, int entry_number, const char *output_path, char *name_out) override {
    asked.push_back(entry_number);
    output_paths.emplace_back(output_path);
    (void)archive_path;
    if (entry_number < 1 || entry_number > static_cast<int>(entries.size())) return 1;
    const Entry &entry = entries[static_cast<std::size_t>(entry_number - 1)];
    os_.write_file_bytes(output_path, entry.bytes);
    std::strncpy(name_out, entry.name.c_str(), 255);
    name_out[255] = '\0';
    return entry.result;
  }

  std::vector<Entry> entries;
  bool count_override = false;
  int count_result = 0;
  std::vector<std::string> counted_paths;
  std::vector<int> asked;
  std::vector<std::string> output_paths;

 private:
  platform::FakeOs &os_;
};

}  // namespace stub_test

#endif  // TESTS_STUB_STUB_FIXTURES_H
