// The named settings: one table, read from the lines after the ninth of the
// options file and from the command line.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace halyard {

enum class AlertMode { Off, Bell, Flash, Both };

// The two values of an on/off setting.
inline constexpr std::string_view kSwitchOn = "on";
inline constexpr std::string_view kSwitchOff = "off";
// The second-time values that name no zone: none, and this system's own.
inline constexpr std::string_view kSecondTimeOff = "off";
inline constexpr std::string_view kSecondTimeLocal = "local";

// Every setting at its default changes nothing about the clock.
struct ClockSettings {
  std::string geometry;  // X11 geometry text, checked by the window platform; empty: none
  double scale = 1.0;
  bool fitScreen = true;
  bool rememberPosition = false;
  bool syncCheck = false;
  bool countdown = false;
  AlertMode alert = AlertMode::Off;
  std::string ntpServer;      // host[:port]; empty: nothing is ever sent
  double offsetLimit = 0.5;   // seconds
  std::string secondTime{kSecondTimeOff};  // off, local or a zone name the platform knows
  std::string secondTimeLabel;     // empty: the zone's abbreviation

  bool operator==(const ClockSettings&) const = default;
};

// The member a setting fills; its type decides how a value is read:
// text as given (at most `maximum` characters when that is not 0), a decimal
// within [minimum, maximum], on/off, or one of `choices`.
using SettingField = std::variant<std::string ClockSettings::*, double ClockSettings::*, bool ClockSettings::*,
                                  AlertMode ClockSettings::*>;

struct SettingDefinition {
  std::string_view name;       // lower case, as written in the file and after "--"
  SettingField field;
  std::string_view defaultText;  // as it would be written; empty for "none"
  std::string_view textForm;     // for a text setting, the form its value takes
  std::string_view help;         // one line
  double minimum = 0;
  double maximum = 0;
  std::span<const std::string_view> choices = {};  // AlertMode values, in enum order
  bool (*accepts)(std::string_view) = nullptr;     // a text setting's check, if it has one
  std::string_view emptyDefault = {};  // what an empty default means, when not "none"
  bool namesZone = false;  // a text that is off, local or a zone name the reading's zone check knows
};

inline constexpr std::size_t kSettingCount = 11;
extern const std::array<SettingDefinition, kSettingCount> kSettings;

// The table row of `name`, or nullptr.
const SettingDefinition* FindSetting(std::string_view name);

// What a setting accepts, in words: "0.5 to 4", "on, off", "off, bell, flash, both".
std::string AcceptedValues(const SettingDefinition& setting);
// The default as shown to people: "none" (or the row's words) for an empty text.
std::string DefaultValueText(const SettingDefinition& setting);

// Reads `value` into the setting's member; false (and `settings` unchanged)
// when the value is not accepted.
bool StoreSetting(const SettingDefinition& setting, std::string_view value, ClockSettings& settings);

// One problem with a setting: an unknown name, a bad value, a line that is not
// name=value. `line` is the file's line number, 0 for the command line.
struct SettingProblem {
  std::size_t line = 0;
  std::string message;

  bool operator==(const SettingProblem&) const = default;
};

// Whether the platform knows a time-zone name. The options have no zone
// database: whoever reads settings passes the platform's. Without one only
// off and local are zones.
using ZoneNameCheck = std::function<bool(std::string_view name)>;

// Settings gathered from the file and then the command line, with what was wrong.
struct SettingsReading {
  ZoneNameCheck knownZone;
  ClockSettings settings;
  std::array<std::size_t, kSettingCount> fileLine{};  // the line that set each setting; 0: not the file
  std::array<bool, kSettingCount> fromCommandLine{};
  std::vector<SettingProblem> problems;  // at most kMaxSettingProblems, in the order met
  std::size_t problemsNotKept = 0;
};

// A hostile file could hold half a million bad lines; a few are enough to act on.
inline constexpr std::size_t kMaxSettingProblems = 20;

// Applies one setting. A bad value or an unknown name is a problem, and a bad
// value puts the setting back to its default. `line` 0 means the command line.
// Returns the problem's message, also when `reading` keeps no more of them.
std::optional<std::string> ApplySetting(std::string_view name, std::string_view value, std::size_t line, SettingsReading& reading);

// Applies the lines after the ninth of an options file, read with the same
// limits and line ends as the nine: `name=value` with blanks trimmed; empty
// lines and lines starting with ';' or '#' are comments.
void ApplyFileSettings(std::string_view fileBytes, SettingsReading& reading);

}  // namespace halyard
