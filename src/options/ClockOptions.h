// The nine option texts of OPTION.DTA and how they are read.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace halyard {

// Nine byte strings, lines 1 to 9 of OPTION.DTA, kept as text: colours are
// converted with ColorValue at every use.
struct ClockOptions {
  std::string BackgroundColor;
  std::string DialColor;
  std::string HandColor;
  std::string SecondHandStyle;
  std::string SecondDotColor;
  std::string PhoneSectorColor;
  std::string LabelTextColor;
  std::string FrequencyUnit;
  std::string BannerText;

  // The file began with a UTF-8 byte-order mark: its texts are UTF-8, whatever
  // the locale or ANSI code page.
  bool Utf8Texts = false;

  static constexpr std::size_t kLineCount = 9;
  std::string& Line(std::size_t index);  // 0-based, in file order
  const std::string& Line(std::size_t index) const;

  bool operator==(const ClockOptions&) const = default;
};

// The lines of the file, numbered from 1 as people and messages count them.
enum OptionLine : std::size_t {
  kBackgroundColorLine = 1,
  kDialColorLine,
  kHandColorLine,
  kSecondHandStyleLine,
  kSecondDotColorLine,
  kPhoneSectorColorLine,
  kLabelTextColorLine,
  kFrequencyUnitLine,
  kBannerTextLine,
};
static_assert(kBannerTextLine == ClockOptions::kLineCount);
// The place of a line in ClockOptions::Line and in anything kept per line.
constexpr std::size_t LineIndex(OptionLine line) { return line - 1; }

// The second hand is a dot only when its line is exactly "DOT": "dot" or
// "DOT " give the line.
inline constexpr std::string_view kDotSecondHand = "DOT";
inline bool HasDotSecondHand(const ClockOptions& options) { return options.SecondHandStyle == kDotSecondHand; }

// The built-in defaults, used when OPTION.DTA does not exist or cannot be read.
ClockOptions DefaultClockOptions();

// Names of the nine lines, in file order, for tools and messages.
extern const std::array<std::string_view, ClockOptions::kLineCount> kOptionNames;

// Limits on what is read: a sane options file is a few hundred bytes.
// Only the first kMaxOptionsFileBytes of the file are read, with one or a few
// reads; a line longer than kMaxOptionLineBytes keeps its first
// kMaxOptionLineBytes bytes and the rest of it, up to its line end, is skipped.
inline constexpr std::size_t kMaxOptionsFileBytes = 1024 * 1024;  // the rest is ignored
inline constexpr std::size_t kMaxOptionLineBytes = 64 * 1024;     // a longer line is cut here

// Reads option lines from bytes already in memory. Lines end at CR, CR LF or a
// bare LF; Ctrl-Z ends the file for good; NUL and tab stay in the text. A line
// keeps at most kMaxOptionLineBytes bytes.
class OptionLineReader {
 public:
  explicit OptionLineReader(std::string_view bytes);
  // The next line; at the end (or at Ctrl-Z) every call gives the empty text.
  std::string ReadOptionLine();
  // True when no line is left: the bytes are used up or Ctrl-Z was reached.
  bool AtEnd() const;

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// The part of a file's bytes that is read: at most kMaxOptionsFileBytes, without
// a UTF-8 byte-order mark at the very start.
std::string_view OptionsFileText(std::string_view fileBytes);

// The nine options from the file's bytes. A UTF-8 byte-order mark at the very
// start is skipped and makes the texts UTF-8. Missing lines are empty texts, not defaults.
ClockOptions ParseClockOptions(std::string_view fileBytes);

// Where the file is and how its bytes are fetched; the platform layer provides it.
class OptionsFileSource {
 public:
  enum class ReadResult { Read, Absent, Unreadable };
  virtual ~OptionsFileSource() = default;
  // Fills `bytes` with at most `limit` bytes of the file at `path`.
  virtual ReadResult ReadFile(const std::string& path, std::size_t limit, std::string& bytes) = 0;
};

// Fetches at most kMaxOptionsFileBytes of the options file. A path holding "?"
// or "*", or ending in ":", is Absent without asking `source`.
OptionsFileSource::ReadResult FetchOptionsFile(const std::string& path, OptionsFileSource& source, std::string& bytes);

// Whether `path` names something the reader would not call Absent: a file that
// cannot be read still exists, and is reported rather than passed over.
bool OptionsFileExists(const std::string& path, OptionsFileSource& source);

// Loads the options from `path`: the defaults when the file is absent or cannot
// be read (locked, access denied, not a regular file), the file's nine lines
// otherwise.
ClockOptions LoadClockOptions(const std::string& path, OptionsFileSource& source);

}  // namespace halyard
