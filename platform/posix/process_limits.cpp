#include "platform/process_limits.h"

#include <sched.h>
#include <sys/resource.h>

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

std::size_t OpenFileLimit(std::size_t fallback) {
  rlimit descriptors{};
  if (getrlimit(RLIMIT_NOFILE, &descriptors) != 0 || descriptors.rlim_cur == RLIM_INFINITY) return fallback;
  return static_cast<std::size_t>(descriptors.rlim_cur);
}

}  // namespace quillmark::platform
