#include "restorelib/Restore_RestoreThumbnail.h"

#include "aaalib/AAA_BitReader.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_ModelFile.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {

namespace {

// Removes entry `index` and counts it out of the index.
void EraseThumbnail(RestoreThumbnail::ThumbnailIndexFile& thumbnailIndexFile, std::size_t index) {
  thumbnailIndexFile.blkThumbnailArray.Erase(index);
  AAA_CORRECT(thumbnailIndexFile.NumberOfThumbnails, thumbnailIndexFile.NumberOfThumbnails - 1);
  thumbnailIndexFile.Link();
}

}  // namespace

RestoreThumbnail::RestoreThumbnail(const AvchdFolder& folder) : folder_(&folder) {}

RestoreThumbnail::RestoreThumbnail(const RestoreThumbnail& other)
    : folder_(other.folder_),
      store_(other.store_),
      filesToDelete_(other.filesToDelete_),
      newIndex_(other.newIndex_),
      ThumbnailDataSize(other.ThumbnailDataSize) {
  LinkStore();
}

RestoreThumbnail& RestoreThumbnail::operator=(const RestoreThumbnail& other) {
  if (this == &other) return *this;
  folder_ = other.folder_;
  store_ = other.store_;
  filesToDelete_ = other.filesToDelete_;
  newIndex_ = other.newIndex_;
  ThumbnailDataSize = other.ThumbnailDataSize;
  LinkStore();
  return *this;
}

void RestoreThumbnail::LinkStore() {
  for (auto& index : store_) index.Link();
}

void RestoreThumbnail::VerifyThumbnailIndex() {
  AAA::Log::Heading("verify Thumbnail Index");
  const auto indexPath = Utility::ThumbnailIndexFile(*folder_);
  const auto dataPath = Utility::ThumbnailDataFile(*folder_);
  // A link in place of the thumbnail folder is not a thumbnail folder: it
  // gets no new index (through it) and is left as it is.
  std::error_code error;
  newIndex_ = !Utility::Exists(indexPath) && !Utility::Exists(dataPath) &&
              std::filesystem::is_directory(std::filesystem::symlink_status(Utility::ThumbnailFolder(*folder_), error));
  try {
    ThumbnailIndexFile thumbnailIndexFile;
    ReadModelFile(indexPath, thumbnailIndexFile, kMaxIndexBytes);
    ThumbnailDataSize = FileLayer::FileSize(dataPath);
    store_.push_back(thumbnailIndexFile);
    store_.back().Link();
    CheckEntries(store_.back());
  } catch (const AAA::FileNotFoundException&) {
    // The folder or either file missing: the index cannot be checked and is
    // left alone.
  } catch (const AAA::VerifyExceptionBase&) {
    store_.clear();
    filesToDelete_.push_back(indexPath);
  }
}

void RestoreThumbnail::CheckEntries(ThumbnailIndexFile& thumbnailIndexFile) {
  // An index of the header alone holds neither entries nor blocks.
  if (thumbnailIndexFile.Length == 0) return;
  if (ThumbnailDataSize < std::uint64_t{thumbnailIndexFile.NumberOfTnBlocks} * thumbnailIndexFile.TnBlockSize * 1024) {
    AAA_CORRECT(thumbnailIndexFile.NumberOfTnBlocks, ThumbnailDataSize / (thumbnailIndexFile.TnBlockSize * 1024));
  }
  auto& thumbnails = thumbnailIndexFile.blkThumbnailArray;
  for (std::size_t i = 0; i < thumbnails.Size();) {
    try {
      const auto itThumb = thumbnails.begin() + static_cast<std::ptrdiff_t>(i);
      AAA_VERIFY(itThumb->ThumbnailIndex, itThumb->ThumbnailIndex != 0xffff);
      AAA_VERIFY(itThumb->RefToTnBlockId, itThumb->RefToTnBlockId < thumbnailIndexFile.NumberOfTnBlocks);
      AAA_VERIFY(itThumb->PictureByteSize, itThumb->PictureByteSize <= thumbnailIndexFile.TnBlockSize * 1024 - 4);
      AAA_VERIFY(itThumb->HorizontalPictureSize,
                 (itThumb->HorizontalPictureSize == 320) || (itThumb->HorizontalPictureSize == 416));
      AAA_VERIFY_EQUAL(itThumb->VerticalPictureSize, 240);
      ++i;
    } catch (const AAA::InvalidDataException&) {
      EraseThumbnail(thumbnailIndexFile, i);
    }
  }
}

void RestoreThumbnail::VerifyThumbnailIndex2() {
  AAA::Log::Heading("verify Thumbnail Index 2");
  for (auto& thumbnailIndexFile : store_) {
    auto& thumbnails = thumbnailIndexFile.blkThumbnailArray;
    for (std::size_t i = 0; i < thumbnails.Size();) {
      if (thumbnails[i].Used) {
        ++i;
      } else {
        EraseThumbnail(thumbnailIndexFile, i);
      }
    }
  }
  if (newIndex_) {
    ThumbnailIndexFile thumbnailIndexFile;
    thumbnailIndexFile.Initialize();
    thumbnailIndexFile.NumberOfTnBlocks.SetValue(
        static_cast<std::uint32_t>(ThumbnailDataSize / (thumbnailIndexFile.TnBlockSize * 1024)));
    store_.push_back(thumbnailIndexFile);
    store_.back().Link();
  }
}

bool RestoreThumbnail::ThumbnailExists(std::uint32_t thumbnailIndex) {
  if (thumbnailIndex == 0xFFFF) return true;
  for (auto& thumbnailIndexFile : store_) {
    for (auto& thumbnail : thumbnailIndexFile.blkThumbnailArray) {
      if (thumbnail.ThumbnailIndex != thumbnailIndex) continue;
      thumbnail.Used = true;
      return true;
    }
  }
  return false;
}

void RestoreThumbnail::ClearUsedMarks() {
  for (auto& thumbnailIndexFile : store_) {
    for (auto& thumbnail : thumbnailIndexFile.blkThumbnailArray) thumbnail.Used = false;
  }
}

bool RestoreThumbnail::IsModified() const { return AnyNeedsWrite(store_); }

void RestoreThumbnail::AddPlannedWrites(std::vector<PlannedWrite>& writes) const {
  AddPlannedWrite(store_, Utility::ThumbnailIndexFile(*folder_), FileKind::ThumbnailIndex, writes);
}

void RestoreThumbnail::AddChanges(ChangeSet& changes) {
  if (IsModified()) changes.Folders.push_back(Utility::ThumbnailFolder(*folder_));
  AddNeededWrites(store_, Utility::ThumbnailIndexFile(*folder_), FileKind::ThumbnailIndex, changes);
}

}  // namespace Restore
