// twpack's commands. Each takes the arguments after its own name and returns
// the process exit status: 0 only when everything it was asked to do passed.
#ifndef TOOLS_COMMANDS_H
#define TOOLS_COMMANDS_H

namespace twpack {

int cmd_list(int argc, char **argv);
int cmd_test(int argc, char **argv);
int cmd_extract(int argc, char **argv);
int cmd_archive(int argc, char **argv);
int cmd_build(int argc, char **argv);

}  // namespace twpack

#endif  // TOOLS_COMMANDS_H
