#include "platform/processor_count.h"

#include <sched.h>

#include <thread>

namespace quillmark::platform {

unsigned ProcessorCount() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    const int count = CPU_COUNT(&set);
    if (count > 0) return static_cast<unsigned>(count);
  }
  const unsigned online = std::thread::hardware_concurrency();
  return online > 0 ? online : 1;
}

}  // namespace quillmark::platform
