// What lands in the output file: text entries, binary entries, and where the
// file goes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>

#include "tests/arj/engine_test_util.h"

namespace {

using namespace twtest;

struct TextCase {
  const char *label;
  std::uint8_t content_type;
  std::uint8_t origin_os;
  Bytes unpacked;
  Bytes file;
};

class TextOutput : public ::testing::TestWithParam<TextCase> {};

// The CRC covers the unpacked bytes, the file gets the translated ones; the
// same for every method since all output passes one sink.
TEST_P(TextOutput, FileBytesForEveryMethod) {
  const TextCase &c = GetParam();
  for (int method : {0, 1, 4}) {
    Entry e = method == 0 ? stored_entry("T.TXT", c.unpacked)
                          : make_entry("T.TXT", method, c.unpacked,
                                       method == 1 ? lzh_compress(c.unpacked) : method4_compress(c.unpacked));
    e.header.content_type = c.content_type;
    e.header.origin_os = c.origin_os;
    const Extraction x = extract_single(e);
    EXPECT_EQ(x.result, 0) << method;
    EXPECT_EQ(x.data, c.file) << method;
  }
}

Bytes many_lines() {
  Bytes b;
  for (int i = 0; i < 5000; ++i) b.push_back(i % 3 ? 'a' : '\n');
  return b;
}

Bytes many_lines_crlf() {
  Bytes b;
  for (int i = 0; i < 5000; ++i) {
    if (i % 3 == 0) b.push_back('\r');
    b.push_back(i % 3 ? 'a' : '\n');
  }
  return b;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, TextOutput,
    ::testing::Values(TextCase{"TextFromDos", 1, 0, {0xC1, 0x0A}, {0x41, 0x0D, 0x0A}},
                      TextCase{"TextFromUnix", 1, 2, {0xC1, 0x0A}, {0xC1, 0x0D, 0x0A}},
                      TextCase{"BinaryFromDos", 0, 0, {0xC1, 0x0A}, {0xC1, 0x0A}},
                      // A byte that folds to LF is written as CR LF too; a CR stays.
                      TextCase{"FoldedLineFeed", 1, 0, {0x8A, 0x0D}, {0x0D, 0x0A, 0x0D}},
                      TextCase{"ManyLines", 1, 10, many_lines(), many_lines_crlf()}),
    [](const ::testing::TestParamInfo<TextCase> &p) { return std::string(p.param.label); });

TEST(OutputFile, StoredEntriesOfEverySizeAndAlignment) {
  // Chunks of the stored copy line up with 4096-byte offsets of the archive,
  // whatever the data's own offset.
  for (std::size_t size : {0u, 1u, 3996u, 4096u, 10000u, 70001u}) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i * 13 + i / 4096);
    const Extraction x = extract_single(stored_entry(std::string(size % 50 + 1, 'N'), data));
    EXPECT_EQ(x.result, 0) << size;
    EXPECT_TRUE(x.written) << size;
    EXPECT_EQ(x.data, data) << size;
  }
}

TEST(OutputFile, WrongCrcLeavesTheWholeFile) {
  Entry e = stored_entry("A", to_bytes("complete contents"));
  e.header.data_crc ^= 0x80000000u;
  const Extraction x = extract_single(e);
  EXPECT_EQ(x.result, 106);
  EXPECT_EQ(x.data, to_bytes("complete contents"));
}

// Changes into a folder for the length of a test.
class InFolder {
 public:
  explicit InFolder(const std::string &path) {
    EXPECT_NE(getcwd(previous_, sizeof previous_), nullptr);
    EXPECT_EQ(chdir(path.c_str()), 0);
  }
  ~InFolder() { EXPECT_EQ(chdir(previous_), 0); }

 private:
  char previous_[4096];
};

TEST(OutputFile, EmptyOutputPathWritesTheEntrysOwnName) {
  const ArchiveOnDisk disk(archive({stored_entry("OWN.TXT", to_bytes("own"))}));
  InFolder here(disk.dir().path());
  char name[256];
  EXPECT_EQ(arj_extract_entry(disk.path().c_str(), 1, "", name), 0);
  EXPECT_STREQ(name, "OWN.TXT");
  EXPECT_EQ(read_file(disk.dir().file("OWN.TXT")), to_bytes("own"));
}

// File names on Linux are case-sensitive: the path is opened as given.
TEST(OutputFile, ArchivePathKeepsItsCase) {
  TempDir dir;
  const std::string path = dir.write("lower.arj", archive({stored_entry("A", to_bytes("a"))}));
  EXPECT_EQ(arj_count_entries(path.c_str()), 1);
  EXPECT_EQ(extract_to(path, 1, dir.file("out")).result, 0);
}

// Paths longer than the engine's buffers fail instead of being cut to a
// different path.
TEST(OutputFile, OverlongPathsAreRefused) {
  const ArchiveOnDisk disk(archive({stored_entry("A", to_bytes("a"))}));
  std::string nest;
  for (int i = 0; i < 300; ++i) nest += "d/";
  const std::string long_archive = disk.dir().path() + "/" + nest + "A.ARJ";
  EXPECT_EQ(arj_count_entries(long_archive.c_str()), 103);
  char name[256];
  EXPECT_EQ(arj_extract_entry(long_archive.c_str(), 1, disk.dir().file("out").c_str(), name), 103);
  const std::string long_output = disk.dir().path() + "/" + nest.substr(0, 300) + "OUT";
  EXPECT_EQ(arj_extract_entry(disk.path().c_str(), 1, long_output.c_str(), name), 103);
  EXPECT_FALSE(file_exists(long_output));
}

}  // namespace
