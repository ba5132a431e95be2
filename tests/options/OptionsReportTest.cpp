#include "options/OptionsReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace halyard {
namespace {

using Kind = OptionsWarning::Kind;

std::vector<std::pair<Kind, std::size_t>> KindsAndLines(const OptionsReport& report) {
  std::vector<std::pair<Kind, std::size_t>> out;
  for (const auto& w : report.warnings) out.emplace_back(w.kind, w.line);
  return out;
}

ClockOptions With(std::string ClockOptions::*member, std::string text) {
  ClockOptions options = DefaultClockOptions();
  options.*member = std::move(text);
  return options;
}

TEST(OptionsReportTest, DefaultsAreClean) {
  const OptionsReport report = ReportOnOptions(DefaultClockOptions(), 9);
  EXPECT_TRUE(report.warnings.empty());
  EXPECT_EQ(report.meanings[0], "0x000000: red 0, green 0, blue 0");
  EXPECT_EQ(report.meanings[5], "0xFF901E: red 30, green 144, blue 255");
  EXPECT_EQ(report.meanings[3], "line second hand");
  EXPECT_NE(report.meanings[7].find("\"SILENT 500 kHz CW\""), std::string::npos);
  EXPECT_NE(report.meanings[7].find("\"SILENT 2182 kHz PH\""), std::string::npos);
}

TEST(OptionsReportTest, ColourTextsNotInTheUsualForm) {
  for (const char* text : {"#FF0000", "FF0000", "&HFFFF", "255", "&HFF901E&", "", "&HFF90 1E"}) {
    const OptionsReport report = ReportOnOptions(With(&ClockOptions::SecondDotColor, text), 9);
    EXPECT_EQ(KindsAndLines(report), (std::vector<std::pair<Kind, std::size_t>>{{Kind::ColorForm, 5}})) << text;
  }
  for (const char* text : {"&hff901e", "  &HFF901E  ", "&H00FF00\t"}) {
    EXPECT_TRUE(ReportOnOptions(With(&ClockOptions::SecondDotColor, text), 9).warnings.empty()) << text;
  }
  const OptionsReport web = ReportOnOptions(With(&ClockOptions::SecondDotColor, "#FF8000"), 9);
  EXPECT_NE(web.warnings[0].message.find("&H0080FF"), std::string::npos) << web.warnings[0].message;
}

TEST(OptionsReportTest, OnlyExactDotSelectsTheDot) {
  EXPECT_EQ(ReportOnOptions(With(&ClockOptions::SecondHandStyle, "DOT"), 9).meanings[3], "dot second hand");
  for (const char* text : {"dot", "DOT ", " Dot", "DOT\t"}) {
    const OptionsReport report = ReportOnOptions(With(&ClockOptions::SecondHandStyle, text), 9);
    EXPECT_EQ(report.meanings[3], "line second hand") << text;
    EXPECT_EQ(KindsAndLines(report), (std::vector<std::pair<Kind, std::size_t>>{{Kind::NearlyDot, 4}})) << text;
  }
  EXPECT_TRUE(ReportOnOptions(With(&ClockOptions::SecondHandStyle, "DOTS"), 9).warnings.empty());
}

TEST(OptionsReportTest, CountsTheLinesTheFileReallyHas) {
  EXPECT_EQ(CountOptionLines(""), 0u);
  EXPECT_EQ(CountOptionLines("\xEF\xBB\xBF"), 0u);
  EXPECT_EQ(CountOptionLines("a"), 1u);
  EXPECT_EQ(CountOptionLines("a\r\n"), 1u);
  EXPECT_EQ(CountOptionLines("a\r\n\r\n"), 2u);
  EXPECT_EQ(CountOptionLines("a\nb\x1A\r\nc"), 2u);
  EXPECT_EQ(CountOptionLines(std::string(20, '\r')), 9u);

  const OptionsReport report = ReportOnOptionsFile("&H000000\r\n&HFFFFFF\r\n");
  EXPECT_EQ(report.linesInFile, 2u);
  EXPECT_EQ(KindsAndLines(report).front(), std::make_pair(Kind::MissingLines, std::size_t{0}));
}

TEST(OptionsReportTest, AFileSavedAsUtf16IsNamedFirst) {
  const std::string utf16le("\xFF\xFE&\0H\0F\0F\0\r\0\n\0D\0O\0T\0", 20);
  const OptionsReport report = ReportOnOptionsFile(utf16le);
  ASSERT_FALSE(report.warnings.empty());
  EXPECT_EQ(KindsAndLines(report).front(), std::make_pair(Kind::WideCharacters, std::size_t{0}));
  EXPECT_EQ(KindsAndLines(ReportOnOptionsFile(std::string("\xFE\xFF\0&", 4))).front().first, Kind::WideCharacters);
  for (const auto& [kind, line] : KindsAndLines(ReportOnOptionsFile("\xEF\xBB\xBF&H000000\r\n"))) {
    EXPECT_NE(kind, Kind::WideCharacters);
  }
}

TEST(OptionsReportTest, PartsInTheBackgroundColourAreFlagged) {
  using Expected = std::vector<std::pair<Kind, std::size_t>>;
  EXPECT_EQ(KindsAndLines(ReportOnOptions(With(&ClockOptions::PhoneSectorColor, "&H000000"), 9)),
            (Expected{{Kind::InvisibleSector, 6}}));
  EXPECT_EQ(KindsAndLines(ReportOnOptions(With(&ClockOptions::DialColor, "&H000000"), 9)),
            (Expected{{Kind::InvisibleDial, 2}}));
  EXPECT_EQ(KindsAndLines(ReportOnOptions(With(&ClockOptions::HandColor, "&H000000"), 9)),
            (Expected{{Kind::InvisibleHands, 3}}));

  // The label text against each of its three backgrounds.
  EXPECT_EQ(KindsAndLines(ReportOnOptions(With(&ClockOptions::LabelTextColor, "&H0000FF"), 9)),
            (Expected{{Kind::InvisibleLabel, 7}}));
  EXPECT_EQ(KindsAndLines(ReportOnOptions(With(&ClockOptions::LabelTextColor, "&HFF901E"), 9)),
            (Expected{{Kind::InvisibleLabel, 7}}));
  EXPECT_EQ(KindsAndLines(ReportOnOptions(With(&ClockOptions::LabelTextColor, "&H000000"), 9)),
            (Expected{{Kind::InvisibleLabel, 7}}));

  // A red background hides the 500 kHz sectors; the dot matters only when chosen.
  EXPECT_EQ(KindsAndLines(ReportOnOptions(With(&ClockOptions::BackgroundColor, "&H0000FF"), 9)),
            (Expected{{Kind::InvisibleSector, 1}}));
  ClockOptions dot = With(&ClockOptions::SecondDotColor, "&H000000");
  EXPECT_TRUE(ReportOnOptions(dot, 9).warnings.empty());
  dot.SecondHandStyle = "DOT";
  EXPECT_EQ(KindsAndLines(ReportOnOptions(dot, 9)), (Expected{{Kind::InvisibleSecondDot, 5}}));

  // System colours (negative values) depend on the desktop and are not compared.
  ClockOptions system = DefaultClockOptions();
  system.BackgroundColor = system.DialColor = system.LabelTextColor = "&HFFFF";
  EXPECT_EQ(KindsAndLines(ReportOnOptions(system, 9)),
            (Expected{{Kind::ColorForm, 1}, {Kind::ColorForm, 2}, {Kind::ColorForm, 7}}));
}

TEST(OptionsReportTest, WidthCheckIsOptionalAndCoversEveryStatusText) {
  ClockOptions options = DefaultClockOptions();
  options.BannerText = std::string(40, 'W');
  EXPECT_TRUE(ReportOnOptions(options, 9).warnings.empty());

  const StatusWidthLimit limit{[](std::string_view text) { return static_cast<int>(text.size()) * 10; }, 200, {}, {}};
  const OptionsReport report = ReportOnOptions(options, 9, limit);
  EXPECT_EQ(KindsAndLines(report), (std::vector<std::pair<Kind, std::size_t>>{{Kind::TextTooWide, 9}}));
  // Exactly the limit still fits: only the longer 2182 kHz text is too wide.
  options.FrequencyUnit = "kHz   ";
  const OptionsReport wide = ReportOnOptions(options, 9, limit);
  EXPECT_EQ(std::count_if(wide.warnings.begin(), wide.warnings.end(),
                          [](const OptionsWarning& w) { return w.line == 8; }),
            1);
}

// The countdown's widest text (a "2182 <unit> PH IN" of two-digit minutes) is checked only
// when the file turns the countdown on, and is put with the unit's line.
TEST(OptionsReportTest, CountdownWidthIsCheckedWhenItIsOn) {
  const StatusWidthLimit limit{[](std::string_view text) { return static_cast<int>(text.size()) * 10; }, 200, {}, {}};
  const std::string nine = "&H000000\n&HFFFFFF\n&HFFFFFF\nLINE\n&H00FF00\n&HFF901E\n&HFFFFFF\n";
  EXPECT_TRUE(ReportOnOptionsFile(nine + "kHz\nBANNER\ncountdown=on\n", limit).warnings.empty());
  EXPECT_TRUE(ReportOnOptionsFile(nine + "kHz \nBANNER\ncountdown=off\n", limit).warnings.empty());
  const OptionsReport wide = ReportOnOptionsFile(nine + "kHz \nBANNER\nalert=loud\ncountdown=on\n", limit);
  EXPECT_EQ(KindsAndLines(wide), (std::vector<std::pair<Kind, std::size_t>>{{Kind::TextTooWide, 8}, {Kind::Setting, 10}}));
  const std::string& said = wide.warnings.front().message;
  EXPECT_TRUE(said.find("\"2182 kHz  PH IN 1") != std::string::npos && said.find("\" is 210 pixels wide") != std::string::npos)
      << said;
}

// Non-ASCII texts: UTF-8 without the mark that this system would show as other
// characters, and characters the font lacks; a marked file or a Latin-1 text
// meant for the code page is not an encoding mistake.
TEST(OptionsReportTest, WarnsOfUnmarkedUtf8AndMissingGlyphs) {
  StatusWidthLimit platform;
  platform.showsAsUtf8 = [](std::string_view) { return false; };  // a C locale, a Western code page
  platform.missingGlyphs = [](std::string_view text) {
    return text.find("\xE2\x9C\x88") != std::string_view::npos ? std::string("\xE2\x9C\x88") : std::string();
  };
  const std::string nine = "&H000000\n&HFFFFFF\n&HFFFFFF\nLINE\n&H00FF00\n&HFF901E\n&HFFFFFF\nkHz\n";
  struct Case {
    std::string file;
    std::vector<std::pair<Kind, std::size_t>> expected;
  };
  const Case cases[] = {
      {nine + "\xC3\x85land Radio", {{Kind::Encoding, 9}}},
      {"\xEF\xBB\xBF" + nine + "\xC3\x85land Radio", {}},
      {nine + "\xC5land Radio", {}},
      {"\xEF\xBB\xBF" + nine + "Radio \xE2\x9C\x88", {{Kind::MissingGlyph, 9}}},
      {nine + "Plain", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(KindsAndLines(ReportOnOptionsFile(c.file, platform)), c.expected) << c.file;
  platform.showsAsUtf8 = [](std::string_view) { return true; };  // a UTF-8 locale
  EXPECT_TRUE(ReportOnOptionsFile(nine + "\xC3\x85land Radio", platform).warnings.empty());
}

TEST(OptionsReportTest, EscapesWhatWouldNotPrint) {
  EXPECT_EQ(EscapeOptionText("plain text"), "plain text");
  EXPECT_EQ(EscapeOptionText(std::string("a\0b\tc\x1A\x7F", 7)), "a\\x00b\\x09c\\x1A\\x7F");
  EXPECT_EQ(EscapeOptionText("back\\slash \"q\""), "back\\x5Cslash \\x22q\\x22");
  EXPECT_EQ(EscapeOptionText("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xC3\xA9 \xE2\x82\xAC");  // valid UTF-8 stays
  EXPECT_EQ(EscapeOptionText("\xE9t\xC3"), "\\xE9t\\xC3");                              // stray bytes do not
  EXPECT_EQ(EscapeOptionText("\xC2\x85\xC0\xAF\xED\xA0\x80"), "\\xC2\\x85\\xC0\\xAF\\xED\\xA0\\x80");
}

}  // namespace
}  // namespace halyard
