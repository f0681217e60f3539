// The journal of an interrupted commit is read from the card, so it may be
// anything. A journal that reads names nothing outside the card and is
// written back as one that reads to the same changes; every other input is
// refused, never a crash.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "restorelib/Restore_Journal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path card = "/media/card";
  const auto changes = Restore::ChangeSetOfJournal(std::vector<std::uint8_t>(data, data + size), card);
  if (!changes) return 0;
  // Nothing it names lies outside the card.
  const auto inside = [&card](const std::filesystem::path& path) {
    const auto relative = path.lexically_relative(card);
    return !relative.empty() && *relative.begin() != "..";
  };
  for (const auto& write : changes->Writes) {
    if (!inside(write.Path)) std::abort();
  }
  for (const auto& move : changes->Moves) {
    if (!inside(move.From) || !inside(move.To)) std::abort();
  }
  const auto written = Restore::JournalBytes(*changes, card);
  const auto again = Restore::ChangeSetOfJournal(written, card);
  if (!again || Restore::JournalBytes(*again, card) != written) std::abort();
  return 0;
}
