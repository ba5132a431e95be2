// The named settings: one table, read from the lines after the ninth of the
// options file and from the command line.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace halyard {

enum class AlertMode { Off, Bell, Flash, Both };

// Every setting at its default changes nothing about the clock.
struct ClockSettings {
  std::string geometry;  // X11 geometry text, checked by the window platform; empty: none
  double scale = 1.0;
  bool fitScreen = true;
  bool rememberPosition = false;
  bool syncCheck = false;
  bool countdown = false;
  AlertMode alert = AlertMode::Off;

  bool operator==(const ClockSettings&) const = default;
};

// The member a setting fills; its type decides how a value is read:
// text as given, a decimal within [minimum, maximum], on/off, or one of `choices`.
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
};

inline constexpr std::size_t kSettingCount = 7;
extern const std::array<SettingDefinition, kSettingCount> kSettings;

// The table row of `name`, or nullptr.
const SettingDefinition* FindSetting(std::string_view name);

// What a setting accepts, in words: "0.5 to 4", "on, off", "off, bell, flash, both".
std::string AcceptedValues(const SettingDefinition& setting);
// The default as shown to people: "none" for an empty text.
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

// Settings gathered from the file and then the command line, with what was wrong.
struct SettingsReading {
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
