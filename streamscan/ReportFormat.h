#pragma once

#include <cstdint>
#include <string>

#include "streamscan/Mdpm.h"

// Small text pieces shared by the text and JSON forms of a scan report.
namespace StreamScan {

std::string hexNumber(std::uint32_t value, int digits);
const char* pulldownName(int pulldown);
const char* timeCodeModeName(int mode);
// "HH:MM:SS:FF", with " drop frame" when the flag is set.
std::string timeCodeText(std::uint32_t value);
// "YYYY-MM-DD hh:mm:ss" from the BCD bytes of the two date slots.
std::string recordingDateText(const MetadataRecord& record);
// 45 kHz ticks as seconds with three decimals.
std::string seconds45Text(std::uint32_t ticks);

}  // namespace StreamScan
