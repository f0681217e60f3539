#include "streamscan/H264Parameters.h"

#include "streamscan/Rbsp.h"
#include "streamscan/StatusCodes.h"

namespace StreamScan {

namespace {

// Upper bounds from the H.264 semantics; a larger value is a damaged set.
constexpr std::uint32_t MaxSeqParameterSetId = 31;
constexpr std::uint32_t MaxChromaFormatIdc = 3;
constexpr std::uint32_t MaxBitDepthMinus8 = 6;
constexpr std::uint32_t MaxLog2Minus4 = 12;
constexpr std::uint32_t MaxPicOrderCntType = 2;
constexpr std::uint32_t MaxRefFramesInPicOrderCntCycle = 255;
constexpr std::uint32_t MaxNumRefFrames = 16;
constexpr std::uint32_t MaxCpbCntMinus1 = 31;
// Generous bound on the picture size in macroblocks (32768 samples), so that
// the sample arithmetic can never overflow.
constexpr std::uint32_t MaxMacroblocksMinus1 = 2047;

bool hasChromaFormatFields(std::uint8_t profile_idc) {
  switch (profile_idc) {
    case 100:
    case 110:
    case 122:
    case 244:
    case 44:
    case 83:
    case 86:
    case 118:
    case 128:
    case 138:
    case 139:
    case 134:
    case 135:
      return true;
    default:
      return false;
  }
}

// scaling_list(): only the syntax is walked; the matrices do not matter here.
bool skipScalingList(BitCursor& in, unsigned size) {
  int lastScale = 8;
  int nextScale = 8;
  for (unsigned j = 0; j < size; ++j) {
    if (nextScale != 0) {
      const std::int32_t delta_scale = in.se();
      if (delta_scale < -128 || delta_scale > 127) return false;
      nextScale = (lastScale + delta_scale + 256) % 256;
    }
    lastScale = nextScale == 0 ? lastScale : nextScale;
  }
  return true;
}

bool parseHrd(BitCursor& in, HrdParameters& hrd) {
  hrd.present = true;
  hrd.cpb_cnt_minus1 = in.ue();
  if (hrd.cpb_cnt_minus1 > MaxCpbCntMinus1) return false;
  hrd.bit_rate_scale = static_cast<std::uint8_t>(in.bits(4));
  hrd.cpb_size_scale = static_cast<std::uint8_t>(in.bits(4));
  for (std::uint32_t i = 0; i <= hrd.cpb_cnt_minus1 && !in.failed(); ++i) {
    in.ue();    // bit_rate_value_minus1
    in.ue();    // cpb_size_value_minus1
    in.flag();  // cbr_flag
  }
  hrd.initial_cpb_removal_delay_length_minus1 = static_cast<std::uint8_t>(in.bits(5));
  hrd.cpb_removal_delay_length_minus1 = static_cast<std::uint8_t>(in.bits(5));
  hrd.dpb_output_delay_length_minus1 = static_cast<std::uint8_t>(in.bits(5));
  hrd.time_offset_length = static_cast<std::uint8_t>(in.bits(5));
  return !in.failed();
}

bool parseVui(BitCursor& in, VuiParameters& vui) {
  constexpr std::uint8_t ExtendedSar = 255;
  vui.aspect_ratio_info_present_flag = in.flag();
  if (vui.aspect_ratio_info_present_flag) {
    vui.aspect_ratio_idc = static_cast<std::uint8_t>(in.bits(8));
    if (vui.aspect_ratio_idc == ExtendedSar) {
      vui.sar_width = static_cast<std::uint16_t>(in.bits(16));
      vui.sar_height = static_cast<std::uint16_t>(in.bits(16));
    }
  }
  if (in.flag())     // overscan_info_present_flag
    in.flag();       // overscan_appropriate_flag
  if (in.flag()) {   // video_signal_type_present_flag
    in.skip(3 + 1);  // video_format, video_full_range_flag
    if (in.flag())   // colour_description_present_flag
      in.skip(8 + 8 + 8);
  }
  if (in.flag()) {  // chroma_loc_info_present_flag
    in.ue();
    in.ue();
  }
  vui.timing_info_present_flag = in.flag();
  if (vui.timing_info_present_flag) {
    vui.num_units_in_tick = in.bits(32);
    vui.time_scale = in.bits(32);
    vui.fixed_frame_rate_flag = in.flag();
  }
  if (in.flag() && !parseHrd(in, vui.nal_hrd)) return false;
  if (in.flag() && !parseHrd(in, vui.vcl_hrd)) return false;
  if (vui.nal_hrd.present || vui.vcl_hrd.present) vui.low_delay_hrd_flag = in.flag();
  vui.pic_struct_present_flag = in.flag();
  vui.bitstream_restriction_flag = in.flag();
  if (vui.bitstream_restriction_flag) {
    in.flag();  // motion_vectors_over_pic_boundaries_flag
    in.ue();    // max_bytes_per_pic_denom
    in.ue();    // max_bits_per_mb_denom
    in.ue();    // log2_max_mv_length_horizontal
    in.ue();    // log2_max_mv_length_vertical
    vui.max_num_reorder_frames = in.ue();
    vui.max_dec_frame_buffering = in.ue();
  }
  return !in.failed();
}

bool parseChromaFormatFields(BitCursor& in, SequenceParameterSet& sps) {
  sps.chroma_format_idc = in.ue();
  if (sps.chroma_format_idc > MaxChromaFormatIdc) return false;
  if (sps.chroma_format_idc == 3) sps.separate_colour_plane_flag = in.flag();
  sps.bit_depth_luma_minus8 = in.ue();
  sps.bit_depth_chroma_minus8 = in.ue();
  if (sps.bit_depth_luma_minus8 > MaxBitDepthMinus8 || sps.bit_depth_chroma_minus8 > MaxBitDepthMinus8) return false;
  sps.qpprime_y_zero_transform_bypass_flag = in.flag();
  sps.seq_scaling_matrix_present_flag = in.flag();
  if (sps.seq_scaling_matrix_present_flag) {
    const unsigned lists = sps.chroma_format_idc != 3 ? 8 : 12;
    for (unsigned i = 0; i < lists && !in.failed(); ++i) {
      if (in.flag() && !skipScalingList(in, i < 6 ? 16 : 64)) return false;
    }
  }
  return true;
}

bool parsePicOrderCount(BitCursor& in, SequenceParameterSet& sps) {
  sps.pic_order_cnt_type = in.ue();
  if (sps.pic_order_cnt_type > MaxPicOrderCntType) return false;
  if (sps.pic_order_cnt_type == 0) {
    sps.log2_max_pic_order_cnt_lsb_minus4 = in.ue();
    return sps.log2_max_pic_order_cnt_lsb_minus4 <= MaxLog2Minus4;
  }
  if (sps.pic_order_cnt_type == 1) {
    sps.delta_pic_order_always_zero_flag = in.flag();
    sps.offset_for_non_ref_pic = in.se();
    sps.offset_for_top_to_bottom_field = in.se();
    sps.num_ref_frames_in_pic_order_cnt_cycle = in.ue();
    if (sps.num_ref_frames_in_pic_order_cnt_cycle > MaxRefFramesInPicOrderCntCycle) return false;
    for (std::uint32_t i = 0; i < sps.num_ref_frames_in_pic_order_cnt_cycle && !in.failed(); ++i)
      in.se();  // offset_for_ref_frame[i]
  }
  return true;
}

// Frame size, field coding and cropping; the crop must leave a picture.
bool parseFrameGeometry(BitCursor& in, SequenceParameterSet& sps) {
  sps.pic_width_in_mbs_minus1 = in.ue();
  sps.pic_height_in_map_units_minus1 = in.ue();
  if (sps.pic_width_in_mbs_minus1 > MaxMacroblocksMinus1 || sps.pic_height_in_map_units_minus1 > MaxMacroblocksMinus1)
    return false;
  sps.frame_mbs_only_flag = in.flag();
  if (!sps.frame_mbs_only_flag) sps.mb_adaptive_frame_field_flag = in.flag();
  sps.direct_8x8_inference_flag = in.flag();
  sps.frame_cropping_flag = in.flag();
  if (sps.frame_cropping_flag) {
    sps.frame_crop_left_offset = in.ue();
    sps.frame_crop_right_offset = in.ue();
    sps.frame_crop_top_offset = in.ue();
    sps.frame_crop_bottom_offset = in.ue();
    // Offsets count 1 to 4 samples each; anything reaching the frame size is damage.
    const std::uint64_t horizontal = std::uint64_t{sps.frame_crop_left_offset} + sps.frame_crop_right_offset;
    const std::uint64_t vertical = std::uint64_t{sps.frame_crop_top_offset} + sps.frame_crop_bottom_offset;
    const std::uint64_t frameHeight =
        std::uint64_t{sps.pic_height_in_map_units_minus1 + 1} * 16 * (sps.frame_mbs_only_flag ? 1 : 2);
    if (horizontal * 2 >= sps.width() || vertical * 4 >= frameHeight) return false;
  }
  return true;
}

}  // namespace

std::uint32_t SequenceParameterSet::croppedHeight() const {
  const std::uint32_t fieldFactor = frame_mbs_only_flag ? 1 : 2;
  const std::uint32_t frameHeight = (pic_height_in_map_units_minus1 + 1) * 16 * fieldFactor;
  if (!frame_cropping_flag) return frameHeight;
  // CropUnitY: the chroma subsampling times the field factor.
  const std::uint32_t subHeight = chroma_format_idc == 1 && !separate_colour_plane_flag ? 2 : 1;
  const std::uint32_t cropUnitY =
      chroma_format_idc == 0 || separate_colour_plane_flag ? fieldFactor : subHeight * fieldFactor;
  const std::uint32_t crop = cropUnitY * (frame_crop_top_offset + frame_crop_bottom_offset);
  return crop < frameHeight ? frameHeight - crop : 0;
}

unsigned SequenceParameterSet::cpbRemovalDelayLength() const {
  const HrdParameters& hrd = vui.nal_hrd.present ? vui.nal_hrd : vui.vcl_hrd;
  return hrd.cpb_removal_delay_length_minus1 + 1u;
}

unsigned SequenceParameterSet::dpbOutputDelayLength() const {
  const HrdParameters& hrd = vui.nal_hrd.present ? vui.nal_hrd : vui.vcl_hrd;
  return hrd.dpb_output_delay_length_minus1 + 1u;
}

int parseSequenceParameterSet(std::span<const std::uint8_t> rbsp, SequenceParameterSet& out) {
  BitCursor in(rbsp);
  in.limitTo(rbspPayloadBits(rbsp));
  SequenceParameterSet sps;
  sps.profile_idc = static_cast<std::uint8_t>(in.bits(8));
  sps.constraint_set0_flag = in.flag();
  sps.constraint_set1_flag = in.flag();
  sps.constraint_set2_flag = in.flag();
  sps.constraint_set3_flag = in.flag();
  sps.constraint_set4_flag = in.flag();
  sps.constraint_set5_flag = in.flag();
  in.skip(2);  // reserved_zero_2bits
  sps.level_idc = static_cast<std::uint8_t>(in.bits(8));
  sps.seq_parameter_set_id = in.ue();
  bool valid = sps.seq_parameter_set_id <= MaxSeqParameterSetId;
  if (valid && hasChromaFormatFields(sps.profile_idc)) valid = parseChromaFormatFields(in, sps);
  if (valid) {
    sps.log2_max_frame_num_minus4 = in.ue();
    valid = sps.log2_max_frame_num_minus4 <= MaxLog2Minus4 && parsePicOrderCount(in, sps);
  }
  if (valid) {
    sps.max_num_ref_frames = in.ue();
    sps.gaps_in_frame_num_value_allowed_flag = in.flag();
    valid = sps.max_num_ref_frames <= MaxNumRefFrames && parseFrameGeometry(in, sps);
  }
  if (valid) {
    sps.vui_parameters_present_flag = in.flag();
    if (sps.vui_parameters_present_flag) valid = parseVui(in, sps.vui);
  }
  if (!valid || in.failed()) return Status::NalBadParameterSet;
  out = sps;
  return Status::Success;
}

}  // namespace StreamScan
