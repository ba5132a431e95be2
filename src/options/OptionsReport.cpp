#include "options/OptionsReport.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "options/ColorValue.h"
#include "options/SilentPeriod.h"
#include "options/Utf8Decoder.h"

namespace halyard {

namespace {

std::string Quoted(std::string_view text) { return "\"" + EscapeOptionText(text) + "\""; }

std::string Hex6(std::uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%06X", static_cast<unsigned>(value));
  return buffer;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool AllHex(std::string_view text) {
  for (char c : text) {
    if (!IsHexDigit(c)) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Only colours that are plain 24-bit values can be compared: negative ones
// stand for system colours, which depend on the desktop.
bool SameVisibleColor(std::int32_t a, std::int32_t b) {
  return a >= 0 && b >= 0 && (a & 0xFFFFFF) == (b & 0xFFFFFF);
}

bool IsColorLine(std::size_t index) {
  return index != LineIndex(kSecondHandStyleLine) && index != LineIndex(kFrequencyUnitLine) &&
         index != LineIndex(kBannerTextLine);
}

class ReportBuilder {
 public:
  ReportBuilder(const ClockOptions& options, std::size_t linesInFile) {
    report_.options = options;
    report_.linesInFile = linesInFile;
  }

  OptionsReport Build(const std::optional<StatusWidthLimit>& width) {
    const ClockOptions& o = report_.options;
    const bool dot = HasDotSecondHand(o);
    const std::string telegraphyText = SilentText(SilentPeriod::Telegraphy500, o.FrequencyUnit);
    const std::string telephonyText = SilentText(SilentPeriod::Telephony2182, o.FrequencyUnit);

    if (report_.linesInFile < ClockOptions::kLineCount) {
      Warn(OptionsWarning::Kind::MissingLines, 0,
           "the file has " + std::to_string(report_.linesInFile) +
               " of 9 lines; the missing options are empty texts, not defaults");
    }

    for (std::size_t i = 0; i < ClockOptions::kLineCount; ++i) {
      if (IsColorLine(i)) {
        report_.meanings[i] = DescribeColor(ColorValue(o.Line(i)));
        CheckColorForm(i);
      }
    }
    if (!dot) report_.meanings[LineIndex(kSecondDotColorLine)] += " (unused: the second hand is a line)";

    report_.meanings[LineIndex(kSecondHandStyleLine)] = dot ? "dot second hand" : "line second hand";
    const std::string_view style = TrimBlanks(o.SecondHandStyle);
    if (!dot && style.size() == 3 && (style[0] == 'D' || style[0] == 'd') && (style[1] == 'O' || style[1] == 'o') &&
        (style[2] == 'T' || style[2] == 't')) {
      Warn(OptionsWarning::Kind::NearlyDot, kSecondHandStyleLine,
           Quoted(o.SecondHandStyle) + " gives the line second hand; only exactly \"DOT\" selects the dot");
    }

    report_.meanings[LineIndex(kFrequencyUnitLine)] =
        "status texts " + Quoted(telegraphyText) + " and " + Quoted(telephonyText);
    report_.meanings[LineIndex(kBannerTextLine)] =
        o.BannerText.empty() ? "status text outside silent periods: none (the line stays blank)"
                             : "status text outside silent periods: " + Quoted(o.BannerText);

    const std::int32_t background = ColorValue(o.BackgroundColor);
    const std::int32_t phone = ColorValue(o.PhoneSectorColor);
    const std::int32_t labelText = ColorValue(o.LabelTextColor);
    if (SameVisibleColor(phone, background)) {
      Warn(OptionsWarning::Kind::InvisibleSector, kPhoneSectorColorLine,
           "the 2182 kHz sectors have the background colour and cannot be seen");
    }
    if (SameVisibleColor(kTelegraphyRed, background)) {
      Warn(OptionsWarning::Kind::InvisibleSector, kBackgroundColorLine,
           "the background is the fixed red of the 500 kHz sectors, which cannot be seen");
    }
    if (SameVisibleColor(ColorValue(o.DialColor), background)) {
      Warn(OptionsWarning::Kind::InvisibleDial, kDialColorLine,
           "the dial marks and the time text have the background colour and cannot be seen");
    }
    if (SameVisibleColor(ColorValue(o.HandColor), background)) {
      Warn(OptionsWarning::Kind::InvisibleHands, kHandColorLine, "the hands have the background colour and cannot be seen");
    }
    if (dot && SameVisibleColor(ColorValue(o.SecondDotColor), background)) {
      Warn(OptionsWarning::Kind::InvisibleSecondDot, kSecondDotColorLine,
           "the second dot has the background colour and cannot be seen");
    }
    if (SameVisibleColor(labelText, kTelegraphyRed)) {
      Warn(OptionsWarning::Kind::InvisibleLabel, kLabelTextColorLine, "the 500 kHz status text is red on red and cannot be read");
    }
    if (SameVisibleColor(labelText, phone)) {
      Warn(OptionsWarning::Kind::InvisibleLabel, kLabelTextColorLine,
           "the 2182 kHz status text has the colour of its background (PhoneSectorColor) and cannot be read");
    }
    if (SameVisibleColor(labelText, background) && !o.BannerText.empty()) {
      Warn(OptionsWarning::Kind::InvisibleLabel, kLabelTextColorLine,
           "the banner has the colour of its background (BackgroundColor) and cannot be read");
    }

    if (width) {
      CheckText(*width, kFrequencyUnitLine, o.FrequencyUnit);
      CheckText(*width, kBannerTextLine, o.BannerText);
    }
    if (width && width->measure) {
      CheckWidth(*width, kFrequencyUnitLine, telegraphyText);
      CheckWidth(*width, kFrequencyUnitLine, telephonyText);
      CheckWidth(*width, kBannerTextLine, o.BannerText);
    }
    std::stable_sort(report_.warnings.begin(), report_.warnings.end(),
                     [](const OptionsWarning& a, const OptionsWarning& b) { return a.line < b.line; });
    return std::move(report_);
  }

 private:
  void Warn(OptionsWarning::Kind kind, std::size_t line, std::string message) {
    report_.warnings.push_back({kind, line, std::move(message)});
  }

  void CheckColorForm(std::size_t index) {
    const std::string& text = report_.options.Line(index);
    const std::string_view core = TrimBlanks(text);
    if (core.size() == 8 && core[0] == '&' && (core[1] == 'H' || core[1] == 'h') && AllHex(core.substr(2))) return;

    std::string message = Quoted(text) + " is not of the form &HBBGGRR; it gives " + DescribeColor(ColorValue(text));
    if (core.size() == 7 && core[0] == '#' && AllHex(core.substr(1))) {
      // A web colour lists red first; the clock wants blue first.
      const std::string_view rgb = core.substr(1);
      message += "; for the web colour " + std::string(core) + " write &H" + std::string(rgb.substr(4, 2)) +
                 std::string(rgb.substr(2, 2)) + std::string(rgb.substr(0, 2));
    } else if (core.size() == 6 && AllHex(core)) {
      message += "; the \"&H\" is missing";
    }
    Warn(OptionsWarning::Kind::ColorForm, index + 1, std::move(message));
  }

  // Non-ASCII text: valid UTF-8 in a file without the mark that this system
  // shows as other characters, and characters the font cannot draw.
  void CheckText(const StatusWidthLimit& platform, std::size_t line, const std::string& text) {
    const bool nonAscii = std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > 127; });
    if (!nonAscii) return;
    if (!report_.options.Utf8Texts && platform.showsAsUtf8 && IsUtf8(text) && !platform.showsAsUtf8(text)) {
      Warn(OptionsWarning::Kind::Encoding, line,
           Quoted(text) + " is UTF-8 but the file has no byte-order mark, so this system shows other characters; "
                          "save the file as UTF-8 with BOM");
    }
    if (platform.missingGlyphs) {
      const std::string missing = platform.missingGlyphs(text);
      if (!missing.empty()) {
        Warn(OptionsWarning::Kind::MissingGlyph, line,
             "the clock's font has no glyph for " + Quoted(missing) + ": it shows a box instead");
      }
    }
  }

  static bool IsUtf8(std::string_view text) {
    char32_t c = 0;
    for (std::size_t i = 0; i < text.size();) {
      if (NextUtf8(text, i, c) != Utf8Step::Character) return false;
    }
    return true;
  }

  void CheckWidth(const StatusWidthLimit& width, std::size_t line, const std::string& text) {
    const int pixels = width.measure(text);
    if (pixels > width.maxPixels) {
      Warn(OptionsWarning::Kind::TextTooWide, line,
           Quoted(text) + " is " + std::to_string(pixels) + " pixels wide; the status line shows " +
               std::to_string(width.maxPixels));
    }
  }

  OptionsReport report_;
};

}  // namespace

std::string DescribeColor(std::int32_t value) {
  if (value == ColorDefault) return "platform default (-1)";
  if (value == ColorNone) return "no colour (-2)";
  if (value < 0) return std::to_string(value) + " (negative: the platform default)";
  const auto v = static_cast<std::uint32_t>(value);
  std::string text = Hex6(v & 0xFFFFFF) + ": red " + std::to_string(v & 0xFF) + ", green " +
                     std::to_string((v >> 8) & 0xFF) + ", blue " + std::to_string((v >> 16) & 0xFF);
  if (v > 0xFFFFFF) text += " (from " + std::to_string(value) + ", above 24 bits)";
  return text;
}

std::string EscapeOptionText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  auto escape = [&out](unsigned char byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      if (lead < 0x20 || lead == 0x7F || lead == '\\' || lead == '"') escape(lead);
      else out += static_cast<char>(lead);
      ++i;
      continue;
    }
    // A valid UTF-8 sequence of a printing character stays as it is; anything
    // else, the C1 controls included, is escaped byte by byte.
    std::size_t next = i;
    char32_t code = 0;
    if (NextUtf8(text, next, code) == Utf8Step::Character && code >= 0xA0) {
      out.append(text.substr(i, next - i));
      i = next;
    } else {
      escape(lead);
      ++i;
    }
  }
  return out;
}

std::size_t CountOptionLines(std::string_view fileBytes) {
  OptionLineReader reader(OptionsFileText(fileBytes));
  std::size_t count = 0;
  while (count < ClockOptions::kLineCount && !reader.AtEnd()) {
    reader.ReadOptionLine();
    ++count;
  }
  return count;
}

std::string PrintablePath(std::string_view path) {
  std::string out;
  for (char c : path) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') out += EscapeOptionText(std::string_view(&c, 1));
    else out += c;
  }
  return out;
}

namespace {

// With the countdown on, its widest text against the status line; the
// warning goes with the unit's line, which is what makes it wide.
void CheckCountdownWidth(const StatusWidthLimit& width, OptionsReport& report) {
  std::string text, widest;
  int widestPixels = -1;
  for (const SilentPeriod period : {SilentPeriod::Telegraphy500, SilentPeriod::Telephony2182}) {
    for (std::int32_t seconds = 1; seconds <= kLongestCountdownSeconds; ++seconds) {
      AssignCountdownText(text, period, report.options.FrequencyUnit, seconds);
      const int pixels = width.measure(text);
      if (pixels >= widestPixels) {  // of equals, the longest wait: "IN 12:00"
        widestPixels = pixels;
        widest = text;
      }
    }
  }
  if (widestPixels <= width.maxPixels) return;
  const OptionsWarning warning{OptionsWarning::Kind::TextTooWide, kFrequencyUnitLine,
                               "with countdown on, " + Quoted(widest) + " is " + std::to_string(widestPixels) +
                                   " pixels wide; the status line shows " + std::to_string(width.maxPixels)};
  const auto after = std::upper_bound(report.warnings.begin(), report.warnings.end(), warning.line,
                                      [](std::size_t line, const OptionsWarning& w) { return line < w.line; });
  report.warnings.insert(after, warning);
}

}  // namespace

OptionsReport ReportOnOptions(const ClockOptions& options, std::size_t linesInFile,
                              const std::optional<StatusWidthLimit>& width) {
  return ReportBuilder(options, linesInFile).Build(width);
}

OptionsReport ReportOnOptionsFile(std::string_view fileBytes, const std::optional<StatusWidthLimit>& width,
                                  ZoneNameCheck knownZone) {
  OptionsReport report = ReportOnOptions(ParseClockOptions(fileBytes), CountOptionLines(fileBytes), width);
  report.settings.knownZone = std::move(knownZone);
  ApplyFileSettings(fileBytes, report.settings);
  if (report.settings.settings.countdown && width && width->measure) CheckCountdownWidth(*width, report);
  for (const SettingProblem& problem : report.settings.problems) {
    report.warnings.push_back({OptionsWarning::Kind::Setting, problem.line, problem.message});
  }
  if (report.settings.problemsNotKept > 0) {
    report.warnings.push_back({OptionsWarning::Kind::Setting, 0,
                               std::to_string(report.settings.problemsNotKept) + " more problems with settings not shown"});
  }
  // Editors that save "Unicode" write UTF-16 with a byte-order mark; every
  // other byte is then NUL and no line means what it says.
  if (fileBytes.starts_with("\xFF\xFE") || fileBytes.starts_with("\xFE\xFF")) {
    report.warnings.insert(report.warnings.begin(),
                           {OptionsWarning::Kind::WideCharacters, 0,
                            "the file is saved as UTF-16; the clock reads single bytes, so save it as ANSI or UTF-8"});
  }
  return report;
}

}  // namespace halyard
