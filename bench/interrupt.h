// Ctrl-C and termination requests turn into a flag that the benchmark
// polls, so that it stops at the next check and still removes its files.
#pragma once

namespace quillmark::bench {

// Catches SIGINT, SIGTERM and SIGHUP from now on.
void CatchInterrupts();

bool InterruptRequested();

}  // namespace quillmark::bench
