#include "streamscan/TsScanner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "streamscan/FrameRate.h"
#include "streamscan/StatusCodes.h"
#include "streamscan/VideoAttributes.h"

namespace StreamScan {

namespace {

constexpr int IPicture = 0;

std::span<const std::uint8_t, SourcePacketSize> packetSpan(const std::uint8_t* bytes) {
  return std::span<const std::uint8_t, SourcePacketSize>(bytes, SourcePacketSize);
}

}  // namespace

TsScanner::TsScanner(LogSink log) : log_(std::move(log)), reader_(log_), nal_(log_) {}

void TsScanner::reset() {
  reader_.close();
  nal_.reset();
  groups_.reset();
  programMap_ = ProgramMap{};
  summary_ = StreamSummary{};
  state_ = State::Idle;
  lastStatus_ = Status::Success;
  unit_ = UnitInProgress{};
  haveHeld_ = false;
  recordedPackets_ = recordedEntryPoints_ = 0;
  lastUnitWhole_ = false;
}

int TsScanner::open(const std::filesystem::path& path) {
  lastStatus_ = path.empty() ? Status::MissingArgument : reader_.open(path);
  state_ = lastStatus_ == Status::Success ? State::Scanning : State::Idle;
  return lastStatus_;
}

int TsScanner::findProgramMap() {
  if (!reader_.isOpen()) return lastStatus_ = Status::NoFileOpen;
  int status = Status::FileCannotRead;
  for (;;) {
    const std::uint8_t* bytes = nullptr;
    if (const int read = reader_.next(bytes); read != Status::Success || bytes == nullptr) {
      status = read != Status::Success ? read : Status::FileCannotRead;
      break;
    }
    TransportPacket packet;
    status = decodeSourcePacket(packetSpan(bytes), packet);
    if (status != Status::Success) break;
    if (packet.PID == PidProgramMap && packet.payload_unit_start_indicator && packet.hasPayload()) {
      status = decodeProgramMap(packet.payload, programMap_);
      break;
    }
  }
  const int rewound = reader_.rewind();
  return lastStatus_ = status != Status::Success ? status : rewound;
}

std::int64_t TsScanner::nextEntryPoint(EntryPointRecord& record, bool& endFlag) {
  endFlag = false;
  if (!reader_.isOpen()) return fail(Status::NoFileOpen);
  if (state_ == State::Failed) return -1;
  const std::uint64_t packetsBefore = reader_.packetsRead();
  bool ready = false;
  while (!ready) {
    if (state_ == State::Ended) {
      endFlag = true;
      break;
    }
    if (state_ == State::Draining) {
      state_ = State::Ended;
      const GroupTracker::StreamEnd end = streamEnd();
      summary_.endsWhole = end != GroupTracker::StreamEnd::Cut;
      if (const int status = groups_.finish(frameRateCode(), end, record, ready); status != Status::Success)
        return fail(status);
      continue;
    }
    const std::uint8_t* bytes = nullptr;
    std::uint64_t spn = heldSpn_;
    if (haveHeld_) {
      bytes = held_.data();
      haveHeld_ = false;
    } else {
      if (const int status = reader_.next(bytes); status != Status::Success) return fail(status);
      if (bytes == nullptr) {
        summary_.packets = reader_.packetsRead();
        state_ = State::Draining;
        if (const int status = completeUnit(true, record, ready); status != Status::Success) return fail(status);
        continue;
      }
      spn = reader_.packetsRead() - 1;
    }
    if (state_ == State::Discarding) continue;
    if (state_ == State::Skipping) {
      skipDamaged(bytes, spn);
      if (state_ == State::Skipping) continue;
    }
    bool unitEnds = false;
    if (const int status = processPacket(bytes, spn, unitEnds); isFailure(status)) {
      if (!beginDamage(status, spn, record, ready)) return fail(status);
      continue;
    }
    if (unitEnds) {
      std::memcpy(held_.data(), bytes, SourcePacketSize);
      haveHeld_ = true;
      heldSpn_ = spn;
      if (const int status = completeUnit(false, record, ready); status != Status::Success) {
        if (!beginDamage(status, unit_.spn, record, ready)) return fail(status);
        continue;
      }
      if (groups_.ended()) state_ = State::Discarding;
    }
  }
  return static_cast<std::int64_t>((reader_.packetsRead() - packetsBefore) * SourcePacketSize);
}

int TsScanner::closeAndFetchSummary(StreamSummary* summary) {
  const int closed = reader_.close();
  if (closed != Status::Success) return lastStatus_ = closed;
  if (summary == nullptr) return lastStatus_ = Status::PictureMissingArgument;
  summary_.recording = groups_.summary();
  *summary = summary_;
  return Status::Success;
}

// A failure past the first entry point that the stream's bytes caused
// (not the file's reading) opens a damaged stretch at packet `spn`, or
// extends the one the scan has not yet recovered from. False when the
// failure ends the scan instead.
bool TsScanner::beginDamage(int status, std::uint64_t spn, EntryPointRecord& record, bool& ready) {
  if (!groups_.anyEntryPoint() || (status & ~0xFFFF) == Status::FileLayer) return false;
  if (log_) {
    char line[128];
    std::snprintf(line, sizeof line, "damaged stream at packet %llu: %s\n", static_cast<unsigned long long>(spn),
                  describeStatus(status).c_str());
    log_(LogLevelAnomaly, line);
  }
  unit_ = UnitInProgress{};
  haveHeld_ = false;
  state_ = State::Skipping;
  if (groups_.awaitingResumption()) {
    if (DamagedStretch* stretch = currentStretch()) stretch->endByte = (spn + 1) * SourcePacketSize;
    return true;
  }
  if (summary_.damagedCount < StreamSummary::MaxDamagedStretches) {
    summary_.damaged[summary_.damagedCount] =
        DamagedStretch{spn * SourcePacketSize, (spn + 1) * SourcePacketSize, groups_.latestPts(), false, 0};
  }
  ++summary_.damagedCount;
  const int interrupted = groups_.interrupt(frameRateCode(), record, ready);
  if (interrupted == Status::Success) return true;
  lastStatus_ = interrupted;
  return false;
}

// The stretch being skipped or recovered from, when the summary keeps it.
DamagedStretch* TsScanner::currentStretch() {
  if (summary_.damagedCount == 0 || summary_.damagedCount > StreamSummary::MaxDamagedStretches) return nullptr;
  return &summary_.damaged[summary_.damagedCount - 1];
}

// Inside a damaged stretch: packets that do not decode extend it. The scan
// takes up the stream again at the first sound packet that decodes, or at
// the first video packet that starts an access unit with a sound PES header
// (a muxer may send sound in bursts seconds apart).
void TsScanner::skipDamaged(const std::uint8_t* bytes, std::uint64_t spn) {
  TransportPacket packet;
  if (decodeSourcePacket(packetSpan(bytes), packet) != Status::Success) {
    if (DamagedStretch* stretch = currentStretch()) stretch->endByte = (spn + 1) * SourcePacketSize;
    return;
  }
  const int slot = streamSlotOfPid(packet.PID);
  PesHeader pes;
  const bool unitStart = packet.PID == PidVideo && packet.payload_unit_start_indicator && packet.hasPayload() &&
                         decodeVideoPesHeader(packet.payload, pes) == Status::Success;
  if ((slot >= 1 && slot <= 4) || unitStart) state_ = State::Scanning;
}

// A clip information file that counts exactly the packets of the whole
// file, all scanned, knows how the stream ends: not cut when it counts an
// entry point for every group, cut otherwise (as a clip this tool made for a
// stream it cut says). Without one, the stream was not cut when its last
// access unit was seen to its end and the file ends with the unit of 32
// packets that holds it, as a recorder closes a stream.
GroupTracker::StreamEnd TsScanner::streamEnd() const {
  const bool allScanned = reader_.fileBytes() == reader_.packetsRead() * SourcePacketSize;
  if (allScanned && recordedPackets_ != 0 && reader_.packetsRead() == recordedPackets_) {
    return recordedEntryPoints_ >= groups_.groupsStarted() ? GroupTracker::StreamEnd::Counted
                                                           : GroupTracker::StreamEnd::Cut;
  }
  if (allScanned && lastUnitWhole_) return GroupTracker::StreamEnd::LastUnitWhole;
  return GroupTracker::StreamEnd::Cut;
}

bool TsScanner::unitEndsWhole() const {
  if (unit_.pesLength != 0) return unit_.pesBytes == std::uint64_t{unit_.pesLength} + 6;
  return unit_.lastVideoStuffed;
}

// Decodes one packet and routes it. Sets `unitEnds` (and does nothing else)
// when the packet starts the next video access unit while one is open.
int TsScanner::processPacket(const std::uint8_t* bytes, std::uint64_t spn, bool& unitEnds) {
  TransportPacket packet;
  if (const int status = decodeSourcePacket(packetSpan(bytes), packet); status != Status::Success) return status;
  const bool video = packet.PID == PidVideo && packet.hasPayload();
  if (video && packet.payload_unit_start_indicator) {
    if (unit_.open) {
      unitEnds = true;
      return Status::Success;
    }
    if (const int status = startUnit(packet, spn); isFailure(status)) return status;
  } else if (unit_.open && video) {
    unit_.lastVideoSpn = spn;
    unit_.pesBytes += packet.payload.size();
    unit_.lastVideoStuffed = packet.stuffing_bytes != 0;
    if (const int status = collect(packet.payload); isFailure(status)) return status;
  }
  if (unit_.open && packet.discontinuity_indicator && !unit_.discontinuity) {
    unit_.discontinuity = true;
    unit_.discontinuitySpn = spn;
  }
  if (packet.PID == PidProgramMap && packet.payload_unit_start_indicator && packet.hasPayload())
    return decodeProgramMap(packet.payload, programMap_);
  if (video) return unit_.open ? Status::Success : Status::VideoNotStarted;
  return Status::PacketOfNoInterest;
}

int TsScanner::startUnit(const TransportPacket& packet, std::uint64_t spn) {
  PesHeader pes;
  if (const int status = decodeVideoPesHeader(packet.payload, pes); status != Status::Success) return status;
  unit_ = UnitInProgress{};
  unit_.open = true;
  unit_.spn = unit_.lastVideoSpn = spn;
  unit_.pts = pes.pts;
  unit_.pesLength = pes.PES_packet_length;
  unit_.pesBytes = packet.payload.size();
  unit_.lastVideoStuffed = packet.stuffing_bytes != 0;
  return collect(packet.payload.subspan(pes.payloadOffset));
}

// Adds a PES payload chunk to the unit's start and analyses it again, until
// the analysis has reached the first slice.
int TsScanner::collect(std::span<const std::uint8_t> chunk) {
  if (unit_.analysisComplete) return Status::UnitComplete;
  if (chunk.size() > collected_.size()) return Status::PesChunkTooLarge;
  if (chunk.size() > collected_.size() - unit_.collected) return Status::PesBufferOverflow;
  std::copy(chunk.begin(), chunk.end(), collected_.begin() + static_cast<std::ptrdiff_t>(unit_.collected));
  unit_.collected += chunk.size();
  const int status = nal_.analyze(std::span(collected_.data(), unit_.collected), unit_.analysis);
  if (status != Status::Success) return status;
  unit_.analysisComplete = true;
  return Status::UnitComplete;
}

int TsScanner::completeUnit(bool atEnd, EntryPointRecord& record, bool& ready) {
  ready = false;
  if (!unit_.open) return Status::Success;
  unit_.open = false;
  if (!unit_.analysisComplete) {
    // A unit cut by the end of the file is simply not there; inside the
    // stream, a unit whose start never reached a slice has no picture type.
    return atEnd ? Status::Success : Status::PictureUnknownType;
  }
  if (atEnd) lastUnitWhole_ = unitEndsWhole();
  const AccessUnitAnalysis& analysis = unit_.analysis;
  if (analysis.primary_pic_type == IPicture) {
    if (const int status = takeEntryPointValues(); status != Status::Success) return status;
  }
  const SequenceParameterSet* sps = nal_.currentSps();
  PictureUnit picture;
  picture.spn = unit_.spn;
  picture.packetsToLastVideo = unit_.lastVideoSpn - unit_.spn + 1;
  picture.discontinuity = unit_.discontinuity;
  picture.discontinuitySpn = unit_.discontinuitySpn;
  picture.pts = unit_.pts;
  picture.primary_pic_type = analysis.primary_pic_type;
  picture.idr = analysis.idr;
  picture.pulldown =
      pulldownOfPicStruct(analysis.pic_struct, sps != nullptr && sps->vui.pic_struct_present_flag, frameRateCode());
  picture.metadata = analysis.metadata;
  const bool awaiting = groups_.awaitingResumption();
  if (awaiting) {
    // The lost bytes held at most what a recording of the lowest rate puts
    // into them, and the stream goes on to its next I picture; anything
    // later is another recording's time line.
    constexpr std::uint64_t LowestRecordingBytesPerSecond = 125000;
    constexpr std::uint64_t Slack = 2 * 90000;
    const DamagedStretch* stretch = currentStretch();
    const std::uint64_t lost = stretch == nullptr ? 0 : unit_.spn * SourcePacketSize - stretch->firstByte;
    groups_.allowGap(Slack + lost * 90000 / LowestRecordingBytesPerSecond);
  }
  const int status = groups_.addUnit(picture, frameRateCode(), record, ready);
  if (awaiting && !groups_.awaitingResumption() && !groups_.ended()) {
    if (DamagedStretch* stretch = currentStretch()) {
      stretch->resumed = true;
      stretch->ptsAfter = picture.pts;
    }
  }
  return status;
}

// The stream information and H.264 values, refreshed at every entry point
// from the current program map and sequence parameter set.
int TsScanner::takeEntryPointValues() {
  if (!programMap_.valid) return Status::PictureUnsupported;
  std::array<StreamInfo, StreamSummary::StreamSlots> streams{};
  bool anyKnown = false;
  for (unsigned i = 0; i < programMap_.streamCount; ++i) {
    const ElementaryStreamEntry& entry = programMap_.streams[i];
    const int slot = streamSlotOfPid(entry.elementary_PID);
    if (slot < 0) {
      // Streams of other PIDs may follow the recording's own, never lead them.
      if (!anyKnown) return Status::PictureUnsupported;
      break;
    }
    anyKnown = true;
    StreamInfo& info = streams[static_cast<unsigned>(slot)];
    info.present = true;
    info.PID = entry.elementary_PID;
    info.stream_type = entry.stream_type;
    info.video_format = entry.registration.video_format;
    info.frame_rate = entry.registration.frame_rate;
    info.aspect_ratio = entry.registration.aspect_ratio;
    info.audio_presentation_type = entry.registration.audio_presentation_type;
    info.sampling_frequency = entry.registration.sampling_frequency;
    info.ac3 = entry.ac3;
  }
  const SequenceParameterSet* sps = nal_.currentSps();
  if (sps == nullptr) return Status::PictureUnsupported;
  const std::uint8_t sizeClass = horizontalSizeClass(sps->width());
  if (sizeClass == 0) return Status::PictureUnsupported;
  VideoParameters video;
  video.HorizontalSize = sizeClass;
  video.profile_idc = sps->profile_idc;
  video.constraint_set0_flag = sps->constraint_set0_flag;
  video.constraint_set1_flag = sps->constraint_set1_flag;
  video.constraint_set2_flag = sps->constraint_set2_flag;
  video.constraint_set3_flag = sps->constraint_set3_flag;
  video.level_idc = sps->level_idc;
  StreamInfo& videoInfo = streams[StreamSummary::VideoSlot];
  if (videoInfo.frame_rate == 0) {
    const VideoAttributes derived = videoAttributesOf(*sps);
    videoInfo.video_format = derived.video_format;
    videoInfo.frame_rate = derived.frame_rate;
    videoInfo.aspect_ratio = derived.aspect_ratio;
    video.attributesFromSps = true;
  }
  summary_.streams = streams;
  summary_.video = video;
  return Status::Success;
}

// The video's frame rate code: the registration descriptor's, else the one
// the sequence parameter set's timing gives; 0 when neither is known.
int TsScanner::frameRateCode() const {
  for (unsigned i = 0; i < programMap_.streamCount; ++i) {
    const ElementaryStreamEntry& entry = programMap_.streams[i];
    if (entry.elementary_PID == PidVideo && entry.registration.frame_rate != 0) return entry.registration.frame_rate;
  }
  const SequenceParameterSet* sps = nal_.currentSps();
  if (sps == nullptr || !sps->vui.timing_info_present_flag) return 0;
  return frameRateCodeOfTiming(sps->vui.num_units_in_tick, sps->vui.time_scale);
}

std::int64_t TsScanner::fail(int status) {
  lastStatus_ = status;
  state_ = State::Failed;
  if (log_) {
    char line[128];
    std::snprintf(line, sizeof line, "stream scan failed after packet %llu: %s\n",
                  static_cast<unsigned long long>(reader_.packetsRead()), describeStatus(status).c_str());
    log_(LogLevelAnomaly, line);
  }
  return -1;
}

}  // namespace StreamScan
