#pragma once

#include <array>
#include <cstdint>
#include <span>

// Camcorder recording metadata (MDPM) carried in an unregistered user data SEI
// message, sorted into the fixed slots that the clip information takes them from.
namespace StreamScan {

struct MetadataSlot {
  bool valid = false;
  std::uint32_t value = 0;

  bool operator==(const MetadataSlot&) const = default;
};

struct MetadataRecord {
  enum Slot : unsigned {
    TimeCode = 0,
    BinaryGroup = 1,
    TimeZoneAndDate = 2,  // time zone, then the first three bytes of the date and time
    DateTail = 3,         // the last four bytes of the date and time
    FirstRecordingParameter = 4,
    LastRecordingParameter = 13,
    MakerValue = 14,
    Channel3d = 15,
    SlotCount = 16,
  };

  std::array<MetadataSlot, SlotCount> slots{};

  // A record with every slot absent and holding its absence value.
  static MetadataRecord absent();

  const MetadataSlot& operator[](unsigned slot) const { return slots[slot]; }
  bool operator==(const MetadataRecord&) const = default;
};

// The slot that MDPM tag `tag` fills, or -1 when the tag has no slot of its own.
int metadataSlotOfTag(std::uint8_t tag);

// True when an unregistered user data payload carries MDPM: the 16-byte
// UUID 17EE8C60-F84D-11D9-8CD6-0800200C9A66 followed by "MDPM".
bool isMdpmPayload(std::span<const std::uint8_t> payload);

// Reads the entries of an MDPM payload (emulation prevention already removed)
// into a record. Entries that the payload does not hold in full are ignored.
MetadataRecord parseMdpm(std::span<const std::uint8_t> payload);

}  // namespace StreamScan
