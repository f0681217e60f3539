#include "restorelib/Restore_NewClipInformation.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <vector>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "avchdlib/AVCHD_Fields.h"
#include "restorelib/Restore_Utility.h"
#include "streamscan/StatusCodes.h"
#include "streamscan/TsScanner.h"

namespace Restore {

namespace Field = AVCHD::Field;

namespace {

using AVCHD::ClipInformation::BlkClipInformationFile;
using StreamScan::EntryPointRecord;
using StreamScan::MetadataRecord;
using StreamScan::StreamSummary;

// The PIDs of the streams that follow the video in the program info, in order.
constexpr std::uint16_t kOtherStreamPids[] = {0x1100, 0x1101, 0x1102, 0x1103, 0x1200, 0x1201, 0x1400, 0x1401};

bool IsAudio(std::uint8_t streamType) {
  return streamType == Field::StreamCodingType::kLpcmAudio || streamType == Field::StreamCodingType::kAc3Audio;
}

struct AudioValues {
  std::uint32_t presentationType = 0;
  std::uint32_t samplingFrequency = 0;
};

// The registration descriptor's audio values. A program map without them
// (as general-purpose muxers write it) would give a clip that fails its own
// rules when read again; such audio is described as 48 kHz, mono or
// multichannel when the AC-3 descriptor says so, stereo otherwise.
AudioValues AudioValuesOf(const StreamScan::StreamInfo& info) {
  if (info.audio_presentation_type != 0 && info.sampling_frequency != 0) {
    return {info.audio_presentation_type, info.sampling_frequency};
  }
  using Presentation = Field::AudioPresentationType;
  std::uint32_t presentation = Presentation::kStereo;
  if (info.ac3.present && info.ac3.num_channels == 1) presentation = Presentation::kMono;
  if (info.ac3.present && info.ac3.num_channels >= 3 && info.ac3.num_channels <= 7) {
    presentation = Presentation::kMultichannel;
  }
  return {presentation, Field::SamplingFrequency::k48kHz};
}

void StoreBytes(AAA::FieldBase& field, std::initializer_list<std::uint32_t> words, std::size_t skipBytes) {
  AAA::Bytes bytes;
  for (std::uint32_t word : words) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(word >> shift));
  }
  field.SetBytes(AAA::Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(skipBytes), bytes.end()));
}

// Builds one clip information file while the scanner hands out the entry
// points of its stream.
class ClipScan {
 public:
  ClipScan(BlkClipInformationFile& newClipInformationFile, const std::filesystem::path& stream)
      : file_(newClipInformationFile), stream_(stream) {}

  NewClipInformation Run(const ScanProgress& progress, const RecordedStream& recorded) {
    Open();
    scanner_.setRecordedStream(recorded.SourcePackets, recorded.EntryPoints);
    for (;;) {
      EntryPointRecord record;
      bool end = false;
      const std::int64_t size = scanner_.nextEntryPoint(record, end);
      AAA::Log::Line(AAA::Log::kValue, "  read offset: 0x%016" PRIx64 "  size: 0x%08x (%d)\n", offset_,
                     static_cast<std::uint32_t>(size), static_cast<int>(size));
      if (size < 0) {
        if (entryPoints_ == 0) AAA_THROW(AAA::InvalidStreamException());
        // Past its first entry point a stream ends where it stops making
        // sense: the clip keeps the entry points taken.
        break;
      }
      if (end) break;
      AddEntryPoint(record);
      offset_ += static_cast<std::uint64_t>(size);
      if (progress) progress(static_cast<std::uint64_t>(size));
    }
    Finish();
    return {offset_, damagedStretches_, secondsLeftOut_};
  }

 private:
  void Open() {
    scanner_.reset();
    if (scanner_.open(stream_) != StreamScan::Status::Success) {
      // Not a broken stream: the file is gone or cannot be read.
      RESTORE_THROW_ERROR(Utility::Exists(stream_) ? EIO : ENOENT);
    }
    // A stream without a usable program map fails at its first entry point.
    scanner_.findProgramMap();
  }

  void AddEntryPoint(const EntryPointRecord& record) {
    const bool first = entryPoints_ == 0;
    auto& sequenceInfo = file_.blkSequenceInfo;
    if (first || record.NewSTCSequence == 1) {
      if (!first) sequenceInfo.blkSTCSequenceArray.Back().PresentationEndTime.SetValue(record.SequenceEndTime);
      sequenceInfo.NumberOfSTCSequences.Increment();
      auto& sequence = sequenceInfo.blkSTCSequenceArray.Back();
      sequence.Initialize();
      sequence.SPNSTCStart.SetValue(record.SPNSTCStart);
      sequence.PresentationStartTime.SetValue(record.SequenceStartTime);
      sequenceStarts_.push_back({record.SequenceStartTime, record.PTS45});
    }
    auto& entry = file_.blkCPI.blkEPMap.blkStreamPIDEntryArray[0];
    auto& tables = file_.blkCPI.blkEPMap.blkEPMapForOneStreamPIDArray[0];
    if (first || record.NewCoarseEntry == 1) {
      entry.NumberOfEPCoarseEntries.Increment();
      auto& coarse = tables.blkEPCoarseEntryArray.Back();
      coarse.RefToEPFineID.SetValue(record.FineIndex);
      coarse.PTSEPCoarse.SetValue(record.PTSCoarse);
      coarse.SPNEPCoarse.SetValue(record.SPNCoarse);
    }
    entry.NumberOfEPFineEntries.Increment();
    auto& fine = tables.blkEPFineEntryArray.Back();
    fine.IEndPositionOffset.SetValue(record.IEndPositionOffset);
    fine.PTSEPFine.SetValue((record.PTS45 >> 8) & 0x7FF);
    fine.SPNEPFine.SetValue(record.SPN & 0x1FFFF);
    ++entryPoints_;
  }

  void Finish() {
    StreamSummary summary;
    if (scanner_.closeAndFetchSummary(&summary) != StreamScan::Status::Success) {
      AAA_THROW(AAA::InvalidStreamException());
    }
    if (entryPoints_ == 0) AAA_THROW(AAA::InvalidStreamException());
    secondsLeftOut_ = static_cast<double>(summary.recording.timeLeftOut) / 45000;
    // Times of the damage count from the start of the recording.
    DescribeDamage(summary, std::uint64_t{sequenceStarts_.front().startTime} * 2);
    FinishSequences(summary);
    auto& clipInfo = file_.blkClipInfo;
    clipInfo.NumberOfSourcePackets.SetValue(static_cast<std::uint32_t>(summary.packets));
    const auto& video = summary.streams[StreamSummary::VideoSlot];
    if (video.video_format == Field::VideoFormat::k1080p &&
        (video.frame_rate == Field::FrameRate::k5994 || video.frame_rate == Field::FrameRate::k50)) {
      clipInfo.ApplicationType.SetValue(Field::ApplicationType::kMovie1080p);
      clipInfo.TSRecordingRate.SetValue(3500000);
      clipInfo.blkTSTypeInfoBlock.FormatIdentifier.SetBytes(AAA::Bytes{'H', 'D', 'P', 'R'});
    } else {
      clipInfo.ApplicationType.SetValue(Field::ApplicationType::kMovie);
      clipInfo.TSRecordingRate.SetValue(3000000);
      clipInfo.blkTSTypeInfoBlock.FormatIdentifier.SetBytes(AAA::Bytes{'H', 'D', 'M', 'V'});
    }
    if (!video.present) AAA_THROW(AAA::InvalidDataException());
    AddStreams(summary);
    AddCodingInfoExtension(summary);
    TakeRecordingValues(summary);
  }

  void DescribeDamage(const StreamSummary& summary, std::uint64_t startPts) {
    const auto seconds = [startPts](std::uint64_t pts) {
      return static_cast<double>(static_cast<std::int64_t>(pts - startPts)) / 90000;
    };
    const unsigned listed = std::min<unsigned>(summary.damagedCount, StreamSummary::MaxDamagedStretches);
    for (unsigned i = 0; i < listed; ++i) {
      const StreamScan::DamagedStretch& stretch = summary.damaged[i];
      char line[160];
      if (stretch.resumed) {
        std::snprintf(line, sizeof line, ": bytes %" PRIu64 " to %" PRIu64 " (%.2f s to %.2f s) are damaged: skipped",
                      stretch.firstByte, stretch.endByte, seconds(stretch.ptsBefore), seconds(stretch.ptsAfter));
      } else {
        std::snprintf(line, sizeof line,
                      ": bytes %" PRIu64 " to %" PRIu64 " (from %.2f s) are damaged: the clip ends there",
                      stretch.firstByte, stretch.endByte, seconds(stretch.ptsBefore));
      }
      damagedStretches_.push_back(stream_.string() + line);
    }
    if (summary.damagedCount > listed) {
      damagedStretches_.push_back(stream_.string() + ": " + std::to_string(summary.damagedCount - listed) +
                                  " more damaged stretches: skipped");
    }
    for (const auto& finding : damagedStretches_) AAA::Log::Line(AAA::Log::kHeading, "%s\n", finding.c_str());
  }

  // The last sequence ends where the scan's last complete group ends. A
  // sequence shorter than one second is dropped, unless it is the only one.
  void FinishSequences(const StreamSummary& summary) {
    auto& sequenceInfo = file_.blkSequenceInfo;
    sequenceInfo.blkSTCSequenceArray.Back().PresentationEndTime.SetValue(summary.recording.lastSequenceEndTime);
    for (std::size_t i = 0; i < sequenceInfo.blkSTCSequenceArray.Size();) {
      const auto& sequence = sequenceInfo.blkSTCSequenceArray[i];
      if ((sequence.PresentationEndTime - sequence.PresentationStartTime) / 45000 != 0) {
        ++i;
        continue;
      }
      if (sequenceInfo.blkSTCSequenceArray.Size() == 1) AAA_THROW(AAA::InvalidStreamException());
      sequenceInfo.blkSTCSequenceArray.Erase(i);
      sequenceStarts_.erase(sequenceStarts_.begin() + static_cast<std::ptrdiff_t>(i));
      sequenceInfo.NumberOfSTCSequences.SetValue(sequenceInfo.NumberOfSTCSequences - 1);
    }
    sequenceInfo.Link();
  }

  void AddStreams(const StreamSummary& summary) {
    auto& program = file_.blkProgramInfo;
    const auto& video = summary.streams[StreamSummary::VideoSlot];
    auto& videoCoding = AddStream(0x1011, video.stream_type);
    videoCoding.VideoFormat.SetValue(video.video_format);
    videoCoding.FrameRate.SetValue(video.frame_rate);
    videoCoding.AspectRatio.SetValue(video.aspect_ratio);
    for (std::uint16_t pid : kOtherStreamPids) {
      const auto& info = summary.streams[static_cast<std::size_t>(StreamScan::streamSlotOfPid(pid))];
      if (!info.present) continue;
      auto& coding = AddStream(pid, info.stream_type);
      if (!IsAudio(info.stream_type)) continue;
      const AudioValues audio = AudioValuesOf(info);
      coding.AudioPresentationType.SetValue(audio.presentationType);
      coding.SamplingFrequency.SetValue(audio.samplingFrequency);
    }
    program.Link();
  }

  AVCHD::ClipInformation::BlkStreamCodingInfo& AddStream(std::uint16_t pid, std::uint8_t streamType) {
    auto& program = file_.blkProgramInfo;
    program.NumberOfStreamsInPS.Increment();
    auto& stream = program.blkStreamsInPSArray.Back();
    stream.StreamPID.SetValue(pid);
    stream.blkStreamCodingInfo.Initialize();
    stream.blkStreamCodingInfo.StreamCodingType.SetValue(streamType);
    return stream.blkStreamCodingInfo;
  }

  void AddCodingInfoExtension(const StreamSummary& summary) {
    auto& clex = file_.blkExtensionData.blkDataBlock;
    auto& codingInfoExt =
        clex.blkProgramInfoExt.blkProgramSequenceArray[0].blkStreamCodingInfoExtInPsArray[0].blkStreamCodingInfoExt;
    codingInfoExt.HorizontalSize.SetValue(summary.video.HorizontalSize);
    codingInfoExt.profile_idc.SetValue(summary.video.profile_idc);
    codingInfoExt.constraint_set0_flag.SetValue(summary.video.constraint_set0_flag);
    codingInfoExt.constraint_set1_flag.SetValue(summary.video.constraint_set1_flag);
    codingInfoExt.constraint_set2_flag.SetValue(summary.video.constraint_set2_flag);
    codingInfoExt.constraint_set3_flag.SetValue(summary.video.constraint_set3_flag);
    codingInfoExt.level_idc.SetValue(summary.video.level_idc);
  }

  // Time codes, binary group, recording dates, pulldown, recording
  // parameters and start times: what the later steps read beside the file.
  void TakeRecordingValues(const StreamSummary& summary) {
    const auto& recording = summary.recording;
    const MetadataRecord& firstRecord = recording.firstRecord;
    const MetadataRecord& secondRecord = recording.secondRecord;
    const auto& timeCode = firstRecord[MetadataRecord::TimeCode];
    const auto& binaryGroup = firstRecord[MetadataRecord::BinaryGroup];
    if (timeCode.valid || binaryGroup.valid) {
      auto& clex = file_.blkExtensionData.blkDataBlock;
      clex.MakersPrivateDataStartAddress.SetValue(1);
      clex.blkMakersPrivateData.Initialize();
      auto& proClipInfo = clex.blkMakersPrivateData.blkDataBlock.blkProClipInfo;
      if (timeCode.valid) {
        proClipInfo.StartTimeCode.SetValue(timeCode.value);
        file_.StartTimeCode1.SetValue(timeCode.value);
        file_.StartTimeCode2.SetValue(secondRecord[MetadataRecord::TimeCode].value);
      }
      if (binaryGroup.valid) {
        proClipInfo.StartBinaryGroup.SetValue(binaryGroup.value);
        file_.StartBinaryGroup.SetValue(binaryGroup.value);
      }
    }
    const MetadataRecord& latest = recording.latestRecord;
    if (latest[MetadataRecord::TimeCode].valid) file_.LastTimeCode.SetValue(latest[MetadataRecord::TimeCode].value);
    if (latest[MetadataRecord::Channel3d].valid) file_.ChannelMark3D = latest[MetadataRecord::Channel3d].value;
    file_.Pulldown.SetValue(static_cast<std::uint32_t>(recording.pulldown));
    file_.StreamTimeCodeInfo.SetValue(static_cast<std::uint32_t>(recording.timeCodeMode));
    TakeRecordingDates(firstRecord, secondRecord);
    TakeRecordingParameters(latest);
    // The start values belong to the first sequence the clip keeps.
    file_.StartPts1 = sequenceStarts_.front().startTime;
    file_.StartPts2 = sequenceStarts_.front().firstEntryTime;
    file_.FirstSetFlag = recording.firstPictureIdr ? 1 : 0;
  }

  // From the recording metadata, else from the stream file's time.
  void TakeRecordingDates(const MetadataRecord& firstRecord, const MetadataRecord& secondRecord) {
    if (firstRecord[MetadataRecord::TimeZoneAndDate].valid && firstRecord[MetadataRecord::DateTail].valid) {
      TakeRecordingDate(firstRecord, file_.TimeZone1, file_.TimeAndDate1);
      TakeRecordingDate(secondRecord, file_.TimeZone2, file_.TimeAndDate2);
      return;
    }
    if (!Utility::FileTimeBcd(file_.TimeAndDate1, stream_)) return;
    file_.TimeAndDate2.Assign(file_.TimeAndDate1);
    file_.TimeZone1.SetValue(0xFF);
    file_.TimeZone2.SetValue(0xFF);
  }

  static void TakeRecordingDate(const MetadataRecord& record, AAA::FieldBase& timeZone, AAA::FieldBase& timeAndDate) {
    const std::uint32_t zoneAndDate = record[MetadataRecord::TimeZoneAndDate].value;
    timeZone.SetValue(zoneAndDate >> 24);
    StoreBytes(timeAndDate, {zoneAndDate, record[MetadataRecord::DateTail].value}, 1);
  }

  void TakeRecordingParameters(const MetadataRecord& latest) {
    for (unsigned slot = MetadataRecord::FirstRecordingParameter; slot <= MetadataRecord::LastRecordingParameter;
         ++slot) {
      if (!latest[slot].valid) return;
    }
    auto byte = file_.RecordingParameterBytes.begin();
    for (unsigned slot = MetadataRecord::FirstRecordingParameter; slot <= MetadataRecord::LastRecordingParameter;
         ++slot) {
      for (int shift = 24; shift >= 0; shift -= 8) *byte++ = static_cast<std::uint8_t>(latest[slot].value >> shift);
    }
  }

  BlkClipInformationFile& file_;
  const std::filesystem::path& stream_;
  StreamScan::TsScanner scanner_;
  std::uint64_t offset_ = 0;
  std::uint32_t entryPoints_ = 0;
  // Where each STC sequence starts, and the time of its first entry point.
  struct SequenceStart {
    std::uint32_t startTime = 0;
    std::uint32_t firstEntryTime = 0;
  };
  std::vector<SequenceStart> sequenceStarts_;
  std::vector<std::string> damagedStretches_;
  double secondsLeftOut_ = 0;
};

}  // namespace

NewClipInformation BuildNewClipInformationFile(BlkClipInformationFile& newClipInformationFile,
                                               const std::filesystem::path& stream, const std::string& clipName,
                                               const ScanProgress& progress, const RecordedStream& recorded) {
  newClipInformationFile.ClipName = clipName;
  newClipInformationFile.blkCPI.blkEPMap.NumberOfStreamPIDEntries.SetValue(1);
  auto& clex = newClipInformationFile.blkExtensionData.blkDataBlock;
  clex.blkProgramInfoExt.NumberOfProgramSequences.SetValue(1);
  clex.blkProgramInfoExt.blkProgramSequenceArray[0].NumberOfStreamCodingInfoExtInPs.SetValue(1);
  newClipInformationFile.Initialize();
  AAA::Log::Line(AAA::Log::kHeading, "open: %s\n", stream.c_str());
  return ClipScan(newClipInformationFile, stream).Run(progress, recorded);
}

}  // namespace Restore
