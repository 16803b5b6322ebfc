// Placeholder until the writer lands.
#include <cstdio>

#include "tools/commands.h"

namespace twpack {

int cmd_archive(int, char **) {
  std::fputs("twpack archive: not available yet\n", stderr);
  return 2;
}

}  // namespace twpack
