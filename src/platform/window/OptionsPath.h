// Where the options file lives and how its bytes are read on this platform.
#pragma once

#include <memory>
#include <string>

#include "options/ClockOptions.h"

namespace halyard {

// The folder of the running executable followed by "OPTION.DTA". The path is in
// the platform's own encoding (UTF-8 on Windows, so nothing is lost to a code page).
std::string OptionsPath();

// Reads the options file with the platform's calls: regular files only, shared
// for reading and writing with others, never written, bounded in size.
OptionsFileSource& PlatformOptionsFile();

}  // namespace halyard
