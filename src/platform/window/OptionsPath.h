// Where the options file lives and how its bytes are read on this platform.
#pragma once

#include <memory>
#include <string>

#include "options/ClockOptions.h"
#include "options/OptionsFileSearch.h"

namespace halyard {

// The folder of the running executable followed by "OPTION.DTA". The path is in
// the platform's own encoding (UTF-8 on Windows, so nothing is lost to a code page).
std::string OptionsPath();

// The folder of the running executable, ending in a separator; "" when unknown.
std::string ExecutableFolder();

// What the options file search needs to know on this platform: the
// executable's folder and, on Linux, the XDG environment variables.
OptionsSearchFacts PlatformOptionsSearch();

// The clock program's file name: "halyard" or "halyard.exe".
std::string ClockProgramFileName();

// Reads the options file with the platform's calls: regular files only, shared
// for reading and writing with others, never written, bounded in size.
OptionsFileSource& PlatformOptionsFile();

}  // namespace halyard
