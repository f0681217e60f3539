#include "streamscan/NalAnalyzer.h"

#include "streamscan/Rbsp.h"
#include "streamscan/SeiMessages.h"
#include "streamscan/StatusCodes.h"

namespace StreamScan {

namespace {

enum NalType : unsigned {
  SliceNonIdr = 1,
  SliceIdr = 5,
  Sei = 6,
  Sps = 7,
  Pps = 8,
  AccessUnitDelimiter = 9,
  SpsExtension = 13,
};

bool forbiddenBitSet(std::uint8_t header) { return (header & 0x80) != 0; }
unsigned nalType(std::uint8_t header) { return header & 0x1F; }

// NAL units that may stand before the first slice of an access unit.
bool precedesSlices(unsigned type) {
  return type == Sei || type == Sps || type == Pps || type == AccessUnitDelimiter || type == SpsExtension;
}

}  // namespace

void NalAnalyzer::reset() { currentSpsId_ = -1; }

const SequenceParameterSet* NalAnalyzer::currentSps() const {
  return currentSpsId_ < 0 ? nullptr : &spsTable_[static_cast<unsigned>(currentSpsId_)];
}

int NalAnalyzer::analyze(std::span<const std::uint8_t> collected, AccessUnitAnalysis& unit) {
  unit = AccessUnitAnalysis{};
  if (collected.size() > MaxCollectedBytes) return Status::PesBufferOverflow;
  if (const int status = preScan(collected); status != Status::Success) return status;
  return mainScan(collected, unit);
}

// Cheap pass that only finds out whether the first slice is already in the
// buffer, so that the parameter sets are parsed once, when all of them are there.
int NalAnalyzer::preScan(std::span<const std::uint8_t> collected) const {
  for (std::size_t pos = findStartCode(collected, 0); pos < collected.size(); pos = findStartCode(collected, pos)) {
    const std::uint8_t header = collected[pos];
    if (forbiddenBitSet(header)) return Status::NalSyntax;
    if (!precedesSlices(nalType(header))) return Status::Success;
  }
  return Status::UnitContinues;
}

int NalAnalyzer::mainScan(std::span<const std::uint8_t> collected, AccessUnitAnalysis& unit) {
  for (std::size_t pos = findStartCode(collected, 0); pos < collected.size();) {
    const std::uint8_t header = collected[pos];
    if (forbiddenBitSet(header)) return Status::NalSyntax;
    const std::size_t payloadStart = pos + 1;
    const std::size_t end = nalUnitEnd(collected, payloadStart);
    const std::span<const std::uint8_t> payload = collected.subspan(payloadStart, end - payloadStart);
    int status = Status::Success;
    switch (nalType(header)) {
      case AccessUnitDelimiter:
        if (payload.empty()) return Status::UnitContinues;
        unit.primary_pic_type = payload[0] >> 5;
        break;
      case Sps:
        status = readSequenceParameterSet(payload);
        break;
      case Sei:
        status = readSei(payload, unit);
        break;
      case Pps:
      case SpsExtension:
        break;
      case SliceNonIdr:
        unit.nal_ref_idc = (header >> 5) & 3;
        return Status::Success;
      case SliceIdr:
        unit.idr = true;
        return Status::Success;
      default:
        return Status::Success;
    }
    if (status != Status::Success) return status;
    pos = findStartCode(collected, end);
  }
  return Status::UnitContinues;
}

std::span<const std::uint8_t> NalAnalyzer::unescape(std::span<const std::uint8_t> nalPayload) {
  const std::size_t length = removeEmulationPrevention(nalPayload, rbsp_);
  return std::span<const std::uint8_t>(rbsp_.data(), length);
}

int NalAnalyzer::readSequenceParameterSet(std::span<const std::uint8_t> nalPayload) {
  const std::span<const std::uint8_t> rbsp = unescape(nalPayload);
  if (rbspPayloadBits(rbsp) == 0 && log_) log_(LogLevelAnomaly, " Panic: All zero data sequence in RBSP \n");
  SequenceParameterSet sps;
  if (const int status = parseSequenceParameterSet(rbsp, sps); status != Status::Success) return status;
  spsTable_[sps.seq_parameter_set_id] = sps;
  currentSpsId_ = static_cast<int>(sps.seq_parameter_set_id);
  return Status::Success;
}

int NalAnalyzer::readSei(std::span<const std::uint8_t> nalPayload, AccessUnitAnalysis& unit) {
  return parseSeiMessages(unescape(nalPayload), currentSps(), unit);
}

}  // namespace StreamScan
