#include "startup/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TailCase {
  const char *command_line;
  const char *tail;
};

class CommandLineTail : public ::testing::TestWithParam<TailCase> {};

TEST_P(CommandLineTail, SkipsTheProgramNameAndTheBlanksAfterIt) {
  EXPECT_EQ(std::string(command_line_tail(GetParam().command_line)), GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineTail,
    ::testing::Values(TailCase{"setup.exe   -a  /x ", "-a  /x "},  // inner and trailing blanks stay
                      TailCase{"setup.exe", ""}, TailCase{"setup.exe    ", ""},
                      TailCase{"\"C:\\My Files\\setup.exe\" /q", "/q"},  // blanks inside quotes are the name's
                      TailCase{"\"C:\\My Files\\setup.exe\"", ""},
                      TailCase{"\"C:\\x.exe\"/q", "/q"},                 // the closing quote is not the tail's
                      TailCase{"\"C:\\unclosed quote /q", ""},           // the name runs to the end
                      TailCase{"setup.exe\t\x01\x1f" "arg", "arg"},     // codes 1 to 32 are blanks
                      TailCase{"setup.exe\xa0" "arg", ""},              // high characters belong to the name
                      TailCase{"", ""}));

TEST(CommandLineTailNull, IsEmpty) { EXPECT_STREQ(command_line_tail(nullptr), ""); }

}  // namespace
