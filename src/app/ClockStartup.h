// From the command line to the clock's configuration, with the platform's
// options file search.
#pragma once

#include "options/ClockConfiguration.h"
#include "options/CommandLine.h"

namespace halyard {

// Finds the options file as the platform does, reads it and applies the
// command line. Every problem, the command line's included, is in `messages`.
ClockConfiguration ConfigureClock(const CommandLine& commandLine);

// Where the options file is for this command line, and every place looked at.
OptionsFileLocation LocateClockOptionsFile(const CommandLine& commandLine);

// The same search run from a tool, which looks in the clock's folder rather
// than its own (see ClockProgramFolder).
OptionsFileLocation LocateClockOptionsFileFromTool();

}  // namespace halyard
