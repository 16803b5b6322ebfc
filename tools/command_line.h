// A small option scanner shared by the twpack commands: short and long
// options, values given as "-C DIR", "-CDIR", "--dir DIR" or "--dir=DIR", and
// "--" to end the options.
#ifndef TOOLS_COMMAND_LINE_H
#define TOOLS_COMMAND_LINE_H

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace twpack {

struct OptionRule {
  char short_name;        // 0 when there is none
  const char *long_name;  // without the leading "--"; the key in ParsedArgs::options
  bool takes_value;
};

struct ParsedArgs {
  std::map<std::string, std::string> options;  // long name -> value ("" for flags)
  std::vector<std::string> operands;
  bool help = false;
  std::string error;  // not empty: the arguments are unusable (a usage error)

  bool has(const std::string &long_name) const { return options.count(long_name) != 0; }
};

// "-h" and "--help" are always known and set `help`.
ParsedArgs parse_args(int argc, char **argv, std::initializer_list<OptionRule> rules);

}  // namespace twpack

#endif  // TOOLS_COMMAND_LINE_H
