#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_ChangeSet.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {

// Streams are kept and cut in whole units of 32 source packets of 192 bytes.
constexpr std::uint64_t kStreamUnitBytes = 6144;

// One stream file of the tree, where it is now and where it belongs.
struct StreamEntry {
  std::filesystem::path Source;
  // The tree's STREAM folder, a five-digit name, the extension of the tree kind.
  std::filesystem::path Destination;
  std::uint64_t Size = 0;
  // Advanced by the clip information step as it analyses the stream.
  std::uint64_t BytesScanned = 0;
  // Names the file has: a stream with other hard links is never cut, since
  // the cut would cut the file under its other names too.
  std::uint64_t Links = 1;
  // A file in which no transport stream is found is no recording that was
  // cut short: it is never cut.
  bool HoldsTransportStream = true;
  // Seconds at its end that its clip no longer plays: a group of pictures
  // cut short, or what the card's clip information counted and the stream
  // does not hold.
  double SecondsLeftOut = 0;
  // The clip information step found no picture in it that can be played (no
  // complete group of pictures): no clip plays it, the file is kept.
  bool Playable = true;

  // The size the commit cuts the stream to: whole 6144-byte units, or the
  // size it has when it needs no cut or must not be cut.
  std::uint64_t CutSize() const;
};

// Decides which stream files make up the tree and where each will live:
// the streams of the STREAM folder stay, bare streams lying in the root
// folder (card root, or the source folder of a tree being built) get free
// five-digit names in STREAM. At commit the folders are made, the streams
// moved and every stream cut to whole 6144-byte units.
class RestoreStreamFolder {
 public:
  RestoreStreamFolder(const AvchdFolder& folder, const Utility::VolumeQueries& volume);

  // Builds the stream list; throws FileNotFoundException (104) when the
  // streams hold no byte at all, InvalidDataException (109) when no
  // five-digit name is free, WriteProtectException (108) when the medium
  // refuses writes and `requireWritable` is set; else such a medium is only
  // noted (a check reads, it never needs to write).
  void VerifyStreamFolder(bool requireWritable = true);
  bool IsWriteProtected() const { return writeProtected_; }

  std::uint64_t TotalStreamSize() const;
  // A stream must move or be cut.
  bool NeedsRepair() const;
  // The folders a commit makes for the streams, the moves and the cuts.
  void AddChanges(ChangeSet& changes) const;

  std::deque<StreamEntry>& Streams() { return streams_; }
  const std::deque<StreamEntry>& Streams() const { return streams_; }
  // What was found of files named as streams that hold no transport stream
  // ("… is a file without a transport stream: left as it is"): a bare one
  // is not moved, none is cut.
  const std::vector<std::string>& Findings() const { return findings_; }

 private:
  void AddTreeStreams();
  void AddRootStreams(const std::filesystem::path& pattern);
  bool IsNameTaken(const std::string& name) const;

  const AvchdFolder& folder_;
  const Utility::VolumeQueries& volume_;
  std::deque<StreamEntry> streams_;
  bool writeProtected_ = false;
  // The five-digit names of the stream folder's files, listed or not, and
  // of the streams given names, so that a move never replaces a file: a name
  // is looked up once per candidate, up to 100000 times.
  std::unordered_set<std::string> namesTaken_;
  std::vector<std::string> findings_;
};

}  // namespace Restore
