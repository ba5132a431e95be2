// halyard-options as an operator runs it: its exit status and what it says of
// a clean file, of a file with traps and of a wrong command line, and its
// colour converter.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/ToolRun.h"

namespace halyard {
namespace {

struct Case {
  const char* file;       // options file given to the tool, or nullptr
  const char* arguments;  // else the command line
  int status;
  const char* says;
};

TEST(OptionsToolTest, ExitStatusAndWordsFollowWhatItWasGiven) {
  const Case cases[] = {
      {"&H000000\n&HFFFFFF\n&HFFFFFF\nDOT\n&H00FF00\n&H00A5FF\n&HFFFFFF\nkHz\nHALYARD UTC\n", "", 0, "dot second hand"},
      {"#FF0000\n&HFFFFFF\n&HFFFFFF\ndot\n", "", 1, "write &H0000FF"},
      {nullptr, "--color '&HFF901E' '&HFFFF'", 0, "16748574\n-1\n"},
      {nullptr, "--no-such-option", 2, "usage: halyard-options"},
  };
  const std::string path = ::testing::TempDir() + "options-tool-case.dta";
  for (const Case& c : cases) {
    if (c.file != nullptr) std::ofstream(path, std::ios::binary) << c.file;
    const testing::ToolRun run = testing::RunTool("halyard-options", c.file != nullptr ? path : c.arguments);
    if (run.status == 127) GTEST_SKIP() << "halyard-options is not built";
    EXPECT_EQ(run.status, c.status) << run.output;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace halyard
