#include "backends/x11/XErrorTrap.h"

#include <unistd.h>

#include "options/Reporter.h"

namespace halyard {

namespace {
XErrorTrap* g_activeTrap = nullptr;

int ExitOnDisplayLoss(Display*) {
  // Xlib forbids returning from here; nothing more can be drawn or flushed.
  Reporter::Report("the connection to the X server was lost");
  _exit(kDisplayLostExitStatus);
}
}  // namespace

int RecordXError(Display*, XErrorEvent* event) {
  // Outside a trap an error is the late answer to a request whose failure
  // only leaves its effect out (a window that went away, a refused property).
  if (g_activeTrap != nullptr && g_activeTrap->code_ == 0) g_activeTrap->code_ = event->error_code;
  return 0;
}

void InstallXErrorHandlers() {
  XSetErrorHandler(&RecordXError);
  XSetIOErrorHandler(&ExitOnDisplayLoss);
}

XErrorTrap::XErrorTrap(Display* display) : display_(display), outer_(g_activeTrap) {
  XSync(display_, False);
  g_activeTrap = this;
}

XErrorTrap::~XErrorTrap() {
  XSync(display_, False);
  g_activeTrap = outer_;
}

int XErrorTrap::ErrorCode() {
  XSync(display_, False);
  return code_;
}

}  // namespace halyard
