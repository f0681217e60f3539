#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace Restore {

// What a commit will do to the tree, for showing it before the user agrees.

enum class FileKind { IndexTable, MovieObject, PlayList, ClipInformation, ThumbnailIndex, Backup, Other };

// Why a file is written.
enum class WriteReason {
  Missing,    // the file is not there: made from the streams and the other files
  Damaged,    // the file does not read: built again
  Corrected,  // the file read; fields of it are corrected (the index table gets the repair's stamp)
  FromCopy,   // the file is missing or does not read: restored from its copy in BDMV/BACKUP
  Copy,       // the copy in BDMV/BACKUP of a file of the tree
};

struct PlannedWrite {
  std::filesystem::path Path;
  FileKind Kind = FileKind::IndexTable;
  // The file does not exist yet.
  bool IsNew = false;
  // The copy in BDMV/BACKUP the file is restored from; empty when it is
  // built from its own content or from the streams.
  std::filesystem::path From;
  WriteReason Reason = WriteReason::Corrected;
};

struct PlannedMove {
  std::filesystem::path From;
  std::filesystem::path To;
};

struct PlannedTruncation {
  std::filesystem::path Path;
  std::uint64_t Size = 0;
  std::uint64_t NewSize = 0;
  // Seconds at the end of the recording that its clip leaves out, since the
  // stream was cut short in the middle of a group of pictures.
  double SecondsLeftOut = 0;
};

struct RestorePlan {
  // The plan finishes a commit that a cut stopped, from its journal.
  bool FinishesInterruptedCommit = false;
  // Temporaries a cut commit left; removed first.
  std::vector<std::filesystem::path> Leftovers;
  std::vector<PlannedWrite> Writes;
  std::vector<std::filesystem::path> Deletes;
  std::vector<PlannedMove> Moves;
  std::vector<PlannedTruncation> Truncations;
};

}  // namespace Restore
