// Usage texts and the handling of usage errors, shared by the commands.
#ifndef TOOLS_COMMAND_USAGE_H
#define TOOLS_COMMAND_USAGE_H

#include <string>

namespace twpack {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints "twpack COMMAND: PROBLEM" and a pointer to the command's help on
// stderr; returns kExitUsage.
int usage_error(const char *command, const std::string &problem);

// Prints `text` on stdout; returns kExitOk.
int print_help(const char *text);

}  // namespace twpack

#endif  // TOOLS_COMMAND_USAGE_H
