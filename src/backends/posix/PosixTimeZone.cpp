// Time zones on Linux. The system's own zone comes from the C library, which
// follows TZ and a changed /etc/localtime; a named zone comes from the zone
// module, loaded only when a named zone is first asked for, so that a clock
// without one carries neither the zone library nor the shared C++ runtime.
#include <unistd.h>

#include <ctime>
#include <filesystem>

#include "backends/posix/ZoneModule.h"
#include "options/Reporter.h"
#include "platform/time/TimeZone.h"
#include "platform/window/OptionsPath.h"

namespace halyard {
namespace {

class SystemZone final : public TimeZone {
 public:
  std::optional<ZoneState> At(std::chrono::sys_seconds utc) override {
    const auto seconds = static_cast<std::time_t>(utc.time_since_epoch().count());
    // tzset looks at TZ and /etc/localtime afresh (glibc reads the file again
    // only when it changed); it and localtime_r take the library's own lock.
    tzset();
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) return std::nullopt;
    return ZoneState{std::chrono::seconds{local.tm_gmtoff}, local.tm_zone != nullptr ? local.tm_zone : ""};
  }
};

// The module's file, found from the program's own folder (`folder`, with its
// trailing slash): installed, in the package's private library folder
// ("/usr/bin/" -> "/usr/lib/<multiarch>/halyard/"); in the build tree, beside
// the clock, which is the program's folder or, for the tools and tests one
// folder down, the one above. Where it is nowhere, the installed place, for
// the message to name.
std::string ZoneModuleFile(const std::string& folder) {
  // The folder is the executable's real one, so ".." may be taken away by hand.
  const std::string installed =
      std::filesystem::path(folder + "../" HALYARD_ZONE_MODULE_DIR "/" HALYARD_ZONE_MODULE).lexically_normal().string();
  for (const std::string& file : {installed, folder + HALYARD_ZONE_MODULE, folder + "../" HALYARD_ZONE_MODULE}) {
    if (access(file.c_str(), F_OK) == 0) return file;
  }
  return installed;
}

// Without the module every named zone is unknown, and one line says why.
const ZoneModule& DatabaseModule() {
  static const ZoneModule module = [] {
    const std::string folder = ExecutableFolder();
    ZoneModule loaded(folder.empty() ? std::string() : ZoneModuleFile(folder));
    if (!loaded.Error().empty()) Reporter::Report("named time zones are not available: " + loaded.Error());
    return loaded;
  }();
  return module;
}

}  // namespace

std::unique_ptr<TimeZone> PlatformTimeZone(std::string_view name) {
  if (name == kLocalZoneName) return std::make_unique<SystemZone>();
  // The database's "localtime" is /etc/localtime without TZ: "local" says that.
  if (name.empty() || name == "localtime") return nullptr;
  return DatabaseModule().Zone(name);
}

}  // namespace halyard
