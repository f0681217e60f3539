#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "avchdlib/AVCHD_ClipInformation.h"
#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_ChangeSet.h"
#include "restorelib/Restore_ClipStore.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_RestoreStreamFolder.h"
#include "restorelib/Restore_Thread.h"

namespace Restore {

// Every clip information file checked against its stream: each stream is
// scanned and the clip information it calls for is built; an existing file
// is corrected to it field by field, a missing or broken one replaced by it.
// Clip information without a stream, and that of a broken stream, is listed
// for deletion.
class RestoreClipInformation {
 public:
  using ClipInformationFile = AVCHD::ClipInformation::BlkClipInformationFile;
  // No tree holds more clips.
  static constexpr std::size_t kMaxClips = 4000;

  // `run` receives the progress and answers the cancel request.
  RestoreClipInformation(const AvchdFolder& folder, RestoreStreamFolder& streamFolder, Thread& run);

  // Reads one clip information file only so that an unsupported maker
  // throws MakerModelException before any long work starts.
  void ReadForMakerCheck(const std::filesystem::path& file);
  // "verify Clip information": fills the clip store and the list of files
  // to delete, advancing the progress by the stream bytes analysed.
  void VerifyClipInformation();

  // The clip store: one clip per stream that is not broken, in the order
  // of the stream list, each with its per-clip values.
  ClipStore& Clips() { return clips_; }
  const ClipStore& Clips() const { return clips_; }
  // The stored clip of that five-digit name, opened, or null.
  ClipStore::Clip FindClip(std::string_view clipName) { return clips_.Find(clipName); }

  const std::vector<std::filesystem::path>& FilesToDelete() const { return filesToDelete_; }
  // The damaged stretches the scans skipped, one line each, in stream order.
  const std::vector<std::string>& DamagedStretches() const { return damagedStretches_; }
  // A clip information object must be written.
  bool IsModified() const;
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // The writes of every modified clip information object into CLIPINF.
  void AddChanges(ChangeSet& changes);

 private:
  void VerifyClip(StreamEntry& stream);
  void StoreClip(ClipInformationFile& clip, ClipInformationFile* asRead);
  void AdvanceProgress(std::uint64_t bytes);
  void CheckWorkingFolder() const;
  void CheckFollowingClips();
  void ListClipsWithoutStream();
  void ClearFilesToDelete();
  // Lists a file for deletion once, however often it is found.
  void ListForDeletion(const std::filesystem::path& file);
  std::filesystem::path PathOf(std::size_t index) const;

  const AvchdFolder* folder_;
  RestoreStreamFolder* streamFolder_;
  Thread* run_;
  ClipStore clips_;
  std::vector<std::filesystem::path> filesToDelete_;
  std::unordered_set<std::string> listedForDeletion_;
  std::vector<std::string> damagedStretches_;
  std::uint64_t totalBytes_ = 0;
  std::uint64_t processedBytes_ = 0;
};

// Reads a clip information file with all its rules; a file larger than any
// clip needs is refused as invalid data before it is read.
void ReadClipInformationFile(const std::filesystem::path& path,
                             AVCHD::ClipInformation::BlkClipInformationFile& clipInformationFile);

}  // namespace Restore
