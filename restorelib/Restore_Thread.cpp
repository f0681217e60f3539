#include "restorelib/Restore_Thread.h"

#include <system_error>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "aaalib/AAA_StringTable.h"

namespace Restore {

Thread::~Thread() { Wait(); }

void Thread::Start(void* context, CompletionCallback callback) {
  Wait();
  result_.Context = context;
  callback_ = callback;
  try {
    worker_ = std::thread(&Thread::WorkerEntry, this);
  } catch (const std::system_error&) {
    // The page waits for the callback: a worker that never ran still ends in one.
    result_.ResultState = Verdict::Failed;
    result_.ErrorString = AAA::StringTable::Text(AAA::MessageId::Unexpected);
    LogResult();
    if (callback_ != nullptr) callback_(result_);
  }
}

void Thread::Wait() {
  if (worker_.joinable()) worker_.join();
}

void Thread::WorkerEntry() {
  Run();
  LogResult();
  if (callback_ != nullptr) callback_(result_);
}

void Thread::RequestPause() {
  std::lock_guard lock(pauseMutex_);
  paused_ = true;
}

void Thread::Resume() {
  {
    std::lock_guard lock(pauseMutex_);
    paused_ = false;
  }
  pauseChanged_.notify_all();
}

void Thread::PausePoint() {
  std::unique_lock lock(pauseMutex_);
  pauseChanged_.wait(lock, [this] { return !paused_; });
}

void Thread::CheckPoint() {
  PausePoint();
  if (IsCancelRequested()) AAA_THROW(AAA::CancellationException());
}

bool Thread::Guard(const std::function<void()>& action, bool cancellable) {
  try {
    action();
    return true;
  } catch (const AAA::CancellationException& cancelled) {
    if (cancellable) {
      result_.ResultState = Verdict::Cancelled;
    } else {
      result_.ResultState = Verdict::Failed;
      result_.ErrorString = cancelled.Message();
      result_.ErrorId = cancelled.Id();
    }
  } catch (const AAA::ExceptionBase& failure) {
    result_.ResultState = Verdict::Failed;
    result_.ErrorString = failure.Message();
    result_.ErrorId = failure.Id();
  } catch (...) {
    result_.ResultState = Verdict::Failed;
    result_.ErrorString = AAA::StringTable::Text(AAA::MessageId::Unexpected);
    result_.ErrorId = AAA::MessageId::Unexpected;
  }
  return false;
}

void Thread::LogResult() const {
  AAA::Log::Line(AAA::Log::kHeading, "ResultState: %d  Result3d: %d  ErrorString: %s\n",
                 static_cast<int>(result_.ResultState), static_cast<int>(result_.Result3d),
                 result_.ErrorString.c_str());
}

}  // namespace Restore
