#include "streamscan/FrameRate.h"

#include <array>

namespace StreamScan {

namespace {

constexpr std::array<FramePeriod, 8> FramePeriods{{
    {0, 0},         // 0: forbidden
    {1001, 24000},  // 1: 23.976
    {1, 24},        // 2: 24
    {1, 25},        // 3: 25
    {1001, 30000},  // 4: 29.97
    {0, 0},         // 5: 30, never recorded
    {1, 50},        // 6: 50
    {1001, 60000},  // 7: 59.94
}};

// Pulldown class per pic_struct 0..8: frame, field, field, 2 fields, 2
// fields, 3 fields, 3 fields, frame doubling, frame tripling.
constexpr std::array<int, 9> PulldownOfPicStruct{0, 0, 0, 1, 1, 2, 2, 1, 2};

}  // namespace

std::optional<FramePeriod> framePeriodOf(int frameRateCode) {
  if (frameRateCode < 0 || frameRateCode >= static_cast<int>(FramePeriods.size()) ||
      FramePeriods[static_cast<unsigned>(frameRateCode)].den == 0)
    return std::nullopt;
  return FramePeriods[static_cast<unsigned>(frameRateCode)];
}

int effectiveFrameRateCode(int frameRateCode, int pulldown) {
  if (pulldown == Pulldown22) {
    if (frameRateCode == 6) return 3;
    if (frameRateCode == 7) return 4;
  } else if (pulldown == Pulldown32) {
    if (frameRateCode == 4 || frameRateCode == 7) return 1;
  }
  return frameRateCode;
}

int pulldownOfPicStruct(int pic_struct, bool pic_struct_present_flag, int frameRateCode) {
  // Film rates are recorded as they are; pic_struct then describes nothing pulled down.
  if (!pic_struct_present_flag || frameRateCode == 1 || frameRateCode == 2 || pic_struct < 0 ||
      pic_struct >= static_cast<int>(PulldownOfPicStruct.size()))
    return PulldownNone;
  return PulldownOfPicStruct[static_cast<unsigned>(pic_struct)];
}

std::uint32_t presentationEndTime45(std::uint64_t startPts, std::uint64_t pictureCount, int effectiveCode) {
  const std::optional<FramePeriod> period = framePeriodOf(effectiveCode);
  if (!period) return 0;
  const std::uint64_t duration = pictureCount * 90000u * period->num / period->den;
  return static_cast<std::uint32_t>((startPts + duration) / 2);
}

std::uint64_t picturesInTicks(std::uint64_t ticks, int effectiveCode) {
  const std::optional<FramePeriod> period = framePeriodOf(effectiveCode);
  if (!period) return 0;
  const std::uint64_t pictureTicks = 90000u * std::uint64_t{period->num};
  return (ticks * period->den + pictureTicks / 2) / pictureTicks;
}

int frameRateCodeOfTiming(std::uint32_t num_units_in_tick, std::uint32_t time_scale) {
  // time_scale / (2 * num_units_in_tick) == den / num, compared exactly.
  for (int code = 1; code < static_cast<int>(FramePeriods.size()); ++code) {
    const FramePeriod& p = FramePeriods[static_cast<unsigned>(code)];
    if (p.den != 0 && num_units_in_tick != 0 &&
        std::uint64_t{time_scale} * p.num == 2 * std::uint64_t{num_units_in_tick} * p.den)
      return code;
  }
  return 0;
}

}  // namespace StreamScan
