#pragma once

#include <filesystem>
#include <vector>

#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_RestoreStreamFolder.h"
#include "restorelib/Restore_Thread.h"

namespace Restore {

// Every clip information file checked against its stream, repaired or
// rebuilt from the stream analysis; clips without streams are dropped.
class RestoreClipInformation {
 public:
  // `run` receives the progress and answers the cancel request.
  RestoreClipInformation(const AvchdFolder& folder, RestoreStreamFolder& streamFolder, Thread& run);

  // Reads one clip information file only so that an unsupported maker
  // throws MakerModelException before any long work starts.
  void ReadForMakerCheck(const std::filesystem::path& file);
  void VerifyClipInformation();

  const std::vector<std::filesystem::path>& FilesToDelete() const { return filesToDelete_; }
  // A clip information object must be written.
  bool IsModified() const;
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // Writes every modified clip information object into CLIPINF.
  void Commit();

 private:
  const AvchdFolder* folder_;
  RestoreStreamFolder* streamFolder_;
  Thread* run_;
  std::vector<std::filesystem::path> filesToDelete_;
};

}  // namespace Restore
