#include "streamscan/StreamSummary.h"

namespace StreamScan {

int streamSlotOfPid(std::uint16_t pid) {
  if (pid == 0x1011) return 0;
  if (pid >= 0x1100 && pid <= 0x1103) return 1 + (pid - 0x1100);
  if (pid == 0x1200 || pid == 0x1201) return 5 + (pid - 0x1200);
  if (pid == 0x1400 || pid == 0x1401) return 7 + (pid - 0x1400);
  return -1;
}

}  // namespace StreamScan
