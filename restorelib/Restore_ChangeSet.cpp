#include "restorelib/Restore_ChangeSet.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>

#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_Beneath.h"
#include "restorelib/Restore_FileLayer.h"
#include "restorelib/Restore_Journal.h"
#include "restorelib/Restore_Transaction.h"

namespace Restore {
namespace fs = std::filesystem;

namespace {

// The room the writes take at most: each file and each new folder in whole
// allocation units, every file beside its old version until the rename.
std::uint64_t RoomNeeded(const ChangeSet& changes, std::uint64_t unit, std::uint64_t journalBytes) {
  const auto units = [unit](std::uint64_t bytes) { return (bytes + unit - 1) / unit * unit; };
  std::uint64_t room = units(journalBytes);
  for (const auto& write : changes.Writes) room += units(std::max<std::uint64_t>(write.Bytes.size(), 1));
  for (const auto& folder : changes.Folders) {
    if (!Utility::Exists(folder)) room += unit;
  }
  return room;
}

void CheckRoom(const ChangeSet& changes, const fs::path& medium, const Utility::VolumeQueries& volume,
               std::uint64_t journalBytes) {
  const auto space = volume.FreeSpace(medium);
  if (!space) return;  // a medium that cannot say: the writes will tell
  const std::uint64_t needed = RoomNeeded(changes, std::max<std::uint64_t>(space->BlockSize, 1), journalBytes);
  AAA::Log::Line(AAA::Log::kHeading, "room needed: %" PRIu64 " bytes, free: %" PRIu64 " bytes\n", needed,
                 space->AvailableBytes);
  if (needed > space->AvailableBytes) RESTORE_THROW_ERROR(ENOSPC);
}

// Every change stays inside the tree: nothing on the way to a changed file
// is a link, and nothing changed is a link, a FIFO or a device.
void CheckReachable(const ChangeSet& changes) {
  for (const auto* files : {&changes.Leftovers, &changes.Deletes}) {
    for (const auto& path : *files) FileLayer::CheckReachable(path, false);
  }
  for (const auto* folders : {&changes.Folders, &changes.FolderDeletes}) {
    for (const auto& path : *folders) FileLayer::CheckReachable(path, true);
  }
  for (const auto& write : changes.Writes) FileLayer::CheckReachable(write.Path, false);
  for (const auto& append : changes.Appends) FileLayer::CheckReachable(append.Path, false);
  for (const auto& move : changes.Moves) {
    FileLayer::CheckReachable(move.From, false);
    FileLayer::CheckReachable(move.To, false);
  }
  for (const auto& cut : changes.Truncations) FileLayer::CheckReachable(cut.Path, false);
}

// What is already as the change set wants it is left alone, so that the
// changes of a journal can be made again after a cut.
void Make(const ChangeSet& changes, Transaction& transaction) {
  for (const auto& leftover : changes.Leftovers) {
    if (Utility::Exists(leftover)) transaction.Remove(leftover);
  }
  for (const auto& folder : changes.Folders) transaction.MakeFolder(folder);
  const auto written = changes.WrittenPaths();
  for (const auto& path : changes.Deletes) {
    // A file written anew needs no deletion first.
    if (written.count(path) == 0 && Utility::Exists(path)) transaction.Remove(path);
  }
  for (const auto& write : changes.Writes) {
    if (FileLayer::ContentOf(write.Path) != write.Bytes) transaction.Replace(write.Path, write.Bytes);
  }
  for (const auto& append : changes.Appends) {
    const std::uint64_t size = FileLayer::FileSize(append.Path);
    if (size == append.Size + append.Bytes.size()) continue;  // given back before a cut
    if (size != append.Size) AAA_THROW(AAA::IOException());
    transaction.Append(append.Path, append.Bytes);
  }
  for (const auto& move : changes.Moves) {
    if (!Utility::Exists(move.From) && Utility::Exists(move.To)) continue;  // moved before a cut
    // The name was chosen free; a file that appeared there since is kept.
    if (Utility::Exists(move.To)) AAA_THROW(AAA::IOException());
    transaction.Move(move.From, move.To);
  }
  for (const auto& cut : changes.Truncations) {
    const std::uint64_t size = FileLayer::FileSize(cut.Path);
    if (size == cut.NewSize) continue;  // cut before a cut of power
    // A stream shorter than planned is not lengthened.
    if (size < cut.NewSize) AAA_THROW(AAA::IOException());
    transaction.Truncate(cut.Path, cut.NewSize);
  }
  for (const auto& folder : changes.FolderDeletes) {
    if (Utility::Exists(folder)) transaction.RemoveFolder(folder);
  }
}

void MakeJournalled(const ChangeSet& changes, const fs::path& medium, bool journalExists) {
  const fs::path journal = JournalPathFor(medium);
  Transaction transaction;
  if (!journalExists) transaction.Replace(journal, JournalBytes(changes, medium));
  Make(changes, transaction);
  transaction.Remove(journal);
  transaction.Keep();
}

}  // namespace

std::set<fs::path> ChangeSet::WrittenPaths() const {
  std::set<fs::path> paths;
  for (const auto& write : Writes) paths.insert(write.Path);
  return paths;
}

std::set<fs::path> ChangeSet::DeletedPaths() const { return {Deletes.begin(), Deletes.end()}; }

void ApplyChanges(const ChangeSet& changes, const fs::path& medium, const Utility::VolumeQueries& volume,
                  const std::function<void()>& beforeFirstChange) {
  const FileLayer::TreeScope scope(medium);
  Utility::CheckWriteProtect(medium, volume);
  CheckReachable(changes);
  CheckRoom(changes, medium, volume, JournalBytes(changes, medium).size());
  if (beforeFirstChange) beforeFirstChange();
  MakeJournalled(changes, medium, false);
}

void FinishChanges(const ChangeSet& changes, const fs::path& medium, const Utility::VolumeQueries& volume) {
  const FileLayer::TreeScope scope(medium);
  Utility::CheckWriteProtect(medium, volume);
  CheckReachable(changes);
  CheckRoom(changes, medium, volume, 0);
  MakeJournalled(changes, medium, true);
}

}  // namespace Restore
