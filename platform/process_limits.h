// What this process may use: processors and open files.
#pragma once

#include <cstddef>

namespace quillmark::platform {

// The processors the scheduler lets this process use (a CPU set or a
// container's limit counts), at least 1.
unsigned ProcessorCount();

// How many files this process may hold open at once; `fallback` when the
// system sets no limit.
std::size_t OpenFileLimit(std::size_t fallback);

}  // namespace quillmark::platform
