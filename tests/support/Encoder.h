#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// What tests of real encoder streams share: whether ffmpeg and ffprobe are
// there, and the output of the commands they run.
namespace TestSupport {

inline bool EncoderInstalled() {
  return std::system("command -v ffmpeg >/dev/null 2>&1 && command -v ffprobe >/dev/null 2>&1") == 0;
}

// The standard output of `command`.
inline std::string CommandOutput(const std::string& command) {
  std::string output;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

}  // namespace TestSupport
