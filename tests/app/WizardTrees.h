#pragma once

#include <atomic>
#include <filesystem>
#include <thread>

#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_RestoreMain.h"
#include "samplegen/StreamGenerator.h"
#include "tests/support/Recording3d.h"

// The trees the wizard is driven on: single trees and the two eyes of 3D
// recordings; and restore runs that stand in for a long or failing
// verification.

// Two recordings as a camcorder writes them into `streamFolder`, the second
// cut short inside its third group. Each lasts more than the second a clip
// needs.
inline SampleGen::StreamParameters WholeRecording() {
  SampleGen::StreamParameters whole;
  whole.groups = 3;
  return whole;
}
inline SampleGen::StreamParameters CutRecording() {
  SampleGen::StreamParameters cut = WholeRecording();
  cut.padToUnit = false;
  cut.cutAtByte = 300000;
  return cut;
}
inline void WriteRecordings(const std::filesystem::path& streamFolder, const char* extension = ".MTS") {
  std::filesystem::create_directories(streamFolder);
  SampleGen::writeStream(WholeRecording(), streamFolder / (std::string("00001") + extension));
  SampleGen::writeStream(CutRecording(), streamFolder / (std::string("00002") + extension));
}

// An AVCHD folder whose management files are missing and whose second
// stream is cut short.
inline void DamagedTree(const std::filesystem::path& avchd) { WriteRecordings(avchd / "BDMV" / "STREAM"); }

// The verdict of a fresh verification.
inline Restore::Verdict VerdictOf(const std::filesystem::path& target, Restore::Mode mode) {
  Restore::RestoreMain run(target, mode);
  if (run.ResultState() != Restore::Verdict::RepairRequired) return run.ResultState();
  run.Start(nullptr, nullptr);
  run.Wait();
  return run.ResultState();
}

// The tree in `avchd` repaired, so that it verifies clean; a damaged one
// when there is none.
inline void CleanTree(const std::filesystem::path& avchd) {
  if (!std::filesystem::exists(avchd / "BDMV" / "STREAM")) DamagedTree(avchd);
  Restore::RestoreMain run(avchd, Restore::Mode::AvchdFolder);
  run.Start(nullptr, nullptr);
  run.Wait();
  run.Commit();
}

// One eye ('L' or 'R') of 3D recording `recording` in `avchd`: a whole
// recording with its management files, marked as that eye; `damaged` adds a
// second recording cut short, without management files. The right eye's
// streams are numbered from 10001, the partner names of the left eye's.
inline void EyeTree(const std::filesystem::path& avchd, char eye, bool damaged, std::uint8_t recording = 1) {
  const auto streams = avchd / "BDMV" / "STREAM";
  const std::string number = eye == 'R' ? "1000" : "0000";
  std::filesystem::create_directories(streams);
  SampleGen::writeStream(TestSupport::EyeStream(WholeRecording(), eye), streams / (number + "1.MTS"));
  CleanTree(avchd);
  TestSupport::MarkAs3dChannel(avchd, eye, TestSupport::MaterialID(recording));
  if (damaged) SampleGen::writeStream(TestSupport::EyeStream(CutRecording(), eye), streams / (number + "2.MTS"));
}

// Two eye trees repaired once as a pair, so that the pair verifies clean.
inline void RepairAsPair(const std::filesystem::path& left, const std::filesystem::path& right) {
  Restore::RestoreMain first(left, Restore::Mode::AvchdFolder);
  Restore::RestoreMain second(right, Restore::Mode::AvchdFolder);
  for (auto* run : {&first, &second}) {
    run->Start(nullptr, nullptr);
    run->Wait();
  }
  first.VerifyMain3d(second);
  first.Commit();
  second.Commit();
}

// A restore run whose verification waits (at 40 percent) while `hold` is set.
class HeldRun : public Restore::RestoreMain {
 public:
  HeldRun(const std::filesystem::path& target, Restore::Mode mode, const std::atomic<bool>& hold)
      : RestoreMain(target, mode), hold_(hold) {}
  ~HeldRun() override { Wait(); }

 protected:
  void Run() override {
    SetProgress(40);
    while (hold_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    RestoreMain::Run();
  }

 private:
  const std::atomic<bool>& hold_;
};

// A verification that goes on until it is released or cancelled; counts its
// rounds, so that a test sees whether it is held.
class EndlessRun : public Restore::RestoreMain {
 public:
  using RestoreMain::RestoreMain;
  ~EndlessRun() override {
    released = true;
    Wait();
  }

  std::atomic<bool> released{false};
  std::atomic<std::uint64_t> rounds{0};

 protected:
  void Run() override {
    Guard(
        [this] {
          SetProgress(50);
          while (!released) {
            CheckPoint();
            ++rounds;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
          }
        },
        true);
    if (result_.ResultState == Restore::Verdict::RepairRequired) RestoreMain::Run();
  }
};

// A verification that fails on the worker with message 112.
class BrokenStreamRun : public Restore::RestoreMain {
 public:
  using RestoreMain::RestoreMain;
  ~BrokenStreamRun() override { Wait(); }

 protected:
  void Run() override {
    result_.ResultState = Restore::Verdict::Failed;
    result_.ErrorString = AAA::StringTable::Text(112);
  }
};
