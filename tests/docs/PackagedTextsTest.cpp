// The texts the packages carry beside the programs: the example options file
// and the Windows README, against what the programs do.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "options/ClockOptions.h"
#include "support/SourceText.h"

namespace halyard {
namespace {

using testing::ReadSource;

// Copied as it is, the example must change nothing: its nine lines are the
// built-in defaults, and every line after them is a comment, one of which says
// where the Linux copy goes.
TEST(PackagedTextsTest, TheOptionsExampleHoldsTheDefaultsAndExplainsThemInComments) {
  const std::string example = ReadSource("packaging/OPTION.DTA.example");
  ASSERT_FALSE(example.empty());
  EXPECT_EQ(ParseClockOptions(example), DefaultClockOptions());
  std::istringstream lines(example);
  std::string line;
  for (int i = 0; i < 9; ++i) std::getline(lines, line);
  int comments = 0;
  while (std::getline(lines, line)) {
    EXPECT_TRUE(line.starts_with(";")) << "not a comment: " << line;
    ++comments;
  }
  EXPECT_GT(comments, 0);
  EXPECT_NE(example.find("~/.config/halyard/OPTION.DTA"), std::string::npos);
}

TEST(PackagedTextsTest, TheWindowsReadmeNamesWhatAnOperatorNeeds) {
  const std::string readme = ReadSource("packaging/windows/README.txt.in");
  for (const char* words : {"OPTION.DTA", "&HBBGGRR", "halyard.exe", "LINE (normal)", "HALYARD UTC", "--options FILE",
                            "UTF-8 with BOM", "\"Unicode\"", "halyard-options.exe is a console program"}) {
    EXPECT_NE(readme.find(words), std::string::npos) << "README.txt does not say " << words;
  }
}

}  // namespace
}  // namespace halyard
