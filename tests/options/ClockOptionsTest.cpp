#include "options/ClockOptions.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "options/ColorValue.h"

namespace halyard {
namespace {

std::vector<std::string> Lines(const ClockOptions& options) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < ClockOptions::kLineCount; ++i) lines.push_back(options.Line(i));
  return lines;
}

std::vector<std::string> Nine(std::vector<std::string> first) {
  first.resize(ClockOptions::kLineCount);
  return first;
}

TEST(ClockOptionsTest, LinesFollowFileOrder) {
  const ClockOptions parsed = ParseClockOptions("1\r2\r3\r4\r5\r6\r7\r8\r9");
  EXPECT_EQ(parsed.BackgroundColor, "1");
  EXPECT_EQ(parsed.DialColor, "2");
  EXPECT_EQ(parsed.HandColor, "3");
  EXPECT_EQ(parsed.SecondHandStyle, "4");
  EXPECT_EQ(parsed.SecondDotColor, "5");
  EXPECT_EQ(parsed.PhoneSectorColor, "6");
  EXPECT_EQ(parsed.LabelTextColor, "7");
  EXPECT_EQ(parsed.FrequencyUnit, "8");
  EXPECT_EQ(parsed.BannerText, "9");
  EXPECT_EQ(kOptionNames[0], "BackgroundColor");
  EXPECT_EQ(kOptionNames[8], "BannerText");
  EXPECT_THROW(parsed.Line(ClockOptions::kLineCount), std::out_of_range);
}

TEST(ClockOptionsTest, DefaultsGiveTheDocumentedColours) {
  const ClockOptions d = DefaultClockOptions();
  EXPECT_EQ(ColorValue(d.BackgroundColor), 0);
  EXPECT_EQ(ColorValue(d.DialColor), 0xFFFFFF);
  EXPECT_EQ(ColorValue(d.HandColor), 0xFFFFFF);
  EXPECT_EQ(ColorValue(d.SecondDotColor), 0x00FF00);
  EXPECT_EQ(ColorValue(d.PhoneSectorColor), 0xFF901E);
  EXPECT_EQ(ColorValue(d.LabelTextColor), 0xFFFFFF);
  EXPECT_NE(d.SecondHandStyle, "DOT");
  EXPECT_EQ(d.FrequencyUnit, "kHz");
  EXPECT_FALSE(d.BannerText.empty());
  EXPECT_EQ(d.BannerText.find_first_of("\r\n"), std::string::npos);
}

TEST(OptionLineReaderTest, LineEndsAreCrCrLfAndBareLf) {
  EXPECT_EQ(Lines(ParseClockOptions("a\rb\r\nc\nd\n\re\r\rf")),
            Nine({"a", "b", "c", "d", "", "e", "", "f"}));
  // LF CR is two line ends; CR LF is one.
  EXPECT_EQ(Lines(ParseClockOptions("a\n\rb")), Nine({"a", "", "b"}));
  EXPECT_EQ(Lines(ParseClockOptions("&H0000FF\n&HFFFFFF\n")), Nine({"&H0000FF", "&HFFFFFF"}));
}

TEST(OptionLineReaderTest, NineLinesWithOrWithoutFinalLineEnd) {
  const std::string body = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9";
  const auto want = Nine({"1", "2", "3", "4", "5", "6", "7", "8", "9"});
  EXPECT_EQ(Lines(ParseClockOptions(body)), want);
  EXPECT_EQ(Lines(ParseClockOptions(body + "\r\n")), want);
  EXPECT_EQ(Lines(ParseClockOptions(body + "\r\n10\r\n11")), want);  // later lines never read
}

TEST(OptionLineReaderTest, MissingLinesAreEmptyNotDefaults) {
  EXPECT_EQ(ParseClockOptions(""), ClockOptions{});
  EXPECT_EQ(Lines(ParseClockOptions("&HFF\r\nDOT")), Nine({"&HFF", "DOT"}));
}

TEST(OptionLineReaderTest, CtrlZEndsTheFileForGood) {
  EXPECT_EQ(Lines(ParseClockOptions("a\rb\x1A" "c\rd\re")), Nine({"a", "b"}));
  OptionLineReader reader("x\x1Ay");
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.ReadOptionLine(), "x");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.ReadOptionLine(), "");
  EXPECT_EQ(reader.ReadOptionLine(), "");
}

TEST(OptionLineReaderTest, KeepsEveryOtherByte) {
  const std::string line1("\0 a\tb \x7F\xE9", 8);
  const ClockOptions parsed = ParseClockOptions(line1 + "\r DOT \r");
  EXPECT_EQ(parsed.BackgroundColor, line1);
  EXPECT_EQ(parsed.DialColor, " DOT ");
}

TEST(OptionLineReaderTest, SkipsAByteOrderMarkOnlyAtTheStart) {
  const ClockOptions parsed = ParseClockOptions("\xEF\xBB\xBF&HFF901E\r\xEF\xBB\xBFx");
  EXPECT_TRUE(parsed.Utf8Texts);
  EXPECT_FALSE(ParseClockOptions("&HFF901E\r\xC3\x85").Utf8Texts);
  EXPECT_EQ(parsed.BackgroundColor, "&HFF901E");
  EXPECT_EQ(parsed.DialColor, "\xEF\xBB\xBFx");
  EXPECT_EQ(ParseClockOptions("\xEF\xBB").BackgroundColor, "\xEF\xBB");  // not a whole mark
}

// UTF-16 is not decoded: the lines are what the byte rules make of it, and
// the colours come out as whatever those bytes mean, never a crash.
TEST(OptionLineReaderTest, Utf16FileIsReadAsBytes) {
  const std::string utf16le("\xFF\xFE&\0H\0F\0F\0\r\0\n\0D\0O\0T\0", 20);
  const ClockOptions parsed = ParseClockOptions(utf16le);
  EXPECT_EQ(parsed.BackgroundColor, std::string("\xFF\xFE&\0H\0F\0F\0", 10));
  EXPECT_EQ(parsed.DialColor, std::string("\0", 1));
  EXPECT_EQ(parsed.HandColor, std::string("\0D\0O\0T\0", 7));
  EXPECT_EQ(ColorValue(parsed.BackgroundColor), 0);
  EXPECT_NE(parsed.SecondHandStyle, "DOT");
}

TEST(OptionLineReaderTest, LongLineIsCutAndItsRestSkipped) {
  const std::string exact(kMaxOptionLineBytes, 'a');
  const std::string longer = std::string(kMaxOptionLineBytes, 'b') + "tail";
  const ClockOptions parsed = ParseClockOptions(exact + "\r\n" + longer + "\r\nnext\nlast");
  EXPECT_EQ(parsed.BackgroundColor, exact);
  EXPECT_EQ(parsed.DialColor, std::string(kMaxOptionLineBytes, 'b'));
  EXPECT_EQ(parsed.HandColor, "next");
  EXPECT_EQ(parsed.SecondHandStyle, "last");
  // A Ctrl-Z in the skipped rest still ends the file.
  const ClockOptions stopped = ParseClockOptions(longer + "\x1A\rmore");
  EXPECT_EQ(stopped.DialColor, "");
}

TEST(OptionLineReaderTest, BytesBeyondTheFileLimitAreIgnored) {
  // Line 9 starts three bytes before the limit; only those three count.
  std::string bytes(kMaxOptionsFileBytes - 3 - 8, 'z');
  bytes += std::string(8, '\r');
  bytes += "abcdef";
  const ClockOptions parsed = ParseClockOptions(bytes);
  EXPECT_EQ(parsed.BackgroundColor, std::string(kMaxOptionLineBytes, 'z'));
  EXPECT_EQ(parsed.BannerText, "abc");
}

class FakeOptionsFile : public OptionsFileSource {
 public:
  ReadResult status = ReadResult::Read;
  std::string contents;
  int calls = 0;
  std::size_t limitSeen = 0;

  ReadResult ReadFile(const std::string&, std::size_t limit, std::string& bytes) override {
    ++calls;
    limitSeen = limit;
    bytes = contents;
    return status;
  }
};

TEST(LoadClockOptionsTest, AbsentOrUnreadableGiveDefaults) {
  FakeOptionsFile file;
  file.contents = "junk the source left behind";
  for (auto status : {OptionsFileSource::ReadResult::Absent, OptionsFileSource::ReadResult::Unreadable}) {
    file.status = status;
    EXPECT_EQ(LoadClockOptions("/opt/clock/OPTION.DTA", file), DefaultClockOptions());
  }
}

TEST(LoadClockOptionsTest, ReadFileGivesItsLinesWithinTheLimit) {
  FakeOptionsFile file;
  file.contents = "&HFF\r\nDOT";
  const ClockOptions loaded = LoadClockOptions("/opt/clock/OPTION.DTA", file);
  EXPECT_EQ(Lines(loaded), Nine({"&HFF", "DOT"}));
  EXPECT_EQ(file.limitSeen, kMaxOptionsFileBytes);
  file.contents.clear();
  EXPECT_EQ(LoadClockOptions("/opt/clock/OPTION.DTA", file), ClockOptions{});
}

TEST(LoadClockOptionsTest, WildcardsAndTrailingColonNeverReachTheFileSystem) {
  FakeOptionsFile file;
  file.contents = "&HFF";
  for (const char* path : {"C:\\clock\\OPTION.D?A", "/clock/*.DTA", "C:", "/clock/OPTION.DTA:"}) {
    EXPECT_EQ(LoadClockOptions(path, file), DefaultClockOptions()) << path;
  }
  EXPECT_EQ(file.calls, 0);
}

TEST(LoadClockOptionsTest, FetchNeverHandsOnMoreThanTheLimit) {
  FakeOptionsFile file;
  file.contents = std::string(kMaxOptionsFileBytes + 10, 'x');
  std::string bytes;
  EXPECT_EQ(FetchOptionsFile("OPTION.DTA", file, bytes), OptionsFileSource::ReadResult::Read);
  EXPECT_EQ(bytes.size(), kMaxOptionsFileBytes);
  file.status = OptionsFileSource::ReadResult::Unreadable;
  EXPECT_EQ(FetchOptionsFile("OPTION.DTA", file, bytes), OptionsFileSource::ReadResult::Unreadable);
  EXPECT_TRUE(bytes.empty());
}

}  // namespace
}  // namespace halyard
