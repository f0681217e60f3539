#pragma once

#include <array>
#include <cstdint>

#include "streamscan/Mdpm.h"

namespace StreamScan {

struct SeiMessageInfo {
  std::uint32_t payloadType = 0;
  std::uint32_t payloadSize = 0;
};

// What the start of one video access unit says, rebuilt for every unit.
struct AccessUnitAnalysis {
  static constexpr unsigned MaxSeiMessages = 21;

  int primary_pic_type = -1;  // -1 until an access unit delimiter is read
  bool idr = false;
  int nal_ref_idc = -1;  // of the first non-IDR slice
  std::array<SeiMessageInfo, MaxSeiMessages> sei{};
  unsigned seiCount = 0;
  bool mdpmFound = false;  // only the first MDPM message of a unit counts
  MetadataRecord metadata = MetadataRecord::absent();
  int pic_struct = -1;  // -1 when no picture timing carried it
};

}  // namespace StreamScan
