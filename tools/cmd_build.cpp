// Placeholder until the writer lands.
#include <cstdio>

#include "tools/commands.h"

namespace twpack {

int cmd_build(int, char **) {
  std::fputs("twpack build: not available yet\n", stderr);
  return 2;
}

}  // namespace twpack
