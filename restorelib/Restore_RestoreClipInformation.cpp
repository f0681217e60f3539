#include "restorelib/Restore_RestoreClipInformation.h"

#include <algorithm>
#include <cinttypes>
#include <optional>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_ClipCorrection.h"
#include "restorelib/Restore_ModelFile.h"
#include "restorelib/Restore_NewClipInformation.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {
namespace fs = std::filesystem;

void ReadClipInformationFile(const fs::path& path,
                             AVCHD::ClipInformation::BlkClipInformationFile& clipInformationFile) {
  ReadModelFile(path, clipInformationFile, AVCHD::ClipInformation::kMaxFileBytes);
}

namespace {

// The seconds the STC sequences of `clip` present.
double PresentedSeconds(const AVCHD::ClipInformation::BlkClipInformationFile& clip) {
  double seconds = 0;
  const auto& sequences = clip.blkSequenceInfo.blkSTCSequenceArray;
  for (std::size_t i = 0; i < sequences.Size(); ++i) {
    seconds += static_cast<double>(sequences[i].PresentationEndTime - sequences[i].PresentationStartTime) / 45000;
  }
  return seconds;
}

}  // namespace

RestoreClipInformation::RestoreClipInformation(const AvchdFolder& folder, RestoreStreamFolder& streamFolder,
                                               Thread& run)
    : folder_(&folder), streamFolder_(&streamFolder), run_(&run) {}

void RestoreClipInformation::ReadForMakerCheck(const fs::path& file) {
  ClipInformationFile clipInformationFile;
  ReadClipInformationFile(file, clipInformationFile);
}

void RestoreClipInformation::VerifyClipInformation() {
  AAA::Log::Heading("verify Clip information");
  clips_.Clear();
  ClearFilesToDelete();
  damagedStretches_.clear();
  totalBytes_ = streamFolder_->TotalStreamSize();
  processedBytes_ = 0;
  AAA::Log::Line(AAA::Log::kHeading, "total stream size: %" PRIu64 " bytes\n", totalBytes_);
  for (auto& stream : streamFolder_->Streams()) {
    const std::uint64_t before = processedBytes_;
    VerifyClip(stream);
    // Whatever part of the stream the scan took, the stream is done.
    AdvanceProgress(before + stream.Size - processedBytes_);
    CheckWorkingFolder();
  }
  CheckFollowingClips();
  ListClipsWithoutStream();
}

void RestoreClipInformation::VerifyClip(StreamEntry& stream) {
  const std::string clipName = stream.Destination.filename().string().substr(0, 5);
  const fs::path clipPath = Utility::ClipInformationFile(*folder_, clipName, true);
  // The card's own clip information is read first: the packets it counts
  // tell a stream that was stopped cleanly from one cut short.
  std::optional<ClipInformationFile> clipInformationFile;
  const bool read = ReadFileOrItsCopy(
      *folder_, clipPath, [&](const fs::path& source) -> auto& {
        clipInformationFile.emplace();
        clipInformationFile->ClipName = clipName;
        ReadClipInformationFile(source, *clipInformationFile);
        return *clipInformationFile;
      });
  RecordedStream recorded;
  if (read) {
    recorded.SourcePackets = clipInformationFile->blkClipInfo.NumberOfSourcePackets;
    const auto& epMap = clipInformationFile->blkCPI.blkEPMap;
    if (epMap.NumberOfStreamPIDEntries != 0)
      recorded.EntryPoints = epMap.blkStreamPIDEntryArray[0].NumberOfEPFineEntries;
  }
  ClipInformationFile newClipInformationFile;
  try {
    NewClipInformation scanned = BuildNewClipInformationFile(
        newClipInformationFile, stream.Source, clipName, [this](std::uint64_t bytes) { AdvanceProgress(bytes); },
        recorded);
    stream.BytesScanned = scanned.BytesScanned;
    // What the card's clip information counted beyond what the stream holds
    // is lost too: the recording was cut before it was written.
    const double counted = read ? PresentedSeconds(*clipInformationFile) - PresentedSeconds(newClipInformationFile) : 0;
    stream.SecondsLeftOut = std::max(scanned.SecondsLeftOut, counted);
    for (auto& line : scanned.DamagedStretches) damagedStretches_.push_back(std::move(line));
  } catch (const AAA::InvalidStreamException&) {
    // A broken stream gets no clip, and its clip information goes.
    stream.Playable = false;
    if (Utility::Exists(clipPath)) ListForDeletion(clipPath);
    return;
  }
  if (!read) {
    // Lost, unreadable, failing a rule or of another maker: rebuilt from the stream.
    StoreClip(newClipInformationFile, nullptr);
    return;
  }
  ClipInformationFile asRead(*clipInformationFile);
  asRead.Link();
  CorrectClipInformationFile(*clipInformationFile, newClipInformationFile);
  StoreClip(*clipInformationFile, &asRead);
}

void RestoreClipInformation::StoreClip(ClipInformationFile& clip, ClipInformationFile* asRead) {
  // Refused before the store grows past what any tree holds.
  if (clips_.Size() >= kMaxClips) AAA_THROW(AAA::InvalidDataException());
  clips_.Add(clip, asRead);
}

void RestoreClipInformation::AdvanceProgress(std::uint64_t bytes) {
  processedBytes_ += bytes;
  // A cancelled run keeps the progress it had.
  run_->CheckPoint();
  if (totalBytes_ != 0) run_->SetProgress(static_cast<std::uint32_t>(processedBytes_ * 100 / totalBytes_));
}

// A card pulled or a folder removed during the scan ends the verification.
void RestoreClipInformation::CheckWorkingFolder() const {
  if (!folder_->RootPath.empty()) {
    if (!Utility::Exists(folder_->RootPath)) AAA_THROW(AAA::IOException());
  } else if (!Utility::Exists(folder_->Path)) {
    AAA_THROW(AAA::IOException());
  }
}

// A clip continues into the clip it names only while that clip is there
// with its partner.
void RestoreClipInformation::CheckFollowingClips() {
  clips_.ForEach([this](ClipInformationFile& clip) {
    if (clip.blkClipInfo.IsCC5 != 1) return;
    const auto& name = clip.blkClipInfo.FollowingClipInformationFileName.ValueBytes();
    const std::string following(name.begin(), name.end());
    const ClipStore::Clip next = FindClip(following);
    const bool continues = next != nullptr && next->NoPartnerMark == 0;
    if (!continues) AAA_CORRECT(clip.blkClipInfo.IsCC5, 0U);
  });
}

void RestoreClipInformation::ListClipsWithoutStream() {
  for (const auto& entry : Utility::ListFiles(Utility::ClipInformationPattern(*folder_))) {
    if (!Utility::IsNumberedFileName(entry.Name)) continue;
    const std::string name = entry.Name.substr(0, 5);
    if (FindClip(name) != nullptr) continue;
    AAA::Log::Line(AAA::Log::kHeading, "%s(%d): file not found. %s\n", __FILE__, __LINE__,
                   Utility::StreamFile(*folder_, name, true).c_str());
    const fs::path path = Utility::ClipInformationFolder(*folder_) / entry.Name;
    // A broken stream's clip information is listed already.
    ListForDeletion(path);
  }
}

bool RestoreClipInformation::IsModified() const {
  for (std::size_t index = 0; index < clips_.Size(); ++index) {
    if (clips_.NeedsWrite(index)) return true;
  }
  return false;
}

fs::path RestoreClipInformation::PathOf(std::size_t index) const {
  return Utility::ClipInformationFile(*folder_, clips_.ValuesAt(index).ClipName, true);
}

void RestoreClipInformation::AddPlannedWrites(std::vector<PlannedWrite>& writes) const {
  for (std::size_t index = 0; index < clips_.Size(); ++index) {
    if (!clips_.NeedsWrite(index)) continue;
    writes.push_back(
        PlannedWriteOf(clips_.CopiedFrom(index), clips_.WasRead(index), PathOf(index), FileKind::ClipInformation));
  }
}

void RestoreClipInformation::AddChanges(ChangeSet& changes) {
  for (std::size_t index = 0; index < clips_.Size(); ++index) {
    if (!clips_.NeedsWrite(index)) continue;
    const fs::path path = PathOf(index);
    changes.Writes.push_back({path, FileKind::ClipInformation, CheckedModelBytes(*clips_.Open(index), path)});
  }
}

void RestoreClipInformation::ClearFilesToDelete() {
  filesToDelete_.clear();
  listedForDeletion_.clear();
}

void RestoreClipInformation::ListForDeletion(const fs::path& file) {
  if (listedForDeletion_.insert(file.native()).second) filesToDelete_.push_back(file);
}

}  // namespace Restore
