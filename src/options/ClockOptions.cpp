#include "options/ClockOptions.h"

#include <stdexcept>

namespace halyard {

namespace {

constexpr std::array<std::string ClockOptions::*, ClockOptions::kLineCount> kLineMembers = {
    &ClockOptions::BackgroundColor, &ClockOptions::DialColor,        &ClockOptions::HandColor,
    &ClockOptions::SecondHandStyle, &ClockOptions::SecondDotColor,   &ClockOptions::PhoneSectorColor,
    &ClockOptions::LabelTextColor,  &ClockOptions::FrequencyUnit,    &ClockOptions::BannerText,
};

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr char kEndOfFile = '\x1A';  // Ctrl-Z

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

const std::array<std::string_view, ClockOptions::kLineCount> kOptionNames = {
    "BackgroundColor", "DialColor",      "HandColor",     "SecondHandStyle", "SecondDotColor",
    "PhoneSectorColor", "LabelTextColor", "FrequencyUnit", "BannerText",
};

std::string& ClockOptions::Line(std::size_t index) {
  if (index >= kLineCount) throw std::out_of_range("ClockOptions::Line");
  return this->*kLineMembers[index];
}

const std::string& ClockOptions::Line(std::size_t index) const {
  if (index >= kLineCount) throw std::out_of_range("ClockOptions::Line");
  return this->*kLineMembers[index];
}

ClockOptions DefaultClockOptions() {
  ClockOptions options;
  options.BackgroundColor = "&H000000";
  options.DialColor = "&HFFFFFF";
  options.HandColor = "&HFFFFFF";
  options.SecondHandStyle = "LINE (normal)";
  options.SecondDotColor = "&H00FF00";
  options.PhoneSectorColor = "&HFF901E";
  options.LabelTextColor = "&HFFFFFF";
  options.FrequencyUnit = "kHz";
  options.BannerText = "HALYARD UTC";
  return options;
}

OptionLineReader::OptionLineReader(std::string_view bytes) : bytes_(bytes) {}

bool OptionLineReader::AtEnd() const { return pos_ >= bytes_.size() || bytes_[pos_] == kEndOfFile; }

std::string OptionLineReader::ReadOptionLine() {
  static constexpr char kStops[] = {kCarriageReturn, kLineFeed, kEndOfFile};
  const std::string_view stops(kStops, sizeof kStops);

  const std::size_t start = pos_;
  std::size_t end = bytes_.find_first_of(stops, start);
  if (end == std::string_view::npos) end = bytes_.size();
  pos_ = end;
  // Ctrl-Z stays unconsumed so that every later read meets it again.
  if (pos_ < bytes_.size() && bytes_[pos_] == kCarriageReturn) {
    ++pos_;
    if (pos_ < bytes_.size() && bytes_[pos_] == kLineFeed) ++pos_;
  } else if (pos_ < bytes_.size() && bytes_[pos_] == kLineFeed) {
    ++pos_;
  }
  const std::size_t length = end - start;
  return std::string(bytes_.substr(start, length < kMaxOptionLineBytes ? length : kMaxOptionLineBytes));
}

std::string_view OptionsFileText(std::string_view fileBytes) {
  fileBytes = fileBytes.substr(0, kMaxOptionsFileBytes);
  if (fileBytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    fileBytes.remove_prefix(kUtf8ByteOrderMark.size());
  }
  return fileBytes;
}

ClockOptions ParseClockOptions(std::string_view fileBytes) {
  ClockOptions options;
  options.Utf8Texts = fileBytes.substr(0, kMaxOptionsFileBytes).starts_with(kUtf8ByteOrderMark);
  OptionLineReader reader(OptionsFileText(fileBytes));
  for (std::size_t i = 0; i < ClockOptions::kLineCount; ++i) options.Line(i) = reader.ReadOptionLine();
  return options;
}

namespace {
// Wildcard names and bare device or drive names never name the options file;
// they are refused before the file system is asked.
bool NeverAnOptionsFile(const std::string& path) {
  return path.find_first_of("?*") != std::string::npos || (!path.empty() && path.back() == ':');
}
}  // namespace

bool OptionsFileExists(const std::string& path, OptionsFileSource& source) {
  if (path.empty() || NeverAnOptionsFile(path)) return false;
  std::string nothing;
  return source.ReadFile(path, 0, nothing) != OptionsFileSource::ReadResult::Absent;
}

OptionsFileSource::ReadResult FetchOptionsFile(const std::string& path, OptionsFileSource& source, std::string& bytes) {
  bytes.clear();
  if (NeverAnOptionsFile(path)) return OptionsFileSource::ReadResult::Absent;
  // A file rewritten in place while it is read (an editor saving, a script's
  // truncate-and-write) can give the start of one version and the end of the
  // next. It is read until two reads agree; one that never settles is
  // unreadable rather than half of each.
  constexpr int kReadsToSettle = 8;
  OptionsFileSource::ReadResult status = source.ReadFile(path, kMaxOptionsFileBytes, bytes);
  std::string again;
  for (int read = 1; status == OptionsFileSource::ReadResult::Read; ++read) {
    if (read == kReadsToSettle) {
      status = OptionsFileSource::ReadResult::Unreadable;
      break;
    }
    status = source.ReadFile(path, kMaxOptionsFileBytes, again);
    if (status == OptionsFileSource::ReadResult::Read && again == bytes) break;
    bytes.swap(again);
  }
  if (status != OptionsFileSource::ReadResult::Read) bytes.clear();
  if (bytes.size() > kMaxOptionsFileBytes) bytes.resize(kMaxOptionsFileBytes);
  return status;
}

ClockOptions LoadClockOptions(const std::string& path, OptionsFileSource& source) {
  std::string bytes;
  // A file that exists but cannot be read is treated like a missing one: the
  // defaults keep the clock legible, where nine empty texts would paint it black.
  if (FetchOptionsFile(path, source, bytes) != OptionsFileSource::ReadResult::Read) return DefaultClockOptions();
  return ParseClockOptions(bytes);
}

}  // namespace halyard
