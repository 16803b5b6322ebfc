// twpack: the command-line tool around the engine and the writer.
#include <cstdio>
#include <cstring>

#include "tools/command_usage.h"
#include "tools/commands.h"

namespace {

const char kUsage[] =
    "Usage: twpack COMMAND [OPTIONS] ...\n"
    "\n"
    "Commands:\n"
    "  list ARCHIVE        list the entries of an archive or installer, with results\n"
    "  test ARCHIVE        unpack every entry to nowhere and check its CRC\n"
    "  extract ARCHIVE     write the entries into a folder (-C DIR, -f)\n"
    "  archive PATH...     make an archive (-o OUT.arj)\n"
    "  build DIR|ARCHIVE   make an installer from a stub and a payload\n"
    "\n"
    "ARCHIVE is an archive file or an installer executable.\n"
    "'twpack COMMAND --help' describes a command.\n";

struct Command {
  const char *name;
  int (*run)(int argc, char **argv);
};

const Command kCommands[] = {
    {"list", twpack::cmd_list},       {"test", twpack::cmd_test},   {"extract", twpack::cmd_extract},
    {"archive", twpack::cmd_archive}, {"build", twpack::cmd_build},
};

const Command *find_command(const char *name) {
  for (const Command &command : kCommands) {
    if (std::strcmp(command.name, name) == 0) return &command;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return twpack::kExitUsage;
  }
  const char *name = argv[1];
  if (std::strcmp(name, "-h") == 0 || std::strcmp(name, "--help") == 0) return twpack::print_help(kUsage);
  if (std::strcmp(name, "help") == 0) {
    if (argc < 3) return twpack::print_help(kUsage);
    const Command *command = find_command(argv[2]);
    if (command == nullptr) {
      std::fprintf(stderr, "twpack: unknown command '%s'\n\n%s", argv[2], kUsage);
      return twpack::kExitUsage;
    }
    char help[] = "--help";
    char *help_argv[] = {help, nullptr};
    return command->run(1, help_argv);
  }
  const Command *command = find_command(name);
  if (command == nullptr) {
    std::fprintf(stderr, "twpack: unknown command '%s'\n\n%s", name, kUsage);
    return twpack::kExitUsage;
  }
  return command->run(argc - 2, argv + 2);
}
