#include "backends/x11/TerminationSignals.h"

#include <initializer_list>

namespace halyard {

namespace {
volatile sig_atomic_t g_requested = 0;
bool g_installed = false;
sigset_t g_waitMask;

void NoteSignal(int) { g_requested = 1; }
}  // namespace

void TerminationSignals::Install() {
  if (g_installed) return;
  g_installed = true;
  sigset_t blocked;
  sigemptyset(&blocked);
  for (const int signal : {SIGTERM, SIGINT}) {
    struct sigaction previous {};
    sigaction(signal, nullptr, &previous);
    if (previous.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = &NoteSignal;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigaddset(&blocked, signal);
  }
  sigprocmask(SIG_BLOCK, &blocked, &g_waitMask);
  for (const int signal : {SIGTERM, SIGINT}) sigdelset(&g_waitMask, signal);
}

const sigset_t* TerminationSignals::WaitMask() { return g_installed ? &g_waitMask : nullptr; }

bool TerminationSignals::Requested() { return g_requested != 0; }

void TerminationSignals::Clear() { g_requested = 0; }

}  // namespace halyard
