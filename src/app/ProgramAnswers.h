// How a clock program shows the answers that need no window: the usage, the
// version and the --sync-status line. A console prints them; the Windows
// program, which has no console, shows them in a box.
#pragma once

#include <string>

#include "app/SyncStatusCommand.h"

namespace halyard {

class ProgramAnswers {
 public:
  virtual ~ProgramAnswers() = default;
  // The usage text or the version line.
  virtual void Show(const std::string& text) = 0;
  virtual void ShowSyncStatus(const SyncStatusReport& report) = 0;
};

}  // namespace halyard
