#pragma once

#include <cstdint>

#include "streamscan/H264Parameters.h"

namespace StreamScan {

// Video coding attributes as the registration descriptor codes them.
struct VideoAttributes {
  std::uint8_t video_format = 0;  // 1 480i, 2 576i, 3 480p, 4 1080i, 5 720p, 6 1080p, 7 576p
  std::uint8_t frame_rate = 0;    // frame rate code, 0 when unknown
  std::uint8_t aspect_ratio = 0;  // 2 4:3, 3 16:9, 0 when unknown
};

// Attributes read from the sequence parameter set, for streams whose program
// map has no registration descriptor for the video (general-purpose muxers).
VideoAttributes videoAttributesOf(const SequenceParameterSet& sps);

// HorizontalSize class of a picture width: 1920 → 1, 1440 → 2, 1280 → 3,
// 720 → 4; 0 for any other width.
std::uint8_t horizontalSizeClass(std::uint32_t width);

}  // namespace StreamScan
