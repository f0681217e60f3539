#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "avchdlib/AVCHD_ClipInformation.h"

namespace Restore {

// The clips of a tree between the clip step and the commit. A card holds up
// to 4000 clips and a clip's model is some fifteen times the size of its
// file, so each clip is kept as the bytes of its file plus the values kept
// beside it, and opened into a model of its own while a step works on it.
// A clip whose bytes would not read back is kept as its model.
class ClipStore {
 public:
  using ClipInformationFile = AVCHD::ClipInformation::BlkClipInformationFile;
  // An open clip. Every handle to one clip shares one model; when the last
  // goes, what the step changed is kept: the bytes are made again and the
  // clip is to be written.
  using Clip = std::shared_ptr<ClipInformationFile>;

  ClipStore() = default;
  // Its clips' handles must be gone before the store is.
  ClipStore(const ClipStore&) = delete;
  ClipStore& operator=(const ClipStore&) = delete;

  // Keeps `clip`, read from the card as `asRead` or built anew (null). A
  // clip read from the card is to be written while its file would differ
  // from the one read: a correction a later step takes back writes
  // nothing. Both models' derived fields are brought up to date on the way.
  void Add(ClipInformationFile& clip, ClipInformationFile* asRead);
  void Clear();
  std::size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }

  Clip Open(std::size_t index);
  // The first clip of that five-digit name, or null.
  Clip Find(std::string_view clipName);
  // The values kept beside clip `index`, as an open model holds them; valid
  // until the clip is next opened or given back.
  const AVCHD::ClipInformation::ClipStreamValues& ValuesAt(std::size_t index) const;
  // Calls `work(clip)` with each clip opened in turn, in store order.
  template <class Work>
  void ForEach(Work work) {
    for (std::size_t index = 0; index < Size(); ++index) work(*Open(index));
  }

  // A clip is to be written, by what the clip step found or a later step changed.
  bool NeedsWrite(std::size_t index) const;
  // Where clip `index` came from: the card's file, its backup copy, or neither.
  bool WasRead(std::size_t index) const { return entries_.at(index).wasRead; }
  const std::filesystem::path& CopiedFrom(std::size_t index) const { return entries_.at(index).copiedFrom; }

 private:
  struct Entry {
    std::vector<std::uint8_t> bytes;
    AVCHD::ClipInformation::ClipStreamValues values;
    std::filesystem::path path;
    std::filesystem::path copiedFrom;
    bool wasRead = false;
    bool needsWrite = false;
    // The digest of the file as read from the card; empty for a clip built anew.
    std::string asReadDigest;
    // The clip's model while it is open, or for good when its bytes would
    // not read back.
    std::weak_ptr<ClipInformationFile> open;
    std::shared_ptr<ClipInformationFile> kept;
  };

  static void Decode(const Entry& entry, ClipInformationFile& model);
  // Keeps `model` as its bytes, or whole when they would not read back (false).
  static bool Keep(Entry& entry, ClipInformationFile& model);
  static void GiveBack(Entry& entry, ClipInformationFile& model) noexcept;
  static std::string DigestOf(ClipInformationFile& asRead);
  // The clip's file differs from the one read, or there is none to compare with.
  static bool DiffersFromRead(const Entry& entry);

  std::deque<Entry> entries_;
  std::unordered_map<std::string, std::size_t> byName_;
};

}  // namespace Restore
