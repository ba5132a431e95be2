// One complete repaint of the face and the status line for one time text.
#pragma once

#include <cstdint>
#include <string>

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
FaceGeometry ComputeFaceGeometry(std::int32_t width, std::int32_t height);

// What the face shows beyond the time; all off leaves the face as it always was.
struct FaceMarks {
  bool notSynchronised = false;  // the system clock cannot be trusted (see SyncMark.h)
  bool countdown = false;        // the status line counts down to the next silent period
};

// Draws the face into control `faceId` and sets the window's status label.
void DrawClock(WindowHandle window, std::int32_t faceId, std::string timeText,
               const ClockOptions& options, const FaceMarks& marks = {});

}  // namespace halyard
