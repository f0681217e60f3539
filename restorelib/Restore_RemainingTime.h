#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace Restore {

// The remaining time of a verification, estimated from its progress and the
// time spent so far; the time spent waiting for the user's answer to the
// cancel question does not count.
class RemainingTime {
 public:
  using Clock = std::chrono::steady_clock;

  explicit RemainingTime(Clock::time_point start) : start_(start) {}
  void PauseBegan(Clock::time_point now) { pausedAt_ = now; }
  void PauseEnded(Clock::time_point now) { start_ += now - pausedAt_; }
  // The texts Remaining and Seconds or Minutes around the number: "Remaining 42 sec",
  // "Remaining 3 min"; empty while the progress is 0.
  std::string Text(std::uint32_t progress, Clock::time_point now) const;

 private:
  Clock::time_point start_;
  Clock::time_point pausedAt_;
};

}  // namespace Restore
