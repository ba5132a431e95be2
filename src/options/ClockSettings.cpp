#include "options/ClockSettings.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "options/ClockOptions.h"
#include "options/OptionsReport.h"
#include "options/ServerName.h"

namespace halyard {

namespace {

constexpr std::array<std::string_view, 2> kSwitchValues = {kSwitchOn, kSwitchOff};
constexpr std::array<std::string_view, 4> kAlertValues = {"off", "bell", "flash", "both"};

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsServerName(std::string_view text) { return ParseServerName(text).has_value(); }

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// A value or a line is echoed in a message in part only: it may be 64 KiB long.
std::string Excerpt(std::string_view text) {
  constexpr std::size_t kShown = 40;
  return text.size() <= kShown ? EscapeOptionText(text) : EscapeOptionText(text.substr(0, kShown)) + "...";
}

// Long enough for a place name, short enough for the face at any size.
constexpr double kMaxLabelCharacters = 12;

// Characters of a text in UTF-8 or in a one-byte character set: every byte
// that does not continue a UTF-8 sequence.
std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
  return count;
}

bool IsZoneValue(std::string_view value, const SettingsReading& reading) {
  return value == kSecondTimeOff || value == kSecondTimeLocal || (reading.knownZone && reading.knownZone(value));
}

std::size_t IndexOf(const SettingDefinition& setting) { return static_cast<std::size_t>(&setting - kSettings.data()); }

std::string Report(SettingsReading& reading, std::size_t line, std::string message) {
  if (reading.problems.size() < kMaxSettingProblems) {
    reading.problems.push_back({line, message});
  } else {
    ++reading.problemsNotKept;
  }
  return message;
}

}  // namespace

const std::array<SettingDefinition, kSettingCount> kSettings = {{
    {"geometry", &ClockSettings::geometry, "", "[WxH][{+-}X{+-}Y]", "where the window opens (X11 geometry; the size is ignored)"},
    {"scale", &ClockSettings::scale, "1", "", "multiplies the resolution the layout uses", 0.5, 4.0},
    {"fit-screen", &ClockSettings::fitScreen, "on", "", "use the largest scale that fits the monitor's work area"},
    {"remember-position", &ClockSettings::rememberPosition, "off", "", "open where the window was at the last exit"},
    {"sync-check", &ClockSettings::syncCheck, "off", "", "mark the face when the system clock is not synchronised"},
    {"countdown", &ClockSettings::countdown, "off", "", "outside silent periods, count down to the next one"},
    {"alert", &ClockSettings::alert, "off", "", "what happens when a silent period starts", 0, 0, kAlertValues},
    {"ntp-server", &ClockSettings::ntpServer, "", "host or address, optional :port ([v6]:port)",
     "measure the system clock's offset against this time server (display only)", 0, 0, {}, IsServerName},
    {"offset-limit", &ClockSettings::offsetLimit, "0.5", "",
     "with sync-check on, an offset surely beyond this many seconds marks the face", 0.05, 60.0},
    {"second-time", &ClockSettings::secondTime, "off", "off, local or a zone name",
     "a second time on the face, of this system's zone or a named one", 0, 0, {}, nullptr, {}, true},
    {"second-time-label", &ClockSettings::secondTimeLabel, "", "text",
     "the words after the second time", 0, kMaxLabelCharacters, {}, nullptr, "the zone's abbreviation"},
}};

const SettingDefinition* FindSetting(std::string_view name) {
  for (const SettingDefinition& setting : kSettings) {
    if (setting.name == name) return &setting;
  }
  return nullptr;
}

std::string AcceptedValues(const SettingDefinition& setting) {
  struct Describe {
    const SettingDefinition& s;
    std::string operator()(std::string ClockSettings::*) const {
      if (s.maximum <= 0) return std::string(s.textForm);
      return std::string(s.textForm) + " of at most " + Number(s.maximum) + " characters";
    }
    std::string operator()(double ClockSettings::*) const { return Number(s.minimum) + " to " + Number(s.maximum); }
    std::string operator()(bool ClockSettings::*) const { return List(kSwitchValues); }
    std::string operator()(AlertMode ClockSettings::*) const { return List(s.choices); }
    static std::string List(std::span<const std::string_view> values) {
      std::string out;
      for (std::string_view v : values) out += (out.empty() ? "" : ", ") + std::string(v);
      return out;
    }
  };
  return std::visit(Describe{setting}, setting.field);
}

std::string DefaultValueText(const SettingDefinition& setting) {
  if (!setting.defaultText.empty()) return std::string(setting.defaultText);
  return setting.emptyDefault.empty() ? "none" : std::string(setting.emptyDefault);
}

bool StoreSetting(const SettingDefinition& setting, std::string_view value, ClockSettings& settings) {
  struct Store {
    const SettingDefinition& s;
    std::string_view value;
    ClockSettings& out;
    bool operator()(std::string ClockSettings::*member) const {
      if (value.empty() || (s.accepts != nullptr && !s.accepts(value))) return false;
      if (s.maximum > 0 && static_cast<double>(CharacterCount(value)) > s.maximum) return false;
      out.*member = std::string(value);
      return true;
    }
    bool operator()(double ClockSettings::*member) const {
      // from_chars reads the C locale's form whatever the process locale is.
      double number = 0;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
      if (error != std::errc() || end != value.data() + value.size() || !std::isfinite(number)) return false;
      if (number < s.minimum || number > s.maximum) return false;
      out.*member = number;
      return true;
    }
    bool operator()(bool ClockSettings::*member) const {
      if (value != kSwitchValues[0] && value != kSwitchValues[1]) return false;
      out.*member = value == kSwitchValues[0];
      return true;
    }
    bool operator()(AlertMode ClockSettings::*member) const {
      for (std::size_t i = 0; i < s.choices.size(); ++i) {
        if (value == s.choices[i]) {
          out.*member = static_cast<AlertMode>(i);
          return true;
        }
      }
      return false;
    }
  };
  return std::visit(Store{setting, value, settings}, setting.field);
}

std::optional<std::string> ApplySetting(std::string_view name, std::string_view value, std::size_t line,
                                        SettingsReading& reading) {
  const SettingDefinition* setting = FindSetting(name);
  if (setting == nullptr) {
    std::string message = "unknown setting '" + Excerpt(name) + "'";
    std::string lower(name);
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != name && FindSetting(lower) != nullptr) message += " (names are lower case: " + lower + ")";
    return Report(reading, line, message + ": ignored");
  }
  const std::size_t index = IndexOf(*setting);
  if (StoreSetting(*setting, value, reading.settings) && (!setting->namesZone || IsZoneValue(value, reading))) {
    reading.fileLine[index] = line;
    reading.fromCommandLine[index] = line == 0;
    return std::nullopt;
  }
  // A bad value gives the default, not an earlier value: what the clock does
  // must not depend on which of two sources happened to be read first.
  std::visit([&](auto member) { reading.settings.*member = ClockSettings{}.*member; }, setting->field);
  reading.fileLine[index] = 0;
  reading.fromCommandLine[index] = false;
  return Report(reading, line,
         "bad value '" + Excerpt(value) + "' for " + std::string(setting->name) + " (expected " +
             AcceptedValues(*setting) + "): using the default " + DefaultValueText(*setting));
}

void ApplyFileSettings(std::string_view fileBytes, SettingsReading& reading) {
  OptionLineReader reader(OptionsFileText(fileBytes));
  for (std::size_t i = 0; i < ClockOptions::kLineCount; ++i) reader.ReadOptionLine();
  for (std::size_t line = ClockOptions::kLineCount + 1; !reader.AtEnd(); ++line) {
    const std::string text = reader.ReadOptionLine();
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') continue;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
      Report(reading, line, "'" + Excerpt(trimmed) + "' is not name=value: ignored");
      continue;
    }
    ApplySetting(TrimBlanks(trimmed.substr(0, equals)), TrimBlanks(trimmed.substr(equals + 1)), line, reading);
  }
}

}  // namespace halyard
