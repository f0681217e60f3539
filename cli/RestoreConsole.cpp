#include "cli/RestoreConsole.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "restorelib/Restore_Texts.h"

namespace RestoreConsole {
namespace {

std::atomic<int> interrupts{0};
struct sigaction previousHandler {};

void CountInterrupt(int) { interrupts.fetch_add(1); }

// Lets the command wait for the worker's completion callback.
struct Completion {
  std::mutex mutex;
  std::condition_variable done;
  bool called = false;

  static void Callback(const Restore::ResultBlock& result) {
    auto* self = static_cast<Completion*>(result.Context);
    std::lock_guard lock(self->mutex);
    self->called = true;
    self->done.notify_all();
  }
  bool WaitFor(std::chrono::milliseconds time) {
    std::unique_lock lock(mutex);
    return done.wait_for(lock, time, [this] { return called; });
  }
};

void DrawBar(std::uint32_t progress, const std::string& remaining) {
  constexpr int kWidth = 40;
  const int filled = static_cast<int>(progress) * kWidth / 100;
  std::fprintf(stderr, "\r\033[K[%s%s] %3u%% %s", std::string(filled, '#').c_str(),
               std::string(kWidth - filled, '.').c_str(), progress, remaining.c_str());
  std::fflush(stderr);
}

void ClearBar() {
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
}

}  // namespace

InterruptWatch::InterruptWatch() {
  struct sigaction handler {};
  handler.sa_handler = CountInterrupt;
  sigemptyset(&handler.sa_mask);
  handler.sa_flags = 0;  // no restart: a waiting poll returns at once
  sigaction(SIGINT, &handler, &previousHandler);
}

InterruptWatch::~InterruptWatch() { sigaction(SIGINT, &previousHandler, nullptr); }

int InterruptWatch::Count() { return interrupts.load(); }

namespace {

enum class LineEnd { Line, EndOfInput, Interrupt };

// Reads one line from `input` into `line`, watching for a Ctrl-C after
// `interruptsBefore`.
LineEnd ReadLine(int input, int interruptsBefore, std::string& line) {
  line.clear();
  while (true) {
    if (InterruptWatch::Count() != interruptsBefore) return LineEnd::Interrupt;
    pollfd wait{input, POLLIN, 0};
    if (poll(&wait, 1, 100) <= 0) continue;
    char character = 0;
    const ssize_t got = read(input, &character, 1);
    if (got < 0) continue;  // interrupted: looked at above
    if (got == 0) return LineEnd::EndOfInput;
    if (character == '\n') return LineEnd::Line;
    line += character;
  }
}

}  // namespace

bool Ask(const std::string& question, int input, std::FILE* output, bool answerOnInterrupt) {
  const int interruptsBefore = InterruptWatch::Count();
  for (std::string line;;) {
    std::fprintf(output, "%s [y/n] ", question.c_str());
    std::fflush(output);
    const LineEnd end = ReadLine(input, interruptsBefore, line);
    if (end == LineEnd::Interrupt) {
      std::fprintf(output, "\n");
      return answerOnInterrupt;
    }
    if (end == LineEnd::EndOfInput) return false;
    if (line == "y" || line == "Y" || line == "yes") return true;
    if (line == "n" || line == "N" || line == "no") return false;
  }
}

std::optional<std::string> AskLine(const std::string& prompt, int input, std::FILE* output) {
  const int interruptsBefore = InterruptWatch::Count();
  std::fprintf(output, "%s ", prompt.c_str());
  std::fflush(output);
  std::string line;
  const LineEnd end = ReadLine(input, interruptsBefore, line);
  if (end == LineEnd::Line) return line;
  std::fprintf(output, "\n");
  return std::nullopt;
}

void Verify(Restore::Thread& run, bool showProgress, bool canAsk) {
  using Restore::UiText;
  InterruptWatch watch;
  int interruptsHandled = InterruptWatch::Count();
  Completion completion;
  Restore::RemainingTime remaining(Clock::now());
  auto lastDrawn = Clock::now() - std::chrono::seconds(1);
  run.Start(&completion, &Completion::Callback);
  while (!completion.WaitFor(std::chrono::milliseconds(100))) {
    if (InterruptWatch::Count() != interruptsHandled) {
      run.RequestPause();
      remaining.PauseBegan(Clock::now());
      if (showProgress) ClearBar();
      const bool cancel = !canAsk || Ask(Restore::Texts::Text(UiText::AskCancel), STDIN_FILENO, stderr, true);
      if (cancel) {
        run.RequestCancel();
        std::fprintf(stderr, "%s\n", Restore::Texts::Text(UiText::Cancelling).c_str());
      }
      interruptsHandled = InterruptWatch::Count();
      remaining.PauseEnded(Clock::now());
      run.Resume();
    }
    if (showProgress && !run.IsCancelRequested() && Clock::now() - lastDrawn >= std::chrono::seconds(1)) {
      lastDrawn = Clock::now();
      DrawBar(run.Progress(), remaining.Text(run.Progress(), lastDrawn));
    }
  }
  run.Wait();
  if (showProgress) ClearBar();
}

}  // namespace RestoreConsole
