#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>

#include "aaalib/AAA_BitReader.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_FileStream.h"
#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_ChangeSet.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_Utility.h"

// What the steps share in handling their stores of file models: reading a
// model from its file, keeping copies, and writing the changed ones.
namespace Restore {

// Reads `model` from the start of `path` with every rule of its format. A
// file longer than `maxBytes` is refused with InvalidDataException before
// anything is read: no management file is that large, and a broken one must
// not make the model allocate what it announces.
template <class Model>
void ReadModelFile(const std::filesystem::path& path, Model& model, std::uint64_t maxBytes) {
  AAA::FileStream stream(path, AAA::FileStream::OpenExisting, AAA::FileStream::ReadOnly);
  AAA::Log::Line(AAA::Log::kHeading, "open: %s\n", path.c_str());
  if (stream.Size() > maxBytes) AAA_THROW(AAA::InvalidDataException());
  AAA::BitReader reader(stream);
  model.Read(reader);
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
bool AnyModified(const std::deque<Model>& store) {
  for (const Model& model : store) {
    if (model.IsModified()) return true;
  }
  return false;
}

// A write of one file at `path` when a model of `store` is modified.
template <class Model>
void AddPlannedWrite(const std::deque<Model>& store, const std::filesystem::path& path, FileKind kind,
                     std::vector<PlannedWrite>& writes) {
  if (AnyModified(store)) writes.push_back({path, kind, !Utility::Exists(path)});
}

// The write of every modified model of `store` to `path`, in store order.
template <class Model>
void AddModifiedWrites(std::deque<Model>& store, const std::filesystem::path& path, FileKind kind, ChangeSet& changes) {
  for (Model& model : store) {
    if (model.IsModified()) changes.Writes.push_back({path, kind, Utility::ModelBytes(model)});
  }
}

}  // namespace Restore
