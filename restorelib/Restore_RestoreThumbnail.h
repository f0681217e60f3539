#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <vector>

#include "avchdlib/AVCHD_Thumbnail.h"
#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_ChangeSet.h"
#include "restorelib/Restore_Plan.h"

namespace Restore {

// The thumbnail index and data files of the tree, verified in two halves:
// the first before the clips are verified, the second after the index
// table. Between the two, the playlist and index table steps ask for the
// thumbnails they refer to, which marks them used; the second half drops
// every thumbnail nobody asked for.
class RestoreThumbnail {
 public:
  using ThumbnailIndexFile = AVCHD::Thumbnail::BlkThumbnailIndexFile;
  // 65535 entries of 12 bytes and the header fit well below this; a larger
  // index is refused before it is read.
  static constexpr std::uint64_t kMaxIndexBytes = 1 << 20;

  explicit RestoreThumbnail(const AvchdFolder& folder);
  // A copy (the snapshot after the first half) links its own models.
  RestoreThumbnail(const RestoreThumbnail& other);
  RestoreThumbnail& operator=(const RestoreThumbnail& other);

  // "verify Thumbnail Index": reads the index, checks every entry against
  // the index header and the size of the data file.
  void VerifyThumbnailIndex();
  // "verify Thumbnail Index 2": drops the unused entries; makes a new empty
  // index for a thumbnail folder that holds neither file.
  void VerifyThumbnailIndex2();

  // true for 0xFFFF (no thumbnail) and for a value that an entry of the
  // stored index carries; the first such entry is marked used.
  bool ThumbnailExists(std::uint32_t thumbnailIndex);
  void ClearUsedMarks();

  // The stored index: empty, or one model.
  std::deque<ThumbnailIndexFile>& Store() { return store_; }
  const std::deque<ThumbnailIndexFile>& Store() const { return store_; }
  // Bytes of the thumbnail data file; 0 until it has been opened.
  std::uint64_t DataSize() const { return ThumbnailDataSize; }

  const std::vector<std::filesystem::path>& FilesToDelete() const { return filesToDelete_; }
  // A thumbnail folder without either file gets a new index.
  bool IsRestoreRequired() const { return newIndex_; }
  // The stored index must be written.
  bool IsModified() const;
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // The write of the stored index when it is modified.
  void AddChanges(ChangeSet& changes);

 private:
  void CheckEntries(ThumbnailIndexFile& thumbnailIndexFile);
  void LinkStore();

  const AvchdFolder* folder_;
  std::deque<ThumbnailIndexFile> store_;
  std::vector<std::filesystem::path> filesToDelete_;
  bool newIndex_ = false;
  // Named as the rules that compare it name it.
  std::uint64_t ThumbnailDataSize = 0;
};

}  // namespace Restore
