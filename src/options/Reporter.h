// How a HALYARD program tells its user of a problem outside its window: one
// line on stderr that starts with the program's name ("halyard: ..."), so
// that a log shows which program wrote it. Nothing the clock reports stops it.
#pragma once

#include <string_view>

namespace halyard {

class Reporter {
 public:
  // The name the lines start with: "halyard", unless a tool sets its own.
  static void SetProgram(std::string_view name);
  // Writes "<program>: <message>" and a line end, in one piece.
  static void Report(std::string_view message);
};

}  // namespace halyard
