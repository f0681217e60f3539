#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "streamscan/AccessUnitAnalysis.h"
#include "streamscan/EntryPoint.h"
#include "streamscan/GroupTracker.h"
#include "streamscan/LogSink.h"
#include "streamscan/NalAnalyzer.h"
#include "streamscan/PacketReader.h"
#include "streamscan/ProgramMap.h"
#include "streamscan/StreamSummary.h"
#include "streamscan/TransportPacket.h"

namespace StreamScan {

// Scans one stream file of 192-byte source packets from start to end and
// hands out the entry points of its EP map one at a time, then a summary of
// the stream. One object scans one stream at a time; two objects can scan two
// streams side by side. Memory does not depend on the file's size.
//
// Use: reset, open, findProgramMap, nextEntryPoint until endFlag, then
// closeAndFetchSummary. Every operation answers with a status code
// (StatusCodes.h) and never throws.
class TsScanner {
 public:
  explicit TsScanner(LogSink log = {});
  TsScanner(const TsScanner&) = delete;
  TsScanner& operator=(const TsScanner&) = delete;

  // Forgets everything of the previous stream and closes its file.
  void reset();

  // Opens a stream and sets the scan limit (whole packets, in multiples of
  // 32). 0, Status::MissingArgument (empty path), Status::FileCannotOpen, or
  // Status::FileCannotRead for an empty file.
  int open(const std::filesystem::path& path);

  // The stream as its clip information from the card describes it: the
  // number of source packets and of entry points; 0 (the default) when
  // nothing is known. A stream of exactly that many packets whose entry
  // points the clip counts up to its last group was not cut, and that group
  // keeps its entry point whatever its length. Kept until reset.
  void setRecordedStream(std::uint64_t packets, std::uint64_t entryPoints) {
    recordedPackets_ = packets;
    recordedEntryPoints_ = entryPoints;
  }

  // Reads from the start up to the first program map packet and decodes it,
  // then rewinds. 0, a packet decoding failure, or Status::FileCannotRead when
  // the file ends first. A stream without a usable program map fails later,
  // at its first entry point.
  int findProgramMap();

  // Scans up to the next complete group and fills `record` with its entry
  // point. Returns the bytes (packets * 192) read since the previous call, the
  // sum of which is the scan's progress, or -1 on failure (lastStatus() says
  // why). At the end of the stream sets `endFlag` instead of filling `record`.
  // Past the first entry point, packets that do not decode are a damaged
  // stretch: the group they interrupt is handed out with the pictures before
  // them, the packets up to the next sound packet are skipped, and the scan
  // goes on with the next I picture when it continues the same STC sequence
  // (the summary lists the stretches).
  std::int64_t nextEntryPoint(EntryPointRecord& record, bool& endFlag);

  // Closes the file and copies the summary out. 0, Status::FileCannotClose,
  // or Status::PictureMissingArgument when `summary` is null.
  int closeAndFetchSummary(StreamSummary* summary);

  // The code that made the last operation fail, 0 when none did.
  int lastStatus() const { return lastStatus_; }

 private:
  // Skipping: inside a damaged stretch. Discarding: the recording ended at
  // a damaged stretch; the rest of the file is only counted.
  enum class State { Idle, Scanning, Skipping, Discarding, Draining, Ended, Failed };

  struct UnitInProgress {
    bool open = false;
    std::uint64_t spn = 0;
    std::uint64_t lastVideoSpn = 0;
    bool discontinuity = false;
    std::uint64_t discontinuitySpn = 0;
    std::uint64_t pts = 0;
    std::size_t collected = 0;
    bool analysisComplete = false;
    // Whether the PES packet has been seen to its end: by its length, or by
    // the stuffing of its last video packet when its length is open.
    std::uint16_t pesLength = 0;
    std::uint64_t pesBytes = 0;
    bool lastVideoStuffed = false;
    AccessUnitAnalysis analysis;
  };

  int processPacket(const std::uint8_t* bytes, std::uint64_t spn, bool& unitEnds);
  bool beginDamage(int status, std::uint64_t spn, EntryPointRecord& record, bool& ready);
  void skipDamaged(const std::uint8_t* bytes, std::uint64_t spn);
  GroupTracker::StreamEnd streamEnd() const;
  bool unitEndsWhole() const;
  DamagedStretch* currentStretch();
  int startUnit(const TransportPacket& packet, std::uint64_t spn);
  int collect(std::span<const std::uint8_t> chunk);
  int completeUnit(bool atEnd, EntryPointRecord& record, bool& ready);
  int takeEntryPointValues();
  int frameRateCode() const;
  std::int64_t fail(int status);

  LogSink log_;
  PacketReader reader_;
  NalAnalyzer nal_;
  GroupTracker groups_;
  ProgramMap programMap_;
  StreamSummary summary_;
  State state_ = State::Idle;
  int lastStatus_ = 0;
  UnitInProgress unit_;
  std::array<std::uint8_t, NalAnalyzer::MaxCollectedBytes> collected_{};
  // The packet that starts the next unit, read while ending the current one.
  std::array<std::uint8_t, SourcePacketSize> held_{};
  bool haveHeld_ = false;
  std::uint64_t heldSpn_ = 0;
  std::uint64_t recordedPackets_ = 0;
  std::uint64_t recordedEntryPoints_ = 0;
  bool lastUnitWhole_ = false;
};

}  // namespace StreamScan
