// twpack archive and twpack build, run in-process: the installer byte for
// byte on a small fake stub, every refusal with its message, and that a
// refused or failed command leaves no output behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "arj/arj_engine.h"
#include "pack/archive_index.h"
#include "pack/installer_layout.h"
#include "tests/support/arj_fixtures.h"
#include "tools/commands.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct CommandRun {
  int status = -1;
  std::string err;
};

CommandRun run(int (*command)(int, char **), std::vector<std::string> args) {
  std::vector<char *> argv;
  for (std::string &a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  CommandRun r;
  r.status = command(static_cast<int>(args.size()), argv.data());
  testing::internal::GetCapturedStdout();
  r.err = testing::internal::GetCapturedStderr();
  return r;
}

// A stand-in stub: an MS-DOS header with an empty descriptor and some image.
Bytes fake_stub() {
  Bytes stub(200, 0);
  stub[0] = 'M';
  stub[1] = 'Z';
  stub[60] = 0x80;  // e_lfanew, left alone by the builder
  for (std::size_t i = 64; i < stub.size(); ++i) stub[i] = static_cast<std::uint8_t>(i * 7);
  return stub;
}

std::vector<std::string> folder_listing(const std::string &folder) {
  std::vector<std::string> names;
  for (const auto &e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class BuildTest : public ::testing::Test {
 protected:
  BuildTest() {
    fs::create_directory(dir_.file("payload"));
    fs::create_directory(dir_.file("out"));
    stub_ = dir_.write("stub.exe", fake_stub());
  }
  void add_payload(const std::string &name, const Bytes &data) { dir_.write("payload/" + name, data); }
  CommandRun build(const std::vector<std::string> &extra) {
    std::vector<std::string> args = {"--stub", stub_, "-o", output()};
    args.insert(args.end(), extra.begin(), extra.end());
    return run(twpack::cmd_build, args);
  }
  std::string output() const { return dir_.file("out/SETUP.EXE"); }
  std::string payload() const { return dir_.file("payload"); }

  twtest::TempDir dir_;
  std::string stub_;
};

TEST_F(BuildTest, StubArchiveAndDescriptorByteForByte) {
  const Bytes setup = twtest::to_bytes("setup program " + std::string(500, 's'));
  const Bytes readme = twtest::to_bytes("read me");
  add_payload("inst.exe", setup);
  add_payload("README.TXT", readme);
  for (const char *mode : {"standard", "silent"}) {
    const CommandRun r = build({"--mode", mode, payload()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const Bytes installer = twtest::read_file(output());
    const Bytes stub = fake_stub();
    ASSERT_GT(installer.size(), stub.size());
    // The stub is unchanged but for the nine descriptor bytes.
    for (std::size_t i = 0; i < stub.size(); ++i) {
      if (i < 32 || i >= 41) {
        ASSERT_EQ(installer[i], stub[i]) << "byte " << i;
      }
    }
    const pack::PayloadDescriptor d = pack::decode_descriptor(&installer[32]);
    EXPECT_EQ(d.archive_offset, stub.size());
    EXPECT_EQ(d.archive_size, installer.size() - stub.size());
    EXPECT_TRUE(pack::length_matches(d, installer.size()));
    EXPECT_EQ(d.run_mode, std::string(mode) == "silent" ? 1 : 0);
    // The archive runs to the last byte: its end marker closes the file.
    const Bytes archive(installer.begin() + d.archive_offset, installer.end());
    std::vector<pack::IndexedEntry> entries;
    std::size_t length = 0;
    std::string error;
    ASSERT_TRUE(pack::index_archive(archive.data(), archive.size(), entries, length, error)) << error;
    EXPECT_EQ(length, archive.size());
    // And the engine extracts it, as the stub would from its staged copy.
    const std::string staged = dir_.write("TWDATA.ARJ", archive);
    ASSERT_EQ(arj_count_entries(staged.c_str()), 2);
    for (int n = 1; n <= 2; ++n) {
      char name[256] = {};
      ASSERT_EQ(arj_extract_entry(staged.c_str(), n, dir_.file("x").c_str(), name), 0);
      EXPECT_EQ(twtest::read_file(dir_.file("x")), std::string(name) == "inst.exe" ? setup : readme) << name;
    }
  }
}

TEST_F(BuildTest, FromAnArchiveMadeByArchive) {
  add_payload("INST.EXE", twtest::to_bytes("program"));
  const std::string archive = dir_.file("payload.arj");
  const CommandRun made = run(twpack::cmd_archive, {"-o", archive, "-9", payload()});
  ASSERT_EQ(made.status, 0) << made.err;
  const CommandRun r = build({archive});
  ASSERT_EQ(r.status, 0) << r.err;
  const Bytes installer = twtest::read_file(output());
  const Bytes archive_bytes = twtest::read_file(archive);
  EXPECT_EQ(Bytes(installer.begin() + 200, installer.end()), archive_bytes);
  EXPECT_EQ(pack::decode_descriptor(&installer[32]).archive_size, archive_bytes.size());
}

TEST_F(BuildTest, AnEarlierInstallerInThePayloadIsNotPackedAgain) {
  add_payload("inst.exe", twtest::to_bytes("setup"));
  const std::string inside = dir_.file("payload/SETUP.EXE");
  for (int round = 0; round < 2; ++round) {
    const CommandRun r = run(twpack::cmd_build, {"--stub", stub_, "-o", inside, payload()});
    ASSERT_EQ(r.status, 0) << r.err;
  }
  const Bytes installer = twtest::read_file(inside);
  const Bytes archive(installer.begin() + 200, installer.end());
  std::vector<pack::IndexedEntry> entries;
  std::size_t length = 0;
  std::string error;
  ASSERT_TRUE(pack::index_archive(archive.data(), archive.size(), entries, length, error)) << error;
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "inst.exe");
}

TEST_F(BuildTest, MissingSetupProgramIsOnlyAWarning) {
  add_payload("DATA.BIN", twtest::to_bytes("data"));
  const CommandRun r = build({payload()});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("warning: no entry 'inst.exe'"), std::string::npos) << r.err;
  EXPECT_TRUE(twtest::file_exists(output()));
}

struct PayloadRefusal {
  const char *label;
  std::vector<std::string> names;
  const char *message;
};

class BuildRefusalTest : public BuildTest, public ::testing::WithParamInterface<PayloadRefusal> {};

TEST_P(BuildRefusalTest, RefusesWithAMessageAndWritesNothing) {
  const PayloadRefusal &c = GetParam();
  add_payload("inst.exe", twtest::to_bytes("setup"));
  for (const std::string &name : c.names) add_payload(name, twtest::to_bytes("x"));
  const CommandRun r = build({payload()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("payload"), std::string::npos) << "names the payload: " << r.err;
  EXPECT_TRUE(folder_listing(dir_.file("out")).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Names, BuildRefusalTest,
    ::testing::Values(
        PayloadRefusal{"too_long", {"averyverylongname.txt"}, "longer than the installer can hold"},
        PayloadRefusal{"not_8_3_base", {"ninechars.txt"}, "not a DOS 8.3 file name"},
        PayloadRefusal{"not_8_3_extension", {"a.text"}, "not a DOS 8.3 file name"},
        PayloadRefusal{"two_dots", {"a.b.c"}, "not a DOS 8.3 file name"},
        PayloadRefusal{"space", {"a b.txt"}, "not a DOS 8.3 file name"},
        PayloadRefusal{"device", {"con.txt"}, "a device name"},
        PayloadRefusal{"case_collision", {"Readme.txt", "README.TXT"}, "when letter case is ignored"},
        PayloadRefusal{"setup_twice", {"INST.EXE"}, "when letter case is ignored"},
        PayloadRefusal{"stub_archive", {"twdata.arj"}, "the installer uses this name"},
        PayloadRefusal{"stub_parameters", {"RPARA.DAT"}, "the installer uses this name"},
        PayloadRefusal{"stub_transient", {"NewFile.Tmp"}, "the installer uses this name"}),
    [](const ::testing::TestParamInfo<PayloadRefusal> &param_info) { return std::string(param_info.param.label); });

TEST_F(BuildTest, RefusesBadStubs) {
  add_payload("inst.exe", twtest::to_bytes("setup"));
  Bytes filled = fake_stub();
  filled[36] = 1;
  Bytes not_mz = fake_stub();
  not_mz[0] = 'P';
  const struct {
    const char *label;
    Bytes stub;
    const char *message;
  } cases[] = {
      {"filled", filled, "descriptor is already filled"},
      {"not_mz", not_mz, "no MZ signature"},
      {"short", Bytes{'M', 'Z', 0, 0}, "too short"},
  };
  for (const auto &c : cases) {
    twtest::TempDir d;
    const std::string stub = d.write("bad.exe", c.stub);
    const CommandRun r = run(twpack::cmd_build, {"--stub", stub, "-o", output(), payload()});
    EXPECT_EQ(r.status, 1) << c.label;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.label << ": " << r.err;
    EXPECT_NE(r.err.find(stub), std::string::npos) << c.label << ": names the stub: " << r.err;
    EXPECT_TRUE(folder_listing(dir_.file("out")).empty()) << c.label;
  }
}

TEST_F(BuildTest, RefusesDamagedArchivesAndBadEntries) {
  // An enciphered entry and a damaged header, each in an archive of its own.
  twtest::Entry secret = twtest::stored_entry("INST.EXE", twtest::to_bytes("x"));
  secret.header.header_flags = 0x11;
  const std::string enciphered = dir_.write("secret.arj", twtest::archive({secret}));
  Bytes damaged = twtest::archive({twtest::stored_entry("INST.EXE", twtest::to_bytes("x"))});
  damaged[12] ^= 0xFF;  // a main header field: its CRC no longer matches
  const std::string broken = dir_.write("broken.arj", damaged);
  const CommandRun a = build({enciphered});
  EXPECT_EQ(a.status, 1);
  EXPECT_NE(a.err.find("enciphered"), std::string::npos) << a.err;
  const CommandRun b = build({broken});
  EXPECT_EQ(b.status, 1);
  EXPECT_NE(b.err.find("header CRC mismatch"), std::string::npos) << b.err;
  EXPECT_TRUE(folder_listing(dir_.file("out")).empty());
}

TEST_F(BuildTest, UsageErrors) {
  add_payload("inst.exe", twtest::to_bytes("setup"));
  EXPECT_EQ(run(twpack::cmd_build, {"-o", output(), payload()}).status, 2);
  EXPECT_EQ(run(twpack::cmd_build, {"--stub", stub_, payload()}).status, 2);
  EXPECT_EQ(build({"--mode", "loud", payload()}).status, 2);
  EXPECT_EQ(build({}).status, 2);
  EXPECT_EQ(run(twpack::cmd_build, {"--help"}).status, 0);
}

class ArchiveCommandTest : public ::testing::Test {
 protected:
  CommandRun archive(std::vector<std::string> extra) {
    std::vector<std::string> args = {"-o", dir_.file("OUT.ARJ")};
    args.insert(args.end(), extra.begin(), extra.end());
    return run(twpack::cmd_archive, args);
  }
  twtest::TempDir dir_;
};

TEST_F(ArchiveCommandTest, FilesAndFoldersBecomePlainNamedEntries) {
  fs::create_directory(dir_.file("in"));
  const Bytes a = twtest::to_bytes(std::string(5000, 'a'));
  const Bytes b = twtest::to_bytes("bee");
  dir_.write("in/a.txt", a);
  dir_.write("in/b.txt", b);
  const std::string single = dir_.write("single.dat", twtest::to_bytes("single"));
  for (const char *method : {"0", "1", "4"}) {
    const CommandRun r = archive({"--method", method, "-l", "3", dir_.file("in"), single});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string out = dir_.file("OUT.ARJ");
    ASSERT_EQ(arj_count_entries(out.c_str()), 3);
    const char *names[] = {"a.txt", "b.txt", "single.dat"};
    const Bytes contents[] = {a, b, twtest::to_bytes("single")};
    for (int n = 1; n <= 3; ++n) {
      char name[256] = {};
      ASSERT_EQ(arj_extract_entry(out.c_str(), n, dir_.file("x").c_str(), name), 0);
      EXPECT_STREQ(name, names[n - 1]);
      EXPECT_EQ(twtest::read_file(dir_.file("x")), contents[n - 1]);
    }
  }
}

TEST_F(ArchiveCommandTest, TheOutputIsNotPackedIntoItself) {
  dir_.write("a.txt", twtest::to_bytes("aaa"));
  ASSERT_EQ(archive({dir_.path()}).status, 0);
  const CommandRun again = archive({dir_.path()});  // OUT.ARJ now lies in the folder
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(arj_count_entries(dir_.file("OUT.ARJ").c_str()), 1);
}

TEST_F(ArchiveCommandTest, RefusalsLeaveNoOutput) {
  fs::create_directory(dir_.file("nested"));
  fs::create_directory(dir_.file("nested/inner"));
  fs::create_directory(dir_.file("twins"));
  dir_.write("twins/Same.txt", twtest::to_bytes("1"));
  dir_.write("twins/SAME.TXT", twtest::to_bytes("2"));
  const struct {
    const char *label;
    std::vector<std::string> args;
    int status;
    const char *message;
  } cases[] = {
      {"nested", {dir_.file("nested")}, 1, "a folder inside a folder"},
      {"twins", {dir_.file("twins")}, 1, "letter case ignored"},
      {"missing", {dir_.file("nothing")}, 1, "nothing"},
      {"level", {"-l", "10", dir_.file("twins")}, 2, "level must be 1 to 9"},
      {"method", {"--method", "2", dir_.file("twins")}, 2, "method must be 0, 1 or 4"},
      {"no_input", {}, 2, "no files"},
  };
  for (const auto &c : cases) {
    const CommandRun r = archive(c.args);
    EXPECT_EQ(r.status, c.status) << c.label;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.label << ": " << r.err;
    EXPECT_FALSE(twtest::file_exists(dir_.file("OUT.ARJ"))) << c.label;
  }
  const std::vector<std::string> expected = {"nested", "twins"};
  EXPECT_EQ(folder_listing(dir_.path()), expected);  // no temporary left over
}

}  // namespace
