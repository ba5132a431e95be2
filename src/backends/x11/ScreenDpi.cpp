#include "backends/x11/ScreenDpi.h"

#include <X11/Xresource.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace halyard {

namespace {
std::int32_t ParseDpi(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  if (end == begin || !std::isfinite(value)) return kDefaultDpi;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') return kDefaultDpi;
  const double rounded = std::floor(value + 0.5);
  if (rounded < kMinimumDpi || rounded > kMaximumDpi) return kDefaultDpi;
  return static_cast<std::int32_t>(rounded);
}
}  // namespace

std::int32_t DpiFromResources(const char* resources) {
  if (resources == nullptr) return kDefaultDpi;
  XrmInitialize();
  const XrmDatabase database = XrmGetStringDatabase(resources);
  if (database == nullptr) return kDefaultDpi;
  char* type = nullptr;
  XrmValue value{};
  std::int32_t dpi = kDefaultDpi;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr) {
    dpi = ParseDpi(std::string(value.addr, strnlen(value.addr, value.size)));
  }
  XrmDestroyDatabase(database);
  return dpi;
}

std::int32_t ScreenDpi(Display* display) {
  // The string belongs to the display and reflects the property at connection time.
  return DpiFromResources(XResourceManagerString(display));
}

}  // namespace halyard
