#pragma once

#include <gtest/gtest.h>

#include <string>

#include "aaalib/AAA_Log.h"

// Sets the log threshold for one scope and collects what the log writes.
class LogCapture {
 public:
  explicit LogCapture(int threshold) : previous_(AAA::Log::Threshold()) {
    AAA::Log::SetThreshold(threshold);
    testing::internal::CaptureStdout();
  }
  ~LogCapture() {
    if (!taken_) testing::internal::GetCapturedStdout();
    AAA::Log::SetThreshold(previous_);
  }
  std::string Take() {
    taken_ = true;
    return testing::internal::GetCapturedStdout();
  }

 private:
  int previous_;
  bool taken_ = false;
};
