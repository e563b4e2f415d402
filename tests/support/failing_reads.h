// Makes reads of chosen files fail part way, as a bad disk or a network
// share does: linked into a test program, its read(2) stands in for the
// system's.
#pragma once

#include <cstdint>
#include <string>

namespace quillmark::testing {

// From now on, a read of a file whose path ends in `pathSuffix` at or
// past `offset` fails with EIO. An empty suffix fails nothing.
void FailReadsOf(const std::string& pathSuffix, std::uint64_t offset);

// Undoes FailReadsOf when it goes.
struct ScopedFailingReads {
  ScopedFailingReads(const std::string& pathSuffix, std::uint64_t offset) { FailReadsOf(pathSuffix, offset); }
  ~ScopedFailingReads() { FailReadsOf({}, 0); }
};

}  // namespace quillmark::testing
