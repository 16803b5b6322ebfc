// Which entry names may be written below the extraction folder, and where.
#include "tools/entry_path.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

struct NameCase {
  const char *name;
  bool accepted;
  const char *where;  // folders and file joined with '/', when accepted
};

void PrintTo(const NameCase &c, std::ostream *os) { *os << '"' << c.name << '"'; }

class EntryPathTest : public testing::TestWithParam<NameCase> {};

TEST_P(EntryPathTest, StaysInsideTheFolderOrIsRefused) {
  const NameCase &c = GetParam();
  twpack::EntryPath path;
  std::string reason;
  const bool accepted = twpack::make_entry_path(c.name, path, reason);
  ASSERT_EQ(accepted, c.accepted) << c.name << ": " << reason;
  if (!accepted) {
    EXPECT_FALSE(reason.empty());
    return;
  }
  std::string joined;
  for (const std::string &folder : path.folders) joined += folder + "/";
  joined += path.file_name;
  EXPECT_EQ(joined, c.where);
}

INSTANTIATE_TEST_SUITE_P(
    Names, EntryPathTest,
    testing::Values(
        NameCase{"inst.exe", true, "inst.exe"}, NameCase{"docs/readme.txt", true, "docs/readme.txt"},
        NameCase{"docs\\sub\\a.txt", true, "docs/sub/a.txt"}, NameCase{"./a//b", true, "a/b"},
        NameCase{"..a", true, "..a"}, NameCase{"a..", true, "a.."}, NameCase{"...", true, "..."},
        NameCase{"x/C:y", true, "x/C:y"},
        // Names that would climb out, start at a root or carry a drive.
        NameCase{"..", false, ""}, NameCase{"../evil", false, ""}, NameCase{"a/../../evil", false, ""},
        NameCase{"a\\..\\b", false, ""}, NameCase{"a/..", false, ""}, NameCase{"/etc/passwd", false, ""},
        NameCase{"\\evil", false, ""}, NameCase{"C:evil", false, ""}, NameCase{"c:\\evil", false, ""},
        NameCase{"z:/evil", false, ""},
        // Names that name no file.
        NameCase{"", false, ""}, NameCase{".", false, ""}, NameCase{"dir/", false, ""},
        NameCase{"dir\\", false, ""}),
    [](const testing::TestParamInfo<NameCase> &param_info) {
      std::string label = std::to_string(param_info.index) + "_";
      for (const char *c = param_info.param.name; *c != '\0'; ++c) {
        label += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      }
      return label;
    });

}  // namespace
