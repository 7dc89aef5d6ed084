#include "platform/UnitInterrupt.h"

#include <signal.h>

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t gCaught = 0;

extern "C" void OnInterrupt(int signal) {
  if (gCaught == 0) gCaught = signal;
}

}  // namespace

void CatchInterrupts() {
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

int CaughtInterrupt() { return gCaught; }

int InterruptExitCode(int signal) { return 128 + signal; }

const char16_t* InterruptName(int signal) {
  switch (signal) {
    case SIGINT: return u"SIGINT";
    case SIGTERM: return u"SIGTERM";
    case SIGHUP: return u"SIGHUP";
    default: return u"a signal";
  }
}
