// The part of the process command line that is handed on to the setup program.
#ifndef STARTUP_COMMAND_LINE_H
#define STARTUP_COMMAND_LINE_H

// Returns a pointer into full_command_line just past the executable name and
// the blanks after it (codes 1 to 32). A name that starts with a double quote
// runs to the closing quote, which is skipped too; any other name ends before
// the first code of 32 or less. Trailing blanks stay; the tail may be empty.
// A null argument gives an empty tail.
const char *command_line_tail(const char *full_command_line);

#endif  // STARTUP_COMMAND_LINE_H
