#include "options/OptionsFileSearch.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace halyard {
namespace {

using Places = std::vector<std::string>;

OptionsSearchFacts Linux() {
  OptionsSearchFacts facts;
  facts.userPlaces = true;
  facts.programFolder = "/usr/bin/";
  facts.home = "/home/op";
  return facts;
}

TEST(OptionsFileSearchTest, PlacesInOrder) {
  struct Case {
    const char* name;
    OptionsSearchFacts facts;
    Places expected;
  };
  OptionsSearchFacts withXdg = Linux();
  withXdg.xdgConfigHome = "/cfg/";
  withXdg.xdgConfigDirs = "/site:relative::/etc/xdg/";
  OptionsSearchFacts emptyXdg = Linux();
  emptyXdg.xdgConfigHome = "";
  emptyXdg.xdgConfigDirs = "";
  OptionsSearchFacts relativeXdg = Linux();
  relativeXdg.xdgConfigHome = "cfg";
  relativeXdg.xdgConfigDirs = "only/relative";
  OptionsSearchFacts noHome = Linux();
  noHome.home.reset();
  OptionsSearchFacts commandLine = withXdg;
  commandLine.commandLineFile = "my.dta";
  OptionsSearchFacts windows;
  windows.programFolder = "C:\\Clock\\";
  OptionsSearchFacts nothingKnown;

  const Case cases[] = {
      {"defaults", Linux(),
       {"/home/op/.config/halyard/OPTION.DTA", "/usr/bin/OPTION.DTA", "/etc/xdg/halyard/OPTION.DTA"}},
      {"variables set", withXdg,
       {"/cfg/halyard/OPTION.DTA", "/usr/bin/OPTION.DTA", "/site/halyard/OPTION.DTA", "/etc/xdg/halyard/OPTION.DTA"}},
      {"variables empty", emptyXdg,
       {"/home/op/.config/halyard/OPTION.DTA", "/usr/bin/OPTION.DTA", "/etc/xdg/halyard/OPTION.DTA"}},
      {"relative values ignored", relativeXdg,
       {"/home/op/.config/halyard/OPTION.DTA", "/usr/bin/OPTION.DTA", "/etc/xdg/halyard/OPTION.DTA"}},
      {"no home", noHome, {"/usr/bin/OPTION.DTA", "/etc/xdg/halyard/OPTION.DTA"}},
      {"--options alone", commandLine, {"my.dta"}},
      {"windows", windows, {"C:\\Clock\\OPTION.DTA"}},
      {"nothing known", nothingKnown, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(OptionsFileCandidates(c.facts), c.expected) << c.name;
}

TEST(OptionsFileSearchTest, FirstExistingFileWinsAndLookedListsTheWay) {
  OptionsSearchFacts facts = Linux();
  const std::string user = "/home/op/.config/halyard/OPTION.DTA";
  const std::string beside = "/usr/bin/OPTION.DTA";
  const std::string system = "/etc/xdg/halyard/OPTION.DTA";
  struct Case {
    std::set<std::string> present;
    std::string found;
    std::size_t looked;
  };
  for (const Case& c : {Case{{user, beside, system}, user, 1}, Case{{beside, system}, beside, 2},
                        Case{{system}, system, 3}, Case{{}, "", 3}}) {
    const OptionsFileLocation location =
        LocateOptionsFile(facts, [&](const std::string& path) { return c.present.count(path) > 0; });
    EXPECT_EQ(location.path, c.found);
    EXPECT_EQ(location.looked.size(), c.looked) << c.found;
    EXPECT_FALSE(location.fromCommandLine);
  }
  // A named file that is missing does not fall back to the others.
  facts.commandLineFile = "/tmp/missing.dta";
  const OptionsFileLocation named = LocateOptionsFile(facts, [&](const std::string& path) { return path == user; });
  EXPECT_EQ(named.path, "");
  EXPECT_EQ(named.looked, Places{"/tmp/missing.dta"});
  EXPECT_TRUE(named.fromCommandLine);
}

TEST(OptionsFileSearchTest, ToolsLookInTheClocksFolder) {
  struct Case {
    const char* tool;
    std::set<std::string> present;
    const char* expected;
  };
  const Case cases[] = {
      {"/usr/bin/", {"/usr/bin/halyard"}, "/usr/bin/"},
      {"/src/build/linux/tools/", {"/src/build/linux/halyard"}, "/src/build/linux/"},
      {"/opt/tools/", {}, "/opt/tools/"},
      {"C:\\HALYARD\\tools\\", {"C:\\HALYARD\\halyard"}, "C:\\HALYARD\\"},
      {"/", {}, "/"},
      {"", {}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClockProgramFolder(c.tool, "halyard", [&](const std::string& p) { return c.present.count(p) > 0; }),
              c.expected)
        << c.tool;
  }
}

}  // namespace
}  // namespace halyard
