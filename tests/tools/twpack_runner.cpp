#include "twpack_runner.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char **environ;

namespace fixture {

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "twpack-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ScratchFolder::write(const std::string &name, const std::string &bytes) const {
  const std::string full = (path_ / name).string();
  std::ofstream out(full, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return full;
}

std::string read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> list_tree(const std::filesystem::path &folder) {
  std::vector<std::string> names;
  for (const auto &item : std::filesystem::recursive_directory_iterator(folder)) {
    names.push_back(std::filesystem::relative(item.path(), folder).generic_string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

// Starts twpack with stdout captured in a file and stderr on `err_fd`, or
// captured too when `err_fd` is -1.
RunResult spawn_twpack(const std::vector<std::string> &args, int err_fd) {
  ScratchFolder capture;
  const std::string out_path = capture / "stdout";
  const std::string err_path = capture / "stderr";

  std::vector<std::string> argv_text = {TWPACK_PATH};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char *> argv;
  for (std::string &arg : argv_text) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (err_fd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, err_fd, 2);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + argv_text[0]);

  int status = 0;
  ::waitpid(pid, &status, 0);
  RunResult result;
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = read_file(out_path);
  if (err_fd < 0) result.err = read_file(err_path);
  return result;
}

}  // namespace

RunResult run_twpack(const std::vector<std::string> &args) { return spawn_twpack(args, -1); }

RunResult run_twpack_on_terminal(const std::vector<std::string> &args) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    throw std::runtime_error("no pseudo-terminal");
  }
  const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  if (slave < 0) throw std::runtime_error("cannot open the pseudo-terminal");
  // Raw, so the bytes arrive as written (no LF to CR LF on the way).
  termios mode{};
  ::tcgetattr(slave, &mode);
  ::cfmakeraw(&mode);
  ::tcsetattr(slave, TCSANOW, &mode);

  RunResult result = spawn_twpack(args, slave);
  ::close(slave);
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(master, buffer, sizeof buffer);
    if (got <= 0) break;  // EIO once the other side is closed and drained
    result.err.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(master);
  return result;
}

}  // namespace fixture
