#include "FaultInjector.h"

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;
using Restore::FileLayer::Operation;

namespace {

std::optional<std::vector<std::uint8_t>> ContentOf(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(fs::symlink_status(path, error))) return std::nullopt;
  std::ifstream stream(path, std::ios::binary);
  return std::vector<std::uint8_t>{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

void Store(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

const char* NameOf(Operation::Kind kind) {
  static const char* const names[] = {"create",   "write",  "sync",        "sync folder",   "rename",
                                      "truncate", "remove", "make folder", "remove folder", "make writable"};
  return names[kind];
}

}  // namespace

FaultInjector::FaultInjector() { Restore::FileLayer::SetHook(this); }
FaultInjector::~FaultInjector() { Restore::FileLayer::SetHook(nullptr); }

void FaultInjector::Arm(Mode mode, std::uint64_t at, int errorNumber) {
  mode_ = mode;
  at_ = count_ + at;
  errorNumber_ = errorNumber;
  cut_ = false;
  pending_.clear();
}

int FaultInjector::Before(const Operation& operation) {
  if (cut_) throw PowerCut{};
  ++count_;
  if (count_ == at_) where_ = std::string(NameOf(operation.What)) + " " + operation.Path.string();
  if (count_ == at_ && mode_ == Mode::Fail) return errorNumber_;
  if (count_ == at_ && (mode_ == Mode::Cut || mode_ == Mode::CutLosingUnsynced)) {
    cut_ = true;
    if (mode_ == Mode::CutLosingUnsynced) LoseUnsynced();
    throw PowerCut{};
  }
  if (mode_ == Mode::CutLosingUnsynced) prepared_ = Prepare(operation);
  return 0;
}

void FaultInjector::After(const Operation& operation) {
  if (mode_ != Mode::CutLosingUnsynced) return;
  if (operation.What == Operation::SyncFile || operation.What == Operation::SyncFolder) return Sync(operation);
  if (prepared_ && operation.What != Operation::MakeWritable) pending_.push_back(std::move(*prepared_));
  prepared_.reset();
}

// What must be kept, before the operation runs, to take it back.
FaultInjector::Pending FaultInjector::Prepare(const Operation& operation) const {
  const fs::path folder = operation.Path.parent_path();
  switch (operation.What) {
    case Operation::CreateFile:
      if (auto before = ContentOf(operation.Path)) return {Pending::Content, operation.Path, {}, before, {}};
      return {Pending::Created, operation.Path, {}, std::nullopt, {folder}};
    case Operation::WriteFile:
    case Operation::Truncate:
      return {Pending::Content, operation.Path, {}, ContentOf(operation.Path), {}};
    case Operation::Rename:
      return {Pending::Renamed,
              operation.Path,
              operation.Target,
              ContentOf(operation.Target),
              {folder, operation.Target.parent_path()}};
    case Operation::Remove:
      return {Pending::Removed, operation.Path, {}, ContentOf(operation.Path), {folder}};
    case Operation::MakeFolder:
      return {Pending::MadeFolder, operation.Path, {}, std::nullopt, {folder}};
    case Operation::RemoveFolder:
      return {Pending::RemovedFolder, operation.Path, {}, std::nullopt, {folder}};
    default:
      return {Pending::Content, {}, {}, std::nullopt, {}};
  }
}

// A synced file keeps its content; a synced folder keeps its names.
void FaultInjector::Sync(const Operation& operation) {
  for (auto& pending : pending_) {
    if (operation.What == Operation::SyncFile && pending.What == Pending::Content && pending.Path == operation.Path)
      pending.Path.clear();
    if (operation.What == Operation::SyncFolder) std::erase(pending.UnsyncedFolders, operation.Path);
  }
  std::erase_if(pending_, [](const Pending& pending) {
    return pending.What == Pending::Content ? pending.Path.empty() : pending.UnsyncedFolders.empty();
  });
}

// What the medium shows after the power cut: every pending change taken
// back, the last first.
void FaultInjector::LoseUnsynced() {
  std::error_code ignored;
  for (auto pending = pending_.rbegin(); pending != pending_.rend(); ++pending) {
    switch (pending->What) {
      case Pending::Content:
        if (pending->Bytes && fs::exists(pending->Path, ignored)) Store(pending->Path, *pending->Bytes);
        break;
      case Pending::Created:
        fs::remove(pending->Path, ignored);
        break;
      case Pending::Renamed:
        fs::rename(pending->Target, pending->Path, ignored);
        if (pending->Bytes) Store(pending->Target, *pending->Bytes);
        break;
      case Pending::Removed:
        if (pending->Bytes) Store(pending->Path, *pending->Bytes);
        break;
      case Pending::MadeFolder:
        fs::remove_all(pending->Path, ignored);
        break;
      case Pending::RemovedFolder:
        fs::create_directory(pending->Path, ignored);
        break;
    }
  }
  pending_.clear();
}
