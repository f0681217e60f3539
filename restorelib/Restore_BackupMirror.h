#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "restorelib/Restore_AvchdFolder.h"

// The BDMV/BACKUP folder of a long-name tree holds a copy of the clip
// information folder, the playlist folder, the movie object and the index
// table. A copy that is missing, differs from its file or mirrors a file
// that is gone makes the folder unsound; a commit mends it copy by copy.
namespace Restore {

using Bytes = std::vector<std::uint8_t>;
// Files with their content; no content: written by the commit, the bytes
// not known yet (a plan shown before the stamp).
using FileContents = std::map<std::filesystem::path, std::optional<Bytes>>;

struct BackupChanges {
  FileContents Writes;
  std::vector<std::filesystem::path> Deletes;
  bool IsEmpty() const { return Writes.empty() && Deletes.empty(); }
};

// The files the BACKUP folder mirrors as a commit leaves them, after it has
// written `written` and deleted `deleted` (the tree as it is: both empty).
FileContents MirroredFiles(const AvchdFolder& folder, const FileContents& written,
                           const std::vector<std::filesystem::path>& deleted);

// The copies to write and to delete so that BACKUP mirrors `mirrored`.
BackupChanges BackupChangesFor(const AvchdFolder& folder, const FileContents& mirrored);

// The copy in BACKUP of a mirrored file.
std::filesystem::path BackupCopyOf(const AvchdFolder& folder, const std::filesystem::path& file);

// The names of the files that `pattern` (a folder of BDMV and a name
// pattern) lists, and in a long-name tree those of the copies in BACKUP
// whose file is lost, sorted.
std::vector<std::string> NamesWithBackupCopies(const AvchdFolder& folder, const std::filesystem::path& pattern);

}  // namespace Restore
