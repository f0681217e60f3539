// The playlists this run makes for clips that no playlist plays.
#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_Maker.h"
#include "restorelib/Restore_ClipValues.h"
#include "restorelib/Restore_ModelFile.h"
#include "restorelib/Restore_RestoreMoviePlayList.h"

namespace Restore {

namespace Field = AVCHD::Field;

using AVCHD::ClipInformation::BlkClipInformationFile;
using AVCHD::Common::TextBytes;
using AVCHD::Common::TextOf;
using AVCHD::MoviePlayList::BlkStreamAttributes;
using AVCHD::MoviePlayList::BlkStreamEntry;

namespace {

constexpr std::uint32_t kVideoPid = 0x1011;
constexpr std::uint32_t kFirstAudioPid = 0x1100;
// Playlists are named 00000 to 00999.
constexpr std::uint32_t kPlayListNumbers = 1000;
constexpr std::size_t kMaxPlayItems = 999;

// The picture format and frame rate by the names of the frame rates a
// camcorder shows, by pulldown (none, 2:2, 3:2).
struct RateName {
  std::uint32_t frameRate;
  const char* byPulldown[3];
};
constexpr RateName kInterlacedOr1080Rates[] = {{Field::FrameRate::k23976, {" 23.98p", "", ""}},
                                               {Field::FrameRate::k24, {" 24p", "", ""}},
                                               {Field::FrameRate::k25, {" 50i", " 25p", ""}},
                                               {Field::FrameRate::k2997, {" 59.94i", " 29.97p", " 23.98p"}}};
constexpr RateName k720Rates[] = {{Field::FrameRate::k23976, {" 23.98p", "", ""}},
                                  {Field::FrameRate::k24, {" 24p", "", ""}},
                                  {Field::FrameRate::k50, {" 50p", " 25p", ""}},
                                  {Field::FrameRate::k5994, {" 59.94p", " 29.97p", " 23.98p"}}};

template <std::size_t N>
const char* RateText(const RateName (&rates)[N], std::uint32_t frameRate, std::uint32_t pulldown) {
  if (pulldown > Field::Pulldown::k3By2) return "";
  for (const RateName& rate : rates) {
    if (rate.frameRate == frameRate) return rate.byPulldown[pulldown];
  }
  return "";
}

// Copies a stream of the clip into a new entry and its attributes.
void AddStream(AAA::FieldBase& count, AAA::Array<BlkStreamEntry>& entries, AAA::Array<BlkStreamAttributes>& attributes,
               std::uint32_t pid, const AVCHD::ClipInformation::BlkStreamCodingInfo& coding) {
  count.Increment();
  auto& entry = entries.Back();
  entry.Initialize();
  entry.Type.SetValue(Field::StreamEntryType::kPlayItem);
  entry.RefToStreamPIDOfMainClip.SetValue(pid);
  auto& attribute = attributes.Back();
  attribute.Initialize();
  attribute.StreamCodingType.SetValue(coding.StreamCodingType);
  attribute.VideoFormat.Assign(coding.VideoFormat);
  attribute.FrameRate.Assign(coding.FrameRate);
  attribute.AudioPresentationType.Assign(coding.AudioPresentationType);
  attribute.SamplingFrequency.Assign(coding.SamplingFrequency);
  attribute.AudioLanguageCode.Assign(coding.AudioLanguageCode);
  attribute.OBLanguageCode.Assign(coding.OBLanguageCode);
  attribute.MBLanguageCode.Assign(coding.MBLanguageCode);
}

const AVCHD::ClipInformation::BlkStreamCodingInfo* AudioOf(const BlkClipInformationFile& clip) {
  return CodingInfoOfPid(clip, kFirstAudioPid);
}

}  // namespace

std::string PlayListNameText(const BlkClipInformationFile& clip) {
  std::string name = " ";
  if (const auto* video = CodingInfoOfPid(clip, kVideoPid)) {
    const std::uint32_t format = video->VideoFormat;
    const bool is1080 = format == Field::VideoFormat::k1080i || format == Field::VideoFormat::k1080p;
    const bool is720 = format == Field::VideoFormat::k720p;
    if (is1080) name += " 1080";
    if (is720) name += "  720";
    if (is1080) name += RateText(kInterlacedOr1080Rates, video->FrameRate, clip.Pulldown);
    if (is720) name += RateText(k720Rates, video->FrameRate, clip.Pulldown);
  }
  if (const auto* audio = AudioOf(clip)) {
    if (audio->StreamCodingType == Field::StreamCodingType::kLpcmAudio) name += " LPCM";
    if (audio->StreamCodingType == Field::StreamCodingType::kAc3Audio) name += " AC3";
  }
  return name;
}

void RestoreMoviePlayList::AddClip(ClipInformationFile& clip) {
  MoviePlayListFile* moviePlayListFile = PlayListMadeFor(clip);
  if (moviePlayListFile == nullptr) moviePlayListFile = &NewPlayListFor(clip);
  for (std::uint32_t sequence = 0; sequence < clip.blkSequenceInfo.blkSTCSequenceArray.Size(); ++sequence) {
    AddPlayItem(*moviePlayListFile, clip, sequence);
    AddMark(*moviePlayListFile, clip);
  }
  moviePlayListFile->Link();
}

// A playlist made in this run for clips of the same picture, sound and
// pulldown, which has room for more play items.
RestoreMoviePlayList::MoviePlayListFile* RestoreMoviePlayList::PlayListMadeFor(const ClipInformationFile& clip) {
  const auto* video = CodingInfoOfPid(clip, kVideoPid);
  const auto* audio = AudioOf(clip);
  if (video == nullptr || audio == nullptr) return nullptr;
  for (auto& moviePlayListFile : store_) {
    const auto& items = moviePlayListFile.blkPlayList.blkPlayItemArray;
    if (moviePlayListFile.SkipMark || !moviePlayListFile.CreatedHere || items.Empty()) continue;
    if (items.Size() >= kMaxPlayItems) continue;
    const auto& extension = moviePlayListFile.blkExtensionData.blkDataBlock;
    if (extension.blkPlayListMeta.MakerModelCode != AVCHD::AVCHD_MAKER_MODEL_CODE) continue;
    const auto* attributes = FirstVideoAttributes(items[0]);
    if (attributes == nullptr || attributes->VideoFormat != video->VideoFormat ||
        attributes->FrameRate != video->FrameRate) {
      continue;
    }
    bool sameAudio = false;
    for (const auto& audioAttributes : items[0].blkSTNTable.blkAudioStreamAttributesArray) {
      sameAudio = sameAudio || audioAttributes.StreamCodingType == audio->StreamCodingType;
    }
    const auto& marks = extension.blkPlayListMarkExt.blkMarkExtensionArray;
    if (!sameAudio || marks.Empty() || marks[0].Pulldown != clip.Pulldown) continue;
    const auto first = clipInformation_->FindClip(TextOf(items[0].ClipInformationFileName));
    if (first == nullptr || first->blkProgramInfo.blkStreamsInPSArray.Empty()) continue;
    const auto& firstExt = first->blkExtensionData.blkDataBlock.blkProgramInfoExt.blkProgramSequenceArray[0];
    const auto& clipExt = clip.blkExtensionData.blkDataBlock.blkProgramInfoExt.blkProgramSequenceArray[0];
    if (firstExt.blkStreamCodingInfoExtInPsArray.Empty() || clipExt.blkStreamCodingInfoExtInPsArray.Empty()) continue;
    if (firstExt.blkStreamCodingInfoExtInPsArray[0].blkStreamCodingInfoExt.HorizontalSize !=
        clipExt.blkStreamCodingInfoExtInPsArray[0].blkStreamCodingInfoExt.HorizontalSize) {
      continue;
    }
    if (first->blkProgramInfo.blkStreamsInPSArray[0].blkStreamCodingInfo.AspectRatio != video->AspectRatio) continue;
    return &moviePlayListFile;
  }
  return nullptr;
}

RestoreMoviePlayList::MoviePlayListFile& RestoreMoviePlayList::NewPlayListFor(const ClipInformationFile& clip) {
  // The numbers below the first free one stay taken, since the store only
  // grows between clears: each search goes on where the last one ended, and
  // looks the names up in the index of the store.
  std::uint32_t number = firstFreeNumber_;
  IndexStore();
  const auto taken = [this](const std::string& name) { return byName_.count(name) != 0; };
  while (number < kPlayListNumbers && taken(Utility::FiveDigitName(number))) ++number;
  firstFreeNumber_ = number;
  if (number == kPlayListNumbers) AAA_THROW(AAA::InvalidDataException());

  MoviePlayListFile moviePlayListFile;
  moviePlayListFile.Initialize();
  auto& masks = moviePlayListFile.blkAppInfoPlayList.blkUOMaskTable;
  for (AAA::FieldBase* indefinite :
       {&masks.indefinite23, &masks.indefinite24, &masks.indefinite25, &masks.indefinite28, &masks.indefinite29,
        &masks.indefinite30, &masks.indefinite31, &masks.indefinite33}) {
    indefinite->SetValue(1);
  }
  auto& extension = moviePlayListFile.blkExtensionData.blkDataBlock;
  if (ProClipInfo(clip) != nullptr) {
    // Any non-zero address makes the private data present.
    extension.MakersPrivateDataStartAddress.SetValue(1);
    extension.blkMakersPrivateData.Initialize();
  }
  const std::string name = PlayListNameText(clip);
  extension.blkPlayListMeta.PlayListName.SetBytes(TextBytes(name));
  extension.blkPlayListMeta.PlayListNameLength.SetValue(static_cast<std::uint32_t>(name.size()));
  moviePlayListFile.BaseName = Utility::FiveDigitName(number);
  moviePlayListFile.CreatedHere = true;
  return StoreCopy(store_, moviePlayListFile);
}

// A play item over STC sequence `sequence` of the clip with every stream of
// the clip, linked to it.
void RestoreMoviePlayList::AddPlayItem(MoviePlayListFile& moviePlayListFile, const ClipInformationFile& clip,
                                       std::uint32_t sequence) {
  auto& list = moviePlayListFile.blkPlayList;
  list.NumberOfPlayItems.Increment();
  auto& item = list.blkPlayItemArray.Back();
  item.Initialize();
  item.ClipInformationFileName.SetBytes(TextBytes(clip.ClipName));
  item.RefToSTCID.SetValue(sequence);
  const auto& stc = clip.blkSequenceInfo.blkSTCSequenceArray[sequence];
  item.INTime.Assign(stc.PresentationStartTime);
  item.OUTTime.Assign(stc.PresentationEndTime);
  // A new play item has no streams yet: each count goes up from 0.
  auto& stn = item.blkSTNTable;
  const auto* video = CodingInfoOfPid(clip, kVideoPid);
  if (video == nullptr) AAA_THROW(AAA::InvalidDataException());
  AddStream(stn.NumberOfVideoStreamEntries, stn.blkStreamEntryVideoArray, stn.blkVideoStreamAttributesArray, kVideoPid,
            *video);
  const auto addPresent = [&clip](AAA::FieldBase& count, auto& entries, auto& attributes,
                                  std::initializer_list<std::uint32_t> pids) {
    for (std::uint32_t pid : pids) {
      if (const auto* coding = CodingInfoOfPid(clip, pid)) AddStream(count, entries, attributes, pid, *coding);
    }
  };
  addPresent(stn.NumberOfAudioStreamEntries, stn.blkStreamEntryAudioArray, stn.blkAudioStreamAttributesArray,
             {0x1100, 0x1101, 0x1102, 0x1103});
  addPresent(stn.NumberOfOBStreamEntries, stn.blkStreamEntryOBArray, stn.blkOBStreamAttributesArray, {0x1200, 0x1201});
  addPresent(stn.NumberOfMBStreamEntries, stn.blkStreamEntryMBArray, stn.blkMBStreamAttributesArray, {0x1400, 0x1401});
  LinkPlayItem(moviePlayListFile, list.blkPlayItemArray.Size() - 1, const_cast<ClipInformationFile&>(clip));
}

// An entry mark at the start of the last play item, with the clip's time
// code and recording time, and its PRO mark when the playlist has them.
void RestoreMoviePlayList::AddMark(MoviePlayListFile& moviePlayListFile, const ClipInformationFile& clip) {
  const auto& items = moviePlayListFile.blkPlayList.blkPlayItemArray;
  PlayListMarks playListMarks(moviePlayListFile);
  playListMarks.marks.NumberOfPlayListMarks.Increment();
  auto& mark = playListMarks.marks.blkPlayListMarkArray.Back();
  mark.Initialize();
  mark.RefToPlayItemID.SetValue(static_cast<std::uint32_t>(items.Size() - 1));
  mark.MarkTimeStamp.Assign(items[items.Size() - 1].INTime);

  const bool firstSet = clip.FirstSetFlag != 0;
  const auto& startTimeCode = firstSet ? clip.StartTimeCode1 : clip.StartTimeCode2;
  playListMarks.extensions.NumberOfPlayListMarks.Increment();
  auto& extension = playListMarks.extensions.blkMarkExtensionArray.Back();
  extension.Initialize();
  extension.Pulldown.Assign(clip.Pulldown);
  extension.MarkName.SetBytes(AAA::Bytes{0});
  extension.blkTimeZone.Assign(firstSet ? clip.TimeZone1 : clip.TimeZone2);
  extension.RecordTimeAndDate.Assign(firstSet ? clip.TimeAndDate1 : clip.TimeAndDate2);
  extension.blkTimeCode.Assign(startTimeCode);

  if (playListMarks.pro == nullptr) return;
  playListMarks.pro->NumberOfPlayListMarks.Increment();
  auto& proMark = playListMarks.pro->blkPRO_PlayListMarkArray.Back();
  proMark.MarkType.SetValue(Field::MarkType::kEntryMark);
  proMark.Initialize();
  if (Utility::CurrentTimeBcd(proMark.LastUpdateDate)) proMark.LastUpdateDateTimeZone.SetValue(0xFF);
  proMark.StartTimeCode.Assign(startTimeCode);
  proMark.StartBinaryGroup.Assign(clip.StartBinaryGroup);
  proMark.StreamTimeCodeInfo.Assign(clip.StreamTimeCodeInfo);
  if (const auto* proClipInfo = ProClipInfo(clip)) proMark.GlobalClipID.Assign(proClipInfo->GlobalClipID);
  if (!HasLocation(clip)) return;
  auto& location = *proMark.blkPRO_Location;
  location.SetTag();
  location.Initialize();
  location.Source.SetValue(Field::Pro_Source::kCaptured);
  AAA::FieldBase* values[] = {&location.GPSLatitudeRef, &location.GPSLatitude1,    &location.GPSLatitude2,
                              &location.GPSLatitude3,   &location.GPSLongitudeRef, &location.GPSLongitude1,
                              &location.GPSLongitude2,  &location.GPSLongitude3,   &location.GPSAltitudeRef,
                              &location.GPSAltitude};
  for (std::size_t i = 0; i < std::size(values); ++i) values[i]->SetValue(LocationValue(clip, i));
  proMark.Link();
}

}  // namespace Restore
