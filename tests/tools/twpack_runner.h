// Runs the real twpack binary and a scratch folder for its files.
#ifndef TESTS_TOOLS_TWPACK_RUNNER_H
#define TESTS_TOOLS_TWPACK_RUNNER_H

#include <filesystem>
#include <string>
#include <vector>

namespace fixture {

struct RunResult {
  int exit_status = -1;  // -1: did not exit normally
  std::string out;
  std::string err;
};

// Runs twpack with `args`, stdin empty, stdout and stderr captured (so
// neither is a terminal).
RunResult run_twpack(const std::vector<std::string> &args);

// The same with stderr on a pseudo-terminal; `err` is what reached it.
RunResult run_twpack_on_terminal(const std::vector<std::string> &args);

// A fresh folder, removed with everything in it at the end of the test.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;

  const std::filesystem::path &path() const { return path_; }
  std::string operator/(const std::string &name) const { return (path_ / name).string(); }

  // Writes `bytes` to `name` inside the folder and returns the full path.
  std::string write(const std::string &name, const std::string &bytes) const;

 private:
  std::filesystem::path path_;
};

std::string read_file(const std::string &path);

// Files and folders below `folder`, relative, sorted.
std::vector<std::string> list_tree(const std::filesystem::path &folder);

}  // namespace fixture

#endif  // TESTS_TOOLS_TWPACK_RUNNER_H
