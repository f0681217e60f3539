#pragma once

#include <cstdint>
#include <optional>

// Frame rate codes of the registration descriptor and the clip information,
// and the time arithmetic that depends on them.
namespace StreamScan {

// Pulldown class of a stream: 0 none, 1 "2:2", 2 "3:2".
enum Pulldown : int { PulldownNone = 0, Pulldown22 = 1, Pulldown32 = 2 };

struct FramePeriod {
  std::uint32_t num = 0;
  std::uint32_t den = 0;
};

// Frame period of a frame rate code (1 23.976, 2 24, 3 25, 4 29.97, 6 50,
// 7 59.94); none for the codes without a rate.
std::optional<FramePeriod> framePeriodOf(int frameRateCode);

// The rate that time stamps and time codes advance by: a 2:2 pulldown shows
// 50p and 59.94p material as 25 and 29.97 frames, a 3:2 pulldown shows
// 29.97 and 59.94 as 23.976.
int effectiveFrameRateCode(int frameRateCode, int pulldown);

// Pulldown class that one picture's pic_struct implies; 0 where pic_struct
// says nothing about it.
int pulldownOfPicStruct(int pic_struct, bool pic_struct_present_flag, int frameRateCode);

// (startPts + count * 90000 * num / den) / 2 in 45 kHz units, with one
// division by den on the whole product so that fractional frame periods
// add up without drift; 0 for a code without a rate.
std::uint32_t presentationEndTime45(std::uint64_t startPts, std::uint64_t pictureCount, int effectiveCode);

// The number of pictures, rounded to the nearest, that `ticks` of 90 kHz
// hold at an effective frame rate code; 0 for a code without a rate.
std::uint64_t picturesInTicks(std::uint64_t ticks, int effectiveCode);

// The frame rate code of a rate given as time_scale / (2 * num_units_in_tick)
// frames per second, as H.264 VUI timing states it; 0 when it is none of them.
int frameRateCodeOfTiming(std::uint32_t num_units_in_tick, std::uint32_t time_scale);

}  // namespace StreamScan
