// twpack extract: files land under the folder only, failed entries leave no
// file, and existing files are kept unless -f is given.
#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "twpack_runner.h"

namespace {

using fixture::list_tree;
using fixture::read_file;
using fixture::run_twpack;

bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

TEST(TwpackExtract, WritesEveryEntryIntoACreatedFolder) {
  fixture::ScratchFolder scratch;
  const std::string archive = scratch.write(
      "a.arj", fixture::make_archive({{"inst.exe", "setup", false},
                                      {"docs\\readme.txt", "hello\n", false},
                                      {"empty.dat", "", false},
                                      {std::string("bin/blob"), std::string("\0\x80\xff\r\n", 5), false}}));
  const std::string out = scratch / "new/out";

  const fixture::RunResult result = run_twpack({"extract", "-C", out, archive});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(contains(result.out, "4 of 4 entries extracted into " + out)) << result.out;
  EXPECT_EQ(list_tree(out), (std::vector<std::string>{"bin", "bin/blob", "docs", "docs/readme.txt", "empty.dat",
                                                     "inst.exe"}));
  EXPECT_EQ(read_file(out + "/inst.exe"), "setup");
  EXPECT_EQ(read_file(out + "/docs/readme.txt"), "hello\n");
  EXPECT_EQ(read_file(out + "/bin/blob"), std::string("\0\x80\xff\r\n", 5));
  EXPECT_EQ(read_file(out + "/empty.dat"), "");
}

TEST(TwpackExtract, FailedEntryLeavesNoFileAndTheOthersAreWritten) {
  fixture::ScratchFolder scratch;
  const std::string archive = scratch.write(
      "a.arj", fixture::make_archive({{"a.bin", "first", false},
                                      {"broken.bin", std::string(10000, 'x'), true},
                                      {"c.bin", "third", false}}));
  const std::string out = scratch / "out";

  const fixture::RunResult result = run_twpack({"extract", "-C", out, archive});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_TRUE(contains(result.err, archive + ": entry 2 \"broken.bin\": ")) << result.err;
  EXPECT_TRUE(contains(result.err, "(106)")) << result.err;
  // No half file, under its own name or a temporary one.
  EXPECT_EQ(list_tree(out), (std::vector<std::string>{"a.bin", "c.bin"}));

  // An archive that ends inside the last entry's data.
  const std::string whole = fixture::make_archive({{"a.bin", "first", false}, {"big.bin", std::string(20000, 'y'), false}});
  const std::string cut = scratch.write("cut.arj", whole.substr(0, whole.size() - 5000));
  const fixture::RunResult truncated = run_twpack({"extract", "-C", scratch / "cut", cut});
  EXPECT_EQ(truncated.exit_status, 1);
  EXPECT_TRUE(contains(truncated.err, cut + ": entry 2 \"big.bin\": ")) << truncated.err;
  EXPECT_TRUE(contains(truncated.err, "(104)")) << truncated.err;
  EXPECT_EQ(list_tree(scratch / "cut"), std::vector<std::string>{"a.bin"});
}

TEST(TwpackExtract, RefusesNamesThatWouldLandOutsideTheFolder) {
  fixture::ScratchFolder scratch;
  const std::string escape_target = (scratch.path() / "evil.txt").string();
  const std::vector<std::string> bad_names = {"../evil.txt", "sub\\..\\..\\evil.txt", escape_target,
                                              "\\evil.txt", "C:evil.txt", "c:\\evil.txt"};
  std::vector<fixture::Entry> entries = {{"good.txt", "kept", false}};
  for (const std::string &name : bad_names) entries.push_back({name, "escaped", false});
  entries.push_back({"last.txt", "after the refusals", false});
  const std::string archive = scratch.write("a.arj", fixture::make_archive(entries));
  const std::string out = scratch / "out";

  const fixture::RunResult result = run_twpack({"extract", "-C", out, archive});
  EXPECT_EQ(result.exit_status, 1);
  for (const std::string &name : bad_names) {
    EXPECT_TRUE(contains(result.err, "\"" + name + "\": refused")) << name << "\n" << result.err;
  }
  EXPECT_EQ(list_tree(out), (std::vector<std::string>{"good.txt", "last.txt"}));
  EXPECT_EQ(list_tree(scratch.path()), (std::vector<std::string>{"a.arj", "out", "out/good.txt", "out/last.txt"}));
}

TEST(TwpackExtract, KeepsExistingFilesUnlessForced) {
  fixture::ScratchFolder scratch;
  const std::string archive =
      scratch.write("a.arj", fixture::make_archive({{"a.txt", "new a", false}, {"b.txt", "new b", false}}));
  const std::string out = scratch / "out";
  std::filesystem::create_directories(out);
  scratch.write("out/a.txt", "old a");

  const fixture::RunResult kept = run_twpack({"extract", "-C", out, archive});
  EXPECT_EQ(kept.exit_status, 1);
  EXPECT_TRUE(contains(kept.err, "\"a.txt\": " + out + "/a.txt exists (use -f to overwrite)")) << kept.err;
  EXPECT_EQ(read_file(out + "/a.txt"), "old a");
  EXPECT_EQ(read_file(out + "/b.txt"), "new b");

  // A second run meets b.txt as well; -f replaces both.
  const fixture::RunResult forced = run_twpack({"extract", "-f", "-C", out, archive});
  EXPECT_EQ(forced.exit_status, 0) << forced.err;
  EXPECT_EQ(read_file(out + "/a.txt"), "new a");
  EXPECT_EQ(list_tree(out), (std::vector<std::string>{"a.txt", "b.txt"}));

  // Two entries of one name: the second must not silently replace the first.
  const std::string twice =
      scratch.write("twice.arj", fixture::make_archive({{"x.txt", "first", false}, {"x.txt", "second", false}}));
  const fixture::RunResult duplicate = run_twpack({"extract", "-C", scratch / "dup", twice});
  EXPECT_EQ(duplicate.exit_status, 1);
  EXPECT_EQ(read_file(scratch / "dup/x.txt"), "first");
}

TEST(TwpackExtract, DestinationThatIsNotAFolderIsAFailure) {
  fixture::ScratchFolder scratch;
  const std::string archive = scratch.write("a.arj", fixture::make_archive({{"a.txt", "a", false}}));
  const std::string file = scratch.write("plain", "not a folder");

  const fixture::RunResult result = run_twpack({"extract", "-C", file, archive});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_TRUE(contains(result.err, "twpack: " + file + ": ")) << result.err;
}

}  // namespace
