// Everything the clock is configured with at start-up: the nine options and
// the settings, from the options file found and the command line.
#pragma once

#include <string>
#include <vector>

#include "options/ClockOptions.h"
#include "options/ClockSettings.h"
#include "options/CommandLine.h"
#include "options/OptionsFileSearch.h"

namespace halyard {

struct ClockConfiguration {
  ClockOptions options = DefaultClockOptions();
  SettingsReading settings;
  // What went wrong, one line each without the program's name; the clock
  // goes on regardless.
  std::vector<std::string> messages;
};

// Reads the file at `location` (the defaults when there is none or it cannot
// be read), then applies the command line's settings over the file's. Zone
// names are checked with `knownZone`.
ClockConfiguration LoadClockConfiguration(const OptionsFileLocation& location,
                                          const std::vector<CommandLineSetting>& commandLine,
                                          OptionsFileSource& source, ZoneNameCheck knownZone = {});

}  // namespace halyard
