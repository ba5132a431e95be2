// SIGTERM and SIGINT as a request to close the window, handled in the event
// loop like the close box rather than by ending the process mid-drawing.
#pragma once

#include <signal.h>

namespace halyard {

class TerminationSignals {
 public:
  // Blocks the signals and installs a handler that only sets a flag. They are
  // let through only inside the event loop's wait (ppoll with WaitMask()), so
  // one sent at any other moment stays pending until then and is never lost.
  // A signal that was ignored when the program started (a background job's
  // SIGINT) stays ignored.
  static void Install();

  // The signal mask to wait with: the mask at installation, which lets them in.
  static const sigset_t* WaitMask();

  // True once a signal has arrived.
  static bool Requested();
  static void Clear();
};

}  // namespace halyard
