// The journal of an interrupted commit is read from the card, so it may be
// anything. A journal that reads names nothing outside the card and is
// written back as one that reads to the same changes; every other input is
// refused, never a crash.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "restorelib/Restore_Journal.h"

namespace {

void Check(const std::vector<std::uint8_t>& journal) {
  const std::filesystem::path card = "/media/card";
  const auto changes = Restore::ChangeSetOfJournal(journal, card);
  if (!changes) return;
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
}

}  // namespace

// The input as a journal, and as the records of a journal sealed with its
// checksum, so that mutations reach the records past the checksum.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> input(data, data + size);
  Check(input);
  Check(Restore::SealedJournal(input));
  return 0;
}
