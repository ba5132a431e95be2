// How many pixels the drawing record's boxes fall short of what an operation
// can write: none. It stands alone so that a test program can link its own
// value and show that the test of partial repaints against full ones catches
// boxes too small (tests/programs/ShrunkenBoxes.cpp).
#pragma once

#include <cstdint>

namespace halyard {

extern const std::int64_t kDrawingBoxTrim;

}  // namespace halyard
