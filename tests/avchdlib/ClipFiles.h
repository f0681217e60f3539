#pragma once

// Clip information models built the way the clip step builds them from a
// stream, for the tests and as fuzzing seeds.

#include <string>

#include "avchdlib/AVCHD_ClipInformation.h"

namespace ClipFiles {

using AVCHD::ClipInformation::BlkClipInformationFile;

// One stream of every coding type, in the order the clip step adds them.
inline void AddStreams(BlkClipInformationFile& file) {
  struct Stream {
    std::uint32_t pid;
    std::uint32_t codingType;
  };
  const Stream streams[] = {{0x1011, 0x1B}, {0x1100, 0x80}, {0x1101, 0x81}, {0x1200, 0x90}, {0x1400, 0x91}};
  auto& program = file.blkProgramInfo;
  for (const Stream& stream : streams) {
    program.NumberOfStreamsInPS.SetValue(static_cast<std::uint32_t>(program.blkStreamsInPSArray.Size() + 1));
    auto& added = program.blkStreamsInPSArray.Back();
    added.StreamPID.SetValue(stream.pid);
    added.blkStreamCodingInfo.Initialize();
    added.blkStreamCodingInfo.StreamCodingType.SetValue(stream.codingType);
  }
  auto& video = program.blkStreamsInPSArray[0].blkStreamCodingInfo;
  video.VideoFormat.SetValue(4);
  video.FrameRate.SetValue(4);
  video.AspectRatio.SetValue(3);
  for (std::size_t i = 1; i <= 2; ++i) {
    auto& audio = program.blkStreamsInPSArray[i].blkStreamCodingInfo;
    audio.AudioPresentationType.SetValue(3);
    audio.SamplingFrequency.SetValue(1);
  }
}

// Two STC sequences and an EP map of three coarse and seven fine entries.
inline void AddSequencesAndEntryPoints(BlkClipInformationFile& file) {
  auto& sequences = file.blkSequenceInfo;
  sequences.NumberOfSTCSequences.SetValue(2);
  for (std::uint32_t i = 0; i < 2; ++i) {
    auto& sequence = sequences.blkSTCSequenceArray[i];
    sequence.Initialize();
    sequence.SPNSTCStart.SetValue(i * 0x4000);
    sequence.PresentationStartTime.SetValue(0x1000 + i * 0x90000);
    sequence.PresentationEndTime.SetValue(0x80000 + i * 0x90000);
  }
  auto& entry = file.blkCPI.blkEPMap.blkStreamPIDEntryArray[0];
  for (std::uint32_t i = 0; i < 3; ++i) {
    entry.NumberOfEPCoarseEntries.Increment();
    auto& coarse = file.blkCPI.blkEPMap.blkEPMapForOneStreamPIDArray[0].blkEPCoarseEntryArray.Back();
    coarse.RefToEPFineID.SetValue(i * 3);
    coarse.PTSEPCoarse.SetValue(i);
    coarse.SPNEPCoarse.SetValue(i * 0x10000);
  }
  for (std::uint32_t i = 0; i < 7; ++i) {
    entry.NumberOfEPFineEntries.Increment();
    auto& fine = file.blkCPI.blkEPMap.blkEPMapForOneStreamPIDArray[0].blkEPFineEntryArray.Back();
    fine.IEndPositionOffset.SetValue(1 + i % 7);
    fine.PTSEPFine.SetValue(i * 100);
    fine.SPNEPFine.SetValue(i * 0x1000);
  }
}

// A new clip with all its parts, optionally continued into clip "00002" and
// with the makers private data.
inline BlkClipInformationFile NewClip(bool continued, bool privateData) {
  BlkClipInformationFile file;
  file.blkCPI.blkEPMap.NumberOfStreamPIDEntries.SetValue(1);
  auto& clex = file.blkExtensionData.blkDataBlock;
  clex.blkProgramInfoExt.blkProgramSequenceArray[0].NumberOfStreamCodingInfoExtInPs.SetValue(1);
  file.Initialize();
  file.blkClipInfo.NumberOfSourcePackets.SetValue(0x20000);
  if (continued) {
    file.blkClipInfo.IsCC5.SetValue(1);
    file.blkClipInfo.FollowingClipInformationFileName.SetBytes(AAA::Bytes{'0', '0', '0', '0', '2'});
  }
  AddSequencesAndEntryPoints(file);
  AddStreams(file);
  auto& codingExt = clex.blkProgramInfoExt.blkProgramSequenceArray[0].blkStreamCodingInfoExtInPsArray[0];
  codingExt.blkStreamCodingInfoExt.HorizontalSize.SetValue(1);
  codingExt.blkStreamCodingInfoExt.profile_idc.SetValue(100);
  codingExt.blkStreamCodingInfoExt.constraint_set0_flag.SetValue(0);
  codingExt.blkStreamCodingInfoExt.constraint_set1_flag.SetValue(1);
  codingExt.blkStreamCodingInfoExt.constraint_set2_flag.SetValue(0);
  codingExt.blkStreamCodingInfoExt.constraint_set3_flag.SetValue(0);
  codingExt.blkStreamCodingInfoExt.level_idc.SetValue(40);
  if (privateData) {
    clex.MakersPrivateDataStartAddress.SetValue(1);
    clex.blkMakersPrivateData.Initialize();
  }
  return file;
}

}  // namespace ClipFiles
