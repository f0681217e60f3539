#pragma once

// The diagnostic log: step headings, every field read, every failed rule.
// A line is written to standard output when its level is below the threshold;
// the threshold is 0 at start (nothing is written) and is set once by the
// front end's "-l N" option before any worker thread exists.
//
// Levels: 3 throw sites, 6 headings / opened files / rule failures / step
// results, 7 field values and stream read positions.

namespace AAA::Log {

constexpr int kThrowSite = 3;
constexpr int kHeading = 6;
constexpr int kValue = 7;

void SetThreshold(int threshold);
int Threshold();
// While one lives, nothing is written on this thread: a model read again
// from bytes the tool made itself says nothing the log has not said.
class Silence {
 public:
  Silence();
  ~Silence();
  Silence(const Silence&) = delete;
  Silence& operator=(const Silence&) = delete;
};
bool Enabled(int level);

// printf-style; the arguments are not formatted when the level is filtered out.
void Line(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Level 6, three lines: a line feed and 80 '=', the text, 80 '-'.
void Heading(const char* text);

// The level-3 line written by every explicit throw site: "file(line): expression".
void ThrowSite(const char* file, int line, const char* expression);

// Reads "-l N" from a front end's arguments; returns the threshold it names,
// or 0 when the option is absent or not a number above 0.
int ThresholdFromArguments(int argc, const char* const* argv);

}  // namespace AAA::Log

// Throws `exception` (an expression such as `UnexpectedEofException()`) after
// writing its throw-site line, the expression's text included.
#define AAA_THROW(exception)                               \
  do {                                                     \
    ::AAA::Log::ThrowSite(__FILE__, __LINE__, #exception); \
    throw exception;                                       \
  } while (0)
