#include "options/SilentPeriod.h"

namespace halyard {

void AssignSilentText(std::string& text, SilentPeriod period, std::string_view unit) {
  switch (period) {
    case SilentPeriod::Telegraphy500:
      text.assign("SILENT 500 ").append(unit).append(" CW");
      break;
    case SilentPeriod::Telephony2182:
      text.assign("SILENT 2182 ").append(unit).append(" PH");
      break;
    case SilentPeriod::None:
      text.clear();
      break;
  }
}

std::string SilentText(SilentPeriod period, std::string_view unit) {
  std::string text;
  AssignSilentText(text, period, unit);
  return text;
}

}  // namespace halyard
