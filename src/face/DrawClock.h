// One complete repaint of the face and the status line for one time text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "options/ClockOptions.h"
#include "platform/canvas/Canvas.h"
#include "platform/window/WindowHost.h"

namespace halyard {

struct ClockTime {
  std::int32_t hours = 0;
  std::int32_t minutes = 0;
  std::int32_t seconds = 0;
};

struct FaceGeometry {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t centerX = 0;
  std::int32_t centerY = 0;
  std::int32_t radius = 0;
};

// Decodes "HH:MM:SS" by fixed positions; a field without digits gives 0.
ClockTime DecodeClockTime(const std::string& timeText);

// The dial on a face of `width` x `height` pixels: centred, 10 pixels in from
// its nearer sides. Where that would bring the marks (DialClearance) into the
// first `clearTop` rows, which the time legend needs, the dial's top comes
// down just enough while its lowest point stays: the centre moves down by
// half the shortfall and the radius gives up the rest. A face tall for its
// width keeps the centred dial.
FaceGeometry ComputeFaceGeometry(std::int32_t width, std::int32_t height, std::int32_t clearTop = 0);

// What the face shows beyond the time; all off leaves the face as it always was.
struct FaceMarks {
  bool notSynchronised = false;  // the system clock cannot be trusted (see SyncMark.h)
  bool countdown = false;        // the status line counts down to the next silent period
  std::string_view secondTime = {};  // the second time's legend, "15:05:09 CET" (see SecondLegend.h); empty: none
  // The system clock minus a time server, in seconds, when it is surely beyond
  // the limit: the mark then reads it instead of "NO SYNC".
  std::optional<double> clockOffset = std::nullopt;
};

// Draws the face into control `faceId` and sets the window's status label.
void DrawClock(WindowHandle window, std::int32_t faceId, std::string timeText,
               const ClockOptions& options, const FaceMarks& marks = {});

}  // namespace halyard
