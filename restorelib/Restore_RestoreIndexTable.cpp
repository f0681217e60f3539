#include "restorelib/Restore_RestoreIndexTable.h"

#include <charconv>

#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_Maker.h"
#include "restorelib/Restore_ModelFile.h"

namespace Restore {

namespace Field = AVCHD::Field;

using AVCHD::Common::TextBytes;
using AVCHD::Common::TextOf;
using AVCHD::MovieObject::NavigationCommand;
using AVCHD::MoviePlayList::BlkMoviePlayListFile;
using AVCHD::MoviePlayList::BlkPlayItem;

namespace {

// Set before the play command of a 1080/50p or 1080/59.94p title: a player
// must be switched to progressive output before it plays the playlist.
const AAA::Bytes kProgressiveOutputCommand = {0x48, 0x40, 0x01, 0x00, 0x80, 0x00, 0x00, 0x1D, 0x00, 0x00, 0x00, 0x10};

// The rule a movie title's object must keep, as the log shows it.
constexpr const char* kNoJumpOrCallRule =
    "!((nv->Data[0] == 0x21) && (nv->Data[1] == 0x00) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x00)) && "
    "!((nv->Data[0] == 0x21) && (nv->Data[1] == 0x80) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x00)) && "
    "!((nv->Data[0] == 0x21) && (nv->Data[1] == 0x02) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x00)) && "
    "!((nv->Data[0] == 0x21) && (nv->Data[1] == 0x82) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x00)) && "
    "!((nv->Data[0] == 0x51) && (nv->Data[1] == 0x00) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x02)) && "
    "!((nv->Data[0] == 0x51) && (nv->Data[1] == 0x80) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x02)) && "
    "!((nv->Data[0] == 0x51) && (nv->Data[1] == 0x40) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x02)) && "
    "!((nv->Data[0] == 0x51) && (nv->Data[1] == 0xc0) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x02)) && "
    "!((nv->Data[0] == 0x21) && (nv->Data[1] == 0x03) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x00)) && "
    "!((nv->Data[0] == 0x21) && (nv->Data[1] == 0x83) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x00)) && "
    "!((nv->Data[0] == 0x21) && (nv->Data[1] == 0x01) && (nv->Data[2] == 0x00) && (nv->Data[3] == 0x00))";

constexpr AVCHD::MovieObject::CommandPattern kPlayPlayList = {0x22, 0x80, 0x00, 0x00};

// The flag of the television system a frame rate belongs to: 24p (23.976,
// 24), 50 Hz (25, 50) or 60 Hz (29.97, 59.94); null for other rates.
AAA::FieldBase* SystemFlag(AVCHD::IndexTableExt::BlkUIAppInfoAVCHD& appInfo, const BlkPlayItem& item) {
  const auto* video = FirstVideoAttributes(item);
  if (video == nullptr) return nullptr;
  switch (video->FrameRate) {
    case Field::FrameRate::k23976:
    case Field::FrameRate::k24:
      return &appInfo.Is24;
    case Field::FrameRate::k25:
    case Field::FrameRate::k50:
      return &appInfo.Is50;
    case Field::FrameRate::k2997:
    case Field::FrameRate::k5994:
      return &appInfo.Is60;
    default:
      return nullptr;
  }
}

std::uint32_t PlayListNumber(const std::string& baseName) {
  std::uint32_t number = 0;
  std::from_chars(baseName.data(), baseName.data() + baseName.size(), number);
  return number;
}

// The command that plays playlist `number` from its start.
AAA::Bytes PlayCommand(std::uint32_t number) {
  AAA::Bytes bytes(kPlayPlayList.begin(), kPlayPlayList.end());
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(number >> shift));
  bytes.resize(12, 0);
  return bytes;
}

}  // namespace

RestoreIndexTable::RestoreIndexTable(const AvchdFolder& folder, RestoreClipInformation& clipInformation,
                                     RestoreMovieObject& movieObject, RestoreMoviePlayList& playList,
                                     RestoreThumbnail& thumbnail)
    : folder_(&folder),
      clipInformation_(&clipInformation),
      movieObject_(&movieObject),
      playList_(&playList),
      thumbnail_(&thumbnail) {}

void RestoreIndexTable::ReadForMakerCheck(const std::filesystem::path& file) {
  IndexTableFile indexTableFile;
  ReadModelFile(file, indexTableFile, IndexTableFile::kMaxFileSize);
}

void RestoreIndexTable::VerifyIndexTable() {
  AAA::Log::Heading("verify Index table");
  const bool read = ReadFileOrItsCopy(
      *folder_, Utility::IndexTableFile(*folder_), [this](const std::filesystem::path& source) -> auto& {
        store_.clear();
        IndexTableFile indexTableFile;
        ReadModelFile(source, indexTableFile, IndexTableFile::kMaxFileSize);
        StoreCopy(store_, indexTableFile);
        VerifyRelations();
        return Model();
      });
  if (!read) StoreNewIndexTable();
  Repair();
}

void RestoreIndexTable::VerifyRelations() {
  auto& indexTableFile = Model();
  RemoveUnusableTitles();

  auto& appInfo = indexTableFile.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD;
  if (!thumbnail_->ThumbnailExists(appInfo.RefToMenuThumbnailIndex)) {
    AAA_CORRECT(appInfo.RefToMenuThumbnailIndex, 0xffff);
  }
  for (auto& moviePlayListFile : playList_->Store()) {
    if (moviePlayListFile.SkipMark) continue;
    for (const auto& item : moviePlayListFile.blkPlayList.blkPlayItemArray) {
      if (auto* flag = SystemFlag(appInfo, item)) AAA_CORRECT(*flag, 1);
    }
  }
  AAA_VERIFY(appInfo.Is50, (indexTableFile.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD.Is50 == 0) ||
                               (indexTableFile.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD.Is60 == 0));

  for (auto& moviePlayListFile : playList_->Store()) moviePlayListFile.IndexFlag = false;
  auto& table = indexTableFile.blkExtensionData.blkDataBlock.blkTableOfPlayLists;
  for (auto itPair = table.blkMovieTitlePlayListPairArray.begin(); itPair != table.blkMovieTitlePlayListPairArray.end();
       ++itPair) {
    AAA_VERIFY(itPair->RefToTitleId, itPair->RefToTitleId < indexTableFile.blkIndexes.NumberOfMovieTitles);
    if (itPair->PlayListAttribute == Field::PlayListAttribute::kReal) {
      auto* moviePlayListFile = playList_->Find(TextOf(itPair->PlayListFileName));
      AAA_VERIFY(itPair->PlayListFileName, moviePlayListFile != NULL);
      moviePlayListFile->IndexFlag = true;
    } else {
      const std::string fileName = Utility::PlayListFile(*folder_, TextOf(itPair->PlayListFileName), true).filename();
      AAA_VERIFY(itPair->PlayListFileName, Utility::IsVirtualPlayListFileName(fileName));
    }
  }

  for (const auto& entry : table.blkFirstPlaybackTitlePlayLists.PlayListArray) {
    const auto& title = indexTableFile.blkIndexes.blkFirstPlaybackTitle;
    AAA_VERIFY(title.FirstPlaybackTitleMobjIDRef,
               indexTableFile.blkIndexes.blkFirstPlaybackTitle.FirstPlaybackTitleMobjIDRef != 0xffff);
    const std::string fileName = Utility::PlayListFile(*folder_, TextOf(entry.PlayListFileName), true).filename();
    AAA_VERIFY(entry.PlayListFileName, Utility::IsFirstPlaybackOrMenuPlayListFileName(fileName));
  }
  for (const auto& entry : table.blkMenuTitlePlayLists.PlayListArray) {
    const auto& title = indexTableFile.blkIndexes.blkMenuTitle;
    AAA_VERIFY(title.MenuTitleMobjIDRef, indexTableFile.blkIndexes.blkMenuTitle.MenuTitleMobjIDRef != 0xffff);
    const std::string fileName = Utility::PlayListFile(*folder_, TextOf(entry.PlayListFileName), true).filename();
    AAA_VERIFY(entry.PlayListFileName, Utility::IsFirstPlaybackOrMenuPlayListFileName(fileName));
  }
}

void RestoreIndexTable::StoreNewIndexTable() {
  IndexTableFile newIndexTableFile;
  newIndexTableFile.blkIndexes.NumberOfMovieTitles.SetValue(0);
  auto& table = newIndexTableFile.blkExtensionData.blkDataBlock.blkTableOfPlayLists;
  table.blkFirstPlaybackTitlePlayLists.NumberOfPlayLists.SetValue(0);
  table.blkMenuTitlePlayLists.NumberOfPlayLists.SetValue(0);
  table.NumberOfMovieTitlePlayListPair.SetValue(0);
  newIndexTableFile.Initialize();

  // The new table names the television systems of the playlists, and only those.
  auto& appInfo = newIndexTableFile.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD;
  for (AAA::FieldBase* flag : {&appInfo.Is24, &appInfo.Is50, &appInfo.Is60}) flag->SetValue(0);
  for (const auto& moviePlayListFile : playList_->Store()) {
    for (const auto& item : moviePlayListFile.blkPlayList.blkPlayItemArray) {
      if (auto* flag = SystemFlag(appInfo, item)) flag->SetValue(1);
    }
  }
  AAA_VERIFY(appInfo.Is24, (newIndexTableFile.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD.Is24 == 1) ||
                               (newIndexTableFile.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD.Is50 == 1) ||
                               (newIndexTableFile.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD.Is60 == 1));
  AAA_VERIFY(appInfo.Is50, (newIndexTableFile.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD.Is50 == 0) ||
                               (newIndexTableFile.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD.Is60 == 0));

  // Any non-zero address makes the makers private data present; writing
  // computes the true one.
  auto& extension = newIndexTableFile.blkExtensionData.blkDataBlock;
  extension.MakersPrivateDataStartAddress.SetValue(1);
  extension.blkMakersPrivateData.Initialize();
  auto& titleExtension =
      extension.blkMakersPrivateData.blkDataBlock.blkPRO_MakersPrivateArea.blkPro_MovieTitleExtensionInfo;
  titleExtension.NumberOfMovieTitlePlayListPair.SetValue(0);
  for (const auto& moviePlayListFile : playList_->Store()) {
    titleExtension.NumberOfMovieTitlePlayListPair.Increment();
    auto& entry = titleExtension.blkMovieTitleExtDataArray.Back();
    entry.Initialize();
    if (const auto* video = FirstVideoAttributes(moviePlayListFile)) {
      entry.VideoFormat.SetValue(video->VideoFormat);
      entry.FrameRate.SetValue(video->FrameRate);
    }
  }

  // The table read from the card, if any, is given up: the new one is the
  // one repaired and written. No title of it plays a playlist yet.
  store_.clear();
  StoreCopy(store_, newIndexTableFile);
  for (auto& moviePlayListFile : playList_->Store()) moviePlayListFile.IndexFlag = false;
}

void RestoreIndexTable::Repair() {
  AddTitles();
  while (true) {
    RemoveUnusableCommands();
    if (!RemoveUnusableTitles()) break;
  }
  // A title removed by the passes leaves its playlist without one: the
  // playlist gets a new title, which needs no further pass.
  MarkPlayListsWithTitle();
  AddTitles();
  CorrectTitleObjectReferences();
  CorrectLastTimeCode();
}

void RestoreIndexTable::AddTitles() {
  for (auto& moviePlayListFile : playList_->Store()) {
    if (!moviePlayListFile.IndexFlag && !moviePlayListFile.SkipMark) AddTitle(moviePlayListFile);
  }
}

void RestoreIndexTable::AddTitle(BlkMoviePlayListFile& moviePlayListFile) {
  auto& indexTableFile = Model();
  auto& movieObjects = movieObject_->Model().blkMovieObjects;
  movieObjects.NumberOfMobjs.Increment();
  auto& movieObject = movieObjects.blkMovieObjectArray.Back();
  movieObject.NumberOfNavigationCommands.SetValue(1);
  const auto* video = FirstVideoAttributes(moviePlayListFile);
  if (video != nullptr && video->VideoFormat == Field::VideoFormat::k1080p &&
      (video->FrameRate == Field::FrameRate::k5994 || video->FrameRate == Field::FrameRate::k50)) {
    movieObject.NavigationCommandArray.Back().SetBytes(kProgressiveOutputCommand);
    movieObject.NumberOfNavigationCommands.Increment();
    movieObject.Initialize();
  }
  movieObject.NavigationCommandArray.Back().SetBytes(PlayCommand(PlayListNumber(moviePlayListFile.BaseName)));

  auto& indexes = indexTableFile.blkIndexes;
  AAA_CORRECT(indexes.NumberOfMovieTitles, indexTableFile.blkIndexes.NumberOfMovieTitles + 1);
  auto& title = indexes.blkMovieTitleArray.Back();
  title.Initialize();
  title.MovieTitleMobjIDRef.SetValue(movieObjects.NumberOfMobjs - 1);

  auto& table = indexTableFile.blkExtensionData.blkDataBlock.blkTableOfPlayLists;
  AAA_CORRECT(table.NumberOfMovieTitlePlayListPair,
              indexTableFile.blkExtensionData.blkDataBlock.blkTableOfPlayLists.NumberOfMovieTitlePlayListPair + 1);
  auto& pair = table.blkMovieTitlePlayListPairArray.Back();
  pair.Initialize();
  pair.PlayListFileName.SetBytes(TextBytes(moviePlayListFile.BaseName));
  pair.RefToTitleId.SetValue(indexes.NumberOfMovieTitles - 1);
  moviePlayListFile.IndexFlag = true;
}

void RestoreIndexTable::MarkPlayListsWithTitle() {
  auto& indexTableFile = Model();
  for (auto& moviePlayListFile : playList_->Store()) moviePlayListFile.IndexFlag = false;
  for (const auto& pair :
       indexTableFile.blkExtensionData.blkDataBlock.blkTableOfPlayLists.blkMovieTitlePlayListPairArray) {
    if (pair.PlayListAttribute != Field::PlayListAttribute::kReal ||
        pair.RefToTitleId >= indexTableFile.blkIndexes.NumberOfMovieTitles) {
      continue;
    }
    if (auto* moviePlayListFile = playList_->Find(TextOf(pair.PlayListFileName))) moviePlayListFile->IndexFlag = true;
  }
}

bool RestoreIndexTable::RemoveUnusableTitles() {
  auto& titles = Model().blkIndexes.blkMovieTitleArray;
  bool removed = false;
  for (std::size_t position = 0; position < titles.Size();) {
    try {
      CheckTitle(position);
      ++position;
    } catch (const AAA::InvalidDataException&) {
      // The title that followed now stands at this position.
      RemoveTitle(position);
      removed = true;
    }
  }
  return removed;
}

// A title plays exactly one playlist, jumps to no other movie object and
// calls no title, and a pair names the playlist it plays.
void RestoreIndexTable::CheckTitle(std::size_t position) {
  auto& indexTableFile = Model();
  auto& movieObjectFile = movieObject_->Model();
  const auto itTitle = indexTableFile.blkIndexes.blkMovieTitleArray.begin() + static_cast<std::ptrdiff_t>(position);
  AAA_VERIFY(itTitle->MovieTitleMobjIDRef,
             itTitle->MovieTitleMobjIDRef < movieObjectFile.blkMovieObjects.NumberOfMobjs);
  const auto& movieObject = movieObjectFile.blkMovieObjects.blkMovieObjectArray[itTitle->MovieTitleMobjIDRef];
  std::uint32_t count = 0;
  for (const auto& command : movieObject.NavigationCommandArray) {
    if (command.MatchesAny(AVCHD::MovieObject::kPlayPlayListCommands)) ++count;
  }
  AAA_VERIFY(movieObject.NumberOfNavigationCommands, count == 1);
  for (const auto& command : movieObject.NavigationCommandArray) {
    AAA::Verify(command, !command.MatchesAny(AVCHD::MovieObject::kCommandsNotAllowedInMovieTitle),
                AAA::Rule{kNoJumpOrCallRule, __FILE__, __LINE__});
  }
  bool refered = false;
  for (const auto& pair :
       indexTableFile.blkExtensionData.blkDataBlock.blkTableOfPlayLists.blkMovieTitlePlayListPairArray) {
    if (pair.RefToTitleId == position) refered = true;
  }
  AAA_VERIFY(itTitle->MovieTitleMobjIDRef, refered);
}

// Erases the title and its pairs; the pairs of later titles follow them down.
void RestoreIndexTable::RemoveTitle(std::size_t position) {
  auto& indexTableFile = Model();
  indexTableFile.blkIndexes.blkMovieTitleArray.Erase(position);
  AAA_CORRECT(indexTableFile.blkIndexes.NumberOfMovieTitles, indexTableFile.blkIndexes.NumberOfMovieTitles - 1);
  auto& table = indexTableFile.blkExtensionData.blkDataBlock.blkTableOfPlayLists;
  auto& pairs = table.blkMovieTitlePlayListPairArray;
  for (std::size_t i = 0; i < pairs.Size();) {
    const auto itPair = pairs.begin() + static_cast<std::ptrdiff_t>(i);
    if (itPair->RefToTitleId == position) {
      pairs.Erase(i);
      AAA_CORRECT(table.NumberOfMovieTitlePlayListPair,
                  indexTableFile.blkExtensionData.blkDataBlock.blkTableOfPlayLists.NumberOfMovieTitlePlayListPair - 1);
      continue;
    }
    if (itPair->RefToTitleId > position) AAA_CORRECT(itPair->RefToTitleId, itPair->RefToTitleId - 1);
    ++i;
  }
}

// A jump to or call of a title by number must name one of the table; a
// movie object left without commands is removed with the titles it runs,
// and the references to later objects follow them down.
void RestoreIndexTable::RemoveUnusableCommands() {
  auto& indexTableFile = Model();
  auto& movieObjectFile = movieObject_->Model();
  auto& objects = movieObjectFile.blkMovieObjects.blkMovieObjectArray;
  const auto checkTitleNumber = [&indexTableFile](const NavigationCommand& command) {
    if (!command.Matches({0x21, 0x81, 0x00, 0x00}) && !command.Matches({0x21, 0x83, 0x00, 0x00})) return;
    const std::uint32_t titleNumber = command.Operand1();
    AAA_VERIFY(command, titleNumber <= indexTableFile.blkIndexes.NumberOfMovieTitles);
  };
  for (std::size_t position = 0; position < objects.Size();) {
    RestoreMovieObject::RemoveFailingCommands(objects[position], checkTitleNumber);
    if (!objects[position].NavigationCommandArray.Empty()) {
      ++position;
      continue;
    }
    objects.Erase(position);
    AAA_CORRECT(movieObjectFile.blkMovieObjects.NumberOfMobjs, movieObjectFile.blkMovieObjects.NumberOfMobjs - 1);
    auto& titles = indexTableFile.blkIndexes.blkMovieTitleArray;
    for (std::size_t t = 0; t < titles.Size();) {
      const auto itTitle = titles.begin() + static_cast<std::ptrdiff_t>(t);
      if (itTitle->MovieTitleMobjIDRef == position) {
        RemoveTitle(t);
        continue;
      }
      if (itTitle->MovieTitleMobjIDRef > position) {
        AAA_CORRECT(itTitle->MovieTitleMobjIDRef, itTitle->MovieTitleMobjIDRef - 1);
      }
      ++t;
    }
    // First playback and menu run objects by number as well.
    auto& indexes = indexTableFile.blkIndexes;
    for (AAA::FieldBase* reference :
         {static_cast<AAA::FieldBase*>(&indexes.blkFirstPlaybackTitle.FirstPlaybackTitleMobjIDRef),
          static_cast<AAA::FieldBase*>(&indexes.blkMenuTitle.MenuTitleMobjIDRef)}) {
      if (*reference == position) AAA_CORRECT(*reference, 0xffff);
      if (*reference > position && *reference != 0xffff) AAA_CORRECT(*reference, *reference - 1);
    }
  }
}

// References past the movie objects become "none"; a first playback or menu
// that runs no object plays no playlist either.
void RestoreIndexTable::CorrectTitleObjectReferences() {
  auto& indexTableFile = Model();
  const std::uint32_t numberOfMobjs = movieObject_->Model().blkMovieObjects.NumberOfMobjs;
  auto& first = indexTableFile.blkIndexes.blkFirstPlaybackTitle.FirstPlaybackTitleMobjIDRef;
  if (!AAA_REPORT_FAILURE(
          first, (indexTableFile.blkIndexes.blkFirstPlaybackTitle.FirstPlaybackTitleMobjIDRef < numberOfMobjs) ||
                     (indexTableFile.blkIndexes.blkFirstPlaybackTitle.FirstPlaybackTitleMobjIDRef == 0xffff))) {
    AAA_CORRECT(first, 0xffff);
  }
  auto& menu = indexTableFile.blkIndexes.blkMenuTitle.MenuTitleMobjIDRef;
  if (!AAA_REPORT_FAILURE(menu, (indexTableFile.blkIndexes.blkMenuTitle.MenuTitleMobjIDRef < numberOfMobjs) ||
                                    (indexTableFile.blkIndexes.blkMenuTitle.MenuTitleMobjIDRef == 0xffff))) {
    AAA_CORRECT(menu, 0xffff);
  }
  auto& table = indexTableFile.blkExtensionData.blkDataBlock.blkTableOfPlayLists;
  if (first == 0xffff) AAA_CORRECT(table.blkFirstPlaybackTitlePlayLists.NumberOfPlayLists, 0U);
  if (menu == 0xffff) AAA_CORRECT(table.blkMenuTitlePlayLists.NumberOfPlayLists, 0U);
}

// The time code at the end of the last recording: that of the last clip of
// the last title's playlist.
void RestoreIndexTable::CorrectLastTimeCode() {
  auto& indexTableFile = Model();
  const auto& pairs = indexTableFile.blkExtensionData.blkDataBlock.blkTableOfPlayLists.blkMovieTitlePlayListPairArray;
  if (pairs.Empty()) return;
  const auto* moviePlayListFile = playList_->Find(TextOf(pairs[pairs.Size() - 1].PlayListFileName));
  if (moviePlayListFile == nullptr || moviePlayListFile->blkPlayList.blkPlayItemArray.Empty()) return;
  const auto& items = moviePlayListFile->blkPlayList.blkPlayItemArray;
  const auto clipInfo = clipInformation_->FindClip(TextOf(items[items.Size() - 1].ClipInformationFileName));
  auto& extension = indexTableFile.blkExtensionData.blkDataBlock;
  auto& indexInfo = extension.blkMakersPrivateData.blkDataBlock.blkPRO_IndexInfo;
  if (clipInfo == nullptr || extension.MakersPrivateDataStartAddress == 0) return;
  if (indexInfo.Tag_ID != AVCHD::IndexTablePro::kTagIndexInfo) return;
  AAA_CORRECT(indexInfo.LastTimeCode, clipInfo->LastTimeCode);
}

bool RestoreIndexTable::IsModified() const { return AnyNeedsWrite(store_); }

void RestoreIndexTable::AddPlannedWrites(std::vector<PlannedWrite>& writes) const {
  if (store_.empty()) return;
  writes.push_back(PlannedWriteOf(store_.front(), Utility::IndexTableFile(*folder_), FileKind::IndexTable));
}

void RestoreIndexTable::Stamp() {
  for (auto& indexTableFile : store_) {
    auto& appInfo = indexTableFile.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD;
    appInfo.MakerID.SetValue(AVCHD::AVCHD_MAKER_ID);
    appInfo.MakerModelCode.SetValue(AVCHD::AVCHD_MAKER_MODEL_CODE);
    appInfo.AVCHDWriteProtectFlag.SetValue(0);
    if (Utility::CurrentTimeBcd(appInfo.RecordTimeAndDate))
      appInfo.blkTimeZone.SetValue(AVCHD::AVCHD_DEFAULT_TIME_ZONE);
  }
}

void RestoreIndexTable::AddChanges(ChangeSet& changes) {
  AddNeededWrites(store_, Utility::IndexTableFile(*folder_), FileKind::IndexTable, changes);
}

}  // namespace Restore
