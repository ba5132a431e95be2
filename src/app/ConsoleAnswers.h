#pragma once

#include <string>

#include "app/ProgramAnswers.h"

namespace halyard {

// The answers on standard output, each ending in a line end.
class ConsoleAnswers final : public ProgramAnswers {
 public:
  void Show(const std::string& text) override;
  void ShowSyncStatus(const SyncStatusReport& report) override;
};

}  // namespace halyard
