#include "options/Reporter.h"

#include <cstdio>
#include <string>

namespace halyard {
namespace {

std::string& Program() {
  static std::string name = "halyard";
  return name;
}

}  // namespace

void Reporter::SetProgram(std::string_view name) { Program().assign(name); }

void Reporter::Report(std::string_view message) {
  std::string line;
  line.reserve(Program().size() + message.size() + 3);
  line.append(Program()).append(": ").append(message).push_back('\n');
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace halyard
