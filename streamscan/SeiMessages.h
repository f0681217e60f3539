#pragma once

#include <cstdint>
#include <span>

#include "streamscan/AccessUnitAnalysis.h"
#include "streamscan/H264Parameters.h"

namespace StreamScan {

// Reads the messages of one SEI NAL unit (its RBSP, after the NAL header) into
// `unit`: picture timing gives pic_struct, user data unregistered gives the
// MDPM record; other messages are only counted. `sps` is the current sequence
// parameter set, or null when none has been seen (picture timing is then
// skipped, since its layout depends on it). Returns 0, Status::NalSyntax or
// Status::NalTooManySei.
int parseSeiMessages(std::span<const std::uint8_t> rbsp, const SequenceParameterSet* sps, AccessUnitAnalysis& unit);

}  // namespace StreamScan
