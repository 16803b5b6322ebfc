// The staging folder: fresh, cleared and made anew, or reused.
#include "startup/staging_folder.h"

#include <gtest/gtest.h>

#include "stub_fixtures.h"

namespace {

using platform::FakeOs;
using platform::kMaxPath;

struct Made {
  StagingResult result;
  std::string folder;
  std::string path;
};

Made make(FakeOs &os) {
  char folder[kMaxPath] = {};
  char path[kMaxPath] = {};
  const StagingResult result = make_staging_folder(os, folder, path);
  return {result, folder, path};
}

TEST(StagingFolder, FreshFolderEndsWithOneBackslash) {
  FakeOs os;
  const Made made = make(os);
  EXPECT_EQ(made.result, StagingResult::kMade);
  EXPECT_EQ(made.folder, "C:\\Temp\\TW1A\\");
  EXPECT_EQ(made.path, "C:\\Temp\\TW1A");
  EXPECT_TRUE(os.is_folder("C:\\Temp\\TW1A"));
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A.TMP"));
}

TEST(StagingFolder, DotInTheTempFolderDoesNotCutThePath) {
  FakeOs os;
  os.temp = "C:\\Users\\j.doe\\Temp\\";
  os.make_folder(os.temp);
  const Made made = make(os);
  EXPECT_EQ(made.folder, "C:\\Users\\j.doe\\Temp\\TW1A\\");
  EXPECT_TRUE(os.is_folder("C:\\Users\\j.doe\\Temp\\TW1A"));
}

TEST(StagingFolder, LeftoverWithFilesIsEmptiedAndMadeAnew) {
  FakeOs os;
  os.make_folder("C:\\Temp\\TW1A\\");
  os.write_file_bytes("C:\\Temp\\TW1A\\TWDATA.ARJ", "old archive");
  os.write_file_bytes("C:\\Temp\\TW1A\\locked.txt", "read-only");
  os.set_read_only("C:\\Temp\\TW1A\\locked.txt");
  os.write_file_bytes("C:\\Temp\\TW1A\\.hidden", "x");

  const Made made = make(os);
  EXPECT_EQ(made.result, StagingResult::kMade);
  EXPECT_EQ(made.folder, "C:\\Temp\\TW1A\\");
  EXPECT_TRUE(os.is_folder("C:\\Temp\\TW1A"));
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\TWDATA.ARJ"));
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\locked.txt"));
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\.hidden"));
  EXPECT_EQ(os.open_finds(), 0);
}

TEST(StagingFolder, LeftoverWithSubfolderKeepsItAndIsReused) {
  FakeOs os;
  os.make_folder("C:\\Temp\\TW1A\\sub\\");
  os.write_file_bytes("C:\\Temp\\TW1A\\sub\\keep.txt", "kept");
  os.write_file_bytes("C:\\Temp\\TW1A\\gone.txt", "gone");
  os.create_folder_fails = true;  // reuse must not need a new folder

  const Made made = make(os);
  EXPECT_EQ(made.result, StagingResult::kMade);
  EXPECT_EQ(made.folder, "C:\\Temp\\TW1A\\");
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\sub\\keep.txt"), "kept");
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\gone.txt"));
}

TEST(StagingFolder, FileAtThePathIsReusedAndTheCopyThenFails) {
  FakeOs os;
  os.write_file_bytes("C:\\Temp\\TW1A", "a file, not a folder");
  os.write_file_bytes(os.module, stub_test::installer_image("archive", 0));
  stub_test::RecordingLauncher launcher;
  StartupState state;

  EXPECT_EQ(run_startup(os, "", launcher, state), 129u);
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A"), "a file, not a folder");
  EXPECT_EQ(launcher.runs, 0);
}

TEST(ClearFolder, RemovesAFolderOfFilesWithOrWithoutTrailingBackslash) {
  for (const char *path : {"C:\\Old", "C:\\Old\\"}) {
    FakeOs os;
    os.make_folder("C:\\Old\\");
    os.write_file_bytes("C:\\Old\\a", "1");
    os.write_file_bytes("C:\\Old\\b", "2");
    os.set_read_only("C:\\Old\\b");
    EXPECT_EQ(clear_folder(os, path), 0) << path;
    EXPECT_FALSE(os.has("C:\\Old")) << path;
  }
}

TEST(ClearFolder, LeavesSubfoldersAndReportsTheFolderKept) {
  FakeOs os;
  os.make_folder("C:\\Old\\deep\\");
  os.write_file_bytes("C:\\Old\\deep\\x", "x");
  EXPECT_EQ(clear_folder(os, "C:\\Old"), -1);
  EXPECT_TRUE(os.has("C:\\Old\\deep\\x"));
}

TEST(ClearFolder, RefusesAnEmptyPathRatherThanTheDriveRoot) {
  FakeOs os;
  os.write_file_bytes("C:\\top.txt", "x");
  EXPECT_EQ(clear_folder(os, ""), -1);
  EXPECT_EQ(clear_folder(os, nullptr), -1);
  EXPECT_TRUE(os.has("C:\\top.txt"));
}

}  // namespace
