// Paces the result list's repaints: painting a row costs milliseconds, so
// a repaint per row would make a large search crawl.
#pragma once

#include <chrono>

namespace quillmark::app {

class RepaintThrottle {
 public:
  using Clock = std::chrono::steady_clock;

  explicit RepaintThrottle(Clock::duration interval) : interval_(interval) {}

  // True when the last repaint is at least one interval ago; a true answer
  // counts as a repaint.
  bool TakeTurn() {
    const Clock::time_point now = Clock::now();
    if (now - last_ < interval_) return false;
    last_ = now;
    return true;
  }

 private:
  Clock::duration interval_;
  Clock::time_point last_{};
};

}  // namespace quillmark::app
