#include "face/DrawClock.h"

#include <array>
#include <cmath>

#include "face/DialAngles.h"
#include "face/DialClearance.h"
#include "face/FixedColors.h"
#include "face/SecondLegend.h"
#include "face/StatusLine.h"
#include "face/SyncMark.h"
#include "options/ColorValue.h"
#include "options/SilentPeriod.h"
#include "platform/canvas/RoundHalfEven.h"
#include "platform/window/ClockWindowIds.h"
#include "platform/window/WindowHost.h"

namespace halyard {
namespace {

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

struct Dial {
  FaceGeometry geometry;

  // The centre plus reach times the angle's cosine or sine, each step rounded
  // as x86's extended precision rounds it, whatever the machine.
  DialNumber X(std::int32_t reach, long double degrees) const {
    return DialNumber(geometry.centerX) + DialNumber(reach) * DialAngles::Cos(degrees);
  }
  DialNumber Y(std::int32_t reach, long double degrees) const {
    return DialNumber(geometry.centerY) + DialNumber(reach) * DialAngles::Sin(degrees);
  }
  PixelPoint Tip(std::int32_t reach, double degrees) const {
    return {Pixel(X(reach, degrees)), Pixel(Y(reach, degrees))};
  }
  static std::int32_t Pixel(long double value) { return RoundHalfEven(value); }
  static std::int32_t Pixel(const Extended80& value) { return RoundHalfEven(static_cast<long double>(value.Nearest())); }
};

constexpr std::int32_t kLegendTop = 5;

std::string LegendText(const std::string& timeText) { return timeText + " UTC"; }

// The rows the legend needs: its text cell, with as much air below it as
// above it. A face drawn without text (a large icon) needs none.
std::int32_t LegendRows(const TextExtent& legend) {
  return legend.height > 0 ? kLegendTop + legend.height + kLegendTop : 0;
}

void DrawLegend(const Dial& dial, const std::string& text, const TextExtent& legend) {
  const auto width = static_cast<std::int16_t>(legend.width);
  Canvas::MoveTo(static_cast<float>(dial.geometry.centerX - width / 2.0L), kLegendTop);
  Canvas::PrintText(text);
}

// The pixels the legend's text cells cover, for what must keep clear of it.
PixelRect LegendArea(const Dial& dial, const TextExtent& legend) {
  const std::int32_t left = dial.geometry.centerX - legend.width / 2;
  return {left, kLegendTop, left + legend.width + 1, kLegendTop + legend.height};
}

// Where minute `minute` of the hour is on the dial: 6m - 90 degrees (three
// o'clock is 0, growing clockwise), within 0 to 359.
constexpr std::int32_t MinuteAngle(std::int32_t minute) { return ((6 * minute - 90) % 360 + 360) % 360; }

// The marks' places and the sectors' corners depend on the dial's centre and
// radius alone: worked out when they change, not at every repaint.
struct DialPoints {
  std::int32_t centerX = 0, centerY = 0, radius = -1;  // what they were worked out for
  std::array<PixelPoint, 60> marks{};
  std::array<std::array<PointF, kSilentMinutes + 2>, kSilentSchedule.size()> sectors{};
};

const DialPoints& PointsOf(const Dial& dial) {
  thread_local DialPoints points;
  const FaceGeometry& g = dial.geometry;
  if (points.centerX == g.centerX && points.centerY == g.centerY && points.radius == g.radius) return points;
  points.centerX = g.centerX;
  points.centerY = g.centerY;
  points.radius = g.radius;
  for (std::int32_t i = 0; i < 60; ++i) points.marks[i] = dial.Tip(g.radius, 6 * i);
  const std::int32_t reach = g.radius - 4;
  for (std::size_t s = 0; s < kSilentSchedule.size(); ++s) {
    auto& corners = points.sectors[s];
    corners[0] = {static_cast<float>(g.centerX), static_cast<float>(g.centerY)};
    for (std::int32_t k = 0; k <= kSilentMinutes; ++k) {
      const long double angle = MinuteAngle(kSilentSchedule[s].minute) + 6 * k;
      corners[k + 1] = {static_cast<float>(dial.X(reach, angle)), static_cast<float>(dial.Y(reach, angle))};
    }
  }
  return points;
}

void DrawDialMarks(const Dial& dial, const ClockOptions& options) {
  Canvas::SetPenWidth(3);
  const std::int32_t color = ColorValue(options.DialColor);
  const DialPoints& points = PointsOf(dial);
  for (std::int32_t i = 0; i <= 354; i += 6) {
    const auto [px, py] = points.marks[i / 6];
    const std::int32_t size = i % 30 == 0 ? 3 : 1;  // hour marks larger than minute marks
    Canvas::Box(static_cast<float>(px), static_cast<float>(py), static_cast<float>(px + size),
                static_cast<float>(py + size), 0, color, ColorNone, kSolidFill);
  }
  Canvas::SetPenWidth(1);
}

// A sector for each silent period of the hour: from the centre, over the
// minutes it keeps.
void DrawSilentSectors(const Dial& dial, const ClockOptions& options) {
  const DialPoints& points = PointsOf(dial);
  for (std::size_t s = 0; s < kSilentSchedule.size(); ++s) {
    Canvas::Polygon(points.sectors[s], SilentPeriodColor(kSilentSchedule[s].period, options), ColorDefault,
                    kSolidFill, 0);
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
  if (HasDotSecondHand(options)) {
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
                  static_cast<float>(g.centerX + 2), static_cast<float>(g.centerY + 2), kHubGrey, ColorDefault,
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

FaceGeometry ComputeFaceGeometry(std::int32_t width, std::int32_t height, std::int32_t clearTop) {
  FaceGeometry g;
  g.width = width;
  g.height = height;
  g.centerX = RoundHalfEven(width / 2.0L);
  g.centerY = RoundHalfEven(height / 2.0L);
  g.radius = std::min(g.centerX, g.centerY) - 10;
  // Shrinking only from the top keeps the band below the dial (the second
  // time's place) as it was, and loses the dial half as much as a smaller
  // radius alone would.
  const std::int32_t shortfall = clearTop - (g.centerY - DialClearance(g));
  if (shortfall > 0) {
    g.centerY += shortfall / 2;
    g.radius -= shortfall - shortfall / 2;
  }
  return g;
}

// The time text is taken by value: the repaint works on its own copy.
// cppcheck-suppress passedByValue
void DrawClock(WindowHandle window, std::int32_t faceId, std::string timeText, const ClockOptions& options,
               const FaceMarks& marks) {
  Canvas::Attach(window, faceId, DrawingMode::Deferred);
  const ClockTime time = DecodeClockTime(timeText);
  const TextExtent size = Canvas::PixelSize();

  Canvas::Clear(ColorValue(options.BackgroundColor), kSolidFill);
  const std::string legendText = LegendText(timeText);
  const TextExtent legend = Canvas::TextSize(legendText);
  const Dial dial{ComputeFaceGeometry(size.width, size.height, LegendRows(legend))};
  DrawLegend(dial, legendText, legend);
  DrawDialMarks(dial, options);
  DrawSilentSectors(dial, options);
  DrawHourAndMinuteHands(dial, time, options);
  UpdateStatusLine(window, time, options, marks.countdown);
  DrawSecondHandAndHub(dial, time, options);
  if (!marks.secondTime.empty()) DrawSecondLegend(dial.geometry, marks.secondTime);
  if (marks.clockOffset) {
    DrawSyncMark(dial.geometry, LegendArea(dial, legend), OffsetMarkText(*marks.clockOffset));
  } else if (marks.notSynchronised) {
    DrawSyncMark(dial.geometry, LegendArea(dial, legend));
  }
  Canvas::Redraw();
}

}  // namespace halyard
