#include "options/OptionsFileSearch.h"

#include <string_view>

namespace halyard {

namespace {

constexpr std::string_view kSubfolder = "/halyard/";

// The XDG base directory rules accept absolute paths only.
bool Absolute(const std::optional<std::string>& path) { return path.has_value() && path->starts_with('/'); }

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path == "/" ? std::string() : path;
}

std::string InConfigFolder(const std::string& base) {
  return WithoutTrailingSlashes(base) + std::string(kSubfolder) + kOptionsFileName;
}

}  // namespace

std::vector<std::string> OptionsFileCandidates(const OptionsSearchFacts& facts) {
  if (facts.commandLineFile.has_value()) return {*facts.commandLineFile};
  std::vector<std::string> places;
  if (facts.userPlaces) {
    if (Absolute(facts.xdgConfigHome)) {
      places.push_back(InConfigFolder(*facts.xdgConfigHome));
    } else if (Absolute(facts.home)) {
      places.push_back(InConfigFolder(WithoutTrailingSlashes(*facts.home) + "/.config"));
    }
  }
  if (!facts.programFolder.empty()) places.push_back(facts.programFolder + kOptionsFileName);
  if (facts.userPlaces) {
    const std::size_t before = places.size();
    if (facts.xdgConfigDirs.has_value()) {
      std::string_view rest = *facts.xdgConfigDirs;
      for (;;) {
        const std::size_t colon = rest.find(':');
        const std::string entry(rest.substr(0, colon));
        if (entry.starts_with('/')) places.push_back(InConfigFolder(entry));
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
      }
    }
    if (places.size() == before) places.push_back(InConfigFolder("/etc/xdg"));
  }
  return places;
}

OptionsFileLocation LocateOptionsFile(const OptionsSearchFacts& facts,
                                      const std::function<bool(const std::string&)>& exists) {
  OptionsFileLocation location;
  location.fromCommandLine = facts.commandLineFile.has_value();
  for (std::string& place : OptionsFileCandidates(facts)) {
    location.looked.push_back(place);
    if (exists(place)) {
      location.path = std::move(place);
      break;
    }
  }
  return location;
}

std::string ClockProgramFolder(const std::string& toolFolder, const std::string& clockFileName,
                               const std::function<bool(const std::string&)>& exists) {
  if (toolFolder.empty() || exists(toolFolder + clockFileName)) return toolFolder;
  // The folder above: cut the trailing separator, then the last name.
  const std::string_view inner = std::string_view(toolFolder).substr(0, toolFolder.size() - 1);
  const std::size_t separator = inner.find_last_of("/\\");
  if (separator == std::string_view::npos) return toolFolder;
  const std::string parent(inner.substr(0, separator + 1));
  return exists(parent + clockFileName) ? parent : toolFolder;
}

std::string DescribeOptionsPlaces(bool userPlaces) {
  if (!userPlaces) {
    return "  OPTION.DTA in the folder of halyard.exe\n";
  }
  return "  $XDG_CONFIG_HOME/halyard/OPTION.DTA (~/.config/halyard/OPTION.DTA when unset or not absolute)\n"
         "  OPTION.DTA in the folder of the halyard program\n"
         "  each $XDG_CONFIG_DIRS entry + /halyard/OPTION.DTA (/etc/xdg/halyard/OPTION.DTA when unset)\n";
}

}  // namespace halyard
