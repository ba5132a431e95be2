#include "support/WindowShot.h"

#include <algorithm>
#include <cstdio>

namespace halyard::testing {
namespace {

std::string At(std::int32_t x, std::int32_t y, std::uint32_t pixel) {
  char text[64];
  std::snprintf(text, sizeof text, "(%d,%d) 0x%06X", x, y, static_cast<unsigned>(pixel));
  return text;
}

bool RowBlank(const Picture& p, std::int32_t y, std::uint32_t background) {
  for (std::int32_t x = 0; x < p.Width(); ++x) {
    if (p.Get(x, y) != background) return false;
  }
  return true;
}

}  // namespace

std::string WhatCrowdsTheLegend(const Picture& face, std::int32_t cellBottom) {
  const std::uint32_t background = face.Get(0, 0);
  std::int32_t top = 0;
  while (top < face.Height() && RowBlank(face, top, background)) ++top;
  // The legend's ink: the rows from its first down to the first blank one.
  std::int32_t end = top;
  while (end < face.Height() && !RowBlank(face, end, background)) ++end;
  if (top == face.Height()) return "no legend: the face is blank";
  if (end > cellBottom) {
    return "the ink from row " + std::to_string(top) + " runs on to row " + std::to_string(end) +
           ", below the legend's cell (" + std::to_string(cellBottom) + "): the dial meets the legend";
  }
  std::int32_t left = face.Width(), right = 0;
  for (std::int32_t y = top; y < end; ++y) {
    for (std::int32_t x = 0; x < face.Width(); ++x) {
      if (face.Get(x, y) != background) {
        left = std::min(left, x);
        right = std::max(right, x + 1);
      }
    }
  }
  for (std::int32_t y = end; y < std::min(cellBottom, face.Height()); ++y) {
    for (std::int32_t x = left; x < right; ++x) {
      if (face.Get(x, y) != background) return "in the legend's cell: " + At(x, y, face.Get(x, y));
    }
  }
  return "";
}

std::string WhereTheStatusTextIsCut(const Picture& window, const PixelRect& line) {
  // A control's rectangle may end a pixel beyond the client area (each side
  // of it is converted from units on its own): what shows is what counts.
  const PixelRect label = Intersect(line, window.Bounds());
  const std::uint32_t background = window.Get(label.left, label.bottom - 1);
  PixelRect ink{label.right, label.bottom, label.left, label.top};
  for (std::int32_t y = label.top; y < label.bottom; ++y) {
    for (std::int32_t x = label.left; x < label.right; ++x) {
      if (window.Get(x, y) == background) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1), std::max(ink.bottom, y + 1)};
    }
  }
  if (ink.Empty()) return "no status text";
  if (ink.left > label.left && ink.top > label.top && ink.right < label.right && ink.bottom < label.bottom) return "";
  return "the status text's ink " + std::to_string(ink.left) + "," + std::to_string(ink.top) + "-" +
         std::to_string(ink.right) + "," + std::to_string(ink.bottom) + " reaches the edge of its line " +
         std::to_string(label.left) + "," + std::to_string(label.top) + "-" + std::to_string(label.right) + "," +
         std::to_string(label.bottom);
}

std::string HowItLeaves(const PixelRect& box, const PixelRect& area) {
  if (box.left >= area.left && box.top >= area.top && box.right <= area.right && box.bottom <= area.bottom) return "";
  return "the window " + std::to_string(box.left) + "," + std::to_string(box.top) + "-" + std::to_string(box.right) +
         "," + std::to_string(box.bottom) + " leaves the work area " + std::to_string(area.left) + "," +
         std::to_string(area.top) + "-" + std::to_string(area.right) + "," + std::to_string(area.bottom);
}

}  // namespace halyard::testing
