// Whatever holds the canvases of graphic controls by id: a window, to the drawing code.
#pragma once

#include <cstdint>

namespace halyard {

class Canvas;

class CanvasOwner {
 public:
  // The canvas of the graphic control `controlId`, or null if there is none.
  virtual Canvas* FindCanvas(std::int32_t controlId) = 0;

 protected:
  ~CanvasOwner() = default;
};

}  // namespace halyard
