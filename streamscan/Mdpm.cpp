#include "streamscan/Mdpm.h"

#include <algorithm>

namespace StreamScan {

namespace {

constexpr std::array<std::uint8_t, 20> MdpmSignature{0x17, 0xEE, 0x8C, 0x60, 0xF8, 0x4D, 0x11, 0xD9, 0x8C, 0xD6,
                                                     0x08, 0x00, 0x20, 0x0C, 0x9A, 0x66, 'M',  'D',  'P',  'M'};

constexpr std::size_t EntrySize = 5;  // tag byte and a 32-bit big-endian value

constexpr std::uint8_t TagTimeCode = 0x13;
constexpr std::uint8_t TagBinaryGroup = 0x14;
constexpr std::uint8_t TagTimeZoneAndDate = 0x18;
constexpr std::uint8_t TagDateTail = 0x19;
constexpr std::uint8_t TagFirstRecordingParameter = 0xB1;
constexpr std::uint8_t TagLastRecordingParameter = 0xBA;
constexpr std::uint8_t TagMakerValue = 0xE0;
// The 3D channel mark is looked for in 0xE7..0xEF only when 0xE6 announces it.
constexpr std::uint8_t Tag3dAnnouncement = 0xE6;
constexpr std::uint8_t TagFirst3dCandidate = 0xE7;
constexpr std::uint8_t TagLast3dCandidate = 0xEF;
constexpr std::uint32_t Max3dAnnouncement = 0x1000000;
constexpr std::uint32_t Channel3dMarker = 0x11;

// Values of the tags 0xE6..0xEF seen in one message.
struct ChannelTags {
  std::array<MetadataSlot, TagLast3dCandidate - Tag3dAnnouncement + 1> tags{};
};

MetadataSlot channel3dSlot(const ChannelTags& seen) {
  MetadataSlot result;
  const MetadataSlot& announcement = seen.tags[0];
  if (!announcement.valid || announcement.value >= Max3dAnnouncement) return result;
  for (unsigned tag = TagFirst3dCandidate; tag <= TagLast3dCandidate; ++tag) {
    const MetadataSlot& candidate = seen.tags[tag - Tag3dAnnouncement];
    if (candidate.valid && (candidate.value >> 24) == Channel3dMarker) result = candidate;
  }
  return result;
}

}  // namespace

MetadataRecord MetadataRecord::absent() {
  MetadataRecord record;
  for (MetadataSlot& slot : record.slots) slot.value = 0xFFFFFFFF;
  record.slots[BinaryGroup].value = 0;
  return record;
}

int metadataSlotOfTag(std::uint8_t tag) {
  switch (tag) {
    case TagTimeCode:
      return MetadataRecord::TimeCode;
    case TagBinaryGroup:
      return MetadataRecord::BinaryGroup;
    case TagTimeZoneAndDate:
      return MetadataRecord::TimeZoneAndDate;
    case TagDateTail:
      return MetadataRecord::DateTail;
    case TagMakerValue:
      return MetadataRecord::MakerValue;
    default:
      if (tag >= TagFirstRecordingParameter && tag <= TagLastRecordingParameter)
        return MetadataRecord::FirstRecordingParameter + (tag - TagFirstRecordingParameter);
      return -1;
  }
}

bool isMdpmPayload(std::span<const std::uint8_t> payload) {
  return payload.size() >= MdpmSignature.size() &&
         std::equal(MdpmSignature.begin(), MdpmSignature.end(), payload.begin());
}

MetadataRecord parseMdpm(std::span<const std::uint8_t> payload) {
  MetadataRecord record = MetadataRecord::absent();
  if (!isMdpmPayload(payload) || payload.size() <= MdpmSignature.size()) return record;
  const std::size_t count = payload[MdpmSignature.size()];
  const std::span<const std::uint8_t> entries = payload.subspan(MdpmSignature.size() + 1);
  const std::size_t complete = std::min(count, entries.size() / EntrySize);
  ChannelTags channelTags;
  for (std::size_t i = 0; i < complete; ++i) {
    const std::uint8_t* entry = entries.data() + i * EntrySize;
    const MetadataSlot value{true, (std::uint32_t{entry[1]} << 24) | (std::uint32_t{entry[2]} << 16) |
                                       (std::uint32_t{entry[3]} << 8) | entry[4]};
    const std::uint8_t tag = entry[0];
    if (const int slot = metadataSlotOfTag(tag); slot >= 0)
      record.slots[static_cast<unsigned>(slot)] = value;
    else if (tag >= Tag3dAnnouncement && tag <= TagLast3dCandidate)
      channelTags.tags[tag - Tag3dAnnouncement] = value;
  }
  if (const MetadataSlot channel = channel3dSlot(channelTags); channel.valid)
    record.slots[MetadataRecord::Channel3d] = channel;
  return record;
}

}  // namespace StreamScan
