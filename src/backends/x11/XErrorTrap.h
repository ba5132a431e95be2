// How the clock survives X errors: protocol errors are caught and counted
// instead of ending the process, and losing the server ends it at once.
#pragma once

#include <X11/Xlib.h>

namespace halyard {

// The exit status when the connection to the X server is lost while running.
inline constexpr int kDisplayLostExitStatus = 1;

// Installs the process-wide handlers (idempotent). Protocol errors are
// recorded for XErrorTrap; an I/O error ends the process with
// kDisplayLostExitStatus, since Xlib cannot continue after one.
void InstallXErrorHandlers();

// Catches the protocol errors caused by requests issued during its lifetime:
// requests are synchronised at construction and again when asked for the
// result, so errors of earlier or later requests are not counted.
class XErrorTrap {
 public:
  explicit XErrorTrap(Display* display);
  ~XErrorTrap();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Waits for the server to process everything sent so far; the first error
  // code seen since construction, or 0 (Success).
  int ErrorCode();

 private:
  Display* display_;
  XErrorTrap* outer_;
  int code_ = 0;

  friend int RecordXError(Display*, XErrorEvent*);
};

}  // namespace halyard
