#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "restorelib/Restore_RemainingTime.h"
#include "restorelib/Restore_Thread.h"

// The terminal side of a verification: the progress bar with the remaining
// time, and Ctrl-C, which pauses the worker and asks whether to cancel.

namespace RestoreConsole {

using Clock = Restore::RemainingTime::Clock;

// Counts SIGINT while it lives; restores the previous handling afterwards.
class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;
  static int Count();
};

// Asks `question` on `output` and reads "y" or "n" from `input`. A Ctrl-C
// while asking gives `answerOnInterrupt`; the end of the input gives false.
bool Ask(const std::string& question, int input, std::FILE* output, bool answerOnInterrupt);

// Shows `prompt` on `output` and reads one line from `input`; nothing at the
// end of the input or on Ctrl-C.
std::optional<std::string> AskLine(const std::string& prompt, int input, std::FILE* output);

// Starts the verification of `run` and waits for it. With `showProgress`
// the bar and the remaining time are drawn on standard error once a second.
// Each Ctrl-C pauses the worker and asks the question AskCancel when
// `canAsk` (otherwise the answer is yes); yes requests the cancel and shows
// Cancelling.
void Verify(Restore::Thread& run, bool showProgress, bool canAsk);

}  // namespace RestoreConsole
