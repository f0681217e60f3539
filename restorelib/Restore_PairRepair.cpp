#include "restorelib/Restore_PairRepair.h"

#include <algorithm>
#include <cstdio>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "avchdlib/AVCHD_Fields.h"
#include "restorelib/Restore_ModelFile.h"
#include "restorelib/Restore_ProMetadata3d.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {

namespace Field = AVCHD::Field;

namespace {

using AVCHD::ClipInformation::BlkClipInformationFile;
using AVCHD::Common::BlkPRO_ContentInfo;
using AVCHD::MoviePlayList::BlkMoviePlayListFile;

constexpr std::uint32_t kProVersion = AVCHD::Common::kProVersion;
constexpr std::uint32_t kProVersion3d = 0x11;
// Partner sequences whose durations differ by less (45 kHz ticks) keep them.
constexpr std::uint32_t kDurationTolerance = 4;
// With four data blocks, a playlist's private data holds the maker's own area.
constexpr std::uint32_t kDataBlocksWithMakersArea = 4;
// The name a tree gets in its index table when it has none: the eye, then the
// recording's identifier.
constexpr std::size_t kMaterialIDBytes = 32;

std::string PairNameOf(const AAA::FieldBase& name) { return Utility::Get3dPairFileName(name.ToString()); }

// The left identifier unless it has not been given yet.
void ShareMaterialID(AAA::FieldBase& globalMaterialID_L, AAA::FieldBase& globalMaterialID_R) {
  if (IsUnsetMaterialID(globalMaterialID_L)) {
    AAA_CORRECT(globalMaterialID_L, globalMaterialID_R);
  } else {
    AAA_CORRECT(globalMaterialID_R, globalMaterialID_L);
  }
}

// A clip whose partner's PRO clip information carries the 3D clip info takes
// it; neither carrying it, both get a new one.
void PairProClipInfo(AVCHD::ClipInformationPro::BlkPRO_ClipInfo& left,
                     AVCHD::ClipInformationPro::BlkPRO_ClipInfo& right) {
  const bool left3d = left.Tag_ver > kProVersion;
  const bool right3d = right.Tag_ver > kProVersion;
  if (left3d && right3d) return;
  for (auto* info : {&left, &right}) {
    if (info->Tag_ver > kProVersion) continue;
    info->Tag_ver.SetValue(kProVersion3d);
    if (left3d || right3d) {
      info->blkPRO_3DClipInfo = (info == &left ? right : left).blkPRO_3DClipInfo;
    } else {
      info->blkPRO_3DClipInfo.Initialize();
    }
    info->Link();
  }
}

void PairContinuation(AVCHD::ClipInformation::BlkClipInfo& left, AVCHD::ClipInformation::BlkClipInfo& right) {
  if (left.IsCC5 == 1 && right.IsCC5 == 0) {
    right.IsCC5.SetValue(1);
    right.FollowingClipInformationFileName.SetBytes(
        AVCHD::Common::TextBytes(PairNameOf(left.FollowingClipInformationFileName)));
  } else if (left.IsCC5 == 0 && right.IsCC5 == 1) {
    right.IsCC5.SetValue(0);
  }
}

// The two eyes' video must be of one format: a pair that differs cannot be
// repaired.
void VerifySameVideo(const BlkClipInformationFile& left, const BlkClipInformationFile& right) {
  for (const auto& stream_L : left.blkProgramInfo.blkStreamsInPSArray) {
    for (const auto& stream_R : right.blkProgramInfo.blkStreamsInPSArray) {
      const auto& codingInfo_L = stream_L.blkStreamCodingInfo;
      const auto& codingInfo_R = stream_R.blkStreamCodingInfo;
      if (stream_L.StreamPID != stream_R.StreamPID ||
          codingInfo_R.StreamCodingType != Field::StreamCodingType::kAvcVideo) {
        continue;
      }
      AAA_VERIFY_EQUAL(codingInfo_R.VideoFormat, codingInfo_L.VideoFormat);
      AAA_VERIFY_EQUAL(codingInfo_R.FrameRate, codingInfo_L.FrameRate);
      AAA_VERIFY_EQUAL(codingInfo_R.AspectRatio, codingInfo_L.AspectRatio);
    }
  }
}

// As many sequences on both sides; partner sequences play equally long
// unless their durations differ by less than the tolerance.
void PairSequences(BlkClipInformationFile& left, BlkClipInformationFile& right) {
  auto& sequences_L = left.blkSequenceInfo;
  auto& sequences_R = right.blkSequenceInfo;
  const std::uint32_t count =
      std::min(sequences_L.NumberOfSTCSequences.Value(), sequences_R.NumberOfSTCSequences.Value());
  sequences_L.NumberOfSTCSequences.SetValue(count);
  sequences_R.NumberOfSTCSequences.SetValue(count);
  left.PresentationTimes.resize(count);
  right.PresentationTimes.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    auto& time_L = left.PresentationTimes[i];
    auto& time_R = right.PresentationTimes[i];
    for (auto [time, sequence] : {std::pair{&time_L, &sequences_L.blkSTCSequenceArray[i]},
                                  std::pair{&time_R, &sequences_R.blkSTCSequenceArray[i]}}) {
      *time = sequence->PresentationEndTime - sequence->PresentationStartTime;
    }
    const std::uint32_t shorter = std::min(time_L, time_R);
    const std::uint32_t longer = std::max(time_L, time_R);
    if (longer - shorter < kDurationTolerance) continue;
    time_L = shorter;
    time_R = shorter;
  }
}

const BlkPRO_ContentInfo* ContentInfoOfMark(const AVCHD::MoviePlayListPro::BlkPRO_PlayListMark& mark) {
  return mark.blkPRO_ContentInfo.Present();
}

bool SameMaterial(const BlkPRO_ContentInfo* left, const BlkPRO_ContentInfo* right) {
  if (left == nullptr || right == nullptr) return left == right;
  return left->GlobalMaterialID.ValueBytes() == right->GlobalMaterialID.ValueBytes();
}

// The right eye's playlist of the same name is of the same recording and
// has the same marks.
bool Matches(BlkMoviePlayListFile& left, BlkMoviePlayListFile& right) {
  if (!SameMaterial(ContentInfoOf(ProfessionalMetaOf(left)), ContentInfoOf(ProfessionalMetaOf(right)))) return false;
  const auto* info_L = PlayListInfoOf(left);
  const auto* info_R = PlayListInfoOf(right);
  if (info_L == nullptr || info_R == nullptr) return info_L == info_R;
  if (info_L->NumberOfPlayListMarks != info_R->NumberOfPlayListMarks) return false;
  for (std::size_t i = 0; i < info_L->blkPRO_PlayListMarkArray.Size(); ++i) {
    const auto& mark_L = info_L->blkPRO_PlayListMarkArray[i];
    const auto& mark_R = info_R->blkPRO_PlayListMarkArray[i];
    if (mark_L.MarkType != mark_R.MarkType) return false;
    if (mark_L.MarkType == Field::MarkType::kEntryMark &&
        !SameMaterial(ContentInfoOfMark(mark_L), ContentInfoOfMark(mark_R))) {
      return false;
    }
  }
  return true;
}

// The relation check of an index table again, with a new table when it
// fails, then its repair.
void RecheckIndexTable(RestoreIndexTable& indexTable) {
  try {
    indexTable.VerifyRelations();
  } catch (const AAA::VerifyExceptionBase&) {
    indexTable.StoreNewIndexTable();
  }
  indexTable.Repair();
}

void RecheckMovieObject(RestoreMovieObject& movieObject) {
  try {
    movieObject.CheckPlayCommands();
  } catch (const AAA::VerifyExceptionBase&) {
    movieObject.Store().clear();
    movieObject.StoreDefaultModel();
  }
}

void ResetReferences(RestoreClipInformation& clipInformation) {
  clipInformation.Clips().ForEach([](BlkClipInformationFile& clip) { clip.Refered.SetValue(0); });
}

// hours, minutes, seconds, frames as one number that orders time codes.
std::uint32_t TimeCodeNumber(const AAA::FieldBase& timeCode) {
  const auto& bytes = timeCode.ValueBytes();
  return (std::uint32_t{bytes[3] & 0x3Fu} << 24) | (std::uint32_t{bytes[2] & 0x7Fu} << 16) |
         (std::uint32_t{bytes[1] & 0x7Fu} << 8) | (bytes[0] & 0x3Fu);
}

// "L ch " or "R ch " and the identifier in 64 hexadecimal digits, for an
// index table without a name.
void NameTree(AVCHD::IndexTable::BlkIndexTableFile& indexTable, char eye, const AAA::FieldBase& globalMaterialID) {
  auto& appInfo = indexTable.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD;
  if (appInfo.AVCHDNameLength != 0) return;
  std::string name = std::string(1, eye) + " ch ";
  for (std::size_t i = 0; i < kMaterialIDBytes; ++i) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", globalMaterialID.ValueBytes()[i]);
    name += digits;
  }
  AAA::Bytes bytes(appInfo.AVCHDName.ValueBytes().size(), 0);
  std::copy(name.begin(), name.end(), bytes.begin());
  appInfo.AVCHDName.SetBytes(bytes);
  appInfo.AVCHDNameLength.SetValue(static_cast<std::uint32_t>(name.size()));
  // A name is read back only in a character set that names may use.
  if (!AVCHD::Common::AVCHD_VERIFY_CHARACTERSET(appInfo.AVCHDCharacterSet)) {
    appInfo.AVCHDCharacterSet.SetValue(Field::CharacterSetValue::kAscii);
  }
}

}  // namespace

void PairClip(BlkClipInformationFile& left, BlkClipInformationFile& right) {
  auto* content_L = ContentInfoOf(ProfessionalMetaOf(left));
  auto* content_R = ContentInfoOf(ProfessionalMetaOf(right));
  if (content_L != nullptr && content_R != nullptr) {
    ShareMaterialID(content_L->GlobalMaterialID, content_R->GlobalMaterialID);
  }
  auto* proClipInfo_L = ProClipInfoOf(left);
  auto* proClipInfo_R = ProClipInfoOf(right);
  if (proClipInfo_L != nullptr && proClipInfo_R != nullptr) PairProClipInfo(*proClipInfo_L, *proClipInfo_R);
  PairContinuation(left.blkClipInfo, right.blkClipInfo);
  VerifySameVideo(left, right);
  PairSequences(left, right);
}

void PairRepair::Run() {
  *left_.thumbnail = *left_.thumbnailSnapshot;
  *right_.thumbnail = *right_.thumbnailSnapshot;
  PairClips();
  VerifyLeftChannel();
  VerifyRightChannel();
  CopyTitles();
  PairIndexTables();
  right_.thumbnail->VerifyThumbnailIndex2();
}

void PairRepair::PairClips() {
  right_.clipInformation->Clips().ForEach([this](BlkClipInformationFile& clip_R) {
    auto clip_L = left_.clipInformation->FindClip(Utility::Get3dPairFileName(clip_R.ClipName));
    if (clip_L == nullptr) {
      clip_R.NoPartnerMark = 1;
      return;
    }
    PairClip(*clip_L, clip_R);
  });
}

// Play items of the left eye whose partner clip is missing go; every left
// playlist is checked again, and the files that depend on them.
void PairRepair::VerifyLeftChannel() {
  AAA::Log::Heading("verify 3D L ch");
  AAA::Log::Line(AAA::Log::kHeading, "  L ch: %s\n", left_.folder->Path.c_str());
  ResetReferences(*left_.clipInformation);
  auto& playList = *left_.playList;
  for (auto& moviePlayListFile : playList.Store()) {
    if (moviePlayListFile.SkipMark) continue;
    auto& items = moviePlayListFile.blkPlayList.blkPlayItemArray;
    for (std::size_t i = 0; i < items.Size();) {
      const auto clipInfo = right_.clipInformation->FindClip(PairNameOf(items[i].ClipInformationFileName));
      if (AAA_REPORT_FAILURE(items[i].ClipInformationFileName, clipInfo != NULL)) {
        ++i;
        continue;
      }
      playList.RemovePlayItem(moviePlayListFile, i);
    }
    try {
      playList.VerifyPlayList(moviePlayListFile);
    } catch (const AAA::InvalidDataException&) {
      playList.Drop(moviePlayListFile);
    }
  }
  RecheckMovieObject(*left_.movieObject);
  RecheckIndexTable(*left_.indexTable);
  left_.thumbnail->VerifyThumbnailIndex2();
}

// The right eye keeps a playlist that matches the left one of its name and
// still fits its clips; any other is replaced by a copy of the left one.
void PairRepair::VerifyRightChannel() {
  AAA::Log::Heading("verify 3D R ch");
  AAA::Log::Line(AAA::Log::kHeading, "  R ch: %s\n", right_.folder->Path.c_str());
  auto& playList = *right_.playList;
  for (auto& moviePlayListFile : playList.Store()) {
    if (!moviePlayListFile.SkipMark && left_.playList->Find(moviePlayListFile.BaseName) == nullptr) {
      playList.Drop(moviePlayListFile);
    }
  }
  for (auto& moviePlayListFile_L : left_.playList->Store()) {
    if (moviePlayListFile_L.SkipMark) continue;
    auto* moviePlayListFile_R = playList.Find(moviePlayListFile_L.BaseName);
    // Each playlist is checked on its own: a clip may be in several.
    ResetReferences(*right_.clipInformation);
    if (moviePlayListFile_R != nullptr && Matches(moviePlayListFile_L, *moviePlayListFile_R)) {
      try {
        playList.VerifyPlayList(*moviePlayListFile_R);
        continue;
      } catch (const AAA::InvalidDataException&) {
        // No longer fits the clips: replaced like any other.
      }
    }
    if (moviePlayListFile_R != nullptr) moviePlayListFile_R->SkipMark = true;
    CopyPlayList(moviePlayListFile_L);
  }
}

void PairRepair::CopyPlayList(const BlkMoviePlayListFile& moviePlayListFile_L) {
  auto& copy = StoreCopy(right_.playList->Store(), moviePlayListFile_L);
  for (auto& item : copy.blkPlayList.blkPlayItemArray) {
    item.ClipInformationFileName.SetBytes(AVCHD::Common::TextBytes(PairNameOf(item.ClipInformationFileName)));
  }
  if (auto* contentInfo = ContentInfoOf(ProfessionalMetaOf(copy))) {
    contentInfo->ChannelID.SetBytes(AVCHD::Common::TextBytes("R"));
  }
  if (auto* info = PlayListInfoOf(copy)) MarkPlayListInfo(*info, Channel3d::Right);
  auto& extension = copy.blkExtensionData.blkDataBlock;
  auto& data = extension.blkMakersPrivateData.blkDataBlock;
  if (extension.MakersPrivateDataStartAddress != 0 && data.NumberOfData == kDataBlocksWithMakersArea) {
    // The left camera's own area does not describe the right eye.
    data.NumberOfData.SetValue(kDataBlocksWithMakersArea - 1);
    data.PRO_MakersPrivateArea.Tag_ID.SetValue(0);
    data.Link();
  }
  copy.CreatedHere = true;
  copy.IndexFlag = false;
  right_.playList->VerifyPlayList(copy);
  copy.Link();
  copy.Update();
}

// The right eye plays what the left eye plays, under the same titles.
void PairRepair::CopyTitles() {
  auto& movieObjects = right_.movieObject->Store();
  movieObjects = left_.movieObject->Store();
  for (auto& movieObjectFile : movieObjects) {
    movieObjectFile.Link();
    movieObjectFile.Update();
  }
  auto& indexTable_R = right_.indexTable->Model();
  const auto& indexTable_L = left_.indexTable->Model();
  indexTable_R.blkIndexes = indexTable_L.blkIndexes;
  indexTable_R.blkExtensionData.blkDataBlock.blkTableOfPlayLists =
      indexTable_L.blkExtensionData.blkDataBlock.blkTableOfPlayLists;
  indexTable_R.Link();
  indexTable_R.Update();
  RecheckIndexTable(*right_.indexTable);
}

// Both eyes end with the earlier last time code, one identifier and a name.
void PairRepair::PairIndexTables() {
  auto& indexTable_L = left_.indexTable->Model();
  auto& indexTable_R = right_.indexTable->Model();
  auto* indexInfo_L = IndexInfoOf(indexTable_L);
  auto* indexInfo_R = IndexInfoOf(indexTable_R);
  if (indexInfo_L != nullptr && indexInfo_R != nullptr) {
    auto& lastTimeCode_L = indexInfo_L->LastTimeCode;
    auto& lastTimeCode_R = indexInfo_R->LastTimeCode;
    if (TimeCodeNumber(lastTimeCode_R) < TimeCodeNumber(lastTimeCode_L)) {
      AAA_CORRECT(lastTimeCode_L, lastTimeCode_R);
    } else {
      AAA_CORRECT(lastTimeCode_R, lastTimeCode_L);
    }
  }
  auto* content_L = ContentInfoOf(ProfessionalMetaOf(indexTable_L));
  auto* content_R = ContentInfoOf(ProfessionalMetaOf(indexTable_R));
  if (content_L == nullptr || content_R == nullptr) return;
  auto& globalMaterialID_L = content_L->GlobalMaterialID;
  auto& globalMaterialID_R = content_R->GlobalMaterialID;
  ShareMaterialID(globalMaterialID_L, globalMaterialID_R);
  NameTree(indexTable_L, 'L', globalMaterialID_L);
  NameTree(indexTable_R, 'R', globalMaterialID_L);
}

}  // namespace Restore
