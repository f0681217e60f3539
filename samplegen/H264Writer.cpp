#include "samplegen/H264Writer.h"

#include <array>

#include "samplegen/BitWriter.h"

namespace SampleGen {

namespace {

bool hasChromaFormatFields(std::uint8_t profile_idc) {
  for (const int p : {100, 110, 122, 244, 44, 83, 86, 118, 128, 138, 139, 134, 135})
    if (p == profile_idc) return true;
  return false;
}

// A flat list written with explicit deltas, so that the reader walks every entry.
void writeScalingList(BitWriter& w, unsigned size) {
  int last = 8;
  for (unsigned j = 0; j < size; ++j) {
    const int next = 16 + static_cast<int>(j % 5);
    int delta = next - last;
    if (delta > 127) delta -= 256;
    if (delta < -128) delta += 256;
    w.se(delta);
    last = next;
  }
}

void writeHrd(BitWriter& w, const SpsSettings& s) {
  w.ue(0);        // cpb_cnt_minus1
  w.bits(4, 4);   // bit_rate_scale
  w.bits(6, 4);   // cpb_size_scale
  w.ue(17577);    // bit_rate_value_minus1
  w.ue(17577);    // cpb_size_value_minus1
  w.flag(false);  // cbr_flag
  w.bits(23, 5);  // initial_cpb_removal_delay_length_minus1
  w.bits(s.cpbRemovalDelayLength - 1, 5);
  w.bits(s.dpbOutputDelayLength - 1, 5);
  w.bits(24, 5);  // time_offset_length
}

void writeVui(BitWriter& w, const SpsSettings& s) {
  w.flag(true);  // aspect_ratio_info_present_flag
  w.bits(s.aspect_ratio_idc, 8);
  if (s.aspect_ratio_idc == 255) {
    w.bits(1, 16);
    w.bits(1, 16);
  }
  w.flag(false);  // overscan_info_present_flag
  w.flag(true);   // video_signal_type_present_flag
  w.bits(5, 3);   // video_format
  w.flag(false);  // video_full_range_flag
  w.flag(true);   // colour_description_present_flag
  w.bits(1, 8);
  w.bits(1, 8);
  w.bits(1, 8);
  w.flag(false);  // chroma_loc_info_present_flag
  w.flag(s.timing);
  if (s.timing) {
    w.bits(s.num_units_in_tick, 32);
    w.bits(s.time_scale, 32);
    w.flag(true);  // fixed_frame_rate_flag
  }
  w.flag(s.nalHrd);
  if (s.nalHrd) writeHrd(w, s);
  w.flag(s.vclHrd);
  if (s.vclHrd) writeHrd(w, s);
  if (s.nalHrd || s.vclHrd) w.flag(false);  // low_delay_hrd_flag
  w.flag(s.picStructPresent);
  w.flag(true);  // bitstream_restriction_flag
  w.flag(true);  // motion_vectors_over_pic_boundaries_flag
  w.ue(0);
  w.ue(0);
  w.ue(16);
  w.ue(16);
  w.ue(2);  // max_num_reorder_frames
  w.ue(4);  // max_dec_frame_buffering
}

unsigned numClockTs(int pic_struct) {
  constexpr std::array<unsigned, 9> counts{1, 1, 1, 2, 2, 3, 3, 2, 3};
  return pic_struct >= 0 && pic_struct < 9 ? counts[static_cast<unsigned>(pic_struct)] : 0;
}

}  // namespace

std::vector<std::uint8_t> sequenceParameterSetRbsp(const SpsSettings& s) {
  BitWriter w;
  w.bits(s.profile_idc, 8);
  w.flag(s.constraint_set0_flag);
  w.flag(s.constraint_set1_flag);
  w.flag(s.constraint_set2_flag);
  w.flag(s.constraint_set3_flag);
  w.bits(0, 4);  // constraint_set4/5, reserved_zero_2bits
  w.bits(s.level_idc, 8);
  w.ue(s.seq_parameter_set_id);
  if (hasChromaFormatFields(s.profile_idc)) {
    w.ue(1);  // chroma_format_idc 4:2:0
    w.ue(0);  // bit_depth_luma_minus8
    w.ue(0);  // bit_depth_chroma_minus8
    w.flag(false);
    w.flag(s.scalingMatrix);
    if (s.scalingMatrix) {
      for (unsigned i = 0; i < 8; ++i) {
        w.flag(true);
        writeScalingList(w, i < 6 ? 16 : 64);
      }
    }
  }
  w.ue(0);  // log2_max_frame_num_minus4
  w.ue(s.pic_order_cnt_type);
  if (s.pic_order_cnt_type == 0) {
    w.ue(2);
  } else if (s.pic_order_cnt_type == 1) {
    w.flag(false);
    w.se(-2);
    w.se(1);
    w.ue(3);
    for (int i = 0; i < 3; ++i) w.se(i - 1);
  }
  w.ue(4);  // max_num_ref_frames
  w.flag(false);
  const std::uint32_t mapUnitHeight = s.interlaced ? 32 : 16;
  const std::uint32_t mapUnits = (s.height + mapUnitHeight - 1) / mapUnitHeight;
  w.ue(s.width / 16 - 1);
  w.ue(mapUnits - 1);
  w.flag(!s.interlaced);           // frame_mbs_only_flag
  if (s.interlaced) w.flag(true);  // mb_adaptive_frame_field_flag
  w.flag(true);                    // direct_8x8_inference_flag
  const std::uint32_t codedHeight = mapUnits * mapUnitHeight;
  w.flag(codedHeight != s.height);
  if (codedHeight != s.height) {
    const std::uint32_t cropUnitY = s.interlaced ? 4 : 2;
    w.ue(0);
    w.ue(0);
    w.ue(0);
    w.ue((codedHeight - s.height) / cropUnitY);
  }
  w.flag(true);  // vui_parameters_present_flag
  writeVui(w, s);
  w.trailingBits();
  return w.bytes();
}

std::vector<std::uint8_t> accessUnitDelimiterRbsp(int primary_pic_type) {
  return {static_cast<std::uint8_t>((primary_pic_type << 5) | 0x10)};
}

std::vector<std::uint8_t> picTimingPayload(const SpsSettings& sps, int pic_struct) {
  BitWriter w;
  if (sps.nalHrd || sps.vclHrd) {
    w.bits(0x2A, sps.cpbRemovalDelayLength);  // cpb_removal_delay
    w.bits(0x15, sps.dpbOutputDelayLength);   // dpb_output_delay
  }
  if (sps.picStructPresent) {
    w.bits(static_cast<std::uint32_t>(pic_struct), 4);
    for (unsigned i = 0; i < numClockTs(pic_struct); ++i) w.flag(false);  // clock_timestamp_flag
  }
  if (!w.byteAligned() || w.bytes().empty()) w.trailingBits();  // payload bit_equal_to_one and alignment
  return w.bytes();
}

std::vector<std::uint8_t> mdpmPayload(const std::vector<MdpmEntry>& entries) {
  std::vector<std::uint8_t> out{0x17, 0xEE, 0x8C, 0x60, 0xF8, 0x4D, 0x11, 0xD9, 0x8C, 0xD6,
                                0x08, 0x00, 0x20, 0x0C, 0x9A, 0x66, 'M',  'D',  'P',  'M'};
  out.push_back(static_cast<std::uint8_t>(entries.size()));
  for (const auto& [tag, value] : entries) {
    out.push_back(tag);
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
  return out;
}

std::vector<std::uint8_t> seiRbsp(const std::vector<SeiMessage>& messages) {
  std::vector<std::uint8_t> out;
  const auto number = [&out](std::size_t value) {
    for (; value >= 255; value -= 255) out.push_back(0xFF);
    out.push_back(static_cast<std::uint8_t>(value));
  };
  for (const SeiMessage& m : messages) {
    number(m.payloadType);
    number(m.payload.size());
    out.insert(out.end(), m.payload.begin(), m.payload.end());
  }
  out.push_back(0x80);
  return out;
}

std::vector<std::uint8_t> escapeRbsp(const std::vector<std::uint8_t>& rbsp) {
  std::vector<std::uint8_t> out;
  out.reserve(rbsp.size() + rbsp.size() / 64);
  unsigned zeros = 0;
  for (const std::uint8_t byte : rbsp) {
    if (zeros >= 2 && byte <= 3) {
      out.push_back(0x03);
      zeros = 0;
    }
    out.push_back(byte);
    zeros = byte == 0 ? zeros + 1 : 0;
  }
  return out;
}

void appendNalUnit(std::vector<std::uint8_t>& out, std::uint8_t header, const std::vector<std::uint8_t>& rbsp,
                   bool longStartCode) {
  if (longStartCode) out.push_back(0);
  out.insert(out.end(), {0, 0, 1, header});
  const std::vector<std::uint8_t> escaped = escapeRbsp(rbsp);
  out.insert(out.end(), escaped.begin(), escaped.end());
}

}  // namespace SampleGen
