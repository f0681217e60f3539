#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "samplegen/H264Writer.h"

// Writes AVCHD-style stream files for the sample card, the tests and the
// benchmarks: 192-byte source packets, PAT, a program map on 0x0100 with
// registration descriptors, PCR on 0x1001, H.264 access units on 0x1011
// (delimiter, parameter sets, picture timing and MDPM SEI, then a slice of
// filler bytes: nothing is encoded) and AC-3 or LPCM audio on 0x1100.
namespace SampleGen {

enum class AudioKind { None, Ac3, Lpcm };

struct TimeCodeStart {
  unsigned hours = 1;
  unsigned minutes = 0;
  unsigned seconds = 0;
  unsigned frames = 0;
  bool dropFrame = false;
};

// From presentation picture `picture` (counted over the whole stream) on, the
// time codes run `frames` frames ahead.
struct TimeCodeGap {
  std::uint32_t picture = 0;
  std::uint32_t frames = 0;
};

// Group `group` starts a new STC sequence (a PCR packet with the
// discontinuity indicator inside its I picture), its first picture shown at `firstPts`.
struct StcDiscontinuity {
  std::uint32_t group = 0;
  std::uint64_t firstPts = 0;
};

struct StreamParameters {
  // Picture format. The registration descriptor states frameRateCode; the
  // pictures are timed at the rate the pulldown leaves (2:2 shows 50 and
  // 59.94 as 25 and 29.97, 3:2 shows 29.97 and 59.94 as 23.976).
  std::uint32_t width = 1920;
  std::uint32_t height = 1080;
  bool interlaced = true;
  int frameRateCode = 4;
  int pulldown = 0;  // 0 none, 1 2:2, 2 3:2

  // Groups of pictures.
  std::uint32_t groups = 4;
  std::uint32_t gopLength = 15;
  std::uint32_t lastGroupLength = 0;  // 0: gopLength
  std::uint32_t bFrames = 2;          // B pictures between reference pictures
  bool openGop = false;               // each group shows bFrames B pictures before its I picture
  bool idrPictures = true;
  std::uint64_t firstPts = 90000;
  std::vector<StcDiscontinuity> discontinuities;

  // H.264. Size, field coding and timing are taken from the fields above.
  SpsSettings sps;
  std::uint32_t extraSeiMessages = 0;  // padding SEI messages per access unit

  // Recording metadata.
  bool mdpm = true;
  bool timeCodes = true;
  TimeCodeStart startTimeCode;
  std::vector<TimeCodeGap> timeCodeGaps;
  std::array<std::uint8_t, 7> recordingDate{0x20, 0x24, 0x05, 0x17, 0x13, 0x45, 0x30};
  std::uint8_t timeZone = 0x12;
  std::uint32_t binaryGroup = 0x00000000;
  std::array<std::uint32_t, 10> recordingParameters{0xB1000001, 0xB2000002, 0xB3000003, 0xB4000004, 0xB5000005,
                                                    0xB6000006, 0xB7000007, 0xB8000008, 0xB9000009, 0xBA00000A};
  std::uint32_t makerValue = 0x01020304;
  std::optional<std::uint32_t> channel3d;  // written as tag 0xE7, announced by 0xE6
  std::vector<MdpmEntry> extraMdpmEntries;

  // Sizes of the access units' elementary stream bytes.
  std::uint32_t iPictureBytes = 30000;
  std::uint32_t pPictureBytes = 12000;
  std::uint32_t bPictureBytes = 5000;
  std::uint32_t iPicturePackets = 0;  // when set, each I picture fills exactly this many video packets

  // Transport.
  AudioKind audio = AudioKind::Ac3;
  bool registrationDescriptors = true;
  std::vector<std::pair<std::uint16_t, std::uint8_t>> leadingStreams;  // extra PMT entries: PID, type
  std::vector<std::pair<std::uint16_t, std::uint8_t>> trailingStreams;
  std::uint64_t cutAtByte = std::numeric_limits<std::uint64_t>::max();
  // The recorder stopped inside the last picture: its PES ends with a full
  // packet, never reaching its last bytes (the file is still padded).
  bool lastPictureCut = false;
  bool padToUnit = true;     // null packets up to a multiple of 32 packets
  bool keepPictures = true;  // list every picture in the result
};

struct GeneratedPicture {
  std::uint32_t group = 0;
  int type = 0;                         // primary_pic_type: 0 I, 1 P, 2 B
  std::uint32_t presentationIndex = 0;  // over the whole stream
  std::uint64_t pts = 0;
  std::uint64_t spn = 0;  // first video packet
  std::uint64_t packetsToLastVideo = 0;
  std::uint32_t timeCode = 0xFFFFFFFF;  // the MDPM value, 0xFFFFFFFF without time codes
  std::uint64_t discontinuitySpn = 0;   // the PCR packet with the indicator, 0 when none
};

struct GeneratedStream {
  std::uint64_t bytes = 0;                 // written, after the cut
  std::vector<GeneratedPicture> pictures;  // in decoding order, also those past the cut

  std::vector<GeneratedPicture> iPictures() const;
};

// Writes the stream to `path`.
GeneratedStream writeStream(const StreamParameters& parameters, const std::filesystem::path& path);
// The same bytes in memory.
std::vector<std::uint8_t> streamBytes(const StreamParameters& parameters, GeneratedStream* layout = nullptr);

// The MDPM time code value (BCD digits, drop-frame flag in bit 30) of frame
// `frameNumber` counted from 00:00:00:00 at `nominalRate` frames per second.
std::uint32_t timeCodeOfFrame(std::uint64_t frameNumber, unsigned nominalRate, bool dropFrame);

}  // namespace SampleGen
