// The H.264 analysis of an access unit's start from arbitrary bytes: the NAL
// walk with parameter sets and SEI, and the parsers on their own.
#include <algorithm>
#include <cstdint>
#include <span>

#include "streamscan/H264Parameters.h"
#include "streamscan/Mdpm.h"
#include "streamscan/NalAnalyzer.h"
#include "streamscan/SeiMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace StreamScan;
  const std::span<const std::uint8_t> bytes(data, std::min(size, NalAnalyzer::MaxCollectedBytes));
  // Analysed twice, as the scanner does when a unit grows packet by packet.
  NalAnalyzer analyzer;
  AccessUnitAnalysis unit;
  analyzer.analyze(bytes.first(bytes.size() / 2), unit);
  analyzer.analyze(bytes, unit);
  SequenceParameterSet sps;
  if (parseSequenceParameterSet(bytes, sps) == 0) {
    (void)sps.width();
    (void)sps.croppedHeight();
  }
  AccessUnitAnalysis sei;
  parseSeiMessages(bytes, analyzer.currentSps(), sei);
  (void)parseMdpm(bytes);
  return 0;
}
