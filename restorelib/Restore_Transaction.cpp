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

// Each change is recorded before it is made: an operation can fail after
// its effect (a rename done, its folder not synced), and the way back of a
// change not made finds nothing to take back.

void Transaction::Replace(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  if (Utility::Exists(path)) {
    undo_.push_back({Undo::RestoreFile, path, {}, FileLayer::ReadFile(path), 0});
  } else {
    undo_.push_back({Undo::RemoveFile, path, {}, {}, 0});
  }
  FileLayer::ReplaceFile(path, bytes);
}

void Transaction::Remove(const fs::path& path) {
  undo_.push_back({Undo::RestoreFile, path, {}, FileLayer::ReadFile(path), 0});
  FileLayer::Remove(path);
}

void Transaction::MakeFolder(const fs::path& path) {
  if (Utility::Exists(path)) return;  // there already: nothing to make, nothing to take back
  undo_.push_back({Undo::RemoveFolder, path, {}, {}, 0});
  FileLayer::MakeFolder(path);
}

bool Transaction::MakeNewFolder(const fs::path& path) {
  undo_.push_back({Undo::RemoveFolder, path, {}, {}, 0});
  if (FileLayer::MakeNewFolder(path)) return true;
  undo_.pop_back();
  return false;
}

void Transaction::RemoveFolder(const fs::path& path) {
  undo_.push_back({Undo::MakeFolder, path, {}, {}, 0});
  FileLayer::RemoveFolder(path);
}

void Transaction::Move(const fs::path& from, const fs::path& to) {
  undo_.push_back({Undo::MoveBack, to, from, {}, 0});
  FileLayer::Move(from, to);
}

void Transaction::Truncate(const fs::path& path, std::uint64_t size) {
  const std::uint64_t before = FileLayer::FileSize(path);
  undo_.push_back({Undo::AppendTail,
                   path,
                   {},
                   before > size ? FileLayer::ReadTail(path, before - size) : std::vector<std::uint8_t>(),
                   size});
  FileLayer::Truncate(path, size);
}

void Transaction::Append(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  undo_.push_back({Undo::CutTail, path, {}, {}, FileLayer::FileSize(path)});
  FileLayer::Append(path, bytes);
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
    case Undo::AppendTail: {
      // Only a file that was cut gets its tail back.
      std::error_code error;
      if (fs::file_size(undo.Path, error) == undo.CutSize && !error) FileLayer::Append(undo.Path, undo.Bytes);
      return;
    }
    case Undo::CutTail: {
      std::error_code error;
      if (fs::file_size(undo.Path, error) > undo.CutSize && !error) FileLayer::Truncate(undo.Path, undo.CutSize);
      return;
    }
  }
}

}  // namespace Restore
