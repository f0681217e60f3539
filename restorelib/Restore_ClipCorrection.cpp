#include "restorelib/Restore_ClipCorrection.h"

#include "aaalib/AAA_Verify.h"
#include "avchdlib/AVCHD_Fields.h"
#include "restorelib/Restore_ClipValues.h"

namespace Restore {

namespace Field = AVCHD::Field;

namespace {

using AVCHD::ClipInformation::BlkClipInformationFile;

// A presentation time one tick later than the stream gives is how some
// recorders write it: it is kept.
bool IsTimeOff(const AAA::FieldBase& time, const AAA::FieldBase& newTime) {
  return time.Value() != newTime.Value() && time.Value() != newTime.Value() + 1;
}

void CorrectClipInfo(BlkClipInformationFile& clipInformationFile,
                     const BlkClipInformationFile& newClipInformationFile) {
  auto& clipInfo = clipInformationFile.blkClipInfo;
  AAA_CORRECT(clipInfo.NumberOfSourcePackets, newClipInformationFile.blkClipInfo.NumberOfSourcePackets);
  AAA_CORRECT(clipInfo.ApplicationType, newClipInformationFile.blkClipInfo.ApplicationType);
  AAA_CORRECT(clipInfo.blkTSTypeInfoBlock.FormatIdentifier,
              newClipInformationFile.blkClipInfo.blkTSTypeInfoBlock.FormatIdentifier);
}

void CorrectSequences(BlkClipInformationFile& clipInformationFile,
                      const BlkClipInformationFile& newClipInformationFile) {
  auto& sequences = clipInformationFile.blkSequenceInfo.blkSTCSequenceArray;
  const auto& newSequences = newClipInformationFile.blkSequenceInfo.blkSTCSequenceArray;
  if (sequences.Size() != newSequences.Size()) {
    AAA_CORRECT(clipInformationFile.blkSequenceInfo.NumberOfSTCSequences,
                newClipInformationFile.blkSequenceInfo.NumberOfSTCSequences);
    for (std::size_t i = 0; i < newSequences.Size(); ++i) sequences[i] = newSequences[i];
    return;
  }
  for (std::size_t i = 0; i < sequences.Size(); ++i) {
    auto& sequence = sequences[i];
    AAA_CORRECT(sequence.SPNSTCStart, newClipInformationFile.blkSequenceInfo.blkSTCSequenceArray[i].SPNSTCStart);
    // The start of the first sequence is where the recording says it begins.
    if (i > 0 && IsTimeOff(sequence.PresentationStartTime, newSequences[i].PresentationStartTime)) {
      AAA_CORRECT(sequence.PresentationStartTime,
                  newClipInformationFile.blkSequenceInfo.blkSTCSequenceArray[i].PresentationStartTime);
    }
    if (IsTimeOff(sequence.PresentationEndTime, newSequences[i].PresentationEndTime)) {
      AAA_CORRECT(sequence.PresentationEndTime,
                  newClipInformationFile.blkSequenceInfo.blkSTCSequenceArray[i].PresentationEndTime);
    }
  }
}

void CorrectStreams(BlkClipInformationFile& clipInformationFile, const BlkClipInformationFile& newClipInformationFile) {
  auto& streams = clipInformationFile.blkProgramInfo.blkStreamsInPSArray;
  const auto& newStreams = newClipInformationFile.blkProgramInfo.blkStreamsInPSArray;
  if (streams.Size() != newStreams.Size()) {
    AAA_CORRECT(clipInformationFile.blkProgramInfo.NumberOfStreamsInPS,
                newClipInformationFile.blkProgramInfo.NumberOfStreamsInPS);
    for (std::size_t i = 0; i < newStreams.Size(); ++i) streams[i] = newStreams[i];
    return;
  }
  for (std::size_t i = 0; i < streams.Size(); ++i) {
    auto& codingInfo = streams[i].blkStreamCodingInfo;
    const auto& newCodingInfo = newStreams[i].blkStreamCodingInfo;
    if (!AAA_CORRECT(streams[i].StreamPID, newClipInformationFile.blkProgramInfo.blkStreamsInPSArray[i].StreamPID)) {
      codingInfo = newCodingInfo;
      codingInfo.Link();
    }
    AAA_CORRECT(codingInfo.StreamCodingType, newCodingInfo.StreamCodingType);
    if (newCodingInfo.StreamCodingType == Field::StreamCodingType::kAvcVideo) {
      AAA_CORRECT(codingInfo.VideoFormat, newCodingInfo.VideoFormat);
      AAA_CORRECT(codingInfo.FrameRate, newCodingInfo.FrameRate);
      AAA_CORRECT(codingInfo.AspectRatio, newCodingInfo.AspectRatio);
    } else if (newCodingInfo.StreamCodingType == Field::StreamCodingType::kLpcmAudio ||
               newCodingInfo.StreamCodingType == Field::StreamCodingType::kAc3Audio) {
      AAA_CORRECT(codingInfo.AudioPresentationType, newCodingInfo.AudioPresentationType);
      AAA_CORRECT(codingInfo.SamplingFrequency, newCodingInfo.SamplingFrequency);
    }
  }
}

void CorrectEntryPoints(BlkClipInformationFile& clipInformationFile,
                        const BlkClipInformationFile& newClipInformationFile) {
  auto& map = clipInformationFile.blkCPI.blkEPMap;
  const auto& newMap = newClipInformationFile.blkCPI.blkEPMap;
  const auto& newEntry = newMap.blkStreamPIDEntryArray[0];
  const auto& newTables = newMap.blkEPMapForOneStreamPIDArray[0];
  const bool sameShape = map.NumberOfStreamPIDEntries == newMap.NumberOfStreamPIDEntries &&
                         !map.blkStreamPIDEntryArray.Empty() &&
                         map.blkStreamPIDEntryArray[0].NumberOfEPCoarseEntries == newEntry.NumberOfEPCoarseEntries &&
                         map.blkStreamPIDEntryArray[0].NumberOfEPFineEntries == newEntry.NumberOfEPFineEntries;
  if (!sameShape) {
    AAA_CORRECT(map.NumberOfStreamPIDEntries, newClipInformationFile.blkCPI.blkEPMap.NumberOfStreamPIDEntries);
    clipInformationFile.blkCPI.Link();
    auto& entry = map.blkStreamPIDEntryArray[0];
    AAA_CORRECT(entry.NumberOfEPCoarseEntries,
                newClipInformationFile.blkCPI.blkEPMap.blkStreamPIDEntryArray[0].NumberOfEPCoarseEntries);
    AAA_CORRECT(entry.NumberOfEPFineEntries,
                newClipInformationFile.blkCPI.blkEPMap.blkStreamPIDEntryArray[0].NumberOfEPFineEntries);
    auto& tables = map.blkEPMapForOneStreamPIDArray[0];
    for (std::size_t k = 0; k < newTables.blkEPCoarseEntryArray.Size(); ++k) {
      tables.blkEPCoarseEntryArray[k] = newTables.blkEPCoarseEntryArray[k];
    }
    for (std::size_t k = 0; k < newTables.blkEPFineEntryArray.Size(); ++k) {
      tables.blkEPFineEntryArray[k] = newTables.blkEPFineEntryArray[k];
    }
    return;
  }
  auto& tables = map.blkEPMapForOneStreamPIDArray[0];
  for (std::size_t k = 0; k < tables.blkEPCoarseEntryArray.Size(); ++k) {
    auto& coarse = tables.blkEPCoarseEntryArray[k];
    const auto& newEpCoarseEntry = newTables.blkEPCoarseEntryArray[k];
    AAA_CORRECT(coarse.RefToEPFineID, newEpCoarseEntry.RefToEPFineID);
    AAA_CORRECT(coarse.PTSEPCoarse, newEpCoarseEntry.PTSEPCoarse);
    AAA_CORRECT(coarse.SPNEPCoarse, newEpCoarseEntry.SPNEPCoarse);
  }
  for (std::size_t k = 0; k < tables.blkEPFineEntryArray.Size(); ++k) {
    auto& fine = tables.blkEPFineEntryArray[k];
    const auto& newEpFineEntry = newTables.blkEPFineEntryArray[k];
    AAA_CORRECT(fine.IEndPositionOffset, newEpFineEntry.IEndPositionOffset);
    AAA_CORRECT(fine.PTSEPFine, newEpFineEntry.PTSEPFine);
    AAA_CORRECT(fine.SPNEPFine, newEpFineEntry.SPNEPFine);
  }
}

void CorrectCodingInfoExtension(BlkClipInformationFile& clipInformationFile,
                                const BlkClipInformationFile& newClipInformationFile) {
  auto& sequence = clipInformationFile.blkExtensionData.blkDataBlock.blkProgramInfoExt.blkProgramSequenceArray[0];
  const auto& newSequence =
      newClipInformationFile.blkExtensionData.blkDataBlock.blkProgramInfoExt.blkProgramSequenceArray[0];
  // A file that lists no coding of its video gets the stream's.
  if (sequence.blkStreamCodingInfoExtInPsArray.Empty()) {
    AAA_CORRECT(sequence.NumberOfStreamCodingInfoExtInPs, newSequence.NumberOfStreamCodingInfoExtInPs);
    sequence.blkStreamCodingInfoExtInPsArray[0] = newSequence.blkStreamCodingInfoExtInPsArray[0];
    sequence.Link();
  }
  auto& codingInfoExt = sequence.blkStreamCodingInfoExtInPsArray[0].blkStreamCodingInfoExt;
  const auto& newCodingInfoExt = newSequence.blkStreamCodingInfoExtInPsArray[0].blkStreamCodingInfoExt;
  AAA_CORRECT(codingInfoExt.HorizontalSize, newCodingInfoExt.HorizontalSize);
  AAA::Correct(codingInfoExt.profile_idc, &newCodingInfoExt.profile_idc, AAA_RULE("newCodingInfoExt.ProfileIdc"));
  AAA::Correct(codingInfoExt.constraint_set0_flag, &newCodingInfoExt.constraint_set0_flag,
               AAA_RULE("newCodingInfoExt.ConstraintSet0Flag"));
  AAA::Correct(codingInfoExt.constraint_set1_flag, &newCodingInfoExt.constraint_set1_flag,
               AAA_RULE("newCodingInfoExt.ConstraintSet1Flag"));
  AAA::Correct(codingInfoExt.constraint_set2_flag, &newCodingInfoExt.constraint_set2_flag,
               AAA_RULE("newCodingInfoExt.ConstraintSet2Flag"));
  AAA::Correct(codingInfoExt.constraint_set3_flag, &newCodingInfoExt.constraint_set3_flag,
               AAA_RULE("newCodingInfoExt.ConstraintSet3Flag"));
  AAA::Correct(codingInfoExt.level_idc, &newCodingInfoExt.level_idc, AAA_RULE("newCodingInfoExt.LevelIdc"));
}

}  // namespace

void CorrectClipInformationFile(BlkClipInformationFile& clipInformationFile,
                                const BlkClipInformationFile& newClipInformationFile) {
  CorrectClipInfo(clipInformationFile, newClipInformationFile);
  CorrectSequences(clipInformationFile, newClipInformationFile);
  CorrectStreams(clipInformationFile, newClipInformationFile);
  CorrectEntryPoints(clipInformationFile, newClipInformationFile);
  CorrectCodingInfoExtension(clipInformationFile, newClipInformationFile);
  clipInformationFile.Link();
  if (clipInformationFile.IsModified()) StampClipMaker(clipInformationFile);
  CopyPerClipValues(clipInformationFile, newClipInformationFile);
}

void CopyPerClipValues(BlkClipInformationFile& clipInformationFile,
                       const BlkClipInformationFile& newClipInformationFile) {
  using FieldPair = std::pair<AAA::FieldBase*, const AAA::FieldBase*>;
  for (auto [field, newField] : {FieldPair{&clipInformationFile.LastTimeCode, &newClipInformationFile.LastTimeCode},
                                 {&clipInformationFile.Pulldown, &newClipInformationFile.Pulldown},
                                 {&clipInformationFile.StreamTimeCodeInfo, &newClipInformationFile.StreamTimeCodeInfo},
                                 {&clipInformationFile.StartTimeCode1, &newClipInformationFile.StartTimeCode1},
                                 {&clipInformationFile.StartTimeCode2, &newClipInformationFile.StartTimeCode2},
                                 {&clipInformationFile.StartBinaryGroup, &newClipInformationFile.StartBinaryGroup},
                                 {&clipInformationFile.TimeZone1, &newClipInformationFile.TimeZone1},
                                 {&clipInformationFile.TimeZone2, &newClipInformationFile.TimeZone2},
                                 {&clipInformationFile.TimeAndDate1, &newClipInformationFile.TimeAndDate1},
                                 {&clipInformationFile.TimeAndDate2, &newClipInformationFile.TimeAndDate2}}) {
    field->Assign(*newField);
  }
  clipInformationFile.ChannelMark3D = newClipInformationFile.ChannelMark3D;
  clipInformationFile.StartPts1 = newClipInformationFile.StartPts1;
  clipInformationFile.StartPts2 = newClipInformationFile.StartPts2;
  clipInformationFile.FirstSetFlag = newClipInformationFile.FirstSetFlag;
  clipInformationFile.RecordingParameterBytes = newClipInformationFile.RecordingParameterBytes;
}

}  // namespace Restore
