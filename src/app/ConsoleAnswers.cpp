#include "app/ConsoleAnswers.h"

#include <cstdio>

namespace halyard {

void ConsoleAnswers::Show(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  if (!text.ends_with('\n')) std::fputc('\n', stdout);
}

void ConsoleAnswers::ShowSyncStatus(const SyncStatusReport& report) { std::printf("%s\n", report.line.c_str()); }

}  // namespace halyard
