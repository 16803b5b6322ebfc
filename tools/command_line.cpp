#include "tools/command_line.h"

#include <cstring>
#include <vector>

namespace twpack {

ParsedArgs parse_args(int argc, char **argv, std::initializer_list<OptionRule> rules) {
  ParsedArgs parsed;
  const std::vector<OptionRule> known(rules);
  bool options_ended = false;

  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      parsed.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      parsed.help = true;
      continue;
    }

    const OptionRule *rule = nullptr;
    std::string value;
    bool has_inline_value = false;
    if (arg[1] == '-') {
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
      for (const OptionRule &s : known) {
        if (name == s.long_name) rule = &s;
      }
      if (rule != nullptr && equals != std::string::npos) {
        if (!rule->takes_value) {
          parsed.error = "option '--" + name + "' takes no value";
          return parsed;
        }
        value = arg.substr(equals + 1);
        has_inline_value = true;
      }
    } else {
      for (const OptionRule &s : known) {
        if (s.short_name != 0 && arg[1] == s.short_name) rule = &s;
      }
      if (rule != nullptr && arg.size() > 2) {
        if (!rule->takes_value) {
          // Joined flags ("-fv") are not worth the ambiguity; say so plainly.
          parsed.error = "unknown option '" + arg + "'";
          return parsed;
        }
        value = arg.substr(2);
        has_inline_value = true;
      }
    }
    if (rule == nullptr) {
      parsed.error = "unknown option '" + arg + "'";
      return parsed;
    }
    if (rule->takes_value && !has_inline_value) {
      if (i + 1 >= argc) {
        parsed.error = "option '" + arg + "' needs a value";
        return parsed;
      }
      value = argv[++i];
    }
    parsed.options[rule->long_name] = value;
  }
  return parsed;
}

}  // namespace twpack
