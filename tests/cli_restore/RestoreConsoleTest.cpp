// The remaining-time text, the yes/no question and Ctrl-C during a
// verification, driven in-process with real signals.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <thread>

#include "aaalib/AAA_StringTable.h"
#include "cli/RestoreConsole.h"
#include "restorelib/Restore_Texts.h"

using namespace RestoreConsole;
using AAA::StringTable::Language;
using Restore::UiText;

namespace {

// A pipe standing in for the terminal's input.
struct Input {
  int ends[2];
  Input() { EXPECT_EQ(pipe(ends), 0); }
  ~Input() {
    close(ends[0]);
    if (ends[1] >= 0) close(ends[1]);
  }
  void Type(const std::string& text) { EXPECT_EQ(write(ends[1], text.data(), text.size()), ssize_t(text.size())); }
  void Close() {
    close(ends[1]);
    ends[1] = -1;
  }
};

// A verification that goes on until it is cancelled or released.
class EndlessRun : public Restore::Thread {
 public:
  ~EndlessRun() override { Wait(); }
  std::atomic<bool> released{false};
  void Run() override {
    Guard(
        [this] {
          SetProgress(1);
          while (!released) {
            CheckPoint();
            std::this_thread::yield();
          }
          SetProgress(100);
          result_.ResultState = Restore::Verdict::NotRequired;
        },
        true);
  }
};

// Sends Ctrl-C to the process once the worker runs.
std::thread InterruptWhenRunning(const Restore::Thread& run) {
  return std::thread([&run] {
    while (run.Progress() == 0) std::this_thread::yield();
    kill(getpid(), SIGINT);
  });
}

}  // namespace

TEST(Question, ReadsYesOrNoAndAsksAgainOtherwise) {
  Input input;
  input.Type("maybe\nY\n");
  std::FILE* output = std::tmpfile();
  EXPECT_TRUE(Ask("Go?", input.ends[0], output, false));
  input.Type("no\n");
  EXPECT_FALSE(Ask("Go?", input.ends[0], output, true));
  std::rewind(output);
  char text[64] = {};
  EXPECT_GT(std::fread(text, 1, sizeof text - 1, output), 0u);
  EXPECT_STREQ(text, "Go? [y/n] Go? [y/n] Go? [y/n] ");
  std::fclose(output);
  input.Close();
  EXPECT_FALSE(Ask("Go?", input.ends[0], stderr, true));  // end of input
}

TEST(Question, ASecondCtrlCWhileAskingAnswers) {
  Input input;
  InterruptWatch watch;
  std::thread interrupt([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(getpid(), SIGINT);
  });
  EXPECT_TRUE(Ask("Cancel?", input.ends[0], stderr, true));
  interrupt.join();
}

TEST(Verification, CtrlCWithoutATerminalCancelsAtTheNextCheckPoint) {
  EndlessRun run;
  auto interrupt = InterruptWhenRunning(run);
  Verify(run, false, false);
  interrupt.join();
  EXPECT_EQ(run.ResultState(), Restore::Verdict::Cancelled);
  EXPECT_TRUE(run.IsCancelRequested());
  EXPECT_EQ(run.ErrorString(), "");
}

TEST(Verification, WithoutCtrlCTheVerificationEndsByItself) {
  EndlessRun run;
  run.released = true;
  Verify(run, false, true);
  EXPECT_EQ(run.ResultState(), Restore::Verdict::NotRequired);
  EXPECT_EQ(run.Progress(), 100u);
}

namespace {

// Puts a pipe in place of standard input for one test.
struct TypedStandardInput : Input {
  int saved = dup(STDIN_FILENO);
  TypedStandardInput() { dup2(ends[0], STDIN_FILENO); }
  ~TypedStandardInput() {
    dup2(saved, STDIN_FILENO);
    close(saved);
  }
  // Waits until the question has read everything typed.
  void WaitUntilRead() const {
    int pending = 1;
    while (ioctl(ends[0], FIONREAD, &pending) == 0 && pending > 0) std::this_thread::yield();
  }
};

}  // namespace

TEST(Verification, AnsweringNoLetsTheVerificationGoOn) {
  EndlessRun run;
  TypedStandardInput input;
  std::thread user([&] {
    while (run.Progress() == 0) std::this_thread::yield();
    input.Type("n\n");
    kill(getpid(), SIGINT);
    input.WaitUntilRead();
    run.released = true;
  });
  Verify(run, false, true);
  user.join();
  EXPECT_EQ(run.ResultState(), Restore::Verdict::NotRequired);
  EXPECT_FALSE(run.IsCancelRequested());
}

TEST(Verification, AnsweringYesCancels) {
  EndlessRun run;
  TypedStandardInput input;
  input.Type("y\n");
  auto interrupt = InterruptWhenRunning(run);
  testing::internal::CaptureStderr();
  Verify(run, false, true);
  const std::string shown = testing::internal::GetCapturedStderr();
  interrupt.join();
  EXPECT_EQ(run.ResultState(), Restore::Verdict::Cancelled);
  EXPECT_NE(shown.find(Restore::Texts::Text(UiText::AskCancel) + " [y/n] "), std::string::npos);
  EXPECT_NE(shown.find(Restore::Texts::Text(UiText::Cancelling)), std::string::npos);
}

TEST(StringTable, InterfaceTextsAreThereInBothLanguages) {
  using Restore::Texts::Text;
  for (const UiText id :
       {UiText::ProgramTitle, UiText::Exit, UiText::RestoreMemoryCard, UiText::RestoreAvchdFolder,
        UiText::MakeAvchdFolder, UiText::AskCancel, UiText::Cancelling, UiText::VerifyingTitle, UiText::Verifying,
        UiText::Remaining, UiText::Minutes, UiText::Seconds, UiText::ConfirmTitle, UiText::ErrorFound,
        UiText::Completed, UiText::PlayableAgain, UiText::NotRequired, UiText::NoErrorFound}) {
    EXPECT_FALSE(Text(id, Language::English).empty()) << static_cast<int>(id);
    EXPECT_FALSE(Text(id, Language::Japanese).empty()) << static_cast<int>(id);
  }
  EXPECT_EQ(Text(UiText::ProgramTitle, Language::English), "Velmar Restorer V3.0");
  EXPECT_EQ(Text(UiText::Exit, Language::English), "E&xit");
  EXPECT_EQ(Text(UiText::AskCancel, Language::English), "It cancels. Is it good?");
  EXPECT_EQ(Text(UiText::Cancelling, Language::English), "It is canceling...\n\nPlease wait for a while.");
}
