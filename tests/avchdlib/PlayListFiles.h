#pragma once

// Playlist models built with Initialize, the way the playlist step builds
// them, for the tests and as fuzzing seeds.

#include "avchdlib/AVCHD_MoviePlayList.h"

namespace PlayListFiles {

using AVCHD::MoviePlayList::BlkMoviePlayListFile;
using AVCHD::MoviePlayList::BlkStreamAttributes;
using AVCHD::MoviePlayList::BlkStreamEntry;

inline void AddStream(BlkStreamEntry& entry, BlkStreamAttributes& attributes, std::uint32_t pid,
                      std::uint32_t codingType) {
  entry.Initialize();
  entry.RefToStreamPIDOfMainClip.SetValue(pid);
  attributes.Initialize();
  attributes.StreamCodingType.SetValue(codingType);
}

// A play item of clip "0000n" with video, two audio streams (the second one
// of a sub-path), an overlay and a menu bitmap stream.
inline void FillPlayItem(AVCHD::MoviePlayList::BlkPlayItem& item, std::uint32_t n) {
  item.Initialize();
  item.ClipInformationFileName.SetBytes(AVCHD::Common::TextBytes("0000" + std::to_string(n)));
  item.RefToSTCID.SetValue(0);
  item.INTime.SetValue(0x1000 * n);
  item.OUTTime.SetValue(0x90000 * n);
  auto& stn = item.blkSTNTable;
  stn.NumberOfVideoStreamEntries.SetValue(1);
  stn.NumberOfAudioStreamEntries.SetValue(2);
  stn.NumberOfOBStreamEntries.SetValue(1);
  stn.NumberOfMBStreamEntries.SetValue(1);
  AddStream(stn.blkStreamEntryVideoArray[0], stn.blkVideoStreamAttributesArray[0], 0x1011, 0x1B);
  stn.blkVideoStreamAttributesArray[0].VideoFormat.SetValue(4);
  stn.blkVideoStreamAttributesArray[0].FrameRate.SetValue(4);
  for (std::uint32_t i = 0; i < 2; ++i) {
    AddStream(stn.blkStreamEntryAudioArray[i], stn.blkAudioStreamAttributesArray[i], 0x1100 + i, 0x80 + i);
    stn.blkAudioStreamAttributesArray[i].AudioPresentationType.SetValue(3);
    stn.blkAudioStreamAttributesArray[i].SamplingFrequency.SetValue(1);
  }
  auto& sub = stn.blkStreamEntryAudioArray[1];
  sub.Type.SetValue(2);
  sub.RefToSubPathID.SetValue(0);
  sub.RefToStreamPIDOfSubClip.SetValue(0x1101);
  AddStream(stn.blkStreamEntryOBArray[0], stn.blkOBStreamAttributesArray[0], 0x1200, 0x90);
  AddStream(stn.blkStreamEntryMBArray[0], stn.blkMBStreamAttributesArray[0], 0x1400, 0x91);
}

// PRO marks for the three marks: the first with five sub-blocks, the second
// a link point, the third with the other six.
inline void AddProMarks(AVCHD::MoviePlayListPro::BlkPlayListPrivateDataBlock& pro) {
  auto& info = pro.PRO_PlayListInfo;
  info.NumberOfPlayListMarks.SetValue(3);
  for (std::uint32_t i = 0; i < 3; ++i) {
    auto& mark = info.blkPRO_PlayListMarkArray[i];
    mark.MarkType.SetValue(i == 1 ? 2 : 1);
    mark.Initialize();
    mark.StartTimeCode.SetValue(0x01000000 + i);
    mark.StreamTimeCodeInfo.SetValue(1);
    mark.StartBinaryGroup.SetValue(0);
    mark.LastUpdateDateTimeZone.SetValue(0xFF);
  }
  auto& first = info.blkPRO_PlayListMarkArray[0];
  for (AVCHD::MoviePlayListPro::BlkPRO_Tagged* sub : std::initializer_list<AVCHD::MoviePlayListPro::BlkPRO_Tagged*>{
           &*first.blkPRO_VFR, &*first.blkPRO_Location, &*first.blkPRO_Memo, &*first.blkPRO_ShotMark}) {
    sub->SetTag();
    sub->Initialize();
  }
  first.blkPRO_ContentInfo->SetTag();
  first.blkPRO_ContentInfo->Initialize();
  auto& third = info.blkPRO_PlayListMarkArray[2];
  for (AVCHD::MoviePlayListPro::BlkPRO_Tagged* sub : std::initializer_list<AVCHD::MoviePlayListPro::BlkPRO_Tagged*>{
           &*third.blkPRO_3DShotInfo, &*third.blkPRO_Access, &*third.blkPRO_Device, &*third.blkPRO_Shoot,
           &*third.blkPRO_Scenario, &*third.blkPRO_News}) {
    sub->SetTag();
    sub->Initialize();
  }
  pro.PRO_MakersPrivateArea.Tag_ID.SetValue(AVCHD::MoviePlayListPro::kTagMakersPrivateArea);
  pro.PRO_MakersPrivateArea.Initialize();
  pro.PRO_MakersPrivateArea.blkPRO_ProfessionalMode.SetTag();
  pro.PRO_MakersPrivateArea.blkPRO_ProfessionalMode.Initialize();
}

// Two play items, a sub-path, three marks with their extensions and,
// optionally, the PRO metadata.
inline BlkMoviePlayListFile NewPlayList(bool pro) {
  BlkMoviePlayListFile file;
  file.Initialize();
  auto& list = file.blkPlayList;
  list.NumberOfPlayItems.SetValue(2);
  for (std::uint32_t i = 0; i < 2; ++i) FillPlayItem(list.blkPlayItemArray[i], i + 1);
  list.NumberOfSubPaths.SetValue(1);
  list.blkSubPathArray[0].blkSubPlayItemArray[0].Initialize();
  auto& marks = file.blkPlayListMark;
  auto& plex = file.blkExtensionData.blkDataBlock;
  marks.NumberOfPlayListMarks.SetValue(3);
  plex.blkPlayListMarkExt.NumberOfPlayListMarks.SetValue(3);
  for (std::uint32_t i = 0; i < 3; ++i) {
    auto& mark = marks.blkPlayListMarkArray[i];
    mark.Initialize();
    mark.MarkType.SetValue(i == 1 ? 2 : 1);
    mark.RefToPlayItemID.SetValue(i / 2);
    mark.MarkTimeStamp.SetValue(0x1000 * (i + 1));
    auto& extension = plex.blkPlayListMarkExt.blkMarkExtensionArray[i];
    extension.Initialize();
    extension.Pulldown.SetValue(i);
  }
  if (pro) {
    plex.MakersPrivateDataStartAddress.SetValue(1);
    plex.blkMakersPrivateData.Initialize();
    AddProMarks(plex.blkMakersPrivateData.blkDataBlock);
  }
  return file;
}

}  // namespace PlayListFiles
