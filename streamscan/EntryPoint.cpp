#include "streamscan/EntryPoint.h"

#include <array>

namespace StreamScan {

std::uint32_t iEndPositionOffsetClass(std::uint64_t bytes) {
  constexpr std::array<std::uint64_t, 5> UpperBounds{0x20000, 0x40000, 0x60000, 0x90000, 0xE0000};
  constexpr std::uint64_t LargestClassFrom = 0x140000;
  for (std::uint32_t i = 0; i < UpperBounds.size(); ++i) {
    if (bytes < UpperBounds[i]) return i + 1;
  }
  return bytes >= LargestClassFrom ? 7 : 6;
}

bool startsNewCoarseEntry(std::uint32_t previousPts45, std::uint32_t previousSpn, std::uint32_t pts45,
                          std::uint32_t spn) {
  constexpr std::uint32_t PtsCoarseMask = 0xFFF80000;
  constexpr std::uint32_t SpnCoarseMask = 0xFFFE0000;
  return (previousPts45 & PtsCoarseMask) < (pts45 & PtsCoarseMask) ||
         (previousSpn & SpnCoarseMask) < (spn & SpnCoarseMask) || previousPts45 > pts45 || previousSpn > spn;
}

}  // namespace StreamScan
