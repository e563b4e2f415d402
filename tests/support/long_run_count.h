// How many rounds a long-running test makes: `fallback` in the suite, more
// when tests/soak/run.sh asks for it through the environment.
#pragma once

#include <cstdlib>
#include <string>

namespace quillmark::testing {

inline int LongRunCount(const char* variable, int fallback) {
  const char* text = std::getenv(variable);
  if (text == nullptr || *text == '\0') return fallback;
  const int count = std::atoi(text);
  return count > 0 ? count : fallback;
}

}  // namespace quillmark::testing
