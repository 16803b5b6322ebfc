// twpack list and twpack test on archive files: every entry reported, a
// damaged entry fails without hiding the others, and a damaged archive names
// the file.
#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "twpack_runner.h"

namespace {

using fixture::run_twpack;

std::string repeated(const std::string &text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

const std::vector<fixture::Entry> kEntries = {
    {"inst.exe", "MZ setup program", false, 0},
    {"readme.txt", "hello\nworld\n", false, 0},
    {"empty.dat", "", false, 0},
    {"log/packed.txt", repeated("line of a log file\n", 200), false, 1},
};

bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

TEST(TwpackList, ShowsFieldsResultAndTotalsOfEveryEntry) {
  fixture::ScratchFolder scratch;
  const std::string archive = scratch.write("good.arj", fixture::make_archive(kEntries));

  const fixture::RunResult result = run_twpack({"list", archive});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_TRUE(result.err.empty()) << result.err;
  // readme.txt: 12 bytes stored, CRC-32 of "hello\nworld\n".
  EXPECT_TRUE(contains(result.out, "          12           12 100.0%  stored  2024-05-17 13:45:30  c4c55dff  OK      readme.txt\n"))
      << result.out;
  EXPECT_TRUE(contains(result.out, "OK      inst.exe\n")) << result.out;
  EXPECT_TRUE(contains(result.out, "      -  stored  2024-05-17 13:45:30  00000000  OK      empty.dat\n")) << result.out;
  // The packed entry: 3800 bytes, method 1, far smaller.
  EXPECT_TRUE(contains(result.out, "        3800 ")) << result.out;
  EXPECT_TRUE(contains(result.out, "%  1       2024-05-17 13:45:30  ")) << result.out;
  EXPECT_TRUE(contains(result.out, "OK      log/packed.txt\n")) << result.out;
  EXPECT_TRUE(contains(result.out, "        3828 ")) << result.out;
  EXPECT_TRUE(contains(result.out, "  4 entries, 0 failed\n")) << result.out;

  const fixture::RunResult quick = run_twpack({"list", "--quick", archive});
  EXPECT_EQ(quick.exit_status, 0);
  EXPECT_TRUE(contains(quick.out, "-       readme.txt\n")) << quick.out;
  EXPECT_TRUE(contains(quick.out, "4 entries, not checked\n")) << quick.out;
}

TEST(TwpackTest, PassesAGoodArchiveQuietly) {
  fixture::ScratchFolder scratch;
  const std::string archive = scratch.write("good.arj", fixture::make_archive(kEntries));

  const fixture::RunResult result = run_twpack({"test", archive});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.out,
            "OK      inst.exe\nOK      readme.txt\nOK      empty.dat\nOK      log/packed.txt\n"
            "4 entries tested, 0 failed\n");
  // Not a terminal: no progress line either.
  EXPECT_EQ(result.err, "");
}

TEST(TwpackTest, ShowsProgressOnATerminalAndErasesIt) {
  fixture::ScratchFolder scratch;
  const std::string archive = scratch.write("good.arj", fixture::make_archive(kEntries));

  const fixture::RunResult result = fixture::run_twpack_on_terminal({"test", archive});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_TRUE(contains(result.err, "\rentry 1 of 4  inst.exe  0 B of 3.7 KiB\x1b[K")) << result.err;
  EXPECT_TRUE(contains(result.err, "\rentry 4 of 4  log/packed.txt  ")) << result.err;
  // The line is erased before the report and at the end.
  EXPECT_EQ(result.err.substr(result.err.size() - 4), "\r\x1b[K");
  EXPECT_TRUE(contains(result.out, "4 entries tested, 0 failed\n")) << result.out;
}

TEST(TwpackListAndTest, DamagedEntryFailsAndTheOthersAreStillChecked) {
  fixture::ScratchFolder scratch;
  const std::string archive = scratch.write(
      "damaged.arj", fixture::make_archive({{"a.bin", "first", false},
                                            {"broken.bin", repeated("second", 100), true, 1},
                                            {"c.bin", "third", false}}));

  const fixture::RunResult test = run_twpack({"test", archive});
  EXPECT_EQ(test.exit_status, 1);
  EXPECT_TRUE(contains(test.out, "OK      a.bin\nFAILED  broken.bin: ")) << test.out;
  EXPECT_TRUE(contains(test.out, "(106)\nOK      c.bin\n3 entries tested, 1 failed\n")) << test.out;
  EXPECT_TRUE(contains(test.err, archive + ": 1 of 3 entries failed")) << test.err;

  const fixture::RunResult list = run_twpack({"list", archive});
  EXPECT_EQ(list.exit_status, 1);
  EXPECT_TRUE(contains(list.out, "FAILED  broken.bin: ")) << list.out;
  EXPECT_TRUE(contains(list.out, "OK      c.bin\n")) << list.out;
  EXPECT_TRUE(contains(list.out, "3 entries, 1 failed\n")) << list.out;
}

TEST(TwpackListAndTest, UnreadableInputIsAFailureNamingTheFile) {
  fixture::ScratchFolder scratch;
  const std::string good = fixture::make_archive(kEntries);
  // Cut inside the second entry's header: the first entry is still reported.
  const std::size_t second_header = good.find("readme.txt") - 34;
  struct Case {
    std::string path;
    const char *problem;
  } cases[] = {
      {scratch / "missing.arj", "No such file"},
      {scratch.path().string(), "is a folder"},
      {scratch.write("noise.bin", std::string(100, 'x')), "(111)"},
      {scratch.write("cut.arj", good.substr(0, second_header + 10)), "(104), after 1 good entry"},
  };
  for (const Case &c : cases) {
    for (const char *command : {"list", "test"}) {
      const fixture::RunResult result = run_twpack({command, c.path});
      EXPECT_EQ(result.exit_status, 1) << command << " " << c.path;
      EXPECT_TRUE(contains(result.err, "twpack: " + c.path + ": ")) << result.err;
      EXPECT_TRUE(contains(result.err, c.problem)) << command << " " << result.err;
    }
  }
}

}  // namespace
