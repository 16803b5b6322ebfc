#include <gtest/gtest.h>

#include "arj/arj_engine.h"
#include "tests/support/arj_fixtures.h"

using namespace twtest;

TEST(Smoke, AllMethods) {
  TempDir dir;
  Bytes data;
  for (int i = 0; i < 200000; ++i) data.push_back(static_cast<std::uint8_t>("hello world, hello engine! "[i % 27] + (i % 1000 == 0)));
  const std::string path = dir.write("A.ARJ", archive({stored_entry("S.TXT", data), make_entry("L.TXT", 1, data, lzh_compress(data)),
                                                      make_entry("M.TXT", 4, data, method4_compress(data))}));
  EXPECT_EQ(arj_count_entries(path.c_str()), 3);
  for (int n = 1; n <= 3; ++n) {
    char name[256];
    const std::string out = dir.file("out");
    EXPECT_EQ(arj_extract_entry(path.c_str(), n, out.c_str(), name), 0) << n;
    EXPECT_EQ(read_file(out), data) << n;
  }
}
