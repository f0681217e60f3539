#include "restorelib/Restore_RestoreMoviePlayList.h"

#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_Maker.h"
#include "restorelib/Restore_ClipValues.h"
#include "restorelib/Restore_ModelFile.h"

namespace Restore {

namespace Field = AVCHD::Field;

using AVCHD::AVCHD_DEFAULT_TIME_ZONE;
using AVCHD::AVCHD_MAKER_ID;
using AVCHD::AVCHD_MAKER_MODEL_CODE;
namespace fs = std::filesystem;

using AVCHD::Common::TextOf;
using AVCHD::MoviePlayList::BlkPlayItem;
using AVCHD::MoviePlayList::BlkStreamAttributes;
using AVCHD::MoviePlayList::BlkStreamEntry;

namespace {

// The rules of the PRO mark count carry the names of the format's tables.
constexpr const char* kProMarkCountRule =
    "moviePlayListFile.blkExtensionData.blkDataBlock.blkMakersPrivateData.blkPrivateDataBlock.blkPRO_PlayListInfo."
    "NumberOfPlayListMarks";
constexpr const char* kProMarkCountLessOneRule =
    "moviePlayListFile.blkExtensionData.blkDataBlock.blkMakersPrivateData.blkPrivateDataBlock.blkPRO_PlayListInfo."
    "NumberOfPlayListMarks - 1";

// The sub-path rules of the stream entries of each kind.
constexpr const char* kVideoSubPathRule =
    "itPlayItem->blkSTNTable.blkStreamEntryVideoArray[i].RefToSubPathID < "
    "moviePlayListFile.blkPlayList.NumberOfSubPaths";
constexpr const char* kAudioSubPathRule =
    "itPlayItem->blkSTNTable.blkStreamEntryAudioArray[i].RefToSubPathID < "
    "moviePlayListFile.blkPlayList.NumberOfSubPaths";
constexpr const char* kOBSubPathRule =
    "itPlayItem->blkSTNTable.blkStreamEntryOBArray[i].RefToSubPathID < moviePlayListFile.blkPlayList.NumberOfSubPaths";
constexpr const char* kMBSubPathRule =
    "itPlayItem->blkSTNTable.blkStreamEntryMBArray[i].RefToSubPathID < moviePlayListFile.blkPlayList.NumberOfSubPaths";

// Stream entries of a sub-path must name one; the attributes of each
// stream must be those of the clip's stream of the same coding type.
template <class Compare>
void VerifyStreams(const AAA::Array<BlkStreamEntry>& entries, const AAA::Array<BlkStreamAttributes>& attributes,
                   const char* subPathRule, std::uint32_t numberOfSubPaths,
                   const AVCHD::ClipInformation::BlkClipInformationFile& clipInfo, Compare compare) {
  for (const auto& entry : entries) {
    if (entry.Type == Field::StreamEntryType::kSubPath)
      AAA::Verify(entry.RefToSubPathID, entry.RefToSubPathID < numberOfSubPaths, AAA_RULE(subPathRule));
  }
  for (const auto& attribute : attributes) {
    const auto* codingInfo = CodingInfoOfType(clipInfo, attribute.StreamCodingType);
    AAA_VERIFY(attribute.StreamCodingType, codingInfo != NULL);
    compare(attribute, *codingInfo);
  }
}

}  // namespace

const BlkStreamAttributes* FirstVideoAttributes(const BlkPlayItem& item) {
  const auto& attributes = item.blkSTNTable.blkVideoStreamAttributesArray;
  return attributes.Empty() ? nullptr : &attributes[0];
}

const BlkStreamAttributes* FirstVideoAttributes(const RestoreMoviePlayList::MoviePlayListFile& moviePlayListFile) {
  const auto& items = moviePlayListFile.blkPlayList.blkPlayItemArray;
  return items.Empty() ? nullptr : FirstVideoAttributes(items[0]);
}

PlayListMarks::PlayListMarks(AVCHD::MoviePlayList::BlkMoviePlayListFile& file)
    : moviePlayListFile(file),
      marks(file.blkPlayListMark),
      extensions(file.blkExtensionData.blkDataBlock.blkPlayListMarkExt),
      pro(nullptr) {
  auto& extension = file.blkExtensionData.blkDataBlock;
  auto& info = extension.blkMakersPrivateData.blkDataBlock.PRO_PlayListInfo;
  if (extension.MakersPrivateDataStartAddress != 0 && info.Tag_ID == AVCHD::MoviePlayListPro::kTagPlayListInfo) {
    pro = &info;
  }
}

void PlayListMarks::Erase(std::size_t position) {
  marks.blkPlayListMarkArray.Erase(position);
  AAA_CORRECT(marks.NumberOfPlayListMarks, moviePlayListFile.blkPlayListMark.NumberOfPlayListMarks - 1);
  if (position < extensions.blkMarkExtensionArray.Size()) {
    extensions.blkMarkExtensionArray.Erase(position);
    AAA_CORRECT(extensions.NumberOfPlayListMarks,
                moviePlayListFile.blkExtensionData.blkDataBlock.blkPlayListMarkExt.NumberOfPlayListMarks - 1);
  }
  if (pro != nullptr && position < pro->blkPRO_PlayListMarkArray.Size()) {
    pro->blkPRO_PlayListMarkArray.Erase(position);
    AAA::Correct(pro->NumberOfPlayListMarks, pro->NumberOfPlayListMarks - 1,
                 {kProMarkCountLessOneRule, __FILE__, __LINE__});
  }
}

RestoreMoviePlayList::RestoreMoviePlayList(const AvchdFolder& folder, RestoreClipInformation& clipInformation,
                                           RestoreThumbnail& thumbnail, Thread& run)
    : folder_(&folder), clipInformation_(&clipInformation), thumbnail_(&thumbnail), run_(&run) {}

void RestoreMoviePlayList::ReadForMakerCheck(const fs::path& file) {
  MoviePlayListFile moviePlayListFile;
  ReadModelFile(file, moviePlayListFile, kMaxFileBytes);
}

void RestoreMoviePlayList::VerifyMoviePlayList() {
  AAA::Log::Heading("verify Movie PlayList");
  ClearStore();
  filesToDelete_.clear();
  const fs::path pattern = Utility::PlayListPattern(*folder_);
  for (const auto& name : NamesWithBackupCopies(*folder_, pattern)) {
    if (!Utility::IsMoviePlayListFileName(name)) continue;
    LoadMoviePlayList(pattern.parent_path() / name, name.substr(0, 5));
    run_->CheckPoint();
    run_->SetProgress(100);
  }
  if (store_.size() > kMaxPlayLists) AAA_THROW(AAA::InvalidDataException());
  auto& clips = clipInformation_->Clips();
  for (std::size_t index = 0; index < clips.Size(); ++index) {
    if (clips.ValuesAt(index).Refered == 0) AddClip(*clips.Open(index));
  }
}

void RestoreMoviePlayList::LoadMoviePlayList(const fs::path& file, const std::string& baseName) {
  const bool read = ReadFileOrItsCopy(
      *folder_, file, [&](const fs::path& source) -> auto& {
        MoviePlayListFile moviePlayListFile;
        ReadModelFile(source, moviePlayListFile, kMaxFileBytes);
        moviePlayListFile.BaseName = baseName;
        VerifyPlayList(moviePlayListFile);
        return StoreCopy(store_, moviePlayListFile);
      });
  // A playlist that cannot be used is dropped; its clips get new ones.
  if (!read && Utility::Exists(file)) filesToDelete_.push_back(file);
}

void RestoreMoviePlayList::VerifyPlayList(MoviePlayListFile& moviePlayListFile) {
  PlayListMarks playListMarks(moviePlayListFile);
  const auto verifyMarkCounts = [&] {
    AAA_VERIFY_EQUAL(playListMarks.marks.NumberOfPlayListMarks,
                     moviePlayListFile.blkExtensionData.blkDataBlock.blkPlayListMarkExt.NumberOfPlayListMarks);
    if (playListMarks.pro != nullptr) {
      AAA::VerifyEqual(playListMarks.marks.NumberOfPlayListMarks, &playListMarks.pro->NumberOfPlayListMarks,
                       {kProMarkCountRule, __FILE__, __LINE__});
    }
  };
  verifyMarkCounts();

  auto& items = moviePlayListFile.blkPlayList.blkPlayItemArray;
  for (std::size_t index = 0; index < items.Size();) {
    try {
      VerifyPlayItem(moviePlayListFile, index);
      ++index;
    } catch (const AAA::InvalidDataException&) {
      // The play item that followed now stands at this position. A
      // playlist left without play items cannot be read back: lowering
      // the count to 0 throws, and the playlist is dropped.
      RemovePlayItem(moviePlayListFile, index);
    }
  }
  if (!items.Empty()) AAA_CORRECT(items[0].ConnectionCondition, 1);

  VerifySubPaths(moviePlayListFile);
  verifyMarkCounts();
  VerifyMarks(moviePlayListFile);
  auto& meta = moviePlayListFile.blkExtensionData.blkDataBlock.blkPlayListMeta;
  if (!thumbnail_->ThumbnailExists(meta.RefToMenuThumbnailIndex)) AAA_CORRECT(meta.RefToMenuThumbnailIndex, 0xffff);
}

void RestoreMoviePlayList::VerifyPlayItem(MoviePlayListFile& moviePlayListFile, std::size_t index) {
  auto itPlayItem = moviePlayListFile.blkPlayList.blkPlayItemArray.begin() + static_cast<std::ptrdiff_t>(index);
  auto clipInfo = clipInformation_->FindClip(TextOf(itPlayItem->ClipInformationFileName));
  AAA_VERIFY(itPlayItem->ClipInformationFileName, clipInfo != NULL);
  AAA_VERIFY(itPlayItem->RefToSTCID, itPlayItem->RefToSTCID < clipInfo->blkSequenceInfo.NumberOfSTCSequences);
  if (!AAA_REPORT_FAILURE(
          itPlayItem->INTime,
          itPlayItem->INTime >=
              clipInfo->blkSequenceInfo.blkSTCSequenceArray[itPlayItem->RefToSTCID].PresentationStartTime)) {
    AAA_CORRECT(itPlayItem->INTime,
                clipInfo->blkSequenceInfo.blkSTCSequenceArray[itPlayItem->RefToSTCID].PresentationStartTime);
  }
  if (!AAA_REPORT_FAILURE(
          itPlayItem->OUTTime,
          itPlayItem->OUTTime <=
              clipInfo->blkSequenceInfo.blkSTCSequenceArray[itPlayItem->RefToSTCID].PresentationEndTime)) {
    AAA_CORRECT(itPlayItem->OUTTime,
                clipInfo->blkSequenceInfo.blkSTCSequenceArray[itPlayItem->RefToSTCID].PresentationEndTime);
  }
  AAA_VERIFY(itPlayItem->INTime, itPlayItem->INTime < itPlayItem->OUTTime);

  const auto& stn = itPlayItem->blkSTNTable;
  const std::uint32_t subPaths = moviePlayListFile.blkPlayList.NumberOfSubPaths;
  VerifyStreams(stn.blkStreamEntryVideoArray, stn.blkVideoStreamAttributesArray, kVideoSubPathRule, subPaths, *clipInfo,
                [](const BlkStreamAttributes& attributes, const auto& codingInfo_) {
                  const auto* codingInfo = &codingInfo_;
                  AAA_VERIFY_EQUAL(attributes.VideoFormat, codingInfo->VideoFormat);
                  AAA_VERIFY_EQUAL(attributes.FrameRate, codingInfo->FrameRate);
                });
  VerifyStreams(stn.blkStreamEntryAudioArray, stn.blkAudioStreamAttributesArray, kAudioSubPathRule, subPaths, *clipInfo,
                [](const BlkStreamAttributes& attributes, const auto& codingInfo_) {
                  const auto* codingInfo = &codingInfo_;
                  AAA_VERIFY_EQUAL(attributes.AudioPresentationType, codingInfo->AudioPresentationType);
                  AAA_VERIFY_EQUAL(attributes.SamplingFrequency, codingInfo->SamplingFrequency);
                  AAA_VERIFY_EQUAL(attributes.AudioLanguageCode, codingInfo->AudioLanguageCode);
                });
  VerifyStreams(stn.blkStreamEntryOBArray, stn.blkOBStreamAttributesArray, kOBSubPathRule, subPaths, *clipInfo,
                [](const BlkStreamAttributes& attributes, const auto& codingInfo_) {
                  const auto* codingInfo = &codingInfo_;
                  AAA_VERIFY_EQUAL(attributes.OBLanguageCode, codingInfo->OBLanguageCode);
                });
  VerifyStreams(stn.blkStreamEntryMBArray, stn.blkMBStreamAttributesArray, kMBSubPathRule, subPaths, *clipInfo,
                [](const BlkStreamAttributes& attributes, const auto& codingInfo_) {
                  const auto* codingInfo = &codingInfo_;
                  AAA_VERIFY_EQUAL(attributes.MBLanguageCode, codingInfo->MBLanguageCode);
                });

  // A clip is played by one play item only.
  AAA_VERIFY_EQUAL(clipInfo->Refered, 0U);
  LinkPlayItem(moviePlayListFile, index, *clipInfo);
  clipInfo->Refered.SetValue(1);
}

void RestoreMoviePlayList::RemovePlayItem(MoviePlayListFile& moviePlayListFile, std::size_t index) {
  auto& items = moviePlayListFile.blkPlayList.blkPlayItemArray;
  items.Erase(index);
  AAA_CORRECT(moviePlayListFile.blkPlayList.NumberOfPlayItems, moviePlayListFile.blkPlayList.NumberOfPlayItems - 1);
  PlayListMarks playListMarks(moviePlayListFile);
  auto& marks = playListMarks.marks.blkPlayListMarkArray;
  for (std::size_t position = 0; position < marks.Size();) {
    const auto itMark = marks.begin() + static_cast<std::ptrdiff_t>(position);
    if (itMark->RefToPlayItemID == index) {
      playListMarks.Erase(position);
      continue;
    }
    if (itMark->RefToPlayItemID > index) AAA_CORRECT(itMark->RefToPlayItemID, itMark->RefToPlayItemID - 1);
    ++position;
  }
  if (index < items.Size()) AAA_CORRECT(items[index].ConnectionCondition, 1);
}

// A sub-path whose first sub-play item does not lie within its clip is
// removed; sub-play items themselves are never corrected.
void RestoreMoviePlayList::VerifySubPaths(MoviePlayListFile& moviePlayListFile) {
  auto& subPaths = moviePlayListFile.blkPlayList.blkSubPathArray;
  for (std::size_t position = 0; position < subPaths.Size();) {
    try {
      auto& subPath = subPaths[position];
      AAA_VERIFY(subPath.NumberOfSubPlayItems, !subPath.blkSubPlayItemArray.Empty());
      const auto& blkSubPlayItem = subPath.blkSubPlayItemArray[0];
      const auto clipInfo = clipInformation_->FindClip(TextOf(blkSubPlayItem.ClipInformationFileName));
      AAA_VERIFY(blkSubPlayItem.ClipInformationFileName, clipInfo != NULL);
      AAA_VERIFY(blkSubPlayItem.RefToSTCID, blkSubPlayItem.RefToSTCID < clipInfo->blkSequenceInfo.NumberOfSTCSequences);
      AAA_VERIFY(blkSubPlayItem.SubPlayItemINTime,
                 blkSubPlayItem.SubPlayItemINTime >=
                     clipInfo->blkSequenceInfo.blkSTCSequenceArray[blkSubPlayItem.RefToSTCID].PresentationStartTime);
      AAA_VERIFY(blkSubPlayItem.SubPlayItemOUTTime,
                 blkSubPlayItem.SubPlayItemOUTTime <=
                     clipInfo->blkSequenceInfo.blkSTCSequenceArray[blkSubPlayItem.RefToSTCID].PresentationEndTime);
      AAA_VERIFY(blkSubPlayItem.SubPlayItemINTime,
                 blkSubPlayItem.SubPlayItemINTime < blkSubPlayItem.SubPlayItemOUTTime);
      ++position;
    } catch (const AAA::InvalidDataException&) {
      subPaths.Erase(position);
      AAA_CORRECT(moviePlayListFile.blkPlayList.NumberOfSubPaths, moviePlayListFile.blkPlayList.NumberOfSubPaths - 1);
    }
  }
}

// Every mark names a play item whose clip exists; its extension and PRO
// mark carry the clip's time codes and name thumbnails that exist.
void RestoreMoviePlayList::VerifyMarks(MoviePlayListFile& moviePlayListFile) {
  PlayListMarks playListMarks(moviePlayListFile);
  auto& marks = playListMarks.marks.blkPlayListMarkArray;
  const auto& items = moviePlayListFile.blkPlayList.blkPlayItemArray;
  for (std::size_t position = 0; position < marks.Size();) {
    const auto itMark = marks.begin() + static_cast<std::ptrdiff_t>(position);
    ClipStore::Clip clipInfo;
    try {
      AAA_VERIFY(itMark->RefToPlayItemID, itMark->RefToPlayItemID < moviePlayListFile.blkPlayList.NumberOfPlayItems);
      clipInfo = clipInformation_->FindClip(TextOf(items[itMark->RefToPlayItemID].ClipInformationFileName));
      AAA_VERIFY(itMark->RefToPlayItemID, clipInfo != NULL);
    } catch (const AAA::InvalidDataException&) {
      playListMarks.Erase(position);
      continue;
    }
    auto& extension = playListMarks.extensions.blkMarkExtensionArray[position];
    if (!thumbnail_->ThumbnailExists(extension.RefToMarkThumbnailIndex)) {
      AAA_CORRECT(extension.RefToMarkThumbnailIndex, 0xffff);
    }
    if (itMark->MarkType == Field::MarkType::kEntryMark) {
      if (items[itMark->RefToPlayItemID].ConnectionCondition == 6 || clipInfo->FirstSetFlag != 0) {
        AAA_CORRECT(extension.blkTimeCode, clipInfo->StartTimeCode1);
      } else {
        AAA_CORRECT(extension.blkTimeCode, clipInfo->StartTimeCode2);
      }
    }
    const auto* proClipInfo = ProClipInfo(*clipInfo);
    if (playListMarks.pro != nullptr && proClipInfo != nullptr) {
      auto& proMark = playListMarks.pro->blkPRO_PlayListMarkArray[position];
      const auto& blkProClipInfo = *proClipInfo;
      if (proMark.MarkType == Field::MarkType::kEntryMark) {
        AAA_CORRECT(proMark.StartTimeCode, blkProClipInfo.StartTimeCode);
        AAA_CORRECT(proMark.StartBinaryGroup, blkProClipInfo.StartBinaryGroup);
        AAA_CORRECT(proMark.GlobalClipID, blkProClipInfo.GlobalClipID);
      }
    }
    ++position;
  }
}

// Brings play item `index` and its clip together: the connection follows
// the clip before it, the clip's first sequence starts where the stream's
// first picture does, and the play item spans its STC sequence.
void RestoreMoviePlayList::LinkPlayItem(MoviePlayListFile& moviePlayListFile, std::size_t index,
                                        ClipInformationFile& clipInformationFile) {
  auto& items = moviePlayListFile.blkPlayList.blkPlayItemArray;
  auto& blkPlayItem = items[index];
  if (index > 0) {
    const auto previous = clipInformation_->FindClip(TextOf(items[index - 1].ClipInformationFileName));
    if (previous == nullptr) {
      AAA_CORRECT(blkPlayItem.ConnectionCondition, 1);
    } else if (previous->blkClipInfo.IsCC5 == 1) {
      AAA_CORRECT(blkPlayItem.ConnectionCondition, 5);
    } else if (blkPlayItem.ConnectionCondition == 5) {
      AAA_CORRECT(blkPlayItem.ConnectionCondition, 1);
    }
  }

  // The start values of the stream belong to its first STC sequence; a
  // later sequence keeps the start the clip step measured.
  auto& sequence = clipInformationFile.blkSequenceInfo.blkSTCSequenceArray[blkPlayItem.RefToSTCID];
  if (blkPlayItem.RefToSTCID == 0) {
    if (blkPlayItem.ConnectionCondition == 6 || clipInformationFile.FirstSetFlag != 0) {
      AAA_CORRECT(sequence.PresentationStartTime, clipInformationFile.StartPts1);
    } else {
      AAA_CORRECT(sequence.PresentationStartTime, clipInformationFile.StartPts2);
    }
  }
  if (blkPlayItem.ConnectionCondition != 6) {
    if (auto* proClipInfo = ProClipInfo(clipInformationFile)) {
      if (clipInformationFile.FirstSetFlag != 0) {
        AAA_CORRECT(proClipInfo->StartTimeCode, clipInformationFile.StartTimeCode1);
      } else {
        AAA_CORRECT(proClipInfo->StartTimeCode, clipInformationFile.StartTimeCode2);
      }
      AAA_CORRECT(proClipInfo->StartBinaryGroup, clipInformationFile.StartBinaryGroup);
    }
  }
  const auto& presentationTimes = clipInformationFile.PresentationTimes;
  if (blkPlayItem.RefToSTCID < presentationTimes.size() && presentationTimes[blkPlayItem.RefToSTCID] != 0) {
    // The rule names the paired time as the sequence's own, as the log always has.
    AAA::Correct(sequence.PresentationEndTime,
                 AAA::ExpectedOf(sequence.PresentationStartTime + presentationTimes[blkPlayItem.RefToSTCID]),
                 AAA_RULE("clipInformationFile.blkSequenceInfo.blkSTCSequenceArray[blkPlayItem.RefToSTCID]."
                          "PresentationStartTime + "
                          "clipInformationFile.blkSequenceInfo.blkSTCSequenceArray[blkPlayItem.RefToSTCID]."
                          "PresentationTime"));
  }
  if (clipInformationFile.IsModified()) StampClipMaker(clipInformationFile);
  AAA_CORRECT(blkPlayItem.INTime,
              clipInformationFile.blkSequenceInfo.blkSTCSequenceArray[blkPlayItem.RefToSTCID].PresentationStartTime);
  AAA_CORRECT(blkPlayItem.OUTTime,
              clipInformationFile.blkSequenceInfo.blkSTCSequenceArray[blkPlayItem.RefToSTCID].PresentationEndTime);

  // Marks lie within their play items; the first entry mark of each play
  // item sits at its start. Only this play item's marks can move: those of
  // the items linked before it were brought within them then, and a playlist
  // of a thousand items and marks is linked in linear time.
  auto& marks = moviePlayListFile.blkPlayListMark.blkPlayListMarkArray;
  for (auto itMark = marks.begin(); itMark != marks.end(); ++itMark) {
    AAA_VERIFY(itMark->RefToPlayItemID, itMark->RefToPlayItemID < moviePlayListFile.blkPlayList.NumberOfPlayItems);
    if (itMark->RefToPlayItemID != index) continue;
    itMark->MarkTimeStamp.SetBytes(itMark->MarkTimeStamp.BaselineBytes());
    if (!AAA_REPORT_FAILURE(
            itMark->MarkTimeStamp,
            (itMark->MarkTimeStamp >= moviePlayListFile.blkPlayList.blkPlayItemArray[itMark->RefToPlayItemID].INTime) &&
                (itMark->MarkTimeStamp <
                 moviePlayListFile.blkPlayList.blkPlayItemArray[itMark->RefToPlayItemID].OUTTime))) {
      AAA_CORRECT(itMark->MarkTimeStamp,
                  moviePlayListFile.blkPlayList.blkPlayItemArray[itMark->RefToPlayItemID].INTime);
    }
    const bool startsItsPlayItem = itMark == marks.begin() || (itMark - 1)->RefToPlayItemID != itMark->RefToPlayItemID;
    if (itMark->MarkType == Field::MarkType::kEntryMark && startsItsPlayItem) {
      AAA_CORRECT(itMark->MarkTimeStamp,
                  moviePlayListFile.blkPlayList.blkPlayItemArray[itMark->RefToPlayItemID].INTime);
    }
  }
}

void RestoreMoviePlayList::Stamp(MoviePlayListFile& moviePlayListFile) {
  auto& meta = moviePlayListFile.blkExtensionData.blkDataBlock.blkPlayListMeta;
  AAA_CORRECT(meta.MakerID, AVCHD_MAKER_ID);
  AAA_CORRECT(meta.MakerModelCode, AVCHD_MAKER_MODEL_CODE);
  Field::TimeAndDate tmp{"tmp"};
  if (!Utility::CurrentTimeBcd(tmp)) return;
  AAA_CORRECT(meta.blkTimeZone, AVCHD_DEFAULT_TIME_ZONE);
  AAA_CORRECT(meta.RecordTimeAndDate, tmp);
}

void RestoreMoviePlayList::ClearStore() {
  store_.clear();
  byName_.clear();
  indexed_ = 0;
  firstFreeNumber_ = 0;
}

void RestoreMoviePlayList::IndexStore() {
  for (; indexed_ < store_.size(); ++indexed_) byName_[store_[indexed_].BaseName].push_back(&store_[indexed_]);
}

RestoreMoviePlayList::MoviePlayListFile* RestoreMoviePlayList::Find(const std::string& baseName) {
  IndexStore();
  const auto found = byName_.find(baseName);
  if (found == byName_.end()) return nullptr;
  for (MoviePlayListFile* moviePlayListFile : found->second) {
    if (!moviePlayListFile->SkipMark) return moviePlayListFile;
  }
  return nullptr;
}

bool RestoreMoviePlayList::IsModified() const {
  for (const auto& moviePlayListFile : store_) {
    if (!moviePlayListFile.SkipMark && moviePlayListFile.NeedsWrite()) return true;
  }
  return false;
}

void RestoreMoviePlayList::AddPlannedWrites(std::vector<PlannedWrite>& writes) const {
  for (const auto& moviePlayListFile : store_) {
    if (moviePlayListFile.SkipMark || !moviePlayListFile.NeedsWrite()) continue;
    writes.push_back(PlannedWriteOf(
        moviePlayListFile, Utility::PlayListFile(*folder_, moviePlayListFile.BaseName, true), FileKind::PlayList));
  }
}

void RestoreMoviePlayList::AddChanges(ChangeSet& changes) {
  for (auto& moviePlayListFile : store_) {
    if (moviePlayListFile.SkipMark || !moviePlayListFile.NeedsWrite()) continue;
    // A copy restored as it was keeps the camera's stamp.
    if (moviePlayListFile.IsModified()) Stamp(moviePlayListFile);
    const fs::path path = Utility::PlayListFile(*folder_, moviePlayListFile.BaseName, true);
    changes.Writes.push_back({path, FileKind::PlayList, CheckedModelBytes(moviePlayListFile, path)});
  }
}

void RestoreMoviePlayList::Drop(MoviePlayListFile& moviePlayListFile) {
  moviePlayListFile.SkipMark = true;
  if (!moviePlayListFile.CreatedHere) {
    filesToDelete_.push_back(Utility::PlayListFile(*folder_, moviePlayListFile.BaseName, true));
  }
}

}  // namespace Restore
