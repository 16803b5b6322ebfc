// How entry fields are shown.
#include "tools/entry_format.h"

#include <gtest/gtest.h>

namespace {

TEST(EntryFormat, NamesCannotCarryTerminalControls) {
  EXPECT_EQ(twpack::printable_name("evil\x1b]0;owned\x07.txt"), "evil?]0;owned?.txt");
  EXPECT_EQ(twpack::printable_name("tab\there\r\n\x7f"), "tab?here???");
  EXPECT_EQ(twpack::printable_name("caf\xc3\xa9.txt"), "caf\xc3\xa9.txt");
}

TEST(EntryFormat, FieldsReadTheWayTheyAreStored) {
  // 2024-05-17 13:45:30 in DOS form; a zero stamp has no month or day.
  EXPECT_EQ(twpack::dos_time_text(0x58B16DAFu), "2024-05-17 13:45:30");
  EXPECT_EQ(twpack::dos_time_text(0), "1980-00-00 00:00:00");
  EXPECT_EQ(twpack::ratio_text(50, 200), "25.0%");
  EXPECT_EQ(twpack::ratio_text(5, 0), "-");
  EXPECT_EQ(twpack::method_text(0), "stored");
  EXPECT_EQ(twpack::method_text(4), "4");
  EXPECT_EQ(twpack::method_text(9), "?9");
}

}  // namespace
