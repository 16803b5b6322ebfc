// The progress line draws only when enabled, and erases itself.
#include "tools/progress_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string contents(std::FILE *file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
  return text;
}

TEST(ProgressLine, DrawsEntryCountAndBytesInPlaceThenErases) {
  std::FILE *file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  {
    twpack::ProgressLine progress(file, true);
    progress.set_totals(3, 3 * 1024 * 1024);
    progress.begin_entry(2, "data.bin");
    progress.add_bytes(1536 * 1024);
    progress.clear();
  }
  const std::string text = contents(file);
  EXPECT_EQ(text.rfind("\rentry 2 of 3  data.bin  0 B of 3.0 MiB\x1b[K", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 4), "\r\x1b[K");
  std::fclose(file);
}

TEST(ProgressLine, DisabledLineWritesNothing) {
  std::FILE *file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  {
    twpack::ProgressLine progress(file, false);
    progress.set_totals(1, 10);
    progress.begin_entry(1, "a");
    progress.add_bytes(10);
  }
  EXPECT_EQ(contents(file), "");
  std::fclose(file);
}

TEST(HumanBytes, PicksAReadableUnit) {
  EXPECT_EQ(twpack::human_bytes(0), "0 B");
  EXPECT_EQ(twpack::human_bytes(1023), "1023 B");
  EXPECT_EQ(twpack::human_bytes(1536), "1.5 KiB");
  EXPECT_EQ(twpack::human_bytes(5ull << 30), "5.0 GiB");
}

}  // namespace
