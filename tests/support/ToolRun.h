// A command-line tool of this build, run as a script or an operator runs it.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace halyard::testing {

struct ToolRun {
  int status = -1;     // the exit status; 127 when the tool is not built
  std::string output;  // standard output, then standard error
};

// `arguments` go through the shell as written.
inline ToolRun RunTool(const std::string& tool, const std::string& arguments) {
  ToolRun run;
  FILE* out = popen((std::string(HALYARD_TOOLS_DIR) + "/" + tool + " " + arguments + " 2>&1").c_str(), "r");
  if (out == nullptr) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;) run.output.append(buffer, n);
  const int status = pclose(out);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

}  // namespace halyard::testing
