#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// Writes the H.264 syntax that the scanner reads (access unit delimiter,
// sequence parameter set with VUI and HRD, SEI picture timing and MDPM user
// data) as Annex B byte stream, emulation prevention included.
namespace SampleGen {

struct SpsSettings {
  std::uint8_t profile_idc = 100;
  bool constraint_set0_flag = false;
  bool constraint_set1_flag = false;
  bool constraint_set2_flag = false;
  bool constraint_set3_flag = false;
  std::uint8_t level_idc = 40;
  std::uint32_t seq_parameter_set_id = 0;
  std::uint32_t width = 1920;
  std::uint32_t height = 1080;
  bool interlaced = false;
  bool scalingMatrix = false;  // writes scaling lists for every list
  std::uint32_t pic_order_cnt_type = 0;
  std::uint8_t aspect_ratio_idc = 1;
  bool timing = true;
  std::uint32_t num_units_in_tick = 1001;
  std::uint32_t time_scale = 60000;
  bool nalHrd = true;
  bool vclHrd = false;
  unsigned cpbRemovalDelayLength = 24;
  unsigned dpbOutputDelayLength = 24;
  bool picStructPresent = true;
};

std::vector<std::uint8_t> sequenceParameterSetRbsp(const SpsSettings& settings);
std::vector<std::uint8_t> accessUnitDelimiterRbsp(int primary_pic_type);

// Picture timing payload for a set laid out by `sps`.
std::vector<std::uint8_t> picTimingPayload(const SpsSettings& sps, int pic_struct);

using MdpmEntry = std::pair<std::uint8_t, std::uint32_t>;
// User data unregistered payload: MDPM UUID, "MDPM", count, entries.
std::vector<std::uint8_t> mdpmPayload(const std::vector<MdpmEntry>& entries);

struct SeiMessage {
  std::uint32_t payloadType = 0;
  std::vector<std::uint8_t> payload;
};
std::vector<std::uint8_t> seiRbsp(const std::vector<SeiMessage>& messages);

// Inserts emulation prevention bytes: 0x03 before any byte <= 3 that
// follows two zeros.
std::vector<std::uint8_t> escapeRbsp(const std::vector<std::uint8_t>& rbsp);

// Appends a start code (four bytes for the first NAL unit of an access unit),
// the NAL header and the escaped RBSP.
void appendNalUnit(std::vector<std::uint8_t>& out, std::uint8_t header, const std::vector<std::uint8_t>& rbsp,
                   bool longStartCode = false);

}  // namespace SampleGen
