#include "streamscan/TimeCode.h"

#include <algorithm>

namespace StreamScan {

namespace {

constexpr std::uint32_t DropFrameBit = 1u << 30;

unsigned twoDigits(std::uint32_t byte, unsigned tensMask) { return ((byte >> 4) & tensMask) * 10 + (byte & 0x0F); }

std::uint32_t bcd(unsigned value) { return ((value / 10) << 4) | (value % 10); }

unsigned lastFrameOf(int effectiveCode) {
  switch (effectiveCode) {
    case 1:
    case 2:
      return 23;
    case 3:
    case 6:
      return 24;
    default:
      return 29;
  }
}

// Rates whose pictures come two per time code frame.
bool twoPicturesPerFrame(int effectiveCode) { return effectiveCode == 6 || effectiveCode == 7; }

}  // namespace

TimeCodeDigits unpackTimeCode(std::uint32_t value) {
  TimeCodeDigits d;
  d.frames = twoDigits(value >> 24, 0x3);
  d.seconds = twoDigits(value >> 16, 0x7);
  d.minutes = twoDigits(value >> 8, 0x7);
  d.hours = twoDigits(value, 0x3);
  d.dropFrame = (value & DropFrameBit) != 0;
  return d;
}

std::uint32_t packTimeCode(const TimeCodeDigits& d) {
  return (bcd(d.frames) << 24) | (bcd(d.seconds) << 16) | (bcd(d.minutes) << 8) | bcd(d.hours) |
         (d.dropFrame ? DropFrameBit : 0);
}

bool sameTimeCode(std::uint32_t a, std::uint32_t b) {
  constexpr std::uint32_t Compared = DropFrameBit | 0x3F7F7F3F;
  return (a & Compared) == (b & Compared);
}

std::uint32_t advanceTimeCode(std::uint32_t value, int effectiveCode) {
  TimeCodeDigits d = unpackTimeCode(value);
  // Out-of-range digits (damaged metadata) roll over like the last valid value.
  if (d.frames < lastFrameOf(effectiveCode)) {
    ++d.frames;
    return packTimeCode(d);
  }
  d.frames = 0;
  if (d.seconds < 59) {
    ++d.seconds;
    return packTimeCode(d);
  }
  d.seconds = 0;
  if (d.minutes < 59) {
    ++d.minutes;
  } else {
    d.minutes = 0;
    d.hours = d.hours < 23 ? d.hours + 1 : 0;
  }
  if (d.dropFrame && d.minutes % 10 != 0) d.frames = 2;
  return packTimeCode(d);
}

TimeCodeMode TimeCodeContinuity::check(std::span<const MetadataRecord* const> pictures, int effectiveCode) {
  TimeCodeMode mode = TimeCodeIncrement;
  for (const MetadataRecord* picture : pictures) {
    const MetadataSlot& timeCode = (*picture)[MetadataRecord::TimeCode];
    const bool advance = !twoPicturesPerFrame(effectiveCode) || secondOfPair_;
    secondOfPair_ = !secondOfPair_;
    if (!timeCode.valid) {
      mode = TimeCodeNoTC;
      haveExpected_ = false;  // the next time code found starts a new count
      continue;
    }
    if (haveExpected_ && !sameTimeCode(expected_, timeCode.value)) mode = std::max(mode, TimeCodeUnIncrement);
    expected_ = advance ? advanceTimeCode(timeCode.value, effectiveCode) : timeCode.value;
    haveExpected_ = true;
  }
  return mode;
}

}  // namespace StreamScan
