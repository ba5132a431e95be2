#include "backends/posix/ZoneModule.h"

#include <dlfcn.h>

#include "backends/tzdb/ZoneModuleInterface.h"

namespace halyard {
namespace {

class ModuleZone final : public TimeZone {
 public:
  ModuleZone(const ZoneModuleInterface& module, const ZoneModuleZone* zone) : module_(module), zone_(zone) {}
  std::optional<ZoneState> At(std::chrono::sys_seconds utc) override {
    long long offset = 0;
    char abbreviation[32];  // the database's are at most six letters
    if (module_.at(zone_, utc.time_since_epoch().count(), &offset, abbreviation, sizeof abbreviation) == 0) {
      return std::nullopt;
    }
    return ZoneState{std::chrono::seconds{offset}, abbreviation};
  }

 private:
  const ZoneModuleInterface& module_;
  const ZoneModuleZone* zone_;
};

}  // namespace

ZoneModule::ZoneModule(const std::string& file) {
  if (file.empty()) {
    error_ = "the module's file is unknown";  // dlopen would give the program itself
    return;
  }
  // Its own symbols stay private to it (RTLD_LOCAL), and every one is bound
  // now, so a broken module fails here rather than at some later repaint.
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    error_ = why != nullptr ? why : file + ": cannot be loaded";
    return;
  }
  const auto entry = reinterpret_cast<ZoneModuleEntry>(dlsym(handle, ZONE_MODULE_ENTRY));
  interface_ = entry != nullptr ? entry() : nullptr;
  if (interface_ == nullptr) {
    error_ = file + ": not a zone module of this version (no " ZONE_MODULE_ENTRY ")";
    dlclose(handle);
  }
}

std::unique_ptr<TimeZone> ZoneModule::Zone(std::string_view name) const {
  if (interface_ == nullptr) return nullptr;
  const ZoneModuleZone* zone = interface_->find(name.data(), name.size());
  return zone != nullptr ? std::make_unique<ModuleZone>(*interface_, zone) : nullptr;
}

}  // namespace halyard
