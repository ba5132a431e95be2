#include "backends/x11/ScreenDpi.h"

#include <X11/Xresource.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "options/Reporter.h"

namespace halyard {

namespace {
// 0 when the text is not a resolution in range.
std::int32_t ParseDpi(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  if (end == begin || !std::isfinite(value)) return 0;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') return 0;
  const double rounded = std::floor(value + 0.5);
  if (rounded < kMinimumDpi || rounded > kMaximumDpi) return 0;
  return static_cast<std::int32_t>(rounded);
}
}  // namespace

std::int32_t DpiFromResources(const char* resources, std::string* complaint) {
  if (resources == nullptr) return kDefaultDpi;
  XrmInitialize();
  const XrmDatabase database = XrmGetStringDatabase(resources);
  if (database == nullptr) return kDefaultDpi;
  char* type = nullptr;
  XrmValue value{};
  std::int32_t dpi = kDefaultDpi;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr) {
    const std::string text(value.addr, strnlen(value.addr, value.size));
    dpi = ParseDpi(text);
    if (dpi == 0) {
      dpi = kDefaultDpi;
      if (complaint != nullptr) {
        *complaint = "Xft.dpi '" + text + "' is not a resolution from " + std::to_string(kMinimumDpi) + " to " +
                     std::to_string(kMaximumDpi) + "; using " + std::to_string(kDefaultDpi);
      }
    }
  }
  XrmDestroyDatabase(database);
  return dpi;
}

std::int32_t ScreenDpi(Display* display) {
  // The string belongs to the display and reflects the property at connection time.
  std::string complaint;
  const std::int32_t dpi = DpiFromResources(XResourceManagerString(display), &complaint);
  if (!complaint.empty()) Reporter::Report(complaint);
  return dpi;
}

}  // namespace halyard
