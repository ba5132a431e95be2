// The integer midpoint recurrence GDI's ellipses follow (Zingl's form), one
// step at a time: walked along a quadrant of a width x height ellipse from the
// end of its x axis, each step moves inward in x, onward in y, or both. The
// outline of Ellipse and RoundRect and the inside of their region both walk it.
#pragma once

#include <cstdint>

namespace halyard::soft {

class EllipseWalk {
 public:
  struct Step {
    bool x = false;  // one column inward
    bool y = false;  // one row onward
  };

  EllipseWalk(std::int64_t width, std::int64_t height)
      : aStep_(8 * (width - 1) * (width - 1)),
        bStep_(8 * (height - 1) * (height - 1)),
        dx_(4 * (height - 1) * (height - 1) * (1 - (width - 1))),
        dy_(4 * (width - 1) * (width - 1) * (1 + (height - 1) % 2)),
        err_(dx_ + dy_ + (width - 1) * (width - 1) * ((height - 1) % 2)) {}

  Step Next() {
    const std::int64_t e2 = 2 * err_;
    const Step step{e2 >= dx_, e2 <= dy_};
    if (step.x) {
      dx_ += bStep_;
      err_ += dx_;
    }
    if (step.y) {
      dy_ += aStep_;
      err_ += dy_;
    }
    return step;
  }

 private:
  std::int64_t aStep_, bStep_, dx_, dy_, err_;
};

}  // namespace halyard::soft
