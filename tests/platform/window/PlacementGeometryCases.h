// Geometry texts with what XParseGeometry makes of them; the portable reader
// must agree (checked against Xlib itself where there is one).
#pragma once

namespace halyard {

struct GeometryCase {
  const char* text;
  bool valid;
  bool hasPosition = false;
  int x = 0, y = 0;  // as XParseGeometry gives them: negated after a minus sign
  bool fromRight = false, fromBottom = false;
};

inline constexpr GeometryCase kGeometryCases[] = {
    {"+0+0", true, true, 0, 0},
    {"-0-0", true, true, 0, 0, true, true},
    {"+10-20", true, true, 10, -20, false, true},
    {"-15+25", true, true, -15, 25, true, false},
    {"=+3+4", true, true, 3, 4},
    {"300x200+5+6", true, true, 5, 6},
    {"300x200", true, false},
    {"x200", true, false},
    {"300", true, false},
    {"+-5+-6", true, true, -5, -6},
    {"--5--6", true, true, 5, 6, true, true},
    {"+32767+32767", true, true, 32767, 32767},
    {"", false},
    {"=", false},
    {"bogus", false},
    {"+10", false},
    {"+10+", false},
    {"+10+20+30", false},
    {"10x", false},
    {"300x200 +5+6", false},
    {"+5+6 ", false},
    {"0x1.5+1+1", false},
};

}  // namespace halyard
