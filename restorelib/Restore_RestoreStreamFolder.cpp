#include "restorelib/Restore_RestoreStreamFolder.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <numeric>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_Beneath.h"
#include "restorelib/Restore_FileLayer.h"

namespace Restore {
namespace fs = std::filesystem;

namespace {

constexpr int kNumberCount = 100000;

// A stream is taken when it holds bytes and has a five-digit name.
bool IsStream(const Utility::DirectoryEntry& entry) {
  return entry.Size > 0 && Utility::IsNumberedFileName(entry.Name);
}

// Four source packets in a row in the file's first unit, at any offset: a
// recording starts with whole packets, a file of other bytes shows no such
// run by chance.
bool HoldsTransportStream(const fs::path& path) {
  constexpr std::size_t kPacket = 192;
  constexpr std::size_t kRun = 4;
  const auto head = FileLayer::ReadHead(path, kStreamUnitBytes);
  for (std::size_t start = 0; start < kPacket; ++start) {
    std::size_t run = 0;
    while (run < kRun && start + run * kPacket + 4 < head.size() && head[start + run * kPacket + 4] == 0x47) ++run;
    if (run == kRun || (run > 0 && start + run * kPacket + 4 >= head.size())) return true;
  }
  return false;
}

const char* const kNoTransportStream = "a file without a transport stream";

}  // namespace

RestoreStreamFolder::RestoreStreamFolder(const AvchdFolder& folder, const Utility::VolumeQueries& volume)
    : folder_(folder), volume_(volume) {}

std::uint64_t StreamEntry::CutSize() const {
  return Links > 1 || !HoldsTransportStream ? Size : Size / kStreamUnitBytes * kStreamUnitBytes;
}

void RestoreStreamFolder::VerifyStreamFolder(bool requireWritable) {
  AAA::Log::Heading("verify stream folder");
  streams_.clear();
  namesTaken_.clear();
  findings_.clear();
  AddTreeStreams();
  if (!folder_.RootPath.empty()) {
    AddRootStreams(folder_.RootPath / "?????.m2ts");
    AddRootStreams(folder_.RootPath / "?????.MTS");
  }
  if (TotalStreamSize() == 0) AAA_THROW(AAA::FileNotFoundException());
  writeProtected_ = false;
  try {
    Utility::CheckWriteProtect(streams_.front().Source, volume_);
  } catch (const AAA::WriteProtectException&) {
    if (requireWritable) throw;
    writeProtected_ = true;
  }
  AAA::Log::Line(AAA::Log::kHeading, "total stream size: %" PRIu64 " bytes\n", TotalStreamSize());
}

void RestoreStreamFolder::AddTreeStreams() {
  const fs::path streamFolder = Utility::StreamFolder(folder_);
  for (const auto& entry : Utility::ListFiles(streamFolder / "?????.*")) {
    namesTaken_.insert(entry.Name.substr(0, 5));
  }
  for (const auto& entry : Utility::ListFiles(Utility::StreamPattern(folder_))) {
    if (!IsStream(entry)) continue;
    const fs::path path = streamFolder / entry.Name;
    const bool holdsTransportStream = HoldsTransportStream(path);
    if (!holdsTransportStream) findings_.push_back(FileLayer::LeftAsItIs(path, kNoTransportStream));
    streams_.push_back({path, path, entry.Size, 0, entry.Links, holdsTransportStream});
  }
}

void RestoreStreamFolder::AddRootStreams(const fs::path& pattern) {
  for (const auto& entry : Utility::ListFiles(pattern)) {
    if (!IsStream(entry)) continue;
    if (!HoldsTransportStream(folder_.RootPath / entry.Name)) {
      findings_.push_back(FileLayer::LeftAsItIs(folder_.RootPath / entry.Name, kNoTransportStream));
      continue;
    }
    const int start = std::stoi(entry.Name.substr(0, 5));
    int candidate = start;
    while (IsNameTaken(Utility::FiveDigitName(candidate))) {
      candidate = (candidate + 1) % kNumberCount;
      if (candidate == start) AAA_THROW(AAA::InvalidDataException());
    }
    namesTaken_.insert(Utility::FiveDigitName(candidate));
    streams_.push_back({folder_.RootPath / entry.Name,
                        Utility::StreamFile(folder_, Utility::FiveDigitName(candidate), true), entry.Size, 0,
                        entry.Links});
  }
}

bool RestoreStreamFolder::IsNameTaken(const std::string& name) const { return namesTaken_.count(name) != 0; }

std::uint64_t RestoreStreamFolder::TotalStreamSize() const {
  return std::accumulate(streams_.begin(), streams_.end(), std::uint64_t{0},
                         [](std::uint64_t sum, const StreamEntry& stream) { return sum + stream.Size; });
}

bool RestoreStreamFolder::NeedsRepair() const {
  return std::any_of(streams_.begin(), streams_.end(), [](const StreamEntry& stream) {
    return stream.Source != stream.Destination || stream.CutSize() != stream.Size;
  });
}

void RestoreStreamFolder::AddChanges(ChangeSet& changes) const {
  if (Utility::EqualsIgnoringCase(folder_.Path.parent_path().filename().string(), "PRIVATE")) {
    changes.Folders.push_back(folder_.Path.parent_path());
  }
  for (const auto& folder : {folder_.Path, Utility::BdmvFolder(folder_), Utility::StreamFolder(folder_)}) {
    changes.Folders.push_back(folder);
  }
  for (const auto& stream : streams_) {
    if (stream.Source != stream.Destination) changes.Moves.push_back({stream.Source, stream.Destination});
    if (stream.CutSize() != stream.Size)
      changes.Truncations.push_back({stream.Destination, stream.Size, stream.CutSize()});
  }
}

}  // namespace Restore
