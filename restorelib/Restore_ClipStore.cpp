#include "restorelib/Restore_ClipStore.h"

#include <memory>

#include "aaalib/AAA_BitReader.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "aaalib/AAA_MemoryStream.h"
#include "restorelib/Restore_Sha256.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {

using AVCHD::ClipInformation::ClipStreamValues;

void ClipStore::Add(ClipInformationFile& clip, ClipInformationFile* asRead) {
  Entry& entry = entries_.emplace_back();
  entry.path = clip.Path();
  entry.copiedFrom = clip.CopiedFrom();
  entry.wasRead = clip.WasRead();
  entry.values = static_cast<const ClipStreamValues&>(clip);
  byName_.emplace(clip.ClipName, entries_.size() - 1);
  if (asRead != nullptr && entry.copiedFrom.empty()) entry.asReadDigest = DigestOf(*asRead);
  Keep(entry, clip);
}

std::string ClipStore::DigestOf(ClipInformationFile& asRead) {
  try {
    const AAA::Log::Silence silence;
    return Sha256Hex(Utility::ModelBytes(asRead));
  } catch (const AAA::VerifyExceptionBase&) {
    // A file read that would not be made again is no file to compare with:
    // the clip is written.
    return {};
  }
}

bool ClipStore::Keep(Entry& entry, ClipInformationFile& model) {
  try {
    const AAA::Log::Silence silence;
    entry.bytes = Utility::ModelBytes(model);
    // Opened again later, mid-step, a clip must read back: it is tried now.
    ClipInformationFile check;
    Decode(entry, check);
    entry.needsWrite = DiffersFromRead(entry);
    return true;
  } catch (...) {
    // The commit reads such a clip back and refuses it; until then it is kept whole.
    entry.bytes.clear();
    entry.kept = std::make_shared<ClipInformationFile>(model);
    entry.kept->Link();
    return false;
  }
}

void ClipStore::Clear() {
  entries_.clear();
  byName_.clear();
}

ClipStore::Clip ClipStore::Open(std::size_t index) {
  Entry& entry = entries_.at(index);
  if (entry.kept) return entry.kept;
  if (Clip open = entry.open.lock()) return open;
  auto model = std::make_unique<ClipInformationFile>();
  Decode(entry, *model);
  // The last handle to go gives the model back before it is deleted.
  Clip clip(model.release(), [&entry](ClipInformationFile* opened) {
    GiveBack(entry, *opened);
    delete opened;
  });
  entry.open = clip;
  return clip;
}

ClipStore::Clip ClipStore::Find(std::string_view clipName) {
  const auto found = byName_.find(std::string(clipName));
  return found == byName_.end() ? nullptr : Open(found->second);
}

const ClipStreamValues& ClipStore::ValuesAt(std::size_t index) const {
  const Entry& entry = entries_.at(index);
  if (entry.kept) return *entry.kept;
  if (const Clip open = entry.open.lock()) return *open;
  return entry.values;
}

bool ClipStore::NeedsWrite(std::size_t index) const {
  const Entry& entry = entries_.at(index);
  if (entry.kept) return entry.needsWrite || entry.kept->NeedsWrite();
  const Clip open = entry.open.lock();
  return entry.needsWrite || (open && open->IsModified());
}

bool ClipStore::DiffersFromRead(const Entry& entry) {
  return entry.asReadDigest.empty() || Sha256Hex(entry.bytes) != entry.asReadDigest;
}

void ClipStore::Decode(const Entry& entry, ClipInformationFile& model) {
  {
    // Read before it names its file: the rules it meets are not findings again.
    const AAA::Log::Silence silence;
    AAA::MemoryStream stream(entry.bytes);
    AAA::BitReader reader(stream);
    model.Read(reader);
  }
  static_cast<ClipStreamValues&>(model) = entry.values;
  model.SetPath(entry.path);
  model.SetCopiedFrom(entry.copiedFrom);
  if (entry.wasRead) model.SetRead();
}

void ClipStore::GiveBack(Entry& entry, ClipInformationFile& model) noexcept {
  entry.values = static_cast<const ClipStreamValues&>(model);
  // A change that would not read back is still to be written, and refused.
  if (model.IsModified() && !Keep(entry, model)) entry.needsWrite = true;
}

}  // namespace Restore
