#include "streamscan/SeiMessages.h"

#include "streamscan/BitCursor.h"
#include "streamscan/StatusCodes.h"

namespace StreamScan {

namespace {

constexpr std::uint32_t PicTimingType = 1;
constexpr std::uint32_t UserDataUnregisteredType = 5;
constexpr std::uint32_t MaxPayloadType = 22;
constexpr std::uint8_t RbspTrailingByte = 0x80;

// payloadType and payloadSize: a run of 0xFF bytes counting 255 each, then a last byte.
bool readSeiNumber(std::span<const std::uint8_t> rbsp, std::size_t& pos, std::uint32_t& value) {
  value = 0;
  while (pos < rbsp.size()) {
    const std::uint8_t byte = rbsp[pos++];
    value += byte;
    if (byte != 0xFF) return true;
    if (value > rbsp.size() * 255u) return false;  // a run longer than any payload that could follow
  }
  return false;
}

void readPicTiming(std::span<const std::uint8_t> payload, const SequenceParameterSet& sps, AccessUnitAnalysis& unit) {
  if (!sps.vui.pic_struct_present_flag) return;
  BitCursor in(payload);
  if (sps.cpbDpbDelaysPresent()) in.skip(sps.cpbRemovalDelayLength() + sps.dpbOutputDelayLength());
  const auto pic_struct = static_cast<int>(in.bits(4));
  // A payload too short for its own fields carries no usable pic_struct.
  if (!in.failed()) unit.pic_struct = pic_struct;
}

}  // namespace

int parseSeiMessages(std::span<const std::uint8_t> rbsp, const SequenceParameterSet* sps, AccessUnitAnalysis& unit) {
  std::size_t pos = 0;
  while (pos < rbsp.size() && rbsp[pos] != RbspTrailingByte) {
    SeiMessageInfo message;
    if (!readSeiNumber(rbsp, pos, message.payloadType) || !readSeiNumber(rbsp, pos, message.payloadSize))
      return Status::NalSyntax;
    if (message.payloadType > MaxPayloadType) return Status::NalSyntax;
    if (unit.seiCount == AccessUnitAnalysis::MaxSeiMessages) return Status::NalTooManySei;
    // The NAL unit is complete here, so a payload past its end is damage,
    // not a need for more bytes.
    if (message.payloadSize > rbsp.size() - pos) return Status::NalSyntax;
    unit.sei[unit.seiCount++] = message;
    const std::span<const std::uint8_t> payload = rbsp.subspan(pos, message.payloadSize);
    if (message.payloadType == PicTimingType && sps != nullptr)
      readPicTiming(payload, *sps, unit);
    else if (message.payloadType == UserDataUnregisteredType && !unit.mdpmFound && isMdpmPayload(payload)) {
      unit.mdpmFound = true;
      unit.metadata = parseMdpm(payload);
    }
    pos += message.payloadSize;
  }
  return Status::Success;
}

}  // namespace StreamScan
