#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <vector>

#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {

// One file a commit writes, with its whole new content.
struct FileWrite {
  std::filesystem::path Path;
  FileKind Kind = FileKind::IndexTable;
  std::vector<std::uint8_t> Bytes;
};

// Bytes added at the end of a file of `Size` bytes: a cut taken back.
struct FileAppend {
  std::filesystem::path Path;
  std::uint64_t Size = 0;
  std::vector<std::uint8_t> Bytes;
};

// Everything one commit changes, gathered before the first change.
struct ChangeSet {
  // Temporaries of an earlier commit that was cut.
  std::vector<std::filesystem::path> Leftovers;
  // Made when missing, parents first.
  std::vector<std::filesystem::path> Folders;
  std::vector<std::filesystem::path> Deletes;
  // The management files, then their BACKUP copies.
  std::vector<FileWrite> Writes;
  // Tails given back to streams that were cut (an undo), before the moves.
  std::vector<FileAppend> Appends;
  std::vector<PlannedMove> Moves;
  std::vector<PlannedTruncation> Truncations;
  // Emptied by the deletes and the moves; the deepest first.
  std::vector<std::filesystem::path> FolderDeletes;

  // The paths written and deleted, to look up once per file of thousands
  // rather than search the lists for each.
  std::set<std::filesystem::path> WrittenPaths() const;
  std::set<std::filesystem::path> DeletedPaths() const;
};

// Makes every change of `changes` or none. First it checks that `medium`
// (the tree's working folder) takes writes and has room for every file
// with its temporary copy: a full medium is refused with IOException (111)
// before anything changes. Then the journal of the changes is written into
// `medium`, and the changes are made in this order, so that what can still
// fail comes before what cannot be taken back: leftovers removed, folders
// made, files deleted and written, tails appended, streams moved, streams
// cut, folders deleted; the journal is removed last. A failure takes back what was done and
// throws the exception of the failure; a power cut leaves the journal.
// `beforeFirstChange` runs after the checks, before the journal (the backup,
// written elsewhere); when it throws, nothing in the tree changes.
void ApplyChanges(const ChangeSet& changes, const std::filesystem::path& medium, const Utility::VolumeQueries& volume,
                  const std::function<void()>& beforeFirstChange = {});

// Finishes the changes of the journal in `medium` that a cut left: what is
// done already is left as it is, the rest is made, then the journal goes.
void FinishChanges(const ChangeSet& changes, const std::filesystem::path& medium, const Utility::VolumeQueries& volume);

}  // namespace Restore
