// A backup's manifest.json may hold anything: it is a manifest that reads or
// it is refused; never an exception, a crash or a deep recursion.
#include <cstdint>
#include <string_view>

#include "cli/BackupManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)BackupManifest::Parse(text);
  return 0;
}
