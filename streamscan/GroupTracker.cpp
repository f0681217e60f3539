#include "streamscan/GroupTracker.h"

#include <algorithm>

#include "streamscan/FrameRate.h"
#include "streamscan/StatusCodes.h"

namespace StreamScan {

namespace {

enum PrimaryPicType : int { IPicture = 0, PPicture = 1, BPicture = 2 };

constexpr std::uint64_t PtsMask = (std::uint64_t{1} << 33) - 1;

std::uint32_t low32(std::uint64_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace

int GroupTracker::effectiveCode(int frameRateCode) const {
  return effectiveFrameRateCode(frameRateCode, summary_.pulldown);
}

int GroupTracker::addUnit(const PictureUnit& unit, int frameRateCode, EntryPointRecord& record, bool& ready) {
  ready = false;
  const int type = unit.primary_pic_type;
  if (type != IPicture && type != PPicture && type != BPicture) return Status::PictureUnknownType;
  if (ended_) return Status::Success;
  summary_.pulldown = std::max(summary_.pulldown, unit.pulldown);
  // A discontinuity anywhere since the last group start (often the PCR packet
  // just before the next I picture) opens the STC sequence of the next group.
  if (unit.discontinuity && !pendingDiscontinuity_) {
    pendingDiscontinuity_ = true;
    pendingDiscontinuitySpn_ = low32(unit.discontinuitySpn);
  }
  const GroupPicture picture{unit.pts, unit.metadata};
  if (type == IPicture) {
    const bool resumes = awaiting_;
    if (resumes) {
      awaiting_ = false;
      // Without a discontinuity the damage must have left the time line as it was.
      if (!pendingDiscontinuity_ && !continuesAfterDamage(unit)) {
        ended_ = true;
        return Status::Success;
      }
    }
    if (group_.active) {
      if (const int status = closeGroup(frameRateCode, true, record, ready); status != Status::Success) return status;
    }
    openGroup(unit);
    group_.followsDamage = resumes && !group_.opensSequence;
    reference_.start(picture);
  } else if (!group_.active) {
    return Status::Success;  // pictures before the first I picture belong to no group
  } else if (type == PPicture) {
    closeReferenceGroup(frameRateCode);
    reference_.start(picture);
  } else if (!reference_.addB(picture)) {
    return Status::PictureUnsupported;
  }
  ++group_.pictureCount;
  latestPts_ = type == IPicture && group_.opensSequence ? unit.pts : std::max(latestPts_, unit.pts);
  return Status::Success;
}

int GroupTracker::finish(int frameRateCode, StreamEnd end, EntryPointRecord& record, bool& ready) {
  ready = false;
  if (!group_.active) return Status::Success;
  // A last group shorter than the one before it was cut, unless the stream
  // was not; the very first group can only be known complete when a second
  // one starts or the recorder's count says so.
  const bool complete =
      end == StreamEnd::Counted ||
      (anyGroupReturned_ && (end == StreamEnd::LastUnitWhole || group_.pictureCount >= returnedPictureCount_));
  if (!complete) {
    summary_.timeLeftOut = presentationEndTime45(0, group_.pictureCount, effectiveCode(frameRateCode));
    closeReferenceGroup(frameRateCode);
    group_.active = false;
    return Status::Success;
  }
  return closeGroup(frameRateCode, true, record, ready);
}

int GroupTracker::interrupt(int frameRateCode, EntryPointRecord& record, bool& ready) {
  ready = false;
  awaiting_ = true;
  maxGap_ = 0;
  if (!group_.active) return Status::Success;
  // The pictures before the damage are whole, but their number is no
  // measure of a complete group.
  return closeGroup(frameRateCode, false, record, ready);
}

bool GroupTracker::continuesAfterDamage(const PictureUnit& unit) const {
  const std::uint64_t gap = (unit.pts - latestPts_) & PtsMask;
  return gap != 0 && gap <= maxGap_;
}

void GroupTracker::openGroup(const PictureUnit& unit) {
  const bool firstGroup = !anyEntryPoint_;
  group_ = OpenGroup{};
  group_.active = true;
  group_.opensSequence = pendingDiscontinuity_ && !firstGroup;
  group_.discontinuitySpn = pendingDiscontinuitySpn_;
  pendingDiscontinuity_ = false;

  EntryPointRecord& r = group_.record;
  r.SPN = low32(unit.spn);
  r.PTS45 = low32(unit.pts >> 1);
  r.IEndPositionOffset = iEndPositionOffsetClass(unit.packetsToLastVideo * 192);
  // The first entry point always starts a coarse entry.
  r.NewCoarseEntry = firstGroup || startsNewCoarseEntry(previousPts45_, previousSpn_, r.PTS45, r.SPN);
  r.FineIndex = nextFineIndex_++;
  r.PTSCoarse = r.PTS45 >> 18;
  r.SPNCoarse = r.SPN;
  previousPts45_ = r.PTS45;
  previousSpn_ = r.SPN;
  if (firstGroup) summary_.firstPictureIdr = unit.idr;
  anyEntryPoint_ = true;
}

void GroupTracker::closeReferenceGroup(int frameRateCode) {
  const std::span<const MetadataRecord* const> shown = reference_.presentationOrder();
  group_.timeCodeMode = std::max<int>(group_.timeCodeMode, timeCodes_.check(shown, effectiveCode(frameRateCode)));
  if (!group_.haveStartPts) {
    group_.haveStartPts = true;
    group_.startPts = reference_.startPts();
  }
  if (!summary_.haveFirstRecords) {
    summary_.haveFirstRecords = true;
    summary_.firstRecord = *shown.front();
    summary_.secondRecord = reference_.reference().metadata;
  }
  group_.lastReferenceMetadata = reference_.reference().metadata;
}

// `counted`: the group's length is the measure of the last group's.
int GroupTracker::closeGroup(int frameRateCode, bool counted, EntryPointRecord& record, bool& ready) {
  closeReferenceGroup(frameRateCode);
  group_.active = false;
  const int code = effectiveCode(frameRateCode);
  if (!framePeriodOf(code)) return Status::PictureUnsupported;
  record = group_.record;
  placeInSequence(record, code);
  summary_.haveLatestRecord = true;
  summary_.latestRecord = group_.lastReferenceMetadata;
  summary_.timeCodeMode = std::max(summary_.timeCodeMode, group_.timeCodeMode);
  if (counted || !anyGroupReturned_) returnedPictureCount_ = group_.pictureCount;
  anyGroupReturned_ = true;
  ready = true;
  return Status::Success;
}

void GroupTracker::placeInSequence(EntryPointRecord& record, int code) {
  const auto endOf = [code](const Sequence& s) { return presentationEndTime45(s.startPts, s.pictureCount, code); };
  if (!sequence_.started || group_.opensSequence) {
    // The record that opens a sequence carries the end of the one it closes.
    const std::uint32_t closedEnd = sequence_.started ? endOf(sequence_) : 0;
    sequence_ =
        Sequence{true, group_.startPts, group_.pictureCount, group_.opensSequence ? group_.discontinuitySpn : 0};
    record.NewSTCSequence = 1;
    record.SequenceEndTime = group_.opensSequence ? closedEnd : endOf(sequence_);
  } else {
    if (group_.followsDamage) {
      // The pictures lost in the damage still take their time in the sequence.
      sequence_.pictureCount =
          std::max(sequence_.pictureCount, picturesInTicks((group_.startPts - sequence_.startPts) & PtsMask, code));
    }
    sequence_.pictureCount += group_.pictureCount;
    record.NewSTCSequence = 0;
    record.SequenceEndTime = endOf(sequence_);
  }
  record.SPNSTCStart = sequence_.spnStcStart;
  record.SequenceStartTime = low32(sequence_.startPts >> 1);
  summary_.lastSequenceEndTime = endOf(sequence_);
}

}  // namespace StreamScan
