// The clock program on any platform, from its arguments to its exit status.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ProgramAnswers.h"
#include "platform/window/ClockWindowPlatform.h"

namespace halyard {

// Makes the window the clock runs in; null when there can be none (the
// platform has said why on stderr).
using ClockWindowMaker = std::function<std::unique_ptr<ClockWindowPlatform>()>;

// Answers --help, --version and --sync-status through `answers`; otherwise
// reports every problem of the command line and the options file on stderr,
// one line each, and runs the clock in the window `makeWindow` makes, which
// it asks for only then. The exit status: --sync-status's, 1 when no window
// could be made, else 0.
int RunClockProgram(const std::vector<std::string>& args, ProgramAnswers& answers,
                    const ClockWindowMaker& makeWindow = &MakeClockWindowPlatform);

}  // namespace halyard
