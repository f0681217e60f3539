#pragma once

#include <cstdint>

#include "streamscan/EntryPoint.h"
#include "streamscan/ReferenceGroup.h"
#include "streamscan/StreamSummary.h"
#include "streamscan/TimeCode.h"

namespace StreamScan {

// One complete video access unit, as the transport stream layer found it.
struct PictureUnit {
  std::uint64_t spn = 0;                 // first packet
  std::uint64_t packetsToLastVideo = 0;  // from the first packet to the last video packet
  bool discontinuity = false;            // a packet of the unit carried the indicator
  std::uint64_t discontinuitySpn = 0;
  std::uint64_t pts = 0;
  int primary_pic_type = -1;
  bool idr = false;
  int pulldown = 0;  // class that this picture's pic_struct implies
  MetadataRecord metadata = MetadataRecord::absent();
};

// Turns access units, in decoding order, into entry points: groups start at
// I pictures, STC sequences at discontinuities, and a group's record is handed
// out once the next group begins (or at the end, when the last group is as
// long as the one before it, or the stream is known not to be cut). Keeps
// only the current group.
class GroupTracker {
 public:
  void reset() { *this = GroupTracker{}; }

  // Takes the next unit. `frameRateCode` is the video's code before the
  // pulldown adjustment. Returns 0 or a picture-level failure; sets `ready`
  // when `record` holds a completed group's entry point.
  int addUnit(const PictureUnit& unit, int frameRateCode, EntryPointRecord& record, bool& ready);

  // How a stream ends: cut (or not known otherwise); with its last access
  // unit whole at the end of the file; or with exactly the packets the
  // recorder counted for it.
  enum class StreamEnd { Cut, LastUnitWhole, Counted };

  // The stream has ended: completes the last group if it is long enough, or
  // whatever its length when the stream was not cut. Only a stream whose
  // packets were counted completes a first group that no second one followed.
  int finish(int frameRateCode, StreamEnd end, EntryPointRecord& record, bool& ready);

  // A damaged stretch begins: the open group ends with the pictures taken
  // before it (its record in `record`), and the pictures that follow are
  // ignored up to an I picture that continues the same STC sequence at most
  // `maxGap` ticks (90 kHz) after the latest picture shown before the damage;
  // set the gap with allowGap before each unit. An I picture that does not
  // continue the sequence ends the recording: nothing more is taken.
  int interrupt(int frameRateCode, EntryPointRecord& record, bool& ready);
  bool awaitingResumption() const { return awaiting_; }
  void allowGap(std::uint64_t maxGap) { maxGap_ = maxGap; }
  // The recording did not continue after a damaged stretch.
  bool ended() const { return ended_; }

  // A group's record has been handed out.
  bool anyEntryPoint() const { return anyGroupReturned_; }
  // The groups begun so far, the open one among them.
  std::uint32_t groupsStarted() const { return nextFineIndex_; }
  // PTS of the latest picture shown so far, in the current sequence.
  std::uint64_t latestPts() const { return latestPts_; }

  const RecordingSummary& summary() const { return summary_; }

 private:
  struct OpenGroup {
    bool active = false;
    EntryPointRecord record;
    std::uint64_t pictureCount = 0;
    bool opensSequence = false;
    bool followsDamage = false;  // the first group after a damaged stretch
    std::uint32_t discontinuitySpn = 0;
    bool haveStartPts = false;
    std::uint64_t startPts = 0;
    MetadataRecord lastReferenceMetadata = MetadataRecord::absent();
    int timeCodeMode = TimeCodeIncrement;
  };

  struct Sequence {
    bool started = false;
    std::uint64_t startPts = 0;
    std::uint64_t pictureCount = 0;
    std::uint32_t spnStcStart = 0;
  };

  void openGroup(const PictureUnit& unit);
  bool continuesAfterDamage(const PictureUnit& unit) const;
  void closeReferenceGroup(int frameRateCode);
  int closeGroup(int frameRateCode, bool counted, EntryPointRecord& record, bool& ready);
  void placeInSequence(EntryPointRecord& record, int effectiveCode);
  int effectiveCode(int frameRateCode) const;

  RecordingSummary summary_;
  OpenGroup group_;
  ReferenceGroup reference_;
  Sequence sequence_;
  TimeCodeContinuity timeCodes_;
  bool pendingDiscontinuity_ = false;
  std::uint32_t pendingDiscontinuitySpn_ = 0;
  bool anyEntryPoint_ = false;  // an I picture has been taken as an entry point
  std::uint32_t previousPts45_ = 0;
  std::uint32_t previousSpn_ = 0;
  std::uint32_t nextFineIndex_ = 0;
  bool anyGroupReturned_ = false;
  std::uint64_t returnedPictureCount_ = 0;
  std::uint64_t latestPts_ = 0;
  bool awaiting_ = false;
  std::uint64_t maxGap_ = 0;
  bool ended_ = false;
};

}  // namespace StreamScan
