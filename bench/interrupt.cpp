#include "bench/interrupt.h"

#include <csignal>

namespace quillmark::bench {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) { interrupted = 1; }

}  // namespace

void CatchInterrupts() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  std::signal(SIGHUP, OnInterrupt);
}

bool InterruptRequested() { return interrupted != 0; }

}  // namespace quillmark::bench
