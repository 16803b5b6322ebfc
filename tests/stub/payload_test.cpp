// The descriptor and the archive copy.
#include "startup/payload.h"

#include <gtest/gtest.h>

#include "stub_fixtures.h"

namespace {

using platform::FakeOs;
using stub_test::installer_image;

const char kExe[] = "C:\\Installers\\setup.exe";
const char kStage[] = "C:\\Temp\\TW1A\\";
const char kCopy[] = "C:\\Temp\\TW1A\\TWDATA.ARJ";

struct Descriptor {
  std::int32_t mode = 77;
  std::uint32_t offset = 77;
  std::uint32_t size = 77;
};

int read_descriptor(FakeOs &os, Descriptor &d) {
  return read_payload_descriptor(os, kExe, &d.mode, &d.offset, &d.size);
}

TEST(PayloadDescriptor, ReadsOffsetSizeAndSignExtendedMode) {
  FakeOs os;
  os.write_file_bytes(kExe, installer_image(std::string(300, 'a'), -1, 1024));
  Descriptor d;
  EXPECT_EQ(read_descriptor(os, d), 1);
  EXPECT_EQ(d.offset, 1024u);
  EXPECT_EQ(d.size, 300u);
  EXPECT_EQ(d.mode, -1);
  EXPECT_EQ(os.open_descriptors(), 0);
}

TEST(PayloadDescriptor, FailsAndLeavesOutputsWhenNotReadableWhole) {
  for (std::size_t length : {0u, 32u, 40u}) {  // 41 bytes hold the whole descriptor
    FakeOs os;
    os.write_file_bytes(kExe, std::string(length, 'M'));
    Descriptor d;
    EXPECT_EQ(read_descriptor(os, d), 0) << length;
    EXPECT_EQ(d.mode, 77);
    EXPECT_EQ(d.offset, 77u);
    EXPECT_EQ(d.size, 77u);
    EXPECT_EQ(os.open_descriptors(), 0);
  }
}

TEST(PayloadDescriptor, FailsOnNullArguments) {
  FakeOs os;
  os.write_file_bytes(kExe, installer_image("x", 0));
  Descriptor d;
  EXPECT_EQ(read_payload_descriptor(os, nullptr, &d.mode, &d.offset, &d.size), 0);
  EXPECT_EQ(read_payload_descriptor(os, kExe, nullptr, &d.offset, &d.size), 0);
  EXPECT_EQ(read_payload_descriptor(os, kExe, &d.mode, nullptr, &d.size), 0);
  EXPECT_EQ(read_payload_descriptor(os, kExe, &d.mode, &d.offset, nullptr), 0);
}

class ArchiveCopy : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ArchiveCopy, CopiesTheArchiveExactly) {
  FakeOs os;
  os.make_folder(kStage);
  const std::string archive = stub_test::patterned_bytes(GetParam());
  os.write_file_bytes(kExe, installer_image(archive, 0));
  EXPECT_EQ(stage_archive(os, kExe, kStage, 512, static_cast<std::uint32_t>(archive.size())), StageResult::kStaged);
  EXPECT_EQ(os.read_file_bytes(kCopy), archive);
  EXPECT_TRUE(os.message_boxes.empty());
  EXPECT_EQ(os.open_descriptors(), 0);
}

// Whole blocks only, a rest only, both, and nothing at all.
INSTANTIATE_TEST_SUITE_P(Sizes, ArchiveCopy, ::testing::Values(0u, 1u, 4095u, 4096u, 8192u, 10000u));

struct MismatchCase {
  const char *what;
  std::string image;
  std::uint32_t offset;
  std::uint32_t size;
};

class LengthMismatch : public ::testing::TestWithParam<MismatchCase> {};

TEST_P(LengthMismatch, ShowsTheCorruptBoxAndCreatesNothing) {
  FakeOs os;
  os.make_folder(kStage);
  os.write_file_bytes(kExe, GetParam().image);
  EXPECT_EQ(stage_archive(os, kExe, kStage, GetParam().offset, GetParam().size), StageResult::kLengthMismatch);
  ASSERT_EQ(os.message_boxes.size(), 1u);
  EXPECT_EQ(os.message_boxes[0].text,
            "The Installation files seems to be corrupt.\nPlease contact your Vendor.\nInstallation cannot procced "
            "further");
  EXPECT_EQ(os.message_boxes[0].caption, "Tarnwell installer");
  EXPECT_FALSE(os.has(kCopy));
  EXPECT_EQ(os.open_descriptors(), 0);
}

const std::string kImage = installer_image(std::string(100, 'a'), 0);  // 612 bytes

INSTANTIATE_TEST_SUITE_P(
    Cases, LengthMismatch,
    ::testing::Values(MismatchCase{"extra_byte", kImage + "x", 512, 100},
                      MismatchCase{"missing_byte", kImage.substr(0, kImage.size() - 1), 512, 100},
                      MismatchCase{"never_filled", std::string(600, '\0'), 0, 0},
                      // 0xFFFFFFFF + 613 wraps to 612 in 32 bits: the sum must not wrap.
                      MismatchCase{"wrapping_sum", kImage, 0xFFFFFFFFu, 613}),
    [](const ::testing::TestParamInfo<MismatchCase> &row) { return row.param.what; });

TEST(ArchiveCopyFailure, FailedWriteEndsTheCopy) {
  FakeOs os;
  os.make_folder(kStage);
  os.write_file_bytes(kExe, installer_image(stub_test::patterned_bytes(10000), 0));
  os.write_budget = 6000;  // the disk fills up in the second block
  EXPECT_EQ(stage_archive(os, kExe, kStage, 512, 10000), StageResult::kFailed);
  EXPECT_EQ(os.open_descriptors(), 0);
}

TEST(ArchiveCopyFailure, SizeBeyondTheExecutableIsCaughtByTheLengthCheck) {
  FakeOs os;
  os.make_folder(kStage);
  os.write_file_bytes(kExe, kImage);
  EXPECT_EQ(stage_archive(os, kExe, kStage, 512, 4096 + 100), StageResult::kLengthMismatch);
}

TEST(ArchiveCopyFailure, MissingStagingFolderFails) {
  FakeOs os;
  os.write_file_bytes(kExe, kImage);
  EXPECT_EQ(stage_archive(os, kExe, "C:\\Nowhere\\", 512, 100), StageResult::kFailed);
  EXPECT_TRUE(os.message_boxes.empty());
  EXPECT_EQ(os.open_descriptors(), 0);
}

}  // namespace
