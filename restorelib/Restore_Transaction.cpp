#include "restorelib/Restore_Transaction.h"

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_FileLayer.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {
namespace fs = std::filesystem;

Transaction::~Transaction() {
  try {
    Rollback();
  } catch (...) {
    // A run stopped on purpose (a test's power cut) does nothing more.
  }
}

void Transaction::Replace(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  Undo undo{Undo::RemoveFile, path, {}, {}};
  if (Utility::Exists(path)) undo = {Undo::RestoreFile, path, {}, FileLayer::ReadFile(path)};
  FileLayer::ReplaceFile(path, bytes);
  undo_.push_back(std::move(undo));
}

void Transaction::Remove(const fs::path& path) {
  Undo undo{Undo::RestoreFile, path, {}, FileLayer::ReadFile(path)};
  FileLayer::Remove(path);
  undo_.push_back(std::move(undo));
}

void Transaction::MakeFolder(const fs::path& path) {
  if (Utility::Exists(path)) return;  // there already: nothing to make, nothing to take back
  FileLayer::MakeFolder(path);
  undo_.push_back({Undo::RemoveFolder, path, {}, {}});
}

void Transaction::RemoveFolder(const fs::path& path) {
  FileLayer::RemoveFolder(path);
  undo_.push_back({Undo::MakeFolder, path, {}, {}});
}

void Transaction::Move(const fs::path& from, const fs::path& to) {
  FileLayer::Move(from, to);
  undo_.push_back({Undo::MoveBack, to, from, {}});
}

void Transaction::Truncate(const fs::path& path, std::uint64_t size) {
  std::error_code error;
  const std::uint64_t before = fs::file_size(path, error);
  if (error) RESTORE_THROW_ERROR(error.value());
  Undo undo{Undo::AppendTail, path, {}, before > size ? FileLayer::ReadTail(path, before - size) : std::vector<std::uint8_t>()};
  FileLayer::Truncate(path, size);
  undo_.push_back(std::move(undo));
}

void Transaction::Rollback() {
  if (!undo_.empty()) AAA::Log::Heading("roll back");
  while (!undo_.empty()) {
    const Undo undo = std::move(undo_.back());
    undo_.pop_back();
    try {
      Apply(undo);
    } catch (const AAA::ExceptionBase& failure) {
      AAA::Log::Line(AAA::Log::kHeading, "cannot take back the change of %s: %s\n", undo.Path.c_str(),
                     failure.Message().c_str());
    }
  }
}

void Transaction::Apply(const Undo& undo) {
  switch (undo.What) {
    case Undo::RestoreFile:
      return FileLayer::ReplaceFile(undo.Path, undo.Bytes);
    case Undo::RemoveFile:
      return FileLayer::Remove(undo.Path);
    case Undo::RemoveFolder:
      return FileLayer::RemoveFolder(undo.Path);
    case Undo::MakeFolder:
      return FileLayer::MakeFolder(undo.Path);
    case Undo::MoveBack:
      return FileLayer::Move(undo.Path, undo.From);
    case Undo::AppendTail:
      return FileLayer::Append(undo.Path, undo.Bytes);
  }
}

}  // namespace Restore
