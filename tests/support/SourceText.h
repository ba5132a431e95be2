// A file of the source tree, whole: the texts that ship are checked as written.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace halyard::testing {

inline std::string ReadSource(const std::string& relative) {
  std::ifstream in(std::string(HALYARD_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace halyard::testing
