#pragma once

#include <array>
#include <cstdint>
#include <span>

// The program map table of the stream, with the two descriptor kinds that
// carry coding attributes.
namespace StreamScan {

struct RegistrationDescriptor {
  bool present = false;
  std::uint32_t format_identifier = 0;
  bool hasCodingType = false;  // the descriptor is longer than the identifier
  std::uint8_t coding_type = 0;
  std::uint8_t video_format = 0;
  std::uint8_t frame_rate = 0;
  std::uint8_t aspect_ratio = 0;
  std::uint8_t audio_presentation_type = 0;
  std::uint8_t sampling_frequency = 0;
};

struct Ac3Descriptor {
  bool present = false;
  std::uint8_t sample_rate_code = 0;
  std::uint8_t bsid = 0;
  std::uint8_t bit_rate_code = 0;
  std::uint8_t surround_mode = 0;
  std::uint8_t bsmod = 0;
  std::uint8_t num_channels = 0;
  std::uint8_t full_svc = 0;
};

struct ElementaryStreamEntry {
  static constexpr unsigned MaxDescriptors = 4;

  std::uint8_t stream_type = 0;
  std::uint16_t elementary_PID = 0;
  std::uint16_t ES_info_length = 0;
  unsigned descriptorCount = 0;
  RegistrationDescriptor registration;
  Ac3Descriptor ac3;
};

struct ProgramMap {
  static constexpr unsigned MaxStreams = 9;

  bool valid = false;  // a section has been decoded
  std::uint8_t table_id = 0;
  std::uint16_t section_length = 0;
  std::uint16_t program_number = 0;
  std::uint8_t version_number = 0;
  bool current_next_indicator = false;
  std::uint8_t section_number = 0;
  std::uint8_t last_section_number = 0;
  std::uint16_t PCR_PID = 0;
  std::uint16_t program_info_length = 0;
  RegistrationDescriptor programRegistration;
  std::array<ElementaryStreamEntry, MaxStreams> streams{};
  unsigned streamCount = 0;
};

// Decodes the section that starts a PMT packet's payload (pointer field
// first). The section, every descriptor and every stream entry must lie inside
// the payload; at most 4 descriptors per stream and 9 streams are accepted.
// Returns 0 or Status::PacketTooLong; `out` is only written on success.
int decodeProgramMap(std::span<const std::uint8_t> payload, ProgramMap& out);

}  // namespace StreamScan
