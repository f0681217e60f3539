// The journal of an interrupted commit is read from the card, so it may be
// anything. A journal that reads is written back as one that reads to the
// same changes; every other input is refused, never a crash.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "restorelib/Restore_Journal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto changes = Restore::ChangeSetOfJournal(std::vector<std::uint8_t>(data, data + size));
  if (!changes) return 0;
  const auto written = Restore::JournalBytes(*changes);
  const auto again = Restore::ChangeSetOfJournal(written);
  if (!again || Restore::JournalBytes(*again) != written) std::abort();
  return 0;
}
