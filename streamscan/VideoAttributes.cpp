#include "streamscan/VideoAttributes.h"

#include <array>

#include "streamscan/FrameRate.h"

namespace StreamScan {

namespace {

struct SampleAspect {
  std::uint32_t width;
  std::uint32_t height;
};

// Sample aspect ratios of aspect_ratio_idc 0..16 (0 unspecified: square).
constexpr std::array<SampleAspect, 17> SampleAspects{{{1, 1},
                                                      {1, 1},
                                                      {12, 11},
                                                      {10, 11},
                                                      {16, 11},
                                                      {40, 33},
                                                      {24, 11},
                                                      {20, 11},
                                                      {32, 11},
                                                      {80, 33},
                                                      {18, 11},
                                                      {15, 11},
                                                      {64, 33},
                                                      {160, 99},
                                                      {4, 3},
                                                      {3, 2},
                                                      {2, 1}}};

SampleAspect sampleAspectOf(const VuiParameters& vui) {
  constexpr std::uint8_t ExtendedSar = 255;
  if (!vui.aspect_ratio_info_present_flag) return {1, 1};
  if (vui.aspect_ratio_idc == ExtendedSar && vui.sar_width != 0 && vui.sar_height != 0)
    return {vui.sar_width, vui.sar_height};
  if (vui.aspect_ratio_idc < SampleAspects.size()) return SampleAspects[vui.aspect_ratio_idc];
  return {1, 1};
}

// Display aspect within 2% of num:den.
bool displayAspectIs(std::uint64_t displayWidth, std::uint64_t displayHeight, std::uint64_t num, std::uint64_t den) {
  const std::uint64_t a = displayWidth * den * 100;
  const std::uint64_t b = displayHeight * num * 100;
  const std::uint64_t tolerance = displayHeight * num * 2;
  return a + tolerance >= b && a <= b + tolerance;
}

std::uint8_t videoFormatOf(std::uint32_t height, bool interlaced) {
  switch (height) {
    case 1080:
      return interlaced ? 4 : 6;
    case 720:
      return 5;
    case 576:
      return interlaced ? 2 : 7;
    case 480:
      return interlaced ? 1 : 3;
    default:
      return 0;
  }
}

}  // namespace

VideoAttributes videoAttributesOf(const SequenceParameterSet& sps) {
  VideoAttributes attributes;
  const std::uint32_t height = sps.croppedHeight();
  attributes.video_format = videoFormatOf(height, !sps.frame_mbs_only_flag);
  if (sps.vui.timing_info_present_flag)
    attributes.frame_rate =
        static_cast<std::uint8_t>(frameRateCodeOfTiming(sps.vui.num_units_in_tick, sps.vui.time_scale));
  const SampleAspect sar = sampleAspectOf(sps.vui);
  const std::uint64_t displayWidth = std::uint64_t{sps.width()} * sar.width;
  const std::uint64_t displayHeight = std::uint64_t{height} * sar.height;
  if (displayAspectIs(displayWidth, displayHeight, 16, 9))
    attributes.aspect_ratio = 3;
  else if (displayAspectIs(displayWidth, displayHeight, 4, 3))
    attributes.aspect_ratio = 2;
  return attributes;
}

std::uint8_t horizontalSizeClass(std::uint32_t width) {
  switch (width) {
    case 1920:
      return 1;
    case 1440:
      return 2;
    case 1280:
      return 3;
    case 720:
      return 4;
    default:
      return 0;
  }
}

}  // namespace StreamScan
