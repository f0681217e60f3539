#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <utility>

#include "streamscan/AccessUnitAnalysis.h"
#include "streamscan/H264Parameters.h"
#include "streamscan/LogSink.h"

namespace StreamScan {

// Analyses the start of a video access unit, up to its first slice: the
// delimiter's picture type, sequence parameter sets, picture timing and MDPM.
// Slices are never parsed. Keeps the table of sequence parameter sets between
// units; everything else is rebuilt per unit.
class NalAnalyzer {
 public:
  static constexpr std::size_t MaxCollectedBytes = 4096;

  explicit NalAnalyzer(LogSink log = {}) : log_(std::move(log)) {}

  // Forgets every sequence parameter set.
  void reset();

  // Analyses the bytes collected so far for one unit (at most
  // MaxCollectedBytes). Returns 0 once the first slice has been reached,
  // Status::UnitContinues while the bytes end before it, or a NAL analysis
  // failure. `unit` is rewritten from scratch on every call.
  int analyze(std::span<const std::uint8_t> collected, AccessUnitAnalysis& unit);

  // The last parsed sequence parameter set, or null before the first.
  const SequenceParameterSet* currentSps() const;

 private:
  int preScan(std::span<const std::uint8_t> collected) const;
  int mainScan(std::span<const std::uint8_t> collected, AccessUnitAnalysis& unit);
  int readSequenceParameterSet(std::span<const std::uint8_t> nalPayload);
  int readSei(std::span<const std::uint8_t> nalPayload, AccessUnitAnalysis& unit);
  std::span<const std::uint8_t> unescape(std::span<const std::uint8_t> nalPayload);

  static constexpr unsigned MaxSpsCount = 32;

  LogSink log_;
  std::array<SequenceParameterSet, MaxSpsCount> spsTable_{};
  int currentSpsId_ = -1;
  // Scratch for one NAL unit without its emulation prevention bytes.
  std::array<std::uint8_t, MaxCollectedBytes> rbsp_{};
};

}  // namespace StreamScan
