#include "restorelib/Restore_ChangeSet.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>

#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_Transaction.h"

namespace Restore {
namespace fs = std::filesystem;

namespace {

// The room the writes take at most: each file and each new folder in whole
// allocation units, every file beside its old version until the rename.
std::uint64_t RoomNeeded(const ChangeSet& changes, std::uint64_t unit) {
  const auto units = [unit](std::uint64_t bytes) { return (bytes + unit - 1) / unit * unit; };
  std::uint64_t room = 0;
  for (const auto& write : changes.Writes) room += units(std::max<std::uint64_t>(write.Bytes.size(), 1));
  for (const auto& folder : changes.Folders) {
    if (!Utility::Exists(folder)) room += unit;
  }
  return room;
}

void CheckRoom(const ChangeSet& changes, const fs::path& medium, const Utility::VolumeQueries& volume) {
  const auto space = volume.FreeSpace(medium);
  if (!space) return;  // a medium that cannot say: the writes will tell
  const std::uint64_t needed = RoomNeeded(changes, std::max<std::uint64_t>(space->BlockSize, 1));
  AAA::Log::Line(AAA::Log::kHeading, "room needed: %" PRIu64 " bytes, free: %" PRIu64 " bytes\n", needed,
                 space->AvailableBytes);
  if (needed > space->AvailableBytes) RESTORE_THROW_ERROR(ENOSPC);
}

void Make(const ChangeSet& changes, Transaction& transaction) {
  for (const auto& leftover : changes.Leftovers) transaction.Remove(leftover);
  for (const auto& folder : changes.Folders) transaction.MakeFolder(folder);
  for (const auto& path : changes.Deletes) {
    // A file written anew needs no deletion first.
    if (!changes.IsWritten(path) && Utility::Exists(path)) transaction.Remove(path);
  }
  for (const auto& write : changes.Writes) transaction.Replace(write.Path, write.Bytes);
  for (const auto& folder : changes.FolderDeletes) transaction.RemoveFolder(folder);
  for (const auto& move : changes.Moves) {
    // The name was chosen free; a file that appeared there since is kept.
    if (Utility::Exists(move.To)) AAA_THROW(AAA::IOException());
    transaction.Move(move.From, move.To);
  }
  for (const auto& cut : changes.Truncations) transaction.Truncate(cut.Path, cut.NewSize);
}

}  // namespace

bool ChangeSet::IsWritten(const fs::path& path) const {
  return std::any_of(Writes.begin(), Writes.end(), [&path](const FileWrite& write) { return write.Path == path; });
}

void ApplyChanges(const ChangeSet& changes, const fs::path& medium, const Utility::VolumeQueries& volume) {
  Utility::CheckWriteProtect(medium, volume);
  CheckRoom(changes, medium, volume);
  Transaction transaction;
  Make(changes, transaction);
  transaction.Keep();
}

}  // namespace Restore
