#include "aaalib/AAA_Log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace AAA::Log {
namespace {
// Atomic only so that tests and a late "-l" never race with a worker reading it.
std::atomic<int> threshold{0};
// Silences nest: the log speaks again when the outermost one ends.
thread_local int silences = 0;
}  // namespace

Silence::Silence() { ++silences; }

Silence::~Silence() { --silences; }

void SetThreshold(int value) { threshold.store(value, std::memory_order_relaxed); }

int Threshold() { return threshold.load(std::memory_order_relaxed); }

bool Enabled(int level) { return silences == 0 && level < Threshold(); }

void Line(int level, const char* format, ...) {
  if (!Enabled(level)) return;
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(stdout, format, arguments);
  va_end(arguments);
  std::fflush(nullptr);
}

void Heading(const char* text) {
  const std::string equals(80, '=');
  const std::string dashes(80, '-');
  Line(kHeading, "\n%s\n%s\n%s\n", equals.c_str(), text, dashes.c_str());
}

void ThrowSite(const char* file, int line, const char* expression) {
  Line(kThrowSite, "%s(%d): %s\n", file, line, expression);
}

int ThresholdFromArguments(int argc, const char* const* argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) != "-l") continue;
    char* end = nullptr;
    const long value = std::strtol(argv[i + 1], &end, 10);
    if (end != argv[i + 1] && *end == '\0' && value > 0 && value < 1000) return static_cast<int>(value);
    return 0;
  }
  return 0;
}

}  // namespace AAA::Log
