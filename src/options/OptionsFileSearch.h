// Where the options file is looked for, as a pure function of the platform's
// facts, so that the order can be tested without touching the file system.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace halyard {

inline constexpr const char* kOptionsFileName = "OPTION.DTA";

// What the platform knows when the search starts. An unset environment
// variable is nullopt; set but empty is "".
struct OptionsSearchFacts {
  std::optional<std::string> commandLineFile;  // --options FILE: that file and no other
  std::string programFolder;                    // the clock's folder, ending in a separator; "" unknown
  bool userPlaces = false;                      // the XDG places (Linux); Windows keeps to the program folder
  std::optional<std::string> xdgConfigHome;
  std::optional<std::string> home;
  std::optional<std::string> xdgConfigDirs;
};

// The places, in the order they are tried:
//   --options FILE, alone when given; otherwise
//   $XDG_CONFIG_HOME/halyard/OPTION.DTA (~/.config/... when unset, empty or relative),
//   OPTION.DTA in the program folder,
//   each absolute $XDG_CONFIG_DIRS entry + /halyard/OPTION.DTA (/etc/xdg when none).
std::vector<std::string> OptionsFileCandidates(const OptionsSearchFacts& facts);

struct OptionsFileLocation {
  std::string path;                 // the first place that exists; "" when none does
  std::vector<std::string> looked;  // every place tried, in order, up to and including `path`
  bool fromCommandLine = false;
};

// The first candidate for which `exists` holds. The file found is the only one
// read: lines of different files are never merged.
OptionsFileLocation LocateOptionsFile(const OptionsSearchFacts& facts,
                                      const std::function<bool(const std::string&)>& exists);

// The clock's folder as seen from a tool: the tool's own folder when the clock
// program is there (installed side by side), else the parent folder when it is
// there (a build tree keeps the tools in a subfolder), else the tool's folder.
std::string ClockProgramFolder(const std::string& toolFolder, const std::string& clockFileName,
                               const std::function<bool(const std::string&)>& exists);

// The places in words, one a line, each starting with two blanks, for --help.
std::string DescribeOptionsPlaces(bool userPlaces);

}  // namespace halyard
