#include "streamscan/ProgramMap.h"

#include "streamscan/StatusCodes.h"

namespace StreamScan {

namespace {

constexpr std::uint8_t RegistrationTag = 0x05;
constexpr std::uint8_t Ac3Tag = 0x81;
constexpr std::uint8_t CodingTypeH264 = 0x1B;
constexpr std::size_t SectionHeaderSize = 3;  // table id and section length
constexpr std::size_t FixedFieldsSize = 9;    // program number .. program info length
constexpr std::size_t CrcSize = 4;
constexpr std::size_t StreamEntryHeaderSize = 5;

// Audio coding types whose registration descriptor carries presentation
// type and sampling frequency (LPCM, AC-3 and its relatives, DTS, secondary audio).
bool isAudioCodingType(std::uint8_t type) { return (type >= 0x80 && type <= 0x86) || type == 0xA1 || type == 0xA2; }

std::uint16_t field13(const std::uint8_t* p) { return static_cast<std::uint16_t>(((p[0] & 0x1F) << 8) | p[1]); }
std::uint16_t field12(const std::uint8_t* p) { return static_cast<std::uint16_t>(((p[0] & 0x0F) << 8) | p[1]); }

// `d` points at the descriptor's tag; `length` bytes follow its length byte.
void decodeRegistration(const std::uint8_t* d, std::size_t length, RegistrationDescriptor& out) {
  constexpr std::size_t CodingTypeOffset = 7;  // after the identifier and one stuffing byte
  if (length < 4) return;
  out.present = true;
  out.format_identifier = (std::uint32_t{d[2]} << 24) | (std::uint32_t{d[3]} << 16) | (std::uint32_t{d[4]} << 8) | d[5];
  if (length < CodingTypeOffset - 1) return;
  out.hasCodingType = true;
  out.coding_type = d[CodingTypeOffset];
  const std::size_t attributeBytes = length - (CodingTypeOffset - 1);
  if (attributeBytes == 0) return;
  const std::uint8_t first = d[CodingTypeOffset + 1];
  if (out.coding_type == CodingTypeH264) {
    out.video_format = first >> 4;
    out.frame_rate = first & 0x0F;
    if (attributeBytes >= 2) out.aspect_ratio = d[CodingTypeOffset + 2] >> 4;
  } else if (isAudioCodingType(out.coding_type)) {
    out.audio_presentation_type = first >> 4;
    out.sampling_frequency = first & 0x0F;
  }
}

void decodeAc3(const std::uint8_t* d, std::size_t length, Ac3Descriptor& out) {
  if (length < 3) return;
  out.present = true;
  out.sample_rate_code = d[2] >> 5;
  out.bsid = d[2] & 0x1F;
  out.bit_rate_code = d[3] >> 2;
  out.surround_mode = d[3] & 0x03;
  out.bsmod = d[4] >> 5;
  out.num_channels = (d[4] >> 1) & 0x0F;
  out.full_svc = d[4] & 1;
}

// Walks the descriptors of one loop; the loop must lie inside [p, end).
template <typename Visit>
bool forEachDescriptor(const std::uint8_t* p, const std::uint8_t* end, Visit visit) {
  while (p < end) {
    if (end - p < 2 || static_cast<std::size_t>(end - p) < 2u + p[1]) return false;
    if (!visit(p, std::size_t{p[1]})) return false;
    p += 2 + p[1];
  }
  return true;
}

bool decodeStreamEntry(const std::uint8_t* p, const std::uint8_t* end, ElementaryStreamEntry& entry) {
  entry.stream_type = p[0];
  entry.elementary_PID = field13(p + 1);
  entry.ES_info_length = field12(p + 3);
  const std::uint8_t* info = p + StreamEntryHeaderSize;
  if (entry.ES_info_length > end - info) return false;
  return forEachDescriptor(info, info + entry.ES_info_length, [&](const std::uint8_t* d, std::size_t length) {
    if (entry.descriptorCount == ElementaryStreamEntry::MaxDescriptors) return false;
    ++entry.descriptorCount;
    if (d[0] == RegistrationTag)
      decodeRegistration(d, length, entry.registration);
    else if (d[0] == Ac3Tag)
      decodeAc3(d, length, entry.ac3);
    return true;
  });
}

}  // namespace

int decodeProgramMap(std::span<const std::uint8_t> payload, ProgramMap& out) {
  if (payload.empty()) return Status::PacketTooLong;
  const std::size_t sectionStart = 1 + std::size_t{payload[0]};  // after the pointer field
  if (sectionStart + SectionHeaderSize > payload.size()) return Status::PacketTooLong;
  const std::uint8_t* section = payload.data() + sectionStart;
  ProgramMap map;
  map.table_id = section[0];
  map.section_length = field12(section + 1);
  if (map.section_length < FixedFieldsSize + CrcSize ||
      sectionStart + SectionHeaderSize + map.section_length > payload.size())
    return Status::PacketTooLong;
  const std::uint8_t* p = section + SectionHeaderSize;
  const std::uint8_t* end = p + map.section_length - CrcSize;
  map.program_number = static_cast<std::uint16_t>((p[0] << 8) | p[1]);
  map.version_number = (p[2] >> 1) & 0x1F;
  map.current_next_indicator = (p[2] & 1) != 0;
  map.section_number = p[3];
  map.last_section_number = p[4];
  map.PCR_PID = field13(p + 5);
  map.program_info_length = field12(p + 7);
  p += FixedFieldsSize;
  if (map.program_info_length > end - p) return Status::PacketTooLong;
  const bool programDescriptorsFit =
      forEachDescriptor(p, p + map.program_info_length, [&](const std::uint8_t* d, std::size_t length) {
        if (d[0] == RegistrationTag) decodeRegistration(d, length, map.programRegistration);
        return true;
      });
  if (!programDescriptorsFit) return Status::PacketTooLong;
  for (p += map.program_info_length; p < end;) {
    if (map.streamCount == ProgramMap::MaxStreams || end - p < static_cast<long>(StreamEntryHeaderSize))
      return Status::PacketTooLong;
    ElementaryStreamEntry& entry = map.streams[map.streamCount++];
    if (!decodeStreamEntry(p, end, entry)) return Status::PacketTooLong;
    p += StreamEntryHeaderSize + entry.ES_info_length;
  }
  map.valid = true;
  out = map;
  return Status::Success;
}

}  // namespace StreamScan
