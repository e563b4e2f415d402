// How many processors this process may run on.
#pragma once

namespace quillmark::platform {

// The processors the scheduler lets this process use (a CPU set or a
// container's limit counts), at least 1.
unsigned ProcessorCount();

}  // namespace quillmark::platform
