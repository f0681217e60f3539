#pragma once

#include <cstdint>

namespace StreamScan {

// One entry point of the clip's EP map: an I picture that starts a group,
// with the STC sequence it belongs to. Handed out when its group is complete.
struct EntryPointRecord {
  std::uint32_t SPN = 0;  // first source packet of the I picture's access unit
  std::uint32_t reserved1 = 0;
  std::uint32_t PTS45 = 0;               // the I picture's PTS / 2
  std::uint32_t IEndPositionOffset = 0;  // size class of the I picture
  std::uint32_t reserved2 = 0;
  std::uint32_t NewSTCSequence = 0;     // 1 when an STC sequence begins here
  std::uint32_t SPNSTCStart = 0;        // packet that carried the discontinuity; 0 for the first
  std::uint32_t SequenceStartTime = 0;  // 45 kHz
  // 45 kHz end of the sequence up to this group; a record that opens a new
  // sequence carries the end of the sequence it closes instead.
  std::uint32_t SequenceEndTime = 0;
  std::uint32_t NewCoarseEntry = 0;
  std::uint32_t FineIndex = 0;  // running number of the entry point
  std::uint32_t PTSCoarse = 0;  // PTS45 >> 18
  std::uint32_t SPNCoarse = 0;

  bool operator==(const EntryPointRecord&) const = default;
};

// Size class of an I picture of `bytes` bytes (its packets up to the last
// video packet, times 192): 1 below 128 KiB up to 7 from 1.25 MiB.
std::uint32_t iEndPositionOffsetClass(std::uint64_t bytes);

// Whether an entry point needs a new coarse entry after the previous one:
// when the coarse bits of PTS45 (above bit 18) or SPN (above bit 16) grow, or
// either value goes backwards.
bool startsNewCoarseEntry(std::uint32_t previousPts45, std::uint32_t previousSpn, std::uint32_t pts45,
                          std::uint32_t spn);

}  // namespace StreamScan
