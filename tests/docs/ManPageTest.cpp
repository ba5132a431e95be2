// The manual pages and the README against the settings table and the
// version, so that what they say cannot drift from what the program does.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "options/ClockSettings.h"
#include "options/CommandLine.h"
#include "support/SourceText.h"
#include "support/ToolRun.h"

namespace halyard {
namespace {

using testing::ReadSource;

// roff's escaped minus as the plain character, as the page prints it.
std::string Unescaped(std::string text) {
  for (std::size_t at = text.find("\\-"); at != std::string::npos; at = text.find("\\-", at)) text.erase(at, 1);
  return text;
}

std::string Section(const std::string& page, const std::string& title) {
  const std::size_t start = page.find(".SH " + title + "\n");
  if (start == std::string::npos) return "";
  const std::size_t end = page.find("\n.SH ", start + 1);
  return page.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(ManPageTest, SettingsSectionMatchesTheTable) {
  const std::string settings = Unescaped(Section(ReadSource("docs/man/halyard.1"), "SETTINGS"));
  ASSERT_FALSE(settings.empty());
  for (const SettingDefinition& setting : kSettings) {
    const std::string entry = ".TP\n.B --" + std::string(setting.name) + "\n" + std::string(setting.help) +
                              ".\nValues: " + AcceptedValues(setting) + ".\nDefault: " + DefaultValueText(setting) + ".";
    EXPECT_NE(settings.find(entry), std::string::npos) << "halyard.1 lacks or misstates:\n" << entry;
  }
  EXPECT_EQ(Count(settings, ".TP\n.B --"), kSettingCount) << "a setting the table does not have";
}

TEST(ManPageTest, ReadmeSettingsTableMatchesTheTable) {
  const std::string readme = ReadSource("README.md");
  for (const SettingDefinition& setting : kSettings) {
    const std::string row = "| `" + std::string(setting.name) + "` | " + AcceptedValues(setting) + " | " +
                            DefaultValueText(setting) + " | " + std::string(setting.help) + " |";
    EXPECT_NE(readme.find(row), std::string::npos) << "README.md lacks or misstates:\n" << row;
  }
}

TEST(ManPageTest, PagesCarryTheProgramsVersion) {
  const std::string version = VersionText("HALYARD");
  for (const char* page : {"halyard", "halyard-options", "halyard-render"}) {
    const std::string text = ReadSource(std::string("docs/man/") + page + ".1");
    const std::string header = text.substr(0, text.find('\n'));
    EXPECT_NE(header.find("\"" + version + "\""), std::string::npos) << page << ": " << header;
  }
}

TEST(ManPageTest, PagesDescribeEveryOptionTheirToolsHelpNames) {
  const std::regex option(R"((?:^|[\[ \n])(-(?:-[a-z][a-z-]*|[a-z]))\b)");
  for (const char* tool : {"halyard-render", "halyard-options"}) {
    const testing::ToolRun help = testing::RunTool(tool, "--help");
    if (help.status == 127) GTEST_SKIP() << tool << " is not built";
    std::set<std::string> options;
    const std::string& text = help.output;
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) options.insert((*it)[1]);
    EXPECT_GT(options.size(), 3u) << tool;
    const std::string page = Unescaped(ReadSource(std::string("docs/man/") + tool + ".1"));
    for (const std::string& name : options) {
      EXPECT_NE(page.find(name), std::string::npos) << tool << ".1 does not describe " << name;
    }
  }
}

}  // namespace
}  // namespace halyard
