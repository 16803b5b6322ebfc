// The run on the dialog's first timer tick, over a scripted engine.
#include "dialog/extraction_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/entry_name.h"
#include "stub_fixtures.h"

namespace {

using platform::FakeOs;
using stub_test::RecordingDialog;
using stub_test::ScriptedEngine;
using Calls = std::vector<std::string>;

const char kStage[] = "C:\\Temp\\TW1A\\";

class ExtractionRun : public ::testing::Test {
 protected:
  void SetUp() override {
    process_exit_code = 0;
    os.make_folder(kStage);
  }
  void add_entries(int count) {
    for (int i = 1; i <= count; ++i) {
      engine.entries.push_back({"FILE" + std::to_string(i) + ".DAT", "data " + std::to_string(i), 0});
    }
  }
  void extract() { extract_all(os, engine, dialog, kStage, kStage); }
  bool tick(unsigned id, std::int32_t mode) {
    return on_extract_timer(os, engine, dialog, id, mode, kStage, kStage);
  }

  FakeOs os;
  ScriptedEngine engine{os};
  RecordingDialog dialog;
};

TEST_F(ExtractionRun, ExtractsEveryEntryUnderItsOwnNameWithOneStepEach) {
  add_entries(3);
  extract();
  EXPECT_EQ(engine.counted_paths, std::vector<std::string>{"C:\\Temp\\TW1A\\TWDATA.ARJ"});
  EXPECT_EQ(engine.asked, (std::vector<int>{1, 2, 3}));
  for (const std::string &path : engine.output_paths) EXPECT_EQ(path, "C:\\Temp\\TW1A\\NEWFILE.TMP");
  EXPECT_EQ(dialog.calls, (Calls{"range 0..3", "step size 1", "pump", "step", "pump", "step", "pump", "step"}));
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\FILE" + std::to_string(i) + ".DAT"), "data " + std::to_string(i));
  }
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\NEWFILE.TMP"));
}

TEST_F(ExtractionRun, StopsAtTheFirstFailingEntry) {
  add_entries(7);
  engine.entries[4].result = 106;  // entry 5 damaged
  extract();
  EXPECT_EQ(engine.asked, (std::vector<int>{1, 2, 3, 4, 5}));  // entry 6 never asked for
  EXPECT_EQ(dialog.steps, 4);
  EXPECT_TRUE(os.has("C:\\Temp\\TW1A\\FILE4.DAT"));
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\FILE5.DAT"));
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\NEWFILE.TMP"), "data 5");
}

TEST_F(ExtractionRun, OnlyTheLow16BitsOfAResultCount) {
  add_entries(2);
  engine.entries[0].result = 0x10000;
  extract();
  EXPECT_EQ(dialog.steps, 2);
}

TEST_F(ExtractionRun, TakenNameKeepsTheTemporaryFileAndTheBarStillSteps) {
  add_entries(2);
  engine.entries[0].name = "RPARA.DAT";
  os.write_file_bytes("C:\\Temp\\TW1A\\RPARA.DAT", "/tail");
  engine.entries.resize(1);
  extract();
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\RPARA.DAT"), "/tail");
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\NEWFILE.TMP"), "data 1");
  EXPECT_EQ(dialog.steps, 1);
}

TEST_F(ExtractionRun, FailedCountIsTakenAsTheNumberOfEntries) {
  engine.count_override = true;
  engine.count_result = 103;  // archive cannot be opened
  extract();
  EXPECT_EQ(engine.asked, std::vector<int>{1});
  EXPECT_EQ(dialog.calls, (Calls{"range 0..103", "step size 1", "pump"}));
}

TEST_F(ExtractionRun, NegativeCountEndsBeforeTheBarIsTouched) {
  engine.count_override = true;
  engine.count_result = 0x8001;  // negative as a 16-bit value
  extract();
  EXPECT_TRUE(dialog.calls.empty());
  EXPECT_TRUE(engine.asked.empty());
}

TEST_F(ExtractionRun, EmptyArchiveSetsTheRangeOnly) {
  extract();
  EXPECT_EQ(dialog.calls, (Calls{"range 0..0", "step size 1"}));
}

// Names that would put a file outside the staging folder fail the entry.
class EscapingName : public ExtractionRun, public ::testing::WithParamInterface<const char *> {};

TEST_P(EscapingName, FailsTheEntry) {
  os.make_folder("C:\\Temp\\TW1A\\sub\\");
  add_entries(3);
  engine.entries[1].name = GetParam();
  extract();
  EXPECT_EQ(engine.asked, (std::vector<int>{1, 2}));
  EXPECT_EQ(dialog.steps, 1);
  EXPECT_FALSE(os.has("C:\\Temp\\EVIL.EXE"));
  EXPECT_FALSE(os.has("C:\\EVIL.EXE"));
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\NEWFILE.TMP"), "data 2");
}

INSTANTIATE_TEST_SUITE_P(Names, EscapingName,
                         ::testing::Values("..\\EVIL.EXE", "../EVIL.EXE", "sub\\..\\..\\EVIL.EXE", "\\EVIL.EXE",
                                           "/EVIL.EXE", "C:EVIL.EXE", "C:\\EVIL.EXE", "..", "... \\EVIL.EXE",
                                           ". .\\EVIL.EXE"));

TEST(EntryName, PlainAndNestedNamesStayInside) {
  for (const char *name : {"SETUP.EXE", "inst.exe", "sub\\FILE.TXT", ".profile", "a..b", "..x", "x.."}) {
    EXPECT_TRUE(is_contained_entry_name(name)) << name;
  }
}

TEST_F(ExtractionRun, NameTooLongForThePathFailsTheEntry) {
  add_entries(2);
  engine.entries[0].name = std::string(250, 'n');
  extract();
  EXPECT_EQ(engine.asked, std::vector<int>{1});
  EXPECT_EQ(dialog.steps, 0);
}

// The timer tick as a whole.
TEST_F(ExtractionRun, OtherTimersAreNotTheRuns) {
  EXPECT_FALSE(tick(101, 0));
  EXPECT_TRUE(dialog.calls.empty());
  EXPECT_TRUE(os.processes.empty());
}

TEST_F(ExtractionRun, TickRunsEveryStepInOrderEvenAfterAFailedEntry) {
  add_entries(2);
  engine.entries[0].result = 106;
  EXPECT_TRUE(tick(100, 2));
  EXPECT_EQ(dialog.calls, (Calls{"kill_timer 100", "range 0..2", "step size 1", "pump", "hide", "end_dialog 2"}));
  ASSERT_EQ(os.processes.size(), 1u);
}

struct CleanupCase {
  std::int32_t mode;
  bool copied;
};

class CleanupTool : public ExtractionRun, public ::testing::WithParamInterface<CleanupCase> {};

TEST_P(CleanupTool, IsCopiedToTheParentInModeZeroOnly) {
  engine.entries.push_back({"TWDELTMP.EXE", "cleanup tool", 0});
  os.write_file_bytes("C:\\Temp\\TWDELTMP.EXE", "older copy");
  tick(100, GetParam().mode);
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TWDELTMP.EXE"), GetParam().copied ? "cleanup tool" : "older copy");
}

INSTANTIATE_TEST_SUITE_P(Modes, CleanupTool,
                         ::testing::Values(CleanupCase{0, true}, CleanupCase{1, false}, CleanupCase{2, false},
                                           CleanupCase{-1, false}));

TEST(StageCleanupTool, TargetIsTheFolderAboveAndNeedsABackslash) {
  FakeOs os;
  os.make_folder("C:\\Temp\\TW1A\\");
  os.write_file_bytes("C:\\Temp\\TW1A\\TWDELTMP.EXE", "tool");
  stage_cleanup_tool(os, "C:\\Temp\\TW1A\\");
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TWDELTMP.EXE"), "tool");

  // No backslash before the trailing one: no parent to copy to.
  os.make_folder("TW1A\\");
  os.write_file_bytes("TW1A\\TWDELTMP.EXE", "x");
  stage_cleanup_tool(os, "TW1A\\");
  EXPECT_FALSE(os.has("TWDELTMP.EXE"));
  stage_cleanup_tool(os, "");
  stage_cleanup_tool(os, nullptr);
}

TEST(StageCleanupTool, MissingToolCopiesNothing) {
  FakeOs os;
  os.make_folder("C:\\Temp\\TW1A\\");
  stage_cleanup_tool(os, "C:\\Temp\\TW1A\\");
  EXPECT_FALSE(os.has("C:\\Temp\\TWDELTMP.EXE"));
}

// The setup launch.
struct LaunchCase {
  std::int32_t mode;
  const char *command_line;
  bool waits;
};

class SetupLaunch : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(SetupLaunch, StartsTheSetupProgramByItsFullPath) {
  FakeOs os;
  process_exit_code = 0;
  os.child_exit_code = 3;
  launch_setup(os, GetParam().mode, "C:\\Temp\\TW 1A\\");
  ASSERT_EQ(os.processes.size(), 1u);
  EXPECT_EQ(os.processes[0].application_name, "C:\\Temp\\TW 1A\\inst.exe");
  EXPECT_EQ(os.processes[0].command_line, GetParam().command_line);
  if (GetParam().waits) {
    EXPECT_EQ(os.events, (Calls{"wait", "exit code", "close process", "close thread"}));
    EXPECT_EQ(process_exit_code, 3u);
  } else {
    EXPECT_EQ(os.events, (Calls{"close process", "close thread"}));
    EXPECT_EQ(process_exit_code, 0u);
  }
  EXPECT_EQ(os.open_handles(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, SetupLaunch,
                         ::testing::Values(LaunchCase{1, "C:\\Temp\\TW 1A\\inst.exe /SILENT", true},
                                           LaunchCase{0, "C:\\Temp\\TW 1A\\inst.exe /STANDARD", false},
                                           LaunchCase{2, "C:\\Temp\\TW 1A\\inst.exe /STANDARD", false},
                                           LaunchCase{-1, "C:\\Temp\\TW 1A\\inst.exe /STANDARD", false}));

struct LaunchFailure {
  const char *what;
  bool start_fails;
  std::uint32_t wait_result;
  bool exit_code_fails;
  Calls events;
};

class SetupLaunchFailure : public ::testing::TestWithParam<LaunchFailure> {};

TEST_P(SetupLaunchFailure, LeavesTheExitCodeAndClosesWhatWasOpened) {
  FakeOs os;
  process_exit_code = 0;
  os.child_exit_code = 3;
  os.start_process_fails = GetParam().start_fails;
  os.wait_result = GetParam().wait_result;
  os.exit_code_fails = GetParam().exit_code_fails;
  launch_setup(os, 1, "C:\\Temp\\TW1A\\");
  EXPECT_EQ(os.events, GetParam().events);
  EXPECT_EQ(process_exit_code, 0u);
  EXPECT_EQ(os.open_handles(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupLaunchFailure,
    ::testing::Values(LaunchFailure{"not_started", true, 0, false, {}},
                      LaunchFailure{"wait_failed", false, platform::kWaitFailed, false,
                                    {"wait", "close process", "close thread"}},
                      LaunchFailure{"no_exit_code", false, 0, true,
                                    {"wait", "exit code", "close process", "close thread"}}),
    [](const ::testing::TestParamInfo<LaunchFailure> &row) { return row.param.what; });

TEST(SetupLaunchLongFolder, CommandLineBeyond260CharsIsWhole) {
  FakeOs os;
  const std::string folder = "C:\\" + std::string(243, 'f') + "\\";  // 247 chars, the longest allowed
  launch_setup(os, 0, folder.c_str());
  ASSERT_EQ(os.processes.size(), 1u);
  EXPECT_EQ(os.processes[0].command_line, folder + "inst.exe /STANDARD");
}

// The dialog's small decisions.
struct IconCase {
  int client_width;
  int expected_x;
};

class MinimisedIcon : public ::testing::TestWithParam<IconCase> {};

TEST_P(MinimisedIcon, IsCentredWithTruncatingDivision) {
  const IconOrigin origin = minimised_icon_origin(GetParam().client_width, 36, 32, 32);
  EXPECT_EQ(origin.x, GetParam().expected_x);
  EXPECT_EQ(origin.y, 2);
}

INSTANTIATE_TEST_SUITE_P(Widths, MinimisedIcon,
                         ::testing::Values(IconCase{37, 3}, IconCase{36, 2}, IconCase{0, -15}, IconCase{32, 0}));

TEST(DialogRules, OnlySilentModeHidesAndOnlyEscapeIsSwallowed) {
  EXPECT_TRUE(should_hide_window(1));
  for (std::int32_t mode : {0, 2, -1}) EXPECT_FALSE(should_hide_window(mode)) << mode;
  EXPECT_TRUE(is_swallowed_key(0x0100, 0x1B));
  EXPECT_FALSE(is_swallowed_key(0x0100, 0x0D));  // Enter
  EXPECT_FALSE(is_swallowed_key(0x0101, 0x1B));  // key up
  EXPECT_FALSE(is_swallowed_key(0x0102, 0x1B));  // character
}

}  // namespace
