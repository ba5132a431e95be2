#pragma once

#include <string>
#include <vector>

namespace halyard {

// The command-line arguments after the program name, as UTF-8 on Windows (from
// the wide command line, so names outside the code page survive) and as given
// on POSIX. On Windows the console is also switched to UTF-8 output.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace halyard
