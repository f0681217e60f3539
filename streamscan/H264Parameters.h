#pragma once

#include <cstdint>
#include <span>

#include "streamscan/BitCursor.h"

// The H.264 sequence parameter set with its VUI and HRD parameters, parsed in
// full so that streams from any encoder parse; the scanner needs only a few of
// the values (profile, level, width, the picture timing layout).
namespace StreamScan {

struct HrdParameters {
  bool present = false;
  std::uint32_t cpb_cnt_minus1 = 0;
  std::uint8_t bit_rate_scale = 0;
  std::uint8_t cpb_size_scale = 0;
  std::uint8_t initial_cpb_removal_delay_length_minus1 = 23;
  std::uint8_t cpb_removal_delay_length_minus1 = 23;
  std::uint8_t dpb_output_delay_length_minus1 = 23;
  std::uint8_t time_offset_length = 24;
};

struct VuiParameters {
  bool aspect_ratio_info_present_flag = false;
  std::uint8_t aspect_ratio_idc = 0;
  std::uint16_t sar_width = 0;
  std::uint16_t sar_height = 0;
  bool timing_info_present_flag = false;
  std::uint32_t num_units_in_tick = 0;
  std::uint32_t time_scale = 0;
  bool fixed_frame_rate_flag = false;
  HrdParameters nal_hrd;
  HrdParameters vcl_hrd;
  bool low_delay_hrd_flag = false;
  bool pic_struct_present_flag = false;
  bool bitstream_restriction_flag = false;
  std::uint32_t max_num_reorder_frames = 0;
  std::uint32_t max_dec_frame_buffering = 0;
};

struct SequenceParameterSet {
  std::uint8_t profile_idc = 0;
  bool constraint_set0_flag = false;
  bool constraint_set1_flag = false;
  bool constraint_set2_flag = false;
  bool constraint_set3_flag = false;
  bool constraint_set4_flag = false;
  bool constraint_set5_flag = false;
  std::uint8_t level_idc = 0;
  std::uint32_t seq_parameter_set_id = 0;
  std::uint32_t chroma_format_idc = 1;
  bool separate_colour_plane_flag = false;
  std::uint32_t bit_depth_luma_minus8 = 0;
  std::uint32_t bit_depth_chroma_minus8 = 0;
  bool qpprime_y_zero_transform_bypass_flag = false;
  bool seq_scaling_matrix_present_flag = false;
  std::uint32_t log2_max_frame_num_minus4 = 0;
  std::uint32_t pic_order_cnt_type = 0;
  std::uint32_t log2_max_pic_order_cnt_lsb_minus4 = 0;
  bool delta_pic_order_always_zero_flag = false;
  std::int32_t offset_for_non_ref_pic = 0;
  std::int32_t offset_for_top_to_bottom_field = 0;
  std::uint32_t num_ref_frames_in_pic_order_cnt_cycle = 0;
  std::uint32_t max_num_ref_frames = 0;
  bool gaps_in_frame_num_value_allowed_flag = false;
  std::uint32_t pic_width_in_mbs_minus1 = 0;
  std::uint32_t pic_height_in_map_units_minus1 = 0;
  bool frame_mbs_only_flag = true;
  bool mb_adaptive_frame_field_flag = false;
  bool direct_8x8_inference_flag = false;
  bool frame_cropping_flag = false;
  std::uint32_t frame_crop_left_offset = 0;
  std::uint32_t frame_crop_right_offset = 0;
  std::uint32_t frame_crop_top_offset = 0;
  std::uint32_t frame_crop_bottom_offset = 0;
  bool vui_parameters_present_flag = false;
  VuiParameters vui;

  // Coded width in luma samples: (pic_width_in_mbs_minus1 + 1) * 16.
  std::uint32_t width() const { return (pic_width_in_mbs_minus1 + 1) * 16; }
  // Displayed height: the coded frame height less the cropping.
  std::uint32_t croppedHeight() const;
  // Picture timing SEI carries the CPB and DPB delays when either HRD is present.
  bool cpbDpbDelaysPresent() const { return vui.nal_hrd.present || vui.vcl_hrd.present; }
  // Delay field lengths of the NAL HRD, or of the VCL HRD when only that is present.
  unsigned cpbRemovalDelayLength() const;
  unsigned dpbOutputDelayLength() const;
};

// Parses seq_parameter_set_rbsp from the bytes after the NAL header, with the
// emulation prevention bytes removed. Returns 0, or Status::NalBadParameterSet
// for a set that is truncated or has a field out of its range.
int parseSequenceParameterSet(std::span<const std::uint8_t> rbsp, SequenceParameterSet& out);

}  // namespace StreamScan
