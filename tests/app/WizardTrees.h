#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_RestoreMain.h"
#include "tests/support/StreamGenerator.h"

// The trees the wizard is driven on, and restore runs that stand in for
// what the engine cannot tell yet (the eye of a 3D tree) or for a long or
// failing verification.

// Two recordings as a camcorder writes them into `streamFolder`, the second
// cut short inside its third group. Each lasts more than the second a clip
// needs.
inline void WriteRecordings(const std::filesystem::path& streamFolder, const char* extension = ".MTS") {
  std::filesystem::create_directories(streamFolder);
  TestSupport::StreamParameters whole;
  whole.groups = 3;
  TestSupport::writeStream(whole, streamFolder / (std::string("00001") + extension));
  TestSupport::StreamParameters cut = whole;
  cut.padToUnit = false;
  cut.cutAtByte = 300000;
  TestSupport::writeStream(cut, streamFolder / (std::string("00002") + extension));
}

// An AVCHD folder whose management files are missing and whose second
// stream is cut short.
inline void DamagedTree(const std::filesystem::path& avchd) { WriteRecordings(avchd / "BDMV" / "STREAM"); }

// The verdict of a fresh verification: 0 repair required, 1 nothing to repair.
inline int Verdict(const std::filesystem::path& target, int mode) {
  Restore::RestoreMain run(target, mode);
  if (run.ResultState() != 0) return run.ResultState();
  run.Start(nullptr, nullptr);
  run.Wait();
  return run.ResultState();
}

// A damaged tree repaired, so that it verifies clean.
inline void CleanTree(const std::filesystem::path& avchd) {
  DamagedTree(avchd);
  Restore::RestoreMain run(avchd, Restore::ModeAvchdFolder);
  run.Start(nullptr, nullptr);
  run.Wait();
  run.Commit();
}

// Marks the tree below `avchd` as one eye of a 3D recording.
inline void MarkEye(const std::filesystem::path& avchd, const std::string& eye, const std::string& recording = "1") {
  std::ofstream(avchd / "EYE") << eye << " " << recording;
}

// A restore run that knows the eye of its tree from the mark above, read
// when the run is created: the relation holds between the two eyes of one
// recording, and "verify 3D Main" refuses two trees of the same eye.
class EyeRun : public Restore::RestoreMain {
 public:
  // With `hold`, the verification waits (at 40 percent) while it is set.
  EyeRun(const std::filesystem::path& target, int mode, const std::atomic<bool>* hold = nullptr)
      : RestoreMain(target, mode), hold_(hold) {
    std::ifstream(AvchdFolderPath() / "EYE") >> eye_ >> recording_;
  }
  ~EyeRun() override { Wait(); }

  void VerifyRelation3d(RestoreMain& first) override {
    result_.ResultState = IsPartnerOf(static_cast<EyeRun&>(first)) ? 0 : -1;
    result_.ErrorString = result_.ResultState == 0 ? "" : AAA::StringTable::Text(114);
  }
  void VerifyMain3d(RestoreMain& second) override {
    if (!IsPartnerOf(static_cast<EyeRun&>(second))) {
      result_.ResultState = -1;
      result_.ErrorString = AAA::StringTable::Text(114);
      return;
    }
    RestoreMain::VerifyMain3d(second);
  }

 protected:
  void Run() override {
    SetProgress(40);
    while (hold_ != nullptr && *hold_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    RestoreMain::Run();
    if (result_.ResultState == 0 || result_.ResultState == 1) result_.Result3d = eye_ == "L" ? 1 : eye_ == "R" ? 2 : 0;
  }

 private:
  bool IsPartnerOf(const EyeRun& other) const {
    return !eye_.empty() && !other.eye_.empty() && eye_ != other.eye_ && recording_ == other.recording_;
  }

  const std::atomic<bool>* hold_;
  std::string eye_;
  std::string recording_;
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
    if (result_.ResultState == 0) RestoreMain::Run();
  }
};

// A verification that fails on the worker with message 112.
class BrokenStreamRun : public Restore::RestoreMain {
 public:
  using RestoreMain::RestoreMain;
  ~BrokenStreamRun() override { Wait(); }

 protected:
  void Run() override {
    result_.ResultState = -1;
    result_.ErrorString = AAA::StringTable::Text(112);
  }
};
