// "RPARA.DAT": the command-line tail handed on to the setup program.
#ifndef STARTUP_PARAMETER_FILE_H
#define STARTUP_PARAMETER_FILE_H

#include "platform/os.h"

// Writes the tail, byte for byte and whole, to staging_folder + "RPARA.DAT",
// replacing an older file. An empty tail writes nothing. Failures are silent.
void write_parameter_file(platform::Os &os, const char *staging_folder, const char *command_line_tail);

#endif  // STARTUP_PARAMETER_FILE_H
