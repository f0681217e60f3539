#pragma once

#include <functional>
#include <string>

namespace StreamScan {

// Receives diagnostic lines with their level (6 headings and anomalies,
// 7 values read). The scanner depends on no logging library; the host plugs
// its own log in here. An empty sink discards everything.
using LogSink = std::function<void(int level, const std::string& line)>;

inline constexpr int LogLevelAnomaly = 6;
inline constexpr int LogLevelValues = 7;

}  // namespace StreamScan
