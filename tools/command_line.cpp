#include "tools/command_line.h"

#include <cstring>
#include <vector>

namespace twpack {

ParsedArgs parse_args(int argc, char **argv, std::initializer_list<OptionSpec> specs) {
  ParsedArgs parsed;
  const std::vector<OptionSpec> known(specs);
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

    const OptionSpec *spec = nullptr;
    std::string value;
    bool has_inline_value = false;
    if (arg[1] == '-') {
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
      for (const OptionSpec &s : known) {
        if (name == s.long_name) spec = &s;
      }
      if (spec != nullptr && equals != std::string::npos) {
        if (!spec->takes_value) {
          parsed.error = "option '--" + name + "' takes no value";
          return parsed;
        }
        value = arg.substr(equals + 1);
        has_inline_value = true;
      }
    } else {
      for (const OptionSpec &s : known) {
        if (s.short_name != 0 && arg[1] == s.short_name) spec = &s;
      }
      if (spec != nullptr && arg.size() > 2) {
        if (!spec->takes_value) {
          // Joined flags ("-fv") are not worth the ambiguity; say so plainly.
          parsed.error = "unknown option '" + arg + "'";
          return parsed;
        }
        value = arg.substr(2);
        has_inline_value = true;
      }
    }
    if (spec == nullptr) {
      parsed.error = "unknown option '" + arg + "'";
      return parsed;
    }
    if (spec->takes_value && !has_inline_value) {
      if (i + 1 >= argc) {
        parsed.error = "option '" + arg + "' needs a value";
        return parsed;
      }
      value = argv[++i];
    }
    parsed.options[spec->long_name] = value;
  }
  return parsed;
}

}  // namespace twpack
