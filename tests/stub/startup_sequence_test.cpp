// The start-up from the guard to the dialog hand-off, through the OS double.
#include "startup/startup_sequence.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "startup/command_line.h"
#include "startup/parameter_file.h"
#include "stub_fixtures.h"

namespace {

using platform::FakeOs;
using stub_test::installer_image;
using stub_test::RecordingLauncher;

const char kAlreadyRunning[] =
    "The installation is already running on this system.\nInstallation cannot proceed further.\n\nAborting Installation";
const char kNoModule[] = "Internal error occured.Installation cannot procced further.\n\nAborting Installation";
const char kNoTemp[] =
    "Could not get the Temp folder location.Installation cannot procced further.\n\nAborting Installation";
const char kNoTempName[] =
    "Could not get the Temp folder name.Installation cannot procced further.\n\nAborting Installation";
const char kInternalTwoBreaks[] =
    "Internal error occured while extracting files for installation.\nInstallation cannot procced further.\n\n"
    "Aborting Installation";
const char kCannotCreate[] =
    "Cannot create folder for extracting installation files.\nInstallation cannot procced further.\nAborting Installation";
const char kInternalOneBreak[] =
    "Internal error occured while extracting files for installation.\nInstallation cannot procced further.\n"
    "Aborting Installation";
const char kCorrupt[] =
    "The Installation files seems to be corrupt.\nPlease contact your Vendor.\nInstallation cannot procced further";
const char kCaption[] = "Tarnwell Installer";

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    process_exit_code = 0;
    archive = stub_test::patterned_bytes(5000);
    os.write_file_bytes(os.module, installer_image(archive, 0));
  }
  std::uint32_t run(const char *tail = "") { return run_startup(os, tail, launcher, state); }

  FakeOs os;
  RecordingLauncher launcher;
  StartupState state;
  std::string archive;
};

TEST_F(Startup, CompleteRunHandsTheStagedArchiveToTheDialog) {
  launcher.exit_code_to_leave = 3;
  EXPECT_EQ(run(), 3u);

  EXPECT_TRUE(os.message_boxes.empty());
  EXPECT_TRUE(os.library_search_restricted);
  EXPECT_EQ(launcher.runs, 1);
  EXPECT_EQ(launcher.folder, "C:\\Temp\\TW1A\\");
  EXPECT_EQ(launcher.mode, 0);
  EXPECT_STREQ(state.staging_path, "C:\\Temp\\TW1A");
  EXPECT_NE(state.instance_mutex, nullptr);
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\TWDATA.ARJ"), archive);
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A.TMP"));  // only the name was wanted
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\RPARA.DAT"));
  EXPECT_EQ(os.open_descriptors(), 0);
}

TEST_F(Startup, ExitCodeIsZeroWhenTheDialogLeavesNone) { EXPECT_EQ(run(), 0u); }

struct FailureCase {
  const char *what;
  std::function<void(FakeOs &)> arrange;
  std::uint32_t exit_code;
  const char *text;
  const char *caption;
};

class StartupFailure : public Startup, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StartupFailure, ShowsItsBoxAndEndsWithItsCode) {
  GetParam().arrange(os);
  EXPECT_EQ(run("/x"), GetParam().exit_code);
  ASSERT_EQ(os.message_boxes.size(), 1u);
  EXPECT_EQ(os.message_boxes[0].text, GetParam().text);
  EXPECT_EQ(os.message_boxes[0].caption, GetParam().caption);
  EXPECT_EQ(launcher.runs, 0);
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\RPARA.DAT"));
  EXPECT_EQ(os.open_descriptors(), 0);
}

const FailureCase kFailures[] = {
    {"another_installer_runs", [](FakeOs &o) { o.taken_mutex_names.insert("Tarnwell Unpack Mutex 1.0"); }, 0,
     kAlreadyRunning, kCaption},
    {"mutex_cannot_be_made", [](FakeOs &o) { o.create_mutex_fails = true; }, 0, kAlreadyRunning, kCaption},
    {"no_module_path", [](FakeOs &o) { o.module_path_fails = true; }, 0, kNoModule, kCaption},
    {"module_path_cut_short", [](FakeOs &o) { o.module = "C:\\" + std::string(300, 'm'); }, 0, kNoModule, kCaption},
    {"no_temp_folder", [](FakeOs &o) { o.temp_folder_fails = true; }, 126, kNoTemp, kCaption},
    {"temp_folder_too_long", [](FakeOs &o) { o.temp = "C:\\" + std::string(270, 't') + "\\"; }, 126, kNoTemp,
     kCaption},
    {"no_temp_name", [](FakeOs &o) { o.unique_temp_fails = true; }, 127, kNoTempName, kCaption},
    {"temp_name_without_dot", [](FakeOs &o) { o.unique_temp_override = "C:\\Temp\\TW1A"; }, 0, kInternalTwoBreaks,
     kCaption},
    {"staging_path_leaves_no_room",
     [](FakeOs &o) { o.unique_temp_override = "C:\\Temp\\" + std::string(240, 'd') + ".TMP"; }, 0,
     kInternalTwoBreaks, kCaption},
    {"folder_cannot_be_made", [](FakeOs &o) { o.create_folder_fails = true; }, 0, kCannotCreate, kCaption},
    {"executable_cannot_be_opened", [](FakeOs &o) { o.module = "C:\\Installers\\missing.exe"; }, 0,
     kInternalOneBreak, kCaption},
    {"descriptor_cut_short", [](FakeOs &o) { o.write_file_bytes(o.module, std::string(36, 'M')); }, 0,
     kInternalOneBreak, kCaption},
    {"length_mismatch",
     [](FakeOs &o) { o.write_file_bytes(o.module, installer_image(std::string(100, 'a'), 0) + "X"); }, 130, kCorrupt,
     "Tarnwell installer"},
    {"archive_copy_fails",
     [](FakeOs &o) {
       o.write_file_bytes(o.module, installer_image(std::string(9000, 'a'), 0));
       o.write_budget = 4096;
     },
     129, kInternalOneBreak, kCaption},
};

INSTANTIATE_TEST_SUITE_P(Rows, StartupFailure, ::testing::ValuesIn(kFailures),
                         [](const ::testing::TestParamInfo<FailureCase> &row) { return row.param.what; });

TEST_F(Startup, FailureAfterTheFolderLeavesTheEmptyFolderBehind) {
  os.write_file_bytes(os.module, "MZ");
  EXPECT_EQ(run(), 0u);
  EXPECT_TRUE(os.is_folder("C:\\Temp\\TW1A"));
}

TEST_F(Startup, CorruptInstallerCreatesNoArchiveCopy) {
  os.write_file_bytes(os.module, std::string(600, '\0'));  // descriptor never filled
  EXPECT_EQ(run(), 130u);
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\TWDATA.ARJ"));
}

struct RunModeCase {
  std::int8_t byte;
  std::int32_t mode;
};

class StartupRunMode : public Startup, public ::testing::WithParamInterface<RunModeCase> {};

TEST_P(StartupRunMode, ReachesTheDialogSignExtended) {
  os.write_file_bytes(os.module, installer_image(archive, GetParam().byte));
  run();
  EXPECT_EQ(launcher.mode, GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(Bytes, StartupRunMode,
                         ::testing::Values(RunModeCase{0, 0}, RunModeCase{1, 1}, RunModeCase{2, 2},
                                           RunModeCase{-1, -1}, RunModeCase{-128, -128}));

// The parameter file carries the tail byte for byte, whole, and only the new one.
struct ParameterCase {
  const char *what;
  std::string tail;
};

class ParameterFile : public Startup, public ::testing::WithParamInterface<ParameterCase> {};

TEST_P(ParameterFile, HoldsExactlyTheTail) {
  run(GetParam().tail.c_str());
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\RPARA.DAT"), GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(Tails, ParameterFile,
                         ::testing::Values(ParameterCase{"blanks_kept", "-a  /x "},
                                           ParameterCase{"longer_than_a_path", std::string(5000, 'p') + " end"}),
                         [](const ::testing::TestParamInfo<ParameterCase> &row) { return row.param.what; });

TEST_F(Startup, EmptyTailWritesNoParameterFile) {
  run(command_line_tail("setup.exe   "));
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\RPARA.DAT"));
}

TEST_F(Startup, ParameterFileReplacesALongerOlderOne) {
  os.make_folder("C:\\Stage\\");
  os.write_file_bytes("C:\\Stage\\RPARA.DAT", "an older and much longer tail");
  write_parameter_file(os, "C:\\Stage\\", "/new");
  EXPECT_EQ(os.read_file_bytes("C:\\Stage\\RPARA.DAT"), "/new");
  EXPECT_EQ(os.open_descriptors(), 0);
}

// The guard.
struct OsCase {
  std::uint32_t platform_id;
  std::uint32_t major;
  int code;
  const char *mutex_name;
};

class Guard : public ::testing::TestWithParam<OsCase> {};

TEST_P(Guard, NamesTheMutexAfterTheSystem) {
  FakeOs os;
  os.version = {GetParam().platform_id, GetParam().major};
  EXPECT_EQ(classify_os(os), GetParam().code);
  platform::Handle mutex = nullptr;
  EXPECT_EQ(is_already_running(os, mutex), 0);
  EXPECT_NE(mutex, nullptr);
  EXPECT_EQ(os.open_handles(), 1);  // held, never closed
  ASSERT_EQ(os.mutex_names.size(), 1u);
  EXPECT_EQ(os.mutex_names[0], GetParam().mutex_name);
}

INSTANTIATE_TEST_SUITE_P(Versions, Guard,
                         ::testing::Values(OsCase{2, 3, 1004, "Tarnwell Unpack Mutex 1.0"},
                                           OsCase{2, 4, 1004, "Tarnwell Unpack Mutex 1.0"},
                                           OsCase{2, 5, 1005, "Global\\Tarnwell Unpack Mutex 1.0"},
                                           OsCase{2, 6, 1000, "Tarnwell Unpack Mutex 1.0"},
                                           OsCase{2, 10, 1000, "Tarnwell Unpack Mutex 1.0"},
                                           OsCase{1, 4, 1000, "Tarnwell Unpack Mutex 1.0"},
                                           OsCase{0, 5, 1000, "Tarnwell Unpack Mutex 1.0"}),
                         [](const ::testing::TestParamInfo<OsCase> &param_info) {
                           return "platform" + std::to_string(param_info.param.platform_id) + "_major" +
                                  std::to_string(param_info.param.major);
                         });

TEST(GuardTaken, ClosesItsHandleAndReportsAnotherInstaller) {
  FakeOs os;
  os.taken_mutex_names.insert("Tarnwell Unpack Mutex 1.0");
  platform::Handle mutex = nullptr;
  EXPECT_EQ(is_already_running(os, mutex), 1);
  EXPECT_EQ(mutex, nullptr);
  EXPECT_EQ(os.open_handles(), 0);
}

}  // namespace
