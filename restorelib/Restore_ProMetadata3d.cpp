#include "restorelib/Restore_ProMetadata3d.h"

#include <algorithm>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Fields.h"

namespace Restore {

namespace Field = AVCHD::Field;

using AVCHD::Common::AVCHD_EXT_DATA_VERSION_EX;
using AVCHD::Common::BlkPRO_ContentInfo;
using AVCHD::Common::BlkPRO_ProfessionalMetaID;
using AVCHD::Common::kProVersion;
using AVCHD::Common::kTagContentInfo;
using AVCHD::Common::kTagProfessionalMetaID;
using AVCHD::Common::TextBytes;

namespace {

// The first version that carries the content info.
constexpr std::uint32_t kProVersion3d = 0x11;
constexpr std::uint32_t kRightChannelBit = 0x800;
constexpr std::uint32_t kNoTag = 0;

void SetChannel(BlkPRO_ContentInfo& contentInfo, Channel3d channel) {
  contentInfo.ContentID.SetBytes(TextBytes("3DS"));
  contentInfo.ChannelID.SetBytes(TextBytes(ChannelText(channel)));
}

void MarkEntryMark(AVCHD::MoviePlayListPro::BlkPRO_PlayListMark& mark, Channel3d channel) {
  const bool hadContentInfo = mark.blkPRO_ContentInfo.Present() != nullptr;
  const bool hadShotInfo = mark.blkPRO_3DShotInfo.Present() != nullptr;
  if (channel != Channel3d::None) {
    auto& contentInfo = *mark.blkPRO_ContentInfo;
    if (!hadContentInfo) {
      contentInfo.Initialize();
      contentInfo.SetTag();
    }
    SetChannel(contentInfo, channel);
    auto& shotInfo = *mark.blkPRO_3DShotInfo;
    if (!hadShotInfo) {
      shotInfo.Initialize();
      shotInfo.SetTag();
    }
    mark.Link();
    return;
  }
  if (!hadContentInfo && !hadShotInfo) return;
  if (auto* contentInfo = mark.blkPRO_ContentInfo.Present()) contentInfo->PRO_Tag_ID.SetValue(kNoTag);
  if (auto* shotInfo = mark.blkPRO_3DShotInfo.Present()) shotInfo->PRO_Tag_ID.SetValue(kNoTag);
  mark.Link();
  // Only the mark's length tells that it lost its blocks: set it now, so
  // that the playlist counts as modified and is written.
  mark.Update();
}

}  // namespace

const char* ChannelText(Channel3d channel) {
  switch (channel) {
    case Channel3d::Left:
      return "L";
    case Channel3d::Right:
      return "R";
    case Channel3d::None:
      break;
  }
  return "";
}

Channel3d ChannelOfMark(std::uint32_t channelMark3D) {
  if (channelMark3D == 0) return Channel3d::None;
  return (channelMark3D & kRightChannelBit) != 0 ? Channel3d::Right : Channel3d::Left;
}

Channel3d ClassifyClips(const ClipStore& clips) {
  std::size_t twoD = 0;
  std::size_t left = 0;
  std::size_t right = 0;
  for (std::size_t index = 0; index < clips.Size(); ++index) {
    switch (ChannelOfMark(clips.ValuesAt(index).ChannelMark3D)) {
      case Channel3d::None:
        ++twoD;
        break;
      case Channel3d::Left:
        ++left;
        break;
      case Channel3d::Right:
        ++right;
        break;
    }
  }
  if ((twoD != 0 && left + right != 0) || (left != 0 && right != 0)) AAA_THROW(AAA::InvalidDataException());
  if (left != 0) return Channel3d::Left;
  if (right != 0) return Channel3d::Right;
  return Channel3d::None;
}

BlkPRO_ProfessionalMetaID* ProfessionalMetaOf(AVCHD::ClipInformation::BlkClipInformationFile& clip) {
  auto& clex = clip.blkExtensionData.blkDataBlock;
  if (clex.MakersPrivateDataStartAddress == 0) return nullptr;
  auto& meta = clex.blkMakersPrivateData.blkDataBlock.PRO_ProfessionalMetaID;
  return meta.Tag_ID == kTagProfessionalMetaID ? &meta : nullptr;
}

BlkPRO_ProfessionalMetaID* ProfessionalMetaOf(AVCHD::MoviePlayList::BlkMoviePlayListFile& playList) {
  auto& plex = playList.blkExtensionData.blkDataBlock;
  if (plex.MakersPrivateDataStartAddress == 0) return nullptr;
  auto& meta = plex.blkMakersPrivateData.blkDataBlock.PRO_ProfessionalMetaID;
  return meta.Tag_ID == kTagProfessionalMetaID ? &meta : nullptr;
}

BlkPRO_ProfessionalMetaID* ProfessionalMetaOf(AVCHD::IndexTable::BlkIndexTableFile& indexTable) {
  auto& idex = indexTable.blkExtensionData.blkDataBlock;
  if (idex.MakersPrivateDataStartAddress == 0) return nullptr;
  auto& meta = idex.blkMakersPrivateData.blkDataBlock.blkPRO_ProfessionalMetaID;
  return meta.Tag_ID == kTagProfessionalMetaID ? &meta : nullptr;
}

AVCHD::ClipInformationPro::BlkPRO_ClipInfo* ProClipInfoOf(AVCHD::ClipInformation::BlkClipInformationFile& clip) {
  auto& clex = clip.blkExtensionData.blkDataBlock;
  if (clex.MakersPrivateDataStartAddress == 0) return nullptr;
  auto& info = clex.blkMakersPrivateData.blkDataBlock.blkProClipInfo;
  return info.Tag_ID == AVCHD::ClipInformationPro::kTagClipInfo ? &info : nullptr;
}

AVCHD::MoviePlayListPro::BlkPRO_PlayListInfo* PlayListInfoOf(AVCHD::MoviePlayList::BlkMoviePlayListFile& playList) {
  auto& plex = playList.blkExtensionData.blkDataBlock;
  if (plex.MakersPrivateDataStartAddress == 0) return nullptr;
  auto& info = plex.blkMakersPrivateData.blkDataBlock.PRO_PlayListInfo;
  return info.Tag_ID == AVCHD::MoviePlayListPro::kTagPlayListInfo ? &info : nullptr;
}

AVCHD::IndexTablePro::BlkPRO_IndexInfo* IndexInfoOf(AVCHD::IndexTable::BlkIndexTableFile& indexTable) {
  auto& idex = indexTable.blkExtensionData.blkDataBlock;
  if (idex.MakersPrivateDataStartAddress == 0) return nullptr;
  auto& info = idex.blkMakersPrivateData.blkDataBlock.blkPRO_IndexInfo;
  return info.Tag_ID == AVCHD::IndexTablePro::kTagIndexInfo ? &info : nullptr;
}

BlkPRO_ContentInfo* ContentInfoOf(BlkPRO_ProfessionalMetaID* meta) {
  return meta != nullptr && meta->Tag_ver > kProVersion ? &meta->blkPRO_ContentInfo : nullptr;
}

void MarkProfessionalMeta(BlkPRO_ProfessionalMetaID& meta, Channel3d channel) {
  if (channel == Channel3d::None) {
    if (meta.Tag_ver > kProVersion) meta.Tag_ver.SetValue(kProVersion);
    return;
  }
  if (meta.Tag_ver <= kProVersion) {
    meta.Tag_ver.SetValue(kProVersion3d);
    meta.blkPRO_ContentInfo.Initialize();
  }
  SetChannel(meta.blkPRO_ContentInfo, channel);
}

void MarkPlayListInfo(AVCHD::MoviePlayListPro::BlkPRO_PlayListInfo& info, Channel3d channel) {
  if (channel != Channel3d::None && info.Tag_ver <= kProVersion) info.Tag_ver.SetValue(kProVersion3d);
  if (channel == Channel3d::None && info.Tag_ver > kProVersion) info.Tag_ver.SetValue(kProVersion);
  for (auto& mark : info.blkPRO_PlayListMarkArray) {
    if (mark.MarkType == Field::MarkType::kEntryMark) MarkEntryMark(mark, channel);
  }
}

void RaiseExtDataVersions(PlayListStore& playLists, ClipStore& clips) {
  for (auto& playList : playLists) {
    if (playList.SkipMark) continue;
    for (const auto& item : playList.blkPlayList.blkPlayItemArray) {
      const auto& video = item.blkSTNTable.blkVideoStreamAttributesArray;
      // 1080p at 50 or 59.94 pictures a second needs the extended data version.
      if (video.Empty() || video[0].VideoFormat != Field::VideoFormat::k1080p ||
          (video[0].FrameRate != Field::FrameRate::k50 && video[0].FrameRate != Field::FrameRate::k5994)) {
        continue;
      }
      playList.blkExtensionData.blkExtDataEntryArray[0].ExtDataVersion.SetValue(AVCHD_EXT_DATA_VERSION_EX);
      const std::string clipName = item.ClipInformationFileName.ToString();
      for (std::size_t index = 0; index < clips.Size(); ++index) {
        if (clips.ValuesAt(index).ClipName != clipName) continue;
        clips.Open(index)->blkExtensionData.blkExtDataEntryArray[0].ExtDataVersion.SetValue(AVCHD_EXT_DATA_VERSION_EX);
      }
    }
  }
}

void MarkTree(ClipStore& clips, PlayListStore& playLists, IndexTableStore& indexTables, Channel3d channel) {
  clips.ForEach([channel](AVCHD::ClipInformation::BlkClipInformationFile& clip) {
    if (auto* meta = ProfessionalMetaOf(clip)) MarkProfessionalMeta(*meta, channel);
  });
  for (auto& playList : playLists) {
    if (auto* meta = ProfessionalMetaOf(playList)) MarkProfessionalMeta(*meta, channel);
    if (auto* info = PlayListInfoOf(playList)) MarkPlayListInfo(*info, channel);
  }
  for (auto& indexTable : indexTables) {
    if (auto* meta = ProfessionalMetaOf(indexTable)) MarkProfessionalMeta(*meta, channel);
  }
}

bool IsUnsetMaterialID(const AAA::FieldBase& globalMaterialID) {
  const auto& bytes = globalMaterialID.ValueBytes();
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte == 0xFF; });
}

}  // namespace Restore
