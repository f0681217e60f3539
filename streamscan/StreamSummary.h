#pragma once

#include <array>
#include <cstdint>

#include "streamscan/Mdpm.h"
#include "streamscan/ProgramMap.h"

namespace StreamScan {

// One of the nine elementary streams a recording may hold.
struct StreamInfo {
  bool present = false;
  std::uint16_t PID = 0;
  std::uint8_t stream_type = 0;
  // Video: from the registration descriptor, or derived from the sequence
  // parameter set when the program map does not carry them.
  std::uint8_t video_format = 0;
  std::uint8_t frame_rate = 0;
  std::uint8_t aspect_ratio = 0;
  // Audio: from the registration descriptor.
  std::uint8_t audio_presentation_type = 0;
  std::uint8_t sampling_frequency = 0;
  Ac3Descriptor ac3;
};

// The H.264 values of the video, taken at every entry point.
struct VideoParameters {
  std::uint8_t HorizontalSize = 0;  // 1 1920, 2 1440, 3 1280, 4 720
  std::uint8_t profile_idc = 0;
  bool constraint_set0_flag = false;
  bool constraint_set1_flag = false;
  bool constraint_set2_flag = false;
  bool constraint_set3_flag = false;
  std::uint8_t level_idc = 0;
  // True when video_format, frame_rate and aspect_ratio came from the
  // sequence parameter set because the program map lacks them.
  bool attributesFromSps = false;
};

// What the groups of pictures decide: metadata records, time code mode,
// pulldown, and the end of the last STC sequence.
struct RecordingSummary {
  bool haveFirstRecords = false;
  MetadataRecord firstRecord = MetadataRecord::absent();   // first picture shown
  MetadataRecord secondRecord = MetadataRecord::absent();  // the first I picture
  bool haveLatestRecord = false;
  MetadataRecord latestRecord = MetadataRecord::absent();  // last complete group
  int timeCodeMode = 0;                                    // TimeCodeMode, the worst over all groups
  int pulldown = 0;                                        // Pulldown, the largest over all pictures
  bool firstPictureIdr = false;
  // 45 kHz end of the last STC sequence up to the last entry point's group:
  // the records alone cannot give it when that group opened the sequence.
  std::uint32_t lastSequenceEndTime = 0;
  // 45 kHz: the time of the pictures of a last group cut short, which the
  // clip leaves out.
  std::uint32_t timeLeftOut = 0;
};

// Packets past the first entry point that did not decode (lost
// synchronisation, zeroed or garbled packets), skipped up to the next sound
// packet.
struct DamagedStretch {
  std::uint64_t firstByte = 0;  // of the first packet that did not decode
  std::uint64_t endByte = 0;    // after the last one
  std::uint64_t ptsBefore = 0;  // 90 kHz: the latest picture shown before the damage
  // The recording goes on after the damage in the same STC sequence, with
  // an I picture shown at ptsAfter; otherwise the scan took nothing after it.
  bool resumed = false;
  std::uint64_t ptsAfter = 0;
};

struct StreamSummary {
  static constexpr unsigned StreamSlots = 9;
  static constexpr unsigned VideoSlot = 0;
  static constexpr unsigned MaxDamagedStretches = 16;

  std::uint64_t packets = 0;  // source packets scanned
  std::array<StreamInfo, StreamSlots> streams{};
  VideoParameters video;
  RecordingSummary recording;
  // The first damaged stretches in file order, and the number of them all.
  std::array<DamagedStretch, MaxDamagedStretches> damaged{};
  std::uint32_t damagedCount = 0;
  // The stream was found not to be cut: the clip information counts its
  // packets exactly, or its last access unit ends whole.
  bool endsWhole = false;
};

// Slot of a fixed PID: 0 video 0x1011, 1-4 audio 0x1100-0x1103, 5-6 overlay
// bitmaps 0x1200-0x1201, 7-8 menu bitmaps 0x1400-0x1401; -1 for any other PID.
int streamSlotOfPid(std::uint16_t pid);

}  // namespace StreamScan
