#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>

#include "aaalib/AAA_BitReader.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "aaalib/AAA_MemoryStream.h"
#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_BackupMirror.h"
#include "restorelib/Restore_ChangeSet.h"
#include "restorelib/Restore_FileLayer.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_Utility.h"

// What the steps share in handling their stores of file models: reading a
// model from its file, keeping copies, and writing the changed ones.
namespace Restore {

// Reads `model` from the start of `path` with every rule of its format. A
// file longer than `maxBytes` is refused with InvalidDataException before
// anything is read: no management file is that large, and a broken one must
// not make the model allocate what it announces. The file is read through
// the file layer: never through a link, never blocking on a FIFO.
template <class Model>
void ReadModelFile(const std::filesystem::path& path, Model& model, std::uint64_t maxBytes) {
  AAA::Log::Line(AAA::Log::kHeading, "open: %s\n", path.c_str());
  if (FileLayer::FileSize(path) > maxBytes) AAA_THROW(AAA::InvalidDataException());
  AAA::MemoryStream stream(FileLayer::ReadFile(path));
  AAA::BitReader reader(stream);
  model.SetPath(path);
  model.Read(reader);
  model.SetRead();
}

// The bytes of `model` as its file, read back by the model's own reader
// before anything is written: a file the tool could not read again is
// never put on the card (the reader's exception, after a log line).
template <class Model>
std::vector<std::uint8_t> CheckedModelBytes(Model& model, const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes = Utility::ModelBytes(model);
  try {
    Model back;
    AAA::MemoryStream stream(bytes);
    AAA::BitReader reader(stream);
    back.Read(reader);
  } catch (const AAA::VerifyExceptionBase&) {
    AAA::Log::Line(AAA::Log::kHeading, "the file written would not read back, nothing is written: %s\n", path.c_str());
    throw;
  }
  return bytes;
}

// Reads a model with `attempt(source)`, which reads, checks and keeps it
// and returns the kept model, or throws FileNotFoundException or a
// VerifyExceptionBase when the source is missing or unsound. It is tried on
// `file`, then, in a long-name tree, on the file's copy in BDMV/BACKUP, so
// that a camera's identifiers, dates and names survive the loss of the file
// itself; a model read from the copy names it. False: neither passed.
template <class Attempt>
bool ReadFileOrItsCopy(const AvchdFolder& folder, const std::filesystem::path& file, Attempt attempt) {
  try {
    attempt(file);
    return true;
  } catch (const AAA::FileNotFoundException&) {
  } catch (const AAA::VerifyExceptionBase&) {
  }
  if (!folder.IsLongName) return false;
  const std::filesystem::path copy = BackupCopyOf(folder, file);
  try {
    AAA::FileBlock& model = attempt(copy);
    model.SetCopiedFrom(copy);
    AAA::Log::Line(AAA::Log::kHeading, "read from the backup copy: %s\n", copy.c_str());
    return true;
  } catch (const AAA::FileNotFoundException&) {
  } catch (const AAA::VerifyExceptionBase&) {
  }
  return false;
}

// Appends a copy of `model` and links the copy, so that its count callbacks
// and parents point into the stored model.
template <class Model>
Model& StoreCopy(std::deque<Model>& store, const Model& model) {
  store.push_back(model);
  store.back().Link();
  return store.back();
}

template <class Model>
bool AnyNeedsWrite(const std::deque<Model>& store) {
  for (const Model& model : store) {
    if (model.NeedsWrite()) return true;
  }
  return false;
}

// The planned write to `path` of a model read from its file or not
// (`wasRead`), or from the backup copy `copiedFrom`.
inline PlannedWrite PlannedWriteOf(const std::filesystem::path& copiedFrom, bool wasRead,
                                   const std::filesystem::path& path, FileKind kind) {
  const bool isNew = !Utility::Exists(path);
  const WriteReason reason = !copiedFrom.empty() ? WriteReason::FromCopy
                             : isNew             ? WriteReason::Missing
                             : wasRead           ? WriteReason::Corrected
                                                 : WriteReason::Damaged;
  return {path, kind, isNew, copiedFrom, reason};
}

inline PlannedWrite PlannedWriteOf(const AAA::FileBlock& model, const std::filesystem::path& path, FileKind kind) {
  return PlannedWriteOf(model.CopiedFrom(), model.WasRead(), path, kind);
}

// A write of one file at `path` when a model of `store` needs writing.
template <class Model>
void AddPlannedWrite(const std::deque<Model>& store, const std::filesystem::path& path, FileKind kind,
                     std::vector<PlannedWrite>& writes) {
  for (const Model& model : store) {
    if (model.NeedsWrite()) return writes.push_back(PlannedWriteOf(model, path, kind));
  }
}

// The write of every model of `store` that needs writing to `path`, in store
// order.
template <class Model>
void AddNeededWrites(std::deque<Model>& store, const std::filesystem::path& path, FileKind kind, ChangeSet& changes) {
  for (Model& model : store) {
    if (model.NeedsWrite()) changes.Writes.push_back({path, kind, CheckedModelBytes(model, path)});
  }
}

}  // namespace Restore
