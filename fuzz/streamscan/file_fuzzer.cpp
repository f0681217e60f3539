// Any file content must end in a status code: a whole scan as the clip step
// runs it, over the bytes written to a file of this process's own.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "streamscan/ScanReport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("velmar-streamscan-fuzz-" + std::to_string(getpid()) + ".m2ts");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  const StreamScan::ScanReport report = StreamScan::scanStreamFile(path);
  // The report forms must cope with whatever the scan left behind.
  (void)StreamScan::formatScanReport(report);
  (void)StreamScan::formatScanReportJson(report);
  std::filesystem::remove(path);
  return 0;
}
