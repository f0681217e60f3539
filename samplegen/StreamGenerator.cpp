#include "samplegen/StreamGenerator.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "samplegen/TsPacketWriter.h"

namespace SampleGen {

namespace {

constexpr std::uint16_t PidPat = 0x0000;
constexpr std::uint16_t PidPmt = 0x0100;
constexpr std::uint16_t PidPcr = 0x1001;
constexpr std::uint16_t PidVideo = 0x1011;
constexpr std::uint16_t PidAudio = 0x1100;
constexpr std::uint64_t PacketsPerUnit = 32;

struct Period {
  std::uint64_t num;
  std::uint64_t den;
};

// The rate pictures are shown at once the pulldown is taken into account.
int shownRateCode(int code, int pulldown) {
  if (pulldown == 1 && (code == 6 || code == 7)) return code == 6 ? 3 : 4;
  if (pulldown == 2 && (code == 4 || code == 7)) return 1;
  return code;
}

Period periodOf(int code) {
  switch (code) {
    case 1:
      return {1001, 24000};
    case 2:
      return {1, 24};
    case 3:
      return {1, 25};
    case 4:
      return {1001, 30000};
    case 6:
      return {1, 50};
    case 7:
      return {1001, 60000};
    default:
      return {1001, 30000};  // streams with an invalid code still need times
  }
}

unsigned nominalRateOf(int shownCode) {
  switch (shownCode) {
    case 1:
    case 2:
      return 24;
    case 3:
    case 6:
      return 25;
    default:
      return 30;
  }
}

std::uint8_t videoFormatOf(const StreamParameters& p) {
  switch (p.height) {
    case 720:
      return 5;
    case 480:
      return p.interlaced ? 1 : 3;
    case 576:
      return p.interlaced ? 2 : 7;
    default:
      return p.interlaced ? 4 : 6;
  }
}

struct PlannedPicture {
  int type;
  std::uint32_t shownIndex;  // within the group
};

// Decoding order of one group: the I picture, then each reference picture
// followed by the B pictures shown before it. An open group shows its first
// bFrames B pictures before the I picture and decodes them right after it.
std::vector<PlannedPicture> planGroup(std::uint32_t length, std::uint32_t bFrames, bool openGop) {
  std::vector<PlannedPicture> plan;
  const std::uint32_t leading = openGop ? std::min(bFrames, length - 1) : 0;
  plan.push_back({0, leading});
  for (std::uint32_t i = 0; i < leading; ++i) plan.push_back({2, i});
  for (std::uint32_t reference = leading; reference + 1 < length;) {
    const std::uint32_t next = std::min(reference + bFrames + 1, length - 1);
    plan.push_back({1, next});
    for (std::uint32_t b = reference + 1; b < next; ++b) plan.push_back({2, b});
    reference = next;
  }
  return plan;
}

class Generator {
 public:
  Generator(const StreamParameters& p, TsPacketWriter& out) : p_(p), out_(out) {
    shownCode_ = shownRateCode(p.frameRateCode, p.pulldown);
    period_ = periodOf(shownCode_);
    sps_ = p.sps;
    sps_.width = p.width;
    sps_.height = p.height;
    sps_.interlaced = p.interlaced;
    const Period stated = periodOf(p.frameRateCode);
    sps_.num_units_in_tick = static_cast<std::uint32_t>(stated.num);
    sps_.time_scale = static_cast<std::uint32_t>(2 * stated.den);
  }

  GeneratedStream run() {
    GeneratedStream result;
    writeTables();
    out_.pcrPacket(PidPcr, p_.firstPts * 300, false);
    std::uint32_t shownBase = 0;
    for (std::uint32_t g = 0; g < p_.groups; ++g) {
      const std::uint32_t length = g + 1 == p_.groups && p_.lastGroupLength ? p_.lastGroupLength : p_.gopLength;
      const auto discontinuity = std::find_if(p_.discontinuities.begin(), p_.discontinuities.end(),
                                              [g](const StcDiscontinuity& d) { return d.group == g; });
      if (discontinuity != p_.discontinuities.end()) {
        sequenceFirstPts_ = discontinuity->firstPts;
        sequenceFirstShown_ = shownBase;
      }
      if (g > 0) writeTables();
      const std::vector<PlannedPicture> plan = planGroup(length, p_.bFrames, p_.openGop);
      for (const PlannedPicture& planned : plan) {
        GeneratedPicture picture;
        picture.group = g;
        picture.type = planned.type;
        picture.presentationIndex = shownBase + planned.shownIndex;
        const bool cut = p_.lastPictureCut && g + 1 == p_.groups && &planned == &plan.back();
        writePicture(picture, planned.type == 0 && discontinuity != p_.discontinuities.end(), cut);
        if (p_.keepPictures) result.pictures.push_back(picture);
      }
      shownBase += length;
    }
    while (p_.padToUnit && out_.packetCount() % PacketsPerUnit != 0) out_.nullPacket();
    result.bytes = out_.bytesWritten();
    return result;
  }

 private:
  std::uint64_t ptsOf(std::uint32_t shownIndex) const {
    return sequenceFirstPts_ + (shownIndex - sequenceFirstShown_) * 90000 * period_.num / period_.den;
  }

  std::uint32_t timeCodeOf(std::uint32_t shownIndex) const {
    std::uint64_t frame = (shownCode_ == 6 || shownCode_ == 7) ? shownIndex / 2 : shownIndex;
    for (const TimeCodeGap& gap : p_.timeCodeGaps) frame += shownIndex >= gap.picture ? gap.frames : 0;
    const TimeCodeStart& s = p_.startTimeCode;
    const unsigned rate = nominalRateOf(shownCode_);
    const std::uint64_t minutes = s.hours * 60ull + s.minutes;
    std::uint64_t start = (minutes * 60 + s.seconds) * rate + s.frames;
    if (s.dropFrame) start -= 2 * (minutes - minutes / 10);
    return timeCodeOfFrame(start + frame, rate, s.dropFrame);
  }

  int picStructOf(std::uint32_t shownIndex) const {
    static constexpr int ThreeTwo[] = {5, 4, 6, 3};
    if (p_.pulldown == 2) return ThreeTwo[shownIndex % 4];
    if (p_.pulldown == 1 || p_.interlaced) return 3;
    return 0;
  }

  std::vector<MdpmEntry> metadataOf(const GeneratedPicture& picture) const {
    std::vector<MdpmEntry> entries;
    if (p_.timeCodes) entries.emplace_back(0x13, picture.timeCode);
    const auto& d = p_.recordingDate;
    entries.emplace_back(0x14, p_.binaryGroup);
    entries.emplace_back(0x18, (std::uint32_t{p_.timeZone} << 24) | (d[0] << 16) | (d[1] << 8) | d[2]);
    entries.emplace_back(0x19, (std::uint32_t{d[3]} << 24) | (d[4] << 16) | (d[5] << 8) | d[6]);
    for (std::uint8_t i = 0; i < 10; ++i)
      entries.emplace_back(static_cast<std::uint8_t>(0xB1 + i), p_.recordingParameters[i]);
    entries.emplace_back(0xE0, p_.makerValue);
    if (p_.channel3d) {
      entries.emplace_back(0xE6, 0x00000001);
      entries.emplace_back(0xE7, *p_.channel3d);
    }
    entries.insert(entries.end(), p_.extraMdpmEntries.begin(), p_.extraMdpmEntries.end());
    return entries;
  }

  // The access unit up to its slice: delimiter, parameter sets on I
  // pictures, then one SEI NAL unit with picture timing and MDPM.
  std::vector<std::uint8_t> unitStart(const GeneratedPicture& picture) const {
    std::vector<std::uint8_t> es;
    appendNalUnit(es, 0x09, accessUnitDelimiterRbsp(picture.type), true);
    if (picture.type == 0) {
      appendNalUnit(es, 0x67, sequenceParameterSetRbsp(sps_));
      appendNalUnit(es, 0x68, {0xEE, 0x3C, 0x80});
    }
    std::vector<SeiMessage> messages;
    if (sps_.picStructPresent || sps_.nalHrd || sps_.vclHrd)
      messages.push_back({1, picTimingPayload(sps_, picStructOf(picture.presentationIndex))});
    if (p_.mdpm) messages.push_back({5, mdpmPayload(metadataOf(picture))});
    for (std::uint32_t i = 0; i < p_.extraSeiMessages; ++i) messages.push_back({6, {0x84}});
    if (!messages.empty()) appendNalUnit(es, 0x06, seiRbsp(messages));
    return es;
  }

  void writePicture(GeneratedPicture& picture, bool discontinuity, bool cut) {
    picture.pts = ptsOf(picture.presentationIndex);
    picture.timeCode = p_.timeCodes ? timeCodeOf(picture.presentationIndex) : 0xFFFFFFFF;
    const std::uint64_t period90k = 90000 * period_.num / period_.den;
    const std::optional<std::uint64_t> dts =
        picture.type == 2 ? std::nullopt : std::optional<std::uint64_t>(picture.pts - std::min(picture.pts, period90k));
    std::vector<std::uint8_t> pes = pesHeader(0xE0, picture.pts, dts, 0);
    const std::size_t headerSize = pes.size();
    const std::vector<std::uint8_t> start = unitStart(picture);
    pes.insert(pes.end(), start.begin(), start.end());
    // The slice: a start code, the NAL header, and filler the scanner never reads.
    const std::uint8_t sliceHeader = picture.type == 0 && p_.idrPictures ? 0x65 : picture.type == 2 ? 0x01 : 0x21;
    pes.insert(pes.end(), {0, 0, 1, sliceHeader});
    std::size_t sliceFill =
        sizeOf(picture.type) > pes.size() - headerSize ? sizeOf(picture.type) - (pes.size() - headerSize) : 16;
    if (picture.type == 0 && p_.iPicturePackets > 0) {
      const std::size_t capacity = p_.iPicturePackets * TsPacketWriter::PayloadSize;
      if (capacity <= pes.size()) throw std::invalid_argument("iPicturePackets too small for the access unit start");
      sliceFill = capacity - pes.size();
    }
    pes.insert(pes.end(), sliceFill, 0xA5);
    if (cut) pes.resize(pes.size() / TsPacketWriter::PayloadSize * TsPacketWriter::PayloadSize);
    picture.spn = out_.pes(PidVideo, pes, [&] {
      if (discontinuity) {
        picture.discontinuitySpn = out_.packetCount();
        out_.pcrPacket(PidPcr, picture.pts * 300, true);
      }
    });
    picture.packetsToLastVideo = out_.packetCount() - picture.spn;
    out_.pcrPacket(PidPcr, picture.pts * 300, false);
    writeAudio(picture.pts);
  }

  std::uint32_t sizeOf(int type) const {
    return type == 0 ? p_.iPictureBytes : type == 1 ? p_.pPictureBytes : p_.bPictureBytes;
  }

  void writeAudio(std::uint64_t pts) {
    if (p_.audio == AudioKind::None) return;
    constexpr std::size_t PayloadBytes = TsPacketWriter::PayloadSize - 14;
    std::vector<std::uint8_t> payload(PayloadBytes, 0x5A);
    if (p_.audio == AudioKind::Ac3) {
      payload[0] = 0x0B;  // AC-3 sync word
      payload[1] = 0x77;
    } else {
      payload[0] = 0x00;  // LPCM header: audio data size, channels, rate, bits
      payload[1] = PayloadBytes - 4;
      payload[2] = 0x31;
      payload[3] = 0x40;
    }
    std::vector<std::uint8_t> pes = pesHeader(0xBD, pts, std::nullopt, payload.size());
    pes.insert(pes.end(), payload.begin(), payload.end());
    out_.pes(PidAudio, pes, [] {});
  }

  void writeTables() {
    out_.section(PidPat, {0x00, 0xB0, 0x0D, 0x00, 0x01, 0xC1, 0x00, 0x00, 0x00, 0x01,
                          static_cast<std::uint8_t>(0xE0 | (PidPmt >> 8)), static_cast<std::uint8_t>(PidPmt)});
    out_.section(PidPmt, programMapSection());
  }

  std::vector<std::uint8_t> programMapSection() const {
    std::vector<std::uint8_t> body{0x00,
                                   0x01,
                                   0xC1,
                                   0x00,
                                   0x00,
                                   static_cast<std::uint8_t>(0xE0 | (PidPcr >> 8)),
                                   static_cast<std::uint8_t>(PidPcr)};
    const std::vector<std::uint8_t> programInfo{0x05, 0x04, 'H', 'D', 'M', 'V', 0x88, 0x04, 0x0F, 0xFF, 0xFC, 0xFC};
    body.push_back(static_cast<std::uint8_t>(0xF0 | (programInfo.size() >> 8)));
    body.push_back(static_cast<std::uint8_t>(programInfo.size()));
    body.insert(body.end(), programInfo.begin(), programInfo.end());
    const auto addStream = [&body](std::uint8_t type, std::uint16_t pid, const std::vector<std::uint8_t>& info) {
      body.insert(body.end(),
                  {type, static_cast<std::uint8_t>(0xE0 | (pid >> 8)), static_cast<std::uint8_t>(pid),
                   static_cast<std::uint8_t>(0xF0 | (info.size() >> 8)), static_cast<std::uint8_t>(info.size())});
      body.insert(body.end(), info.begin(), info.end());
    };
    for (const auto& [pid, type] : p_.leadingStreams) addStream(type, pid, {});
    std::vector<std::uint8_t> videoInfo;
    if (p_.registrationDescriptors)
      videoInfo = {0x05, 0x08, 'H',
                   'D',  'M',  'V',
                   0xFF, 0x1B, static_cast<std::uint8_t>((videoFormatOf(p_) << 4) | (p_.frameRateCode & 0x0F)),
                   0x3F};
    addStream(0x1B, PidVideo, videoInfo);
    if (p_.audio != AudioKind::None) {
      const std::uint8_t coding = p_.audio == AudioKind::Ac3 ? 0x81 : 0x80;
      std::vector<std::uint8_t> audioInfo;
      if (p_.registrationDescriptors) audioInfo = {0x05, 0x08, 'H', 'D', 'M', 'V', 0xFF, coding, 0x31, 0xFF};
      if (p_.audio == AudioKind::Ac3) audioInfo.insert(audioInfo.end(), {0x81, 0x03, 0x08, 0x30, 0x05});
      addStream(coding, PidAudio, audioInfo);
    }
    for (const auto& [pid, type] : p_.trailingStreams) addStream(type, pid, {});
    const std::size_t sectionLength = body.size() + 4;  // and the CRC
    // table_id 2 and the section length, in front of the body.
    body.insert(body.begin(), {0x02, static_cast<std::uint8_t>(0xB0 | (sectionLength >> 8)),
                               static_cast<std::uint8_t>(sectionLength)});
    return body;
  }

  const StreamParameters& p_;
  TsPacketWriter& out_;
  SpsSettings sps_;
  int shownCode_ = 4;
  Period period_{1001, 30000};
  std::uint64_t sequenceFirstPts_ = p_.firstPts;
  std::uint32_t sequenceFirstShown_ = 0;
};

}  // namespace

std::vector<GeneratedPicture> GeneratedStream::iPictures() const {
  std::vector<GeneratedPicture> result;
  std::copy_if(pictures.begin(), pictures.end(), std::back_inserter(result),
               [](const GeneratedPicture& p) { return p.type == 0; });
  return result;
}

std::uint32_t timeCodeOfFrame(std::uint64_t frameNumber, unsigned nominalRate, bool dropFrame) {
  std::uint64_t f = frameNumber;
  if (dropFrame) {
    // Frames 0 and 1 of every minute but each tenth are skipped in the count.
    const std::uint64_t perTenMinutes = 10 * 60 * nominalRate - 9 * 2;
    const std::uint64_t perMinute = 60 * nominalRate - 2;
    const std::uint64_t tens = f / perTenMinutes;
    const std::uint64_t rest = f % perTenMinutes;
    f += 18 * tens + (rest < 2 ? 0 : 2 * ((rest - 2) / perMinute));
  }
  const std::uint64_t frames = f % nominalRate;
  const std::uint64_t seconds = f / nominalRate % 60;
  const std::uint64_t minutes = f / (nominalRate * 60ull) % 60;
  const std::uint64_t hours = f / (nominalRate * 3600ull) % 24;
  const auto bcd = [](std::uint64_t v) { return static_cast<std::uint32_t>(((v / 10) << 4) | (v % 10)); };
  return (bcd(frames) << 24) | (bcd(seconds) << 16) | (bcd(minutes) << 8) | bcd(hours) | (dropFrame ? 1u << 30 : 0);
}

GeneratedStream writeStream(const StreamParameters& parameters, const std::filesystem::path& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) throw std::runtime_error("cannot create " + path.string());
  std::setvbuf(file.get(), nullptr, _IOFBF, 1 << 20);
  TsPacketWriter out(file.get(), parameters.cutAtByte);
  return Generator(parameters, out).run();
}

std::vector<std::uint8_t> streamBytes(const StreamParameters& parameters, GeneratedStream* layout) {
  TsPacketWriter out(nullptr, parameters.cutAtByte);
  GeneratedStream result = Generator(parameters, out).run();
  if (layout != nullptr) *layout = std::move(result);
  return std::move(out.memory());
}

}  // namespace SampleGen
