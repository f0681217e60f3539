#include "restorelib/Restore_BackupMirror.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <unordered_set>

#include "restorelib/Restore_FileLayer.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {
namespace fs = std::filesystem;

namespace {

const char* const kMirroredFolders[] = {"CLIPINF", "PLAYLIST"};

// The files below `base` (BDMV, or BACKUP) that are mirrored, where they
// may be: the two single files whether they exist or not.
std::vector<fs::path> MirrorableFiles(const AvchdFolder& folder, const fs::path& base) {
  std::vector<fs::path> files;
  for (const char* name : kMirroredFolders) {
    for (const auto& entry : Utility::ListFiles(base / name / "*")) {
      if (!FileLayer::IsTemporaryName(entry.Name)) files.push_back(base / name / entry.Name);
    }
  }
  for (const auto& file : {Utility::MovieObjectFile(folder), Utility::IndexTableFile(folder)}) {
    files.push_back(base / file.filename());
  }
  return files;
}

// `base / relative`, each component spelt as its folder spells it.
fs::path AsOnDiskBelow(fs::path base, const fs::path& relative) {
  for (const auto& component : relative) base = Utility::AsOnDisk(base, component.string());
  return base;
}

bool IsMirrored(const fs::path& path, const fs::path& bdmv) {
  return path.parent_path() == bdmv || path.parent_path().parent_path() == bdmv;
}

}  // namespace

fs::path BackupCopyOf(const AvchdFolder& folder, const fs::path& file) {
  return AsOnDiskBelow(Utility::BackupFolder(folder), file.lexically_relative(Utility::BdmvFolder(folder)));
}

std::vector<std::string> NamesWithBackupCopies(const AvchdFolder& folder, const fs::path& pattern) {
  std::vector<std::string> names;
  for (const auto& entry : Utility::ListFiles(pattern)) names.push_back(entry.Name);
  if (!folder.IsLongName) return names;
  // The names in the folder itself, in one case: a copy of any of them is no
  // name of its own (up to 2000 playlists, each looked up once).
  const auto folded = [](std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return name;
  };
  std::unordered_set<std::string> listed;
  for (const auto& name : names) listed.insert(folded(name));
  for (const auto& entry : Utility::ListFiles(BackupCopyOf(folder, pattern))) {
    const bool listedAlready = listed.count(folded(entry.Name)) != 0;
    if (!listedAlready && !FileLayer::IsTemporaryName(entry.Name)) names.push_back(entry.Name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

FileContents MirroredFiles(const AvchdFolder& folder, const FileContents& written,
                           const std::vector<fs::path>& deleted) {
  const fs::path bdmv = Utility::BdmvFolder(folder);
  FileContents files;
  // Looked up once per clip information file and playlist: thousands of each.
  const std::set<fs::path> deletedPaths(deleted.begin(), deleted.end());
  for (const auto& file : MirrorableFiles(folder, bdmv)) {
    if (Utility::Exists(file) && deletedPaths.count(file) == 0) {
      files[file] = FileLayer::ContentOf(file).value_or(Bytes());
    }
  }
  for (const auto& [path, bytes] : written) {
    if (IsMirrored(path, bdmv)) files[path] = bytes;
  }
  return files;
}

BackupChanges BackupChangesFor(const AvchdFolder& folder, const FileContents& mirrored) {
  BackupChanges changes;
  for (const auto& [file, bytes] : mirrored) {
    const fs::path copy = BackupCopyOf(folder, file);
    if (!bytes || !Utility::Exists(copy) || FileLayer::ContentOf(copy) != bytes) changes.Writes[copy] = bytes;
  }
  // Copies of files that are gone; other things in BACKUP are left alone.
  const fs::path bdmv = Utility::BdmvFolder(folder);
  for (const auto& file : MirrorableFiles(folder, Utility::BackupFolder(folder))) {
    const fs::path original = AsOnDiskBelow(bdmv, file.lexically_relative(Utility::BackupFolder(folder)));
    if (Utility::Exists(file) && mirrored.count(original) == 0) changes.Deletes.push_back(file);
  }
  return changes;
}

}  // namespace Restore
