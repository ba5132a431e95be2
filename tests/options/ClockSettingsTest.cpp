#include "options/ClockSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "options/ClockConfiguration.h"

namespace halyard {
namespace {

constexpr const char* kNineLines = "&H000000\n&HFFFFFF\n&HFFFFFF\nDOT\n&H00FF00\n&HFF901E\n&HFFFFFF\nkHz\nBANNER\n";

TEST(ClockSettingsTest, TableDefaultsAreTheStructsDefaults) {
  for (const SettingDefinition& setting : kSettings) {
    ClockSettings changed;
    // The default as the table writes it reads back as the struct's default.
    if (!setting.defaultText.empty()) {
      ASSERT_TRUE(StoreSetting(setting, setting.defaultText, changed)) << setting.name;
    }
    EXPECT_EQ(changed, ClockSettings{}) << setting.name;
    EXPECT_EQ(FindSetting(setting.name), &setting);
  }
  EXPECT_EQ(FindSetting("Scale"), nullptr);
}

TEST(ClockSettingsTest, ValuesEachSettingAccepts) {
  struct Case {
    const char* name;
    const char* value;
    bool accepted;
  };
  const Case cases[] = {
      {"geometry", "-0-0", true},   {"geometry", "200x300+5+5", true}, {"geometry", "", false},
      {"scale", "0.5", true},       {"scale", "4", true},              {"scale", "1.25", true},
      {"scale", "0.49", false},     {"scale", "4.01", false},          {"scale", "1,5", false},
      {"scale", "2x", false},       {"scale", "nan", false},           {"scale", "inf", false},
      {"scale", "", false},         {"fit-screen", "off", true},       {"fit-screen", "OFF", false},
      {"fit-screen", "yes", false}, {"remember-position", "on", true}, {"sync-check", "on", true},
      {"countdown", "on", true},    {"alert", "flash", true},          {"alert", "both", true},
      {"alert", "loud", false},     {"ntp-server", "[::1]:12301", true}, {"ntp-server", "a b", false},
      {"offset-limit", "0.05", true}, {"offset-limit", "60", true},      {"offset-limit", "0.04", false},
  };
  for (const Case& c : cases) {
    ClockSettings settings;
    EXPECT_EQ(StoreSetting(*FindSetting(c.name), c.value, settings), c.accepted) << c.name << "=" << c.value;
    EXPECT_EQ(settings == ClockSettings{}, !c.accepted) << c.name << "=" << c.value;
  }
  ClockSettings settings;
  StoreSetting(*FindSetting("scale"), "2.5", settings);
  StoreSetting(*FindSetting("alert"), "flash", settings);
  StoreSetting(*FindSetting("geometry"), "+1-2", settings);
  EXPECT_EQ(settings.scale, 2.5);
  EXPECT_EQ(settings.alert, AlertMode::Flash);
  EXPECT_EQ(settings.geometry, "+1-2");
}

// A zone name is a good value only when the platform's check knows it; off and
// local need no check, and without one no other name is a zone.
TEST(ClockSettingsTest, ZoneNamesAreCheckedByThePlatformAndLabelsAreShort) {
  SettingsReading reading;
  reading.knownZone = [](std::string_view name) { return name == "Europe/Berlin"; };
  EXPECT_EQ(ApplySetting("second-time", "Europe/Berlin", 10, reading), std::nullopt);
  EXPECT_EQ(reading.settings.secondTime, "Europe/Berlin");
  EXPECT_EQ(ApplySetting("second-time", "Europe/Berln", 11, reading),
            "bad value 'Europe/Berln' for second-time (expected off, local or a zone name): using the default off");
  EXPECT_EQ(reading.settings.secondTime, "off");
  EXPECT_EQ(reading.fileLine[7], 0u);
  EXPECT_EQ(ApplySetting("second-time", "local", 12, reading), std::nullopt);
  EXPECT_EQ(reading.settings.secondTime, "local");

  SettingsReading unchecked;
  EXPECT_NE(ApplySetting("second-time", "Europe/Berlin", 0, unchecked), std::nullopt);
  EXPECT_EQ(ApplySetting("second-time", "off", 0, unchecked), std::nullopt);

  EXPECT_EQ(ApplySetting("second-time-label", "Heimat \xC3\xA4\xC3\xB6\xC3\xBC 1", 0, unchecked), std::nullopt)
      << "twelve characters, UTF-8 counted by character";
  EXPECT_EQ(ApplySetting("second-time-label", "thirteen char", 0, unchecked),
            "bad value 'thirteen char' for second-time-label (expected text of at most 12 characters): using "
            "the default the zone's abbreviation");
  EXPECT_EQ(unchecked.settings.secondTimeLabel, "");
}

TEST(ClockSettingsTest, FileLinesAfterTheNinth) {
  struct Case {
    std::string after;  // the text after the nine lines
    std::map<std::size_t, std::size_t> lineOf;  // setting index -> the line that set it
    std::vector<std::size_t> problemLines;
  };
  const Case cases[] = {
      {"", {}, {}},
      {"scale=2\n", {{1, 10}}, {}},
      {"  countdown \t=  on \r\n; scale=3\r\n# alert=bell\r\n\r\n   \r\nalert=bell", {{5, 10}, {6, 15}}, {}},
      {"scale=2\nscale=3\n", {{1, 11}}, {}},
      {"scale=2\nscale=9\n", {}, {11}},
      {"nonsense\nScale=2\nnosuch=1\n=on\nalert=bell\n", {{6, 14}}, {10, 11, 12, 13}},
      // Ctrl-Z ends the file for the settings as for the nine lines.
      {"scale=2\n\x1A" "alert=bell\n", {{1, 10}}, {}},
  };
  for (const Case& c : cases) {
    SettingsReading reading;
    ApplyFileSettings(std::string(kNineLines) + c.after, reading);
    for (std::size_t i = 0; i < kSettingCount; ++i) {
      const auto expected = c.lineOf.find(i);
      EXPECT_EQ(reading.fileLine[i], expected == c.lineOf.end() ? 0 : expected->second) << kSettings[i].name << " in " << c.after;
    }
    std::vector<std::size_t> lines;
    for (const SettingProblem& problem : reading.problems) lines.push_back(problem.line);
    EXPECT_EQ(lines, c.problemLines) << c.after;
  }
}

TEST(ClockSettingsTest, NineLinesOrFewerHoldNoSettingsAndABomDoesNotShiftTheCount) {
  SettingsReading short_;
  ApplyFileSettings("scale=2\nscale=3\n", short_);
  EXPECT_EQ(short_.settings, ClockSettings{});
  EXPECT_TRUE(short_.problems.empty());
  SettingsReading bom;
  ApplyFileSettings(std::string("\xEF\xBB\xBF") + kNineLines + "scale=3", bom);
  EXPECT_EQ(bom.settings.scale, 3.0);
  EXPECT_EQ(bom.fileLine[1], 10u);
}

TEST(ClockSettingsTest, AFloodOfBadLinesKeepsAFewProblems) {
  std::string text = kNineLines;
  for (int i = 0; i < 1000; ++i) text += "x\n";
  text += "scale=" + std::string(70000, '9') + "\n";
  SettingsReading reading;
  ApplyFileSettings(text, reading);
  EXPECT_EQ(reading.problems.size(), kMaxSettingProblems);
  EXPECT_EQ(reading.problemsNotKept, 1001 - kMaxSettingProblems);
  SettingsReading longValue;
  const auto message = ApplySetting("scale", std::string(70000, '9'), 10, longValue);
  ASSERT_TRUE(message.has_value());
  EXPECT_LT(message->size(), 200u) << "a long value is echoed in part";
}

// Reads from a map of paths to contents; a path mapped to nullopt cannot be read.
class FakeSource final : public OptionsFileSource {
 public:
  std::map<std::string, std::optional<std::string>> files;
  ReadResult ReadFile(const std::string& path, std::size_t limit, std::string& bytes) override {
    const auto found = files.find(path);
    if (found == files.end()) return ReadResult::Absent;
    if (!found->second) return ReadResult::Unreadable;
    bytes = found->second->substr(0, limit);
    return ReadResult::Read;
  }
};

TEST(ClockSettingsTest, CommandLineWinsOverTheFileAndEveryProblemIsOneMessage) {
  FakeSource source;
  source.files["/f"] = std::string(kNineLines) + "scale=2\nalert=bell\ncountdown=on\nbogus=1\n";
  source.files["/locked"] = std::nullopt;
  const OptionsFileLocation file{"/f", {"/f"}, false};
  const std::vector<CommandLineSetting> commandLine = {
      {"scale", "3", "--scale 3"}, {"alert", "loud", "--alert=loud"}, {"countdown", "off", "--countdown=off"}};

  const ClockConfiguration config = LoadClockConfiguration(file, commandLine, source);
  EXPECT_EQ(config.options.SecondHandStyle, "DOT");
  EXPECT_EQ(config.settings.settings.scale, 3.0);
  EXPECT_EQ(config.settings.settings.alert, AlertMode::Off) << "a bad value gives the default, not the file's";
  EXPECT_FALSE(config.settings.settings.countdown);
  EXPECT_TRUE(config.settings.fromCommandLine[1]);
  EXPECT_EQ(config.messages, (std::vector<std::string>{
                                 "/f:13: unknown setting 'bogus': ignored",
                                 "--alert=loud: bad value 'loud' for alert (expected off, bell, flash, both): using "
                                 "the default off",
                             }));

  const ClockConfiguration locked = LoadClockConfiguration({"/locked", {"/locked"}, false}, {}, source);
  EXPECT_EQ(locked.options, DefaultClockOptions());
  EXPECT_EQ(locked.messages, std::vector<std::string>{"cannot read /locked: using the defaults"});
  const ClockConfiguration missing = LoadClockConfiguration({"", {"/nope"}, true}, {}, source);
  EXPECT_EQ(missing.messages, std::vector<std::string>{"options file /nope not found: using the defaults"});
  const ClockConfiguration none = LoadClockConfiguration({"", {"/a", "/b"}, false}, {}, source);
  EXPECT_EQ(none.options, DefaultClockOptions());
  EXPECT_EQ(none.settings.settings, ClockSettings{});
  EXPECT_TRUE(none.messages.empty()) << "no file anywhere is the ordinary case";
}

}  // namespace
}  // namespace halyard
