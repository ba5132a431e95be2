// What an options file means and what in it is likely a mistake, for the
// halyard-options tool. The clock itself never reports anything.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "options/ClockOptions.h"
#include "options/ClockSettings.h"

namespace halyard {

// Measures a status-line text in pixels; a text wider than maxPixels is
// reported. Left out, no width is checked.
struct StatusWidthLimit {
  std::function<int(std::string_view)> measure;
  int maxPixels = 0;
  // How the platform shows texts, for the encoding and glyph warnings; either
  // may be left out. `showsAsUtf8`: whether bytes from a file without a
  // byte-order mark show as the characters UTF-8 would give. `missingGlyphs`:
  // the characters the clock's font cannot draw, as UTF-8.
  std::function<bool(std::string_view)> showsAsUtf8;
  std::function<std::string(std::string_view)> missingGlyphs;
};

struct OptionsWarning {
  enum class Kind {
    ColorForm,          // a colour text not of the form &HBBGGRR
    NearlyDot,          // "dot", "DOT " and the like, which give the line style
    MissingLines,       // fewer than nine lines in the file
    InvisibleSector,    // sector colour equal to the background
    InvisibleLabel,     // status text colour equal to its background
    InvisibleDial,      // dial marks and time text in the background colour
    InvisibleHands,     // hands in the background colour
    InvisibleSecondDot, // the dot second hand in the background colour
    TextTooWide,        // a status text wider than the status line
    WideCharacters,     // a file saved as UTF-16, which the clock reads byte by byte
    Setting,            // a line after the ninth: unknown name, bad value, not name=value
    Encoding,           // UTF-8 text in a file without a byte-order mark, shown otherwise here
    MissingGlyph,       // a character the clock's font has no glyph for
  };
  Kind kind;
  std::size_t line;  // the file line it concerns (1 to 9 for the options), 0 for the whole file
  std::string message;
};

struct OptionsReport {
  ClockOptions options;
  std::size_t linesInFile = ClockOptions::kLineCount;
  std::array<std::string, ClockOptions::kLineCount> meanings;  // one per line, in file order
  SettingsReading settings;  // from the lines after the ninth
  std::vector<OptionsWarning> warnings;
};

// The report on options already parsed; `linesInFile` below nine warns.
OptionsReport ReportOnOptions(const ClockOptions& options, std::size_t linesInFile,
                              const std::optional<StatusWidthLimit>& width = std::nullopt);

// The report on a file's bytes, read exactly as the clock reads them, its
// settings included (zone names checked with `knownZone`).
OptionsReport ReportOnOptionsFile(std::string_view fileBytes,
                                  const std::optional<StatusWidthLimit>& width = std::nullopt,
                                  ZoneNameCheck knownZone = {});

// How many of the nine option lines the file really holds.
std::size_t CountOptionLines(std::string_view fileBytes);

// A colour value in words: "platform default", "no colour", or its channels.
std::string DescribeColor(std::int32_t value);

// The text with every byte that does not print as itself written \xNN:
// control bytes, DEL, backslash, double quote and bytes of invalid UTF-8.
std::string EscapeOptionText(std::string_view text);

// A path for messages: it keeps its backslashes and non-ASCII names; only
// control bytes are written \xNN.
std::string PrintablePath(std::string_view path);

}  // namespace halyard
