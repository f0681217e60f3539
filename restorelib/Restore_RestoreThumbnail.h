#pragma once

#include <filesystem>
#include <vector>

#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_Plan.h"

namespace Restore {

// The thumbnail index and data files of the tree, verified in two halves:
// the first before the clips are verified, the second after the index table.
class RestoreThumbnail {
 public:
  explicit RestoreThumbnail(const AvchdFolder& folder);

  // "verify Thumbnail Index"
  void VerifyThumbnailIndex();
  // "verify Thumbnail Index 2"
  void VerifyThumbnailIndex2();

  const std::vector<std::filesystem::path>& FilesToDelete() const { return filesToDelete_; }
  // Thumbnails must be written even when no file object changed.
  bool IsRestoreRequired() const;
  // A thumbnail file object must be written.
  bool IsModified() const;
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // Writes the thumbnail index when it is modified.
  void Commit();

 private:
  const AvchdFolder* folder_;
  std::vector<std::filesystem::path> filesToDelete_;
};

}  // namespace Restore
