#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "restorelib/Restore_FileLayer.h"

// Stands between the engine and the medium for the tests of the commit:
// counts every operation of the file layer, and at the N-th one stops the
// run as a power cut does (optionally losing every change not yet made
// durable by a sync of the file and of its folder, as a real medium does),
// or fails that one operation with an error number.
class FaultInjector : public Restore::FileLayer::Hook {
 public:
  // What a power cut throws through the engine.
  struct PowerCut {};

  enum class Mode { Count, Cut, CutLosingUnsynced, Fail };

  // Installs itself in the file layer; only counts.
  FaultInjector();
  ~FaultInjector() override;
  FaultInjector(const FaultInjector&) = delete;
  FaultInjector& operator=(const FaultInjector&) = delete;

  // From now on: cut or fail the `at`-th operation counted from here.
  void Arm(Mode mode, std::uint64_t at, int errorNumber = 0);

  int Before(const Restore::FileLayer::Operation& operation) override;
  void After(const Restore::FileLayer::Operation& operation) override;

  std::uint64_t Count() const { return count_; }
  bool HasCut() const { return cut_; }
  // The operation at which the cut or failure happened, for messages.
  const std::string& Where() const { return where_; }

 private:
  // A change not yet durable and how a power cut takes it back.
  struct Pending {
    enum Kind { Content, Created, Renamed, Removed, MadeFolder, RemovedFolder } What;
    std::filesystem::path Path;
    std::filesystem::path Target;
    std::optional<std::vector<std::uint8_t>> Bytes;  // the content before
    std::vector<std::filesystem::path> UnsyncedFolders;
  };
  Pending Prepare(const Restore::FileLayer::Operation& operation) const;
  void Sync(const Restore::FileLayer::Operation& operation);
  void LoseUnsynced();

  Mode mode_ = Mode::Count;
  std::uint64_t at_ = 0;
  int errorNumber_ = 0;
  std::uint64_t count_ = 0;
  bool cut_ = false;
  std::string where_;
  std::optional<Pending> prepared_;
  std::vector<Pending> pending_;
};
