#include "options/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options/ClockSettings.h"

namespace halyard {
namespace {

using Args = std::vector<std::string>;
using Action = CommandLine::Action;

TEST(CommandLineTest, ArgumentsAsTheClockReadsThem) {
  struct Case {
    Args args;
    Action action;
    std::optional<std::string> optionsFile;
    std::vector<CommandLineSetting> settings;
    std::size_t problems;
  };
  const Case cases[] = {
      {{}, Action::Run, {}, {}, 0},
      {{"--help"}, Action::Help, {}, {}, 0},
      {{"-h", "--version"}, Action::Help, {}, {}, 0},
      {{"--version", "--bogus"}, Action::Version, {}, {}, 1},
      {{"x", "--sync-status", "--sync-check=on"}, Action::SyncStatus, {}, {{"sync-check", "on", "--sync-check=on"}}, 1},
      {{"--sync-status=1"}, Action::Run, {}, {}, 1},
      {{"--options", "a.dta", "--options=b.dta"}, Action::Run, "b.dta", {}, 0},
      {{"--options"}, Action::Run, {}, {}, 1},
      {{"--options="}, Action::Run, {}, {}, 1},
      {{"--scale=2", "--alert", "bell"}, Action::Run, {}, {{"scale", "2", "--scale=2"}, {"alert", "bell", "--alert bell"}}, 0},
      // The value after a name is taken even when it starts with a dash.
      {{"--geometry", "-0-0"}, Action::Run, {}, {{"geometry", "-0-0", "--geometry -0-0"}}, 0},
      {{"-geometry", "+10+20"}, Action::Run, {}, {{"geometry", "+10+20", "-geometry +10+20"}}, 0},
      // An on/off setting stands alone when no value follows it.
      {{"--scale=", "--countdown"}, Action::Run, {}, {{"scale", "", "--scale="}, {"countdown", "on", "--countdown"}}, 0},
      {{"--countdown", "off", "--sync-check", "--alert=bell"}, Action::Run, {},
       {{"countdown", "off", "--countdown off"}, {"sync-check", "on", "--sync-check"}, {"alert", "bell", "--alert=bell"}},
       0},
      {{"stray", "-x", "--", "--Scale=2", "--nosuch=1", "-scale=2"}, Action::Run, {}, {}, 6},
  };
  for (const Case& c : cases) {
    const CommandLine parsed = ParseCommandLine(c.args);
    const std::string label = ::testing::PrintToString(c.args);
    EXPECT_EQ(parsed.action, c.action) << label;
    EXPECT_EQ(parsed.optionsFile, c.optionsFile) << label;
    EXPECT_EQ(parsed.settings, c.settings) << label;
    EXPECT_EQ(parsed.problems.size(), c.problems) << label;
  }
}

TEST(CommandLineTest, AToolSpellsItsOwnArgumentsAndTheSettingsItTakesAsTheClockDoes) {
  static constexpr ProgramArgument kOwn[] = {{"--time", true}, {"--face-only", false}, {"-o", true}};
  static constexpr std::string_view kSettingsTaken[] = {"countdown", "scale"};
  const ProgramGrammar grammar{kOwn, kSettingsTaken};
  const CommandLine parsed = ParseCommandLine({"--time=12:00:00", "--countdown=on", "--scale", "2", "--face-only",
                                               "-o", "out.png", "--alert=bell", "--sync-status", "-o"},
                                              grammar);
  EXPECT_EQ(parsed.action, Action::Run);
  EXPECT_EQ(parsed.own, (std::vector<CommandLineSetting>{{"--time", "12:00:00", "--time=12:00:00"},
                                                         {"--face-only", "", "--face-only"},
                                                         {"-o", "out.png", "-o out.png"}}));
  EXPECT_EQ(parsed.settings,
            (std::vector<CommandLineSetting>{{"countdown", "on", "--countdown=on"}, {"scale", "2", "--scale 2"}}));
  EXPECT_EQ(parsed.refused, (std::vector<std::string>{"--alert=bell", "--sync-status", "-o"}));
  EXPECT_EQ(parsed.problems.size(), 3u);
}

TEST(CommandLineTest, ProblemsNameTheArgumentOnOneLine) {
  const CommandLine parsed = ParseCommandLine({"--bogus\x1b[2J", "--alert"});
  ASSERT_EQ(parsed.problems.size(), 2u);
  EXPECT_EQ(parsed.problems[0], "unknown argument '--bogus\\x1B[2J': ignored");
  EXPECT_EQ(parsed.problems[1], "'--alert' needs a value: ignored");
}

TEST(CommandLineTest, HelpListsEverySettingFromTheTable) {
  const std::string help = ClockUsage("  PLACES\n");
  EXPECT_NE(help.find("  PLACES\n"), std::string::npos);
  for (const SettingDefinition& setting : kSettings) {
    const std::string row = "--" + std::string(setting.name) + "=VALUE\n      " + std::string(setting.help) +
                            "\n      values: " + AcceptedValues(setting) + "; default: " + DefaultValueText(setting);
    EXPECT_NE(help.find(row), std::string::npos) << setting.name;
  }
  EXPECT_TRUE(VersionText("halyard").starts_with("halyard 1."));
}

}  // namespace
}  // namespace halyard
