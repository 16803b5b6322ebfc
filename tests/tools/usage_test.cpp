// The command line: help on every command, and usage errors exit with 2.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "twpack_runner.h"

namespace {

using fixture::run_twpack;

TEST(TwpackUsage, HelpOnEveryCommandGoesToStdoutAndSucceeds) {
  for (const char *command : {"list", "test", "extract"}) {
    const fixture::RunResult result = run_twpack({command, "--help"});
    EXPECT_EQ(result.exit_status, 0) << command;
    EXPECT_NE(result.out.find(std::string("Usage: twpack ") + command), std::string::npos) << result.out;
    EXPECT_TRUE(result.err.empty()) << result.err;
  }
  for (const std::vector<std::string> &args : {std::vector<std::string>{"--help"}, {"help"}}) {
    const fixture::RunResult result = run_twpack(args);
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_NE(result.out.find("Commands:"), std::string::npos);
  }
  const fixture::RunResult per_command = run_twpack({"help", "extract"});
  EXPECT_EQ(per_command.exit_status, 0);
  EXPECT_NE(per_command.out.find("Usage: twpack extract"), std::string::npos);
}

struct UsageCase {
  std::vector<std::string> args;
  const char *message;  // part of what stderr must say
};

void PrintTo(const UsageCase &c, std::ostream *os) {
  *os << "twpack";
  for (const std::string &arg : c.args) *os << " '" << arg << "'";
}

class TwpackUsageError : public testing::TestWithParam<UsageCase> {};

TEST_P(TwpackUsageError, ExitsWithTwoAndSaysWhy) {
  const UsageCase &c = GetParam();
  const fixture::RunResult result = run_twpack(c.args);
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  EXPECT_TRUE(result.out.empty()) << result.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TwpackUsageError,
    testing::Values(UsageCase{{}, "Usage: twpack"}, UsageCase{{"frobnicate"}, "unknown command 'frobnicate'"},
                    UsageCase{{"list"}, "no archive given"}, UsageCase{{"test", "a.arj", "b.arj"}, "give one archive"},
                    UsageCase{{"list", "--verbose", "a.arj"}, "unknown option '--verbose'"},
                    UsageCase{{"extract", "a.arj", "-C"}, "needs a value"},
                    UsageCase{{"extract", "-C", "", "a.arj"}, "empty"},
                    UsageCase{{"extract", "--force=yes", "a.arj"}, "takes no value"}),
    [](const testing::TestParamInfo<UsageCase> &param_info) {
      std::string label = std::to_string(param_info.index);
      for (const std::string &arg : param_info.param.args) {
        label += "_";
        for (char c : arg) label += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      }
      return label;
    });

}  // namespace
