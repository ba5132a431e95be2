#include "face/DrawClock.h"

#include <array>
#include <cmath>

#include "face/StatusLine.h"
#include "face/SyncMark.h"
#include "options/ColorValue.h"
#include "options/SilentPeriod.h"
#include "platform/window/ClockWindowIds.h"
#include "platform/window/WindowHost.h"

namespace halyard {
namespace {

constexpr std::int32_t kGrey = 0x808080;

// Nearest integer, ties to even, from extended precision; out-of-range values
// (impossible for real faces, possible for fuzzed sizes) are pinned, not UB.
std::int32_t RoundHalfEven(long double value) {
  if (std::isnan(value)) return 0;
  if (value > 2.0e9L) return 2'000'000'000;
  if (value < -2.0e9L) return -2'000'000'000;
  return static_cast<std::int32_t>(std::lrint(value));  // as nearbyint, without saving the FP state
}

// A field of the time text: leading blanks, an optional sign, then digits.
std::int32_t DecodeField(const std::string& field) {
  std::size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  std::int32_t value = 0;
  while (i < field.size() && field[i] >= '0' && field[i] <= '9') value = value * 10 + (field[i++] - '0');
  return negative ? -value : value;
}

std::string Slice(const std::string& text, std::size_t pos, std::size_t count) {
  return pos < text.size() ? text.substr(pos, count) : std::string();
}

// Angles in degrees, with cosine and sine of every whole degree a face
// normally asks for worked out once by the same expression as any other
// angle, so a value from the table is the value that would have been
// computed. Extended-precision sine is slow and a repaint needs some 130.
class Degrees {
 public:
  static const Degrees& Table() {
    static const Degrees table;
    return table;
  }
  long double Cos(long double degrees) const {
    const std::ptrdiff_t slot = Slot(degrees);
    return slot >= 0 ? table_[static_cast<std::size_t>(slot)].cos : std::cos(Radians(degrees));
  }
  long double Sin(long double degrees) const {
    const std::ptrdiff_t slot = Slot(degrees);
    return slot >= 0 ? table_[static_cast<std::size_t>(slot)].sin : std::sin(Radians(degrees));
  }

 private:
  static constexpr int kFirst = -360;
  static constexpr int kLast = 719;
  static constexpr int kCount = kLast - kFirst + 1;
  static_assert(kFirst % 6 == 0 && kCount % 6 == 0);

  Degrees() {
    for (int d = kFirst; d <= kLast; ++d) {
      table_[static_cast<std::size_t>(SlotOf(d))] = {std::cos(Radians(d)), std::sin(Radians(d))};
    }
  }
  long double Radians(long double degrees) const { return degrees * pi_ / 180.0L; }
  // Multiples of 6 degrees first, side by side: the marks, the sectors and the
  // second hand use only those, so a repaint reads a few cache lines of the
  // table instead of one line for each of its angles.
  static std::ptrdiff_t SlotOf(long whole) {
    const long offset = whole - kFirst;  // kFirst is a multiple of 6
    return static_cast<std::ptrdiff_t>((offset % 6) * (kCount / 6) + offset / 6);
  }
  // The slot for `degrees`, or -1 when it is not a whole degree in range.
  static std::ptrdiff_t Slot(long double degrees) {
    if (!(degrees >= kFirst && degrees <= kLast)) return -1;  // NaN too
    const long whole = std::lrint(degrees);
    return whole == degrees ? SlotOf(whole) : -1;
  }

  // A point's cosine and sine side by side: after the half-second sleep the
  // table is out of the cache, and a repaint reads some 80 of its angles.
  struct CosSin {
    long double cos;
    long double sin;
  };
  long double pi_ = 4.0L * std::atan(1.0L);
  std::array<CosSin, kCount> table_{};
};

struct Dial {
  FaceGeometry geometry;

  long double X(long double reach, long double degrees) const {
    return geometry.centerX + reach * Degrees::Table().Cos(degrees);
  }
  long double Y(long double reach, long double degrees) const {
    return geometry.centerY + reach * Degrees::Table().Sin(degrees);
  }
  PixelPoint Tip(std::int32_t reach, double degrees) const {
    return {RoundHalfEven(X(reach, degrees)), RoundHalfEven(Y(reach, degrees))};
  }
};

constexpr std::int32_t kLegendTop = 5;

std::string LegendText(const std::string& timeText) { return timeText + " UTC"; }

void DrawLegend(const Dial& dial, const std::string& timeText) {
  const std::string legend = LegendText(timeText);
  const auto width = static_cast<std::int16_t>(Canvas::TextSize(legend).width);
  Canvas::MoveTo(static_cast<float>(dial.geometry.centerX - width / 2.0L), kLegendTop);
  Canvas::PrintText(legend);
}

// The pixels the legend's text cells cover, for what must keep clear of it.
PixelRect LegendArea(const Dial& dial, const std::string& timeText) {
  const TextExtent size = Canvas::TextSize(LegendText(timeText));
  const std::int32_t left = dial.geometry.centerX - size.width / 2;
  return {left, kLegendTop, left + size.width + 1, kLegendTop + size.height};
}

void DrawDialMarks(const Dial& dial, const ClockOptions& options) {
  Canvas::SetPenWidth(3);
  const std::int32_t color = ColorValue(options.DialColor);
  for (std::int32_t i = 0; i <= 354; i += 6) {
    const std::int32_t px = RoundHalfEven(dial.X(dial.geometry.radius, i));
    const std::int32_t py = RoundHalfEven(dial.Y(dial.geometry.radius, i));
    const std::int32_t size = i % 30 == 0 ? 3 : 1;  // hour marks larger than minute marks
    Canvas::Box(static_cast<float>(px), static_cast<float>(py), static_cast<float>(px + size),
                static_cast<float>(py + size), 0, color, ColorNone, kSolidFill);
  }
  Canvas::SetPenWidth(1);
}

void DrawSilentSectors(const Dial& dial, const ClockOptions& options) {
  struct Sector {
    std::int32_t startAngle;
    bool phone;
  };
  static constexpr Sector kSectors[] = {{270, true}, {90, true}, {0, false}, {180, false}};
  const long double reach = dial.geometry.radius - 4;
  std::array<PointF, 5> points;
  for (const Sector& sector : kSectors) {
    points[0] = {static_cast<float>(dial.geometry.centerX), static_cast<float>(dial.geometry.centerY)};
    for (int k = 0; k < 4; ++k) {
      const long double angle = sector.startAngle + 6 * k;
      points[k + 1] = {static_cast<float>(dial.X(reach, angle)), static_cast<float>(dial.Y(reach, angle))};
    }
    const std::int32_t color = sector.phone ? ColorValue(options.PhoneSectorColor) : kTelegraphyRed;
    Canvas::Polygon(points, color, ColorDefault, kSolidFill, 0);
  }
}

void DrawHand(const Dial& dial, double angle, std::int32_t reach, std::int32_t penWidth,
              std::int32_t color) {
  const PixelPoint tip = dial.Tip(reach, angle);
  Canvas::SetPenWidth(penWidth);
  Canvas::MoveTo(static_cast<float>(dial.geometry.centerX), static_cast<float>(dial.geometry.centerY));
  Canvas::LineTo(static_cast<float>(tip.x), static_cast<float>(tip.y), color);
}

void DrawHourAndMinuteHands(const Dial& dial, const ClockTime& time, const ClockOptions& options) {
  // Integer div and mod, so the hands move in whole-degree steps.
  const double hourAngle = 30.0 * (time.hours % 12) - 90 + (30 * time.minutes) / 60;
  DrawHand(dial, hourAngle, dial.geometry.radius - 26, 8, ColorValue(options.HandColor));
  const double minuteAngle = 6.0 * time.minutes - 90 + (6 * time.seconds) / 60;
  DrawHand(dial, minuteAngle, dial.geometry.radius - 14, 5, ColorValue(options.HandColor));
}

void UpdateStatusLine(WindowHandle window, const ClockTime& time, const ClockOptions& options, bool countdown) {
  if (window == nullptr) return;
  // Only the text's buffer is kept from call to call, so that a repaint allocates nothing.
  thread_local StatusLine line;
  if (countdown) {
    DecideCountdownStatusLine(time.minutes, time.seconds, options, line);
  } else {
    DecideStatusLine(time.minutes, options, line);
  }
  window->SetControlText(kStatusLabelId, line.text);
  window->SetControlColors(kStatusLabelId, line.textColor, line.backgroundColor);
}

void DrawSecondHandAndHub(const Dial& dial, const ClockTime& time, const ClockOptions& options) {
  const double secondAngle = 6.0 * time.seconds - 90;
  const FaceGeometry& g = dial.geometry;
  if (options.SecondHandStyle == "DOT") {  // exact bytes: "dot" or "DOT " give the line
    const PixelPoint p = dial.Tip(g.radius, secondAngle);
    Canvas::SetPenWidth(5);
    Canvas::Ellipse(static_cast<float>(p.x - 3), static_cast<float>(p.y - 3), static_cast<float>(p.x + 3),
                    static_cast<float>(p.y + 3), ColorValue(options.SecondDotColor), ColorNone, kSolidFill);
  } else {
    DrawHand(dial, secondAngle, g.radius - 6, 2, ColorValue(options.HandColor));
  }
  Canvas::SetPenWidth(3);
  Canvas::Ellipse(static_cast<float>(g.centerX - 8), static_cast<float>(g.centerY - 8),
                  static_cast<float>(g.centerX + 8), static_cast<float>(g.centerY + 8),
                  ColorValue(options.HandColor), ColorDefault, kSolidFill);
  Canvas::SetPenWidth(1);
  Canvas::Ellipse(static_cast<float>(g.centerX - 2), static_cast<float>(g.centerY - 2),
                  static_cast<float>(g.centerX + 2), static_cast<float>(g.centerY + 2), kGrey, ColorDefault,
                  kSolidFill);
}

}  // namespace

ClockTime DecodeClockTime(const std::string& timeText) {
  ClockTime time;
  time.hours = DecodeField(Slice(timeText, 0, 2));
  time.minutes = DecodeField(Slice(timeText, 3, 2));
  time.seconds = DecodeField(timeText.size() >= 2 ? timeText.substr(timeText.size() - 2) : timeText);
  return time;
}

FaceGeometry ComputeFaceGeometry(std::int32_t width, std::int32_t height) {
  FaceGeometry g;
  g.width = width;
  g.height = height;
  g.centerX = RoundHalfEven(width / 2.0L);
  g.centerY = RoundHalfEven(height / 2.0L);
  g.radius = std::min(g.centerX, g.centerY) - 10;
  return g;
}

// The time text is taken by value: the repaint works on its own copy.
// cppcheck-suppress passedByValue
void DrawClock(WindowHandle window, std::int32_t faceId, std::string timeText, const ClockOptions& options,
               const FaceMarks& marks) {
  Canvas::Attach(window, faceId, DrawingMode::Deferred);
  const ClockTime time = DecodeClockTime(timeText);
  const TextExtent size = Canvas::PixelSize();
  const Dial dial{ComputeFaceGeometry(size.width, size.height)};

  Canvas::Clear(ColorValue(options.BackgroundColor), kSolidFill);
  DrawLegend(dial, timeText);
  DrawDialMarks(dial, options);
  DrawSilentSectors(dial, options);
  DrawHourAndMinuteHands(dial, time, options);
  UpdateStatusLine(window, time, options, marks.countdown);
  DrawSecondHandAndHub(dial, time, options);
  if (marks.notSynchronised) DrawSyncMark(dial.geometry, LegendArea(dial, timeText));
  Canvas::Redraw();
}

}  // namespace halyard
