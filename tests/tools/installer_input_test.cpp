// An installer executable is read through its descriptor, and one whose
// length disagrees with it is refused with the numbers.
#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "twpack_runner.h"

namespace {

using fixture::run_twpack;

bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

const std::string kArchive = fixture::make_archive({{"inst.exe", "setup", false}, {"data.bin", "payload", false}});

TEST(TwpackInstaller, ListsTestsAndExtractsTheCarriedArchive) {
  fixture::ScratchFolder scratch;
  const std::string setup = scratch.write("setup.exe", fixture::make_installer(kArchive, 1));

  const fixture::RunResult list = run_twpack({"list", setup});
  EXPECT_EQ(list.exit_status, 0) << list.err;
  EXPECT_TRUE(contains(list.out, "Installer: archive at offset 512, " + std::to_string(kArchive.size()) +
                                     " bytes, run mode silent\n"))
      << list.out;
  EXPECT_TRUE(contains(list.out, "OK      data.bin\n")) << list.out;

  EXPECT_EQ(run_twpack({"test", setup}).exit_status, 0);

  const fixture::RunResult extract = run_twpack({"extract", "-C", scratch / "out", setup});
  EXPECT_EQ(extract.exit_status, 0) << extract.err;
  EXPECT_EQ(fixture::list_tree(scratch.path() / "out"), (std::vector<std::string>{"data.bin", "inst.exe"}));
  EXPECT_EQ(fixture::read_file(scratch / "out/data.bin"), "payload");
}

TEST(TwpackInstaller, StubBytesThatLookLikeAHeaderAreNotTakenForTheArchive) {
  // A marker with a valid empty header inside the stub image must not be
  // found: the search starts at the descriptor's archive offset.
  std::string installer = fixture::make_installer(kArchive, 0);
  installer.replace(100, 10, std::string("\x60\xEA\x00\x00\x00\x00\x00\x00\x00\x00", 10));
  fixture::ScratchFolder scratch;
  const fixture::RunResult result = run_twpack({"test", scratch.write("setup.exe", installer)});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_TRUE(contains(result.out, "2 entries tested, 0 failed")) << result.out;
}

struct BadInstaller {
  const char *label;
  std::string bytes;
  std::string problem;
};

TEST(TwpackInstaller, LengthRuleAndDescriptorFaultsAreRefused) {
  const std::string good = fixture::make_installer(kArchive);
  const BadInstaller cases[] = {
      {"one byte appended", good + "!", "its length is " + std::to_string(good.size() + 1) + " bytes"},
      {"one byte missing", good.substr(0, good.size() - 1), "(bytes are missing)"},
      {"descriptor never filled", std::string("MZ") + std::string(510, '\0') + kArchive, "stub without an archive"},
      {"too short for a descriptor", std::string("MZ") + std::string(30, '\0'), "too short"},
  };
  fixture::ScratchFolder scratch;
  for (const BadInstaller &c : cases) {
    const std::string path = scratch.write("setup.exe", c.bytes);
    const std::vector<std::string> commands[] = {{"list", path}, {"test", path}, {"extract", "-C", scratch / "out", path}};
    for (const std::vector<std::string> &command : commands) {
      const fixture::RunResult result = run_twpack(command);
      EXPECT_EQ(result.exit_status, 1) << c.label << ", " << command[0];
      EXPECT_TRUE(contains(result.err, "twpack: " + path + ": ")) << result.err;
      EXPECT_TRUE(contains(result.err, c.problem)) << c.label << ": " << result.err;
    }
  }
  // Nothing was extracted from a refused installer.
  EXPECT_EQ(fixture::list_tree(scratch.path()), std::vector<std::string>{"setup.exe"});
}

}  // namespace
