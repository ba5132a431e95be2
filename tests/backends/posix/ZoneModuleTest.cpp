// A zone module that cannot be had leaves every named zone unknown, with the
// reason in one line, and never a crash: a missing file, and a library that
// is not a zone module of this version.
#include "backends/posix/ZoneModule.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

TEST(ZoneModuleTest, WithoutAModuleNoNamedZoneIsKnownAndTheErrorSaysWhy) {
  const struct {
    const char* file;
    const char* error;
  } cases[] = {
      {"/nonexistent/halyard-zones.so", "/nonexistent/halyard-zones.so: cannot open shared object file"},
      {"libm.so.6", "libm.so.6: not a zone module of this version (no halyard_zone_module_1)"},
      {"", "the module's file is unknown"},
  };
  for (const auto& c : cases) {
    const ZoneModule module(c.file);
    EXPECT_NE(module.Error().find(c.error), std::string::npos) << c.file << ": " << module.Error();
    EXPECT_EQ(module.Zone("Europe/Berlin"), nullptr) << c.file;
  }
}

}  // namespace
}  // namespace halyard
