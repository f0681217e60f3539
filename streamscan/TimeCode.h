#pragma once

#include <cstdint>
#include <span>

#include "streamscan/Mdpm.h"

// SMPTE-style time codes as the MDPM time code tag stores them: from the high
// byte down frames, seconds, minutes, hours, each a tens and a units digit,
// with the drop-frame flag in bit 30.
namespace StreamScan {

// Time code mode of the clip information: the worst seen over all groups.
enum TimeCodeMode : int {
  TimeCodeModeUnknown = 0,  // no group yet
  TimeCodeIncrement = 1,
  TimeCodeUnIncrement = 2,
  TimeCodeNoTC = 3,
};

struct TimeCodeDigits {
  unsigned hours = 0;
  unsigned minutes = 0;
  unsigned seconds = 0;
  unsigned frames = 0;
  bool dropFrame = false;
};

TimeCodeDigits unpackTimeCode(std::uint32_t value);
std::uint32_t packTimeCode(const TimeCodeDigits& digits);

// True when the eight digits and the drop-frame flag agree; other bits are ignored.
bool sameTimeCode(std::uint32_t a, std::uint32_t b);

// The time code one frame later at an effective frame rate code: frames count
// to 23 at film rates, 24 at 25 and 50, 29 otherwise; with the drop-frame
// flag a new minute whose units digit is not 0 starts at frame 2.
std::uint32_t advanceTimeCode(std::uint32_t value, int effectiveCode);

// Follows the time codes of the pictures in presentation order across the
// whole stream and says for each reference group whether they count up one
// frame per picture (every second picture at 50 and 59.94 frames).
class TimeCodeContinuity {
 public:
  void reset() { *this = TimeCodeContinuity{}; }

  // Checks the pictures of one reference group in presentation order and
  // returns the group's mode.
  TimeCodeMode check(std::span<const MetadataRecord* const> pictures, int effectiveCode);

 private:
  bool haveExpected_ = false;
  std::uint32_t expected_ = 0;
  bool secondOfPair_ = false;
};

}  // namespace StreamScan
