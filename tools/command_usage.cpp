#include "tools/command_usage.h"

#include <cstdio>

namespace twpack {

int usage_error(const char *command, const std::string &problem) {
  std::fprintf(stderr, "twpack %s: %s\nTry 'twpack %s --help'.\n", command, problem.c_str(), command);
  return kExitUsage;
}

int print_help(const char *text) {
  std::fputs(text, stdout);
  return kExitOk;
}

}  // namespace twpack
