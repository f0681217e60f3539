#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "restorelib/Restore_Result.h"

namespace Restore {

// The results of a run, handed over together: the context given to Start,
// ResultState (0 usable / repair required / committed, 1 nothing to repair,
// 2 cancelled, -1 failed), Result3d (0 not 3D, 1 left channel, 2 right
// channel) and the message of a failure.
struct ResultBlock {
  void* Context = nullptr;
  Verdict ResultState = Verdict::RepairRequired;
  Channel3d Result3d = Channel3d::None;
  std::string ErrorString;
  // The string-table id of ErrorString; 0 without an error.
  std::int32_t ErrorId = 0;
};

// Called once on the worker when the verification has ended.
using CompletionCallback = void (*)(const ResultBlock& result);

// Owns the worker thread of a restore run and what it shares with the user
// interface: the progress, the cancel request and the pause gate. The
// results are written by the worker before its callback and by the user
// interface's own operations; read them only while no worker runs (from the
// callback on, or after Wait).
class Thread {
 public:
  Thread() = default;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  // Waits for the worker. A derived class waits in its own destructor too,
  // before the members the worker uses are gone.
  virtual ~Thread();

  // Runs Run() on a new worker; at its end logs the results and calls
  // `callback` with them. A worker that cannot be started ends in the
  // callback with ResultState -1 all the same.
  virtual void Start(void* context, CompletionCallback callback);
  // Waits until the worker (if any) has ended.
  void Wait();

  // ---- user-interface side
  std::uint32_t Progress() const { return progress_.load(); }
  // Once set, never cleared: the worker ends with ResultState 2 at its next
  // check point.
  void RequestCancel() { cancelRequested_.store(true); }
  bool IsCancelRequested() const { return cancelRequested_.load(); }
  // Holds the worker at its next check point until Resume.
  void RequestPause();
  void Resume();

  Verdict ResultState() const { return result_.ResultState; }
  Channel3d Result3d() const { return result_.Result3d; }
  const std::string& ErrorString() const { return result_.ErrorString; }
  std::int32_t ErrorId() const { return result_.ErrorId; }

  // ---- worker side, used by the verification steps
  void SetProgress(std::uint32_t percent) { progress_.store(percent); }
  // Waits while a pause is requested.
  void PausePoint();
  // The pause gate, then CancellationException when the cancel is requested.
  void CheckPoint();

 protected:
  // The work of the worker.
  virtual void Run() = 0;

  // Runs `action` and turns any failure into ResultState -1 with its message
  // (message 100 for anything outside the AAA family). With `cancellable`,
  // a cancellation gives ResultState 2 instead. true when `action` ended.
  bool Guard(const std::function<void()>& action, bool cancellable = false);
  // "ResultState: %d  Result3d: %d  ErrorString: %s"
  void LogResult() const;

  ResultBlock result_;

 private:
  void WorkerEntry();

  std::thread worker_;
  CompletionCallback callback_ = nullptr;
  std::atomic<std::uint32_t> progress_{0};
  std::atomic<bool> cancelRequested_{false};
  std::mutex pauseMutex_;
  std::condition_variable pauseChanged_;
  bool paused_ = false;
};

}  // namespace Restore
