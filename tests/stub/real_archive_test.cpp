// The extraction run and the whole start-up over our own engine and real
// archives made by the test-side writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/extraction_run.h"
#include "stub_fixtures.h"
#include "tests/support/arj_fixtures.h"

namespace {

using platform::FakeOs;
using stub_test::RecordingDialog;

const char kStage[] = "C:\\Temp\\TW1A\\";
const char kArchive[] = "C:\\Temp\\TW1A\\TWDATA.ARJ";

// Our engine, reached through the places the double keeps its files in.
class EngineOverFakeOs final : public ArchiveEngine {
 public:
  explicit EngineOverFakeOs(FakeOs &os) : os_(os) {}
  int count_entries(const char *archive_path) override {
    return default_archive_engine().count_entries(os_.native_path(archive_path).c_str());
  }
  int extract_entry(const char *archive_path, int entry_number, const char *output_path, char *name_out) override {
    asked.push_back(entry_number);
    return default_archive_engine().extract_entry(os_.native_path(archive_path).c_str(), entry_number,
                                                  os_.native_path(output_path).c_str(), name_out);
  }
  std::vector<int> asked;

 private:
  FakeOs &os_;
};

std::string text_of(const twtest::Bytes &bytes) { return std::string(bytes.begin(), bytes.end()); }

twtest::Bytes content(int i) {
  std::string text;
  for (int k = 0; k < 40 + i * 13; ++k) text += "entry " + std::to_string(i) + " line " + std::to_string(k) + "\n";
  return twtest::to_bytes(text);
}

// Stored and packed entries alternate, so both ways through the engine are used.
twtest::Entry numbered_entry(int i) {
  const std::string name = "FILE" + std::to_string(i) + ".TXT";
  const twtest::Bytes data = content(i);
  return i % 2 == 0 ? twtest::stored_entry(name, data) : twtest::make_entry(name, 1, data, twtest::lzh_compress(data));
}

class RealArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    process_exit_code = 0;
    os.make_folder(kStage);
  }
  void stage(const std::vector<twtest::Entry> &entries) {
    os.write_file_bytes(kArchive, text_of(twtest::archive(entries)));
  }
  void extract() { extract_all(os, engine, dialog, kStage, kStage); }

  FakeOs os;
  EngineOverFakeOs engine{os};
  RecordingDialog dialog;
};

TEST_F(RealArchive, SixtyThreeEntriesAreAllExtracted) {
  std::vector<twtest::Entry> entries;
  for (int i = 1; i <= 63; ++i) entries.push_back(numbered_entry(i));
  stage(entries);
  extract();
  EXPECT_EQ(dialog.calls.front(), "range 0..63");
  EXPECT_EQ(dialog.steps, 63);
  EXPECT_EQ(engine.asked.front(), 1);
  EXPECT_EQ(engine.asked.back(), 63);
  for (int i = 1; i <= 63; ++i) {
    EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\FILE" + std::to_string(i) + ".TXT"), text_of(content(i))) << i;
  }
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\NEWFILE.TMP"));
}

TEST_F(RealArchive, DamagedFifthEntryStopsTheRunAfterFour) {
  std::vector<twtest::Entry> entries;
  for (int i = 1; i <= 7; ++i) entries.push_back(numbered_entry(i));
  entries[4].packed[10] ^= 0x55;  // the CRC no longer matches
  stage(entries);
  extract();
  EXPECT_EQ(engine.asked, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(dialog.steps, 4);
  EXPECT_TRUE(os.has("C:\\Temp\\TW1A\\FILE4.TXT"));
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\FILE5.TXT"));
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\FILE6.TXT"));
}

TEST_F(RealArchive, MissingArchiveCountsAs103AndExtractsNothing) {
  extract();
  EXPECT_EQ(dialog.calls, (std::vector<std::string>{"range 0..103", "step size 1", "pump"}));
  EXPECT_EQ(engine.asked, std::vector<int>{1});
  EXPECT_EQ(dialog.steps, 0);
}

TEST_F(RealArchive, EscapingEntryNameIsRefused) {
  stage({numbered_entry(1), twtest::stored_entry("..\\EVIL.EXE", twtest::to_bytes("evil")), numbered_entry(3)});
  extract();
  EXPECT_EQ(dialog.steps, 1);
  EXPECT_FALSE(os.has("C:\\Temp\\EVIL.EXE"));
  EXPECT_FALSE(os.has("C:\\Temp\\TW1A\\FILE3.TXT"));
}

// From the installer image to the setup launch, through every part of the stub's logic.
class DialogOverRun final : public DialogLauncher {
 public:
  DialogOverRun(FakeOs &os, ArchiveEngine &engine) : os_(os), engine_(engine) {}
  void run_dialog(const char *staging_folder, std::int32_t run_mode) override {
    // The first tick of a foreign timer is passed by; the run's own does the work.
    EXPECT_FALSE(on_extract_timer(os_, engine_, dialog, 7, run_mode, staging_folder, staging_folder));
    EXPECT_TRUE(on_extract_timer(os_, engine_, dialog, 100, run_mode, staging_folder, staging_folder));
  }
  RecordingDialog dialog;

 private:
  FakeOs &os_;
  ArchiveEngine &engine_;
};

struct WholeRunCase {
  std::int8_t mode;
  std::uint32_t exit_code;
  const char *command_line;
  bool cleanup_copied;
};

class WholeRun : public RealArchive, public ::testing::WithParamInterface<WholeRunCase> {};

TEST_P(WholeRun, ExtractsStagesAndStartsTheSetupProgram) {
  const twtest::Bytes setup = twtest::to_bytes("setup program");
  const twtest::Bytes cleanup = twtest::to_bytes("cleanup tool");
  const std::string archive = text_of(twtest::archive(
      {twtest::stored_entry("inst.exe", setup), twtest::stored_entry("TWDELTMP.EXE", cleanup), numbered_entry(3)}));
  os.write_file_bytes(os.module, stub_test::installer_image(archive, GetParam().mode));
  os.child_exit_code = 3;
  DialogOverRun launcher(os, engine);

  EXPECT_EQ(run_startup(os, "-a  /x ", launcher), GetParam().exit_code);

  EXPECT_TRUE(os.message_boxes.empty());
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\RPARA.DAT"), "-a  /x ");
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\inst.exe"), text_of(setup));
  EXPECT_EQ(os.read_file_bytes("C:\\Temp\\TW1A\\FILE3.TXT"), text_of(content(3)));
  EXPECT_EQ(os.has("C:\\Temp\\TWDELTMP.EXE"), GetParam().cleanup_copied);
  ASSERT_EQ(os.processes.size(), 1u);
  EXPECT_EQ(os.processes[0].application_name, "C:\\Temp\\TW1A\\inst.exe");
  EXPECT_EQ(os.processes[0].command_line, GetParam().command_line);
  EXPECT_EQ(launcher.dialog.calls.back(), "end_dialog 2");
  EXPECT_EQ(os.open_descriptors(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, WholeRun,
                         ::testing::Values(WholeRunCase{1, 3, "C:\\Temp\\TW1A\\inst.exe /SILENT", false},
                                           WholeRunCase{0, 0, "C:\\Temp\\TW1A\\inst.exe /STANDARD", true},
                                           WholeRunCase{2, 0, "C:\\Temp\\TW1A\\inst.exe /STANDARD", false}));

}  // namespace
