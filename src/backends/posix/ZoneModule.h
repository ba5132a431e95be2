// The zone module (backends/tzdb), loaded by the dynamic loader.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/time/TimeZone.h"

struct ZoneModuleInterface;

namespace halyard {

class ZoneModule {
 public:
  // Loads the module at path `file`. A loaded module stays until the process
  // ends: its zones point into it.
  explicit ZoneModule(const std::string& file);

  // Empty when the module was loaded; else why not, in one line.
  const std::string& Error() const { return error_; }

  // The module's zone of that name; null when the database has none of that
  // name, its file cannot be read, or the module was not loaded.
  std::unique_ptr<TimeZone> Zone(std::string_view name) const;

 private:
  const ZoneModuleInterface* interface_ = nullptr;
  std::string error_;
};

}  // namespace halyard
