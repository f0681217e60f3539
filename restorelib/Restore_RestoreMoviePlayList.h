#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "avchdlib/AVCHD_MoviePlayList.h"
#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_ChangeSet.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_RestoreClipInformation.h"
#include "restorelib/Restore_RestoreThumbnail.h"
#include "restorelib/Restore_Thread.h"

namespace Restore {

// The marks of a playlist: PRO marks take part when the playlist carries
// them. Whatever changes the marks changes all three lists alike.
struct PlayListMarks {
  explicit PlayListMarks(AVCHD::MoviePlayList::BlkMoviePlayListFile& moviePlayListFile);
  // Erases the mark at `position` from every list and lowers the counts.
  void Erase(std::size_t position);

  AVCHD::MoviePlayList::BlkMoviePlayListFile& moviePlayListFile;
  AVCHD::MoviePlayList::BlkPlayListMark& marks;
  AVCHD::MoviePlayListExt::BlkPlayListMarkExt& extensions;
  // Null without PRO marks.
  AVCHD::MoviePlayListPro::BlkPRO_PlayListInfo* pro;
};

// The name a playlist made for `clip` carries: picture format, frame rate
// and audio coding (" 1080 59.94i AC3").
std::string PlayListNameText(const AVCHD::ClipInformation::BlkClipInformationFile& clip);

// The attributes of the first video stream of a play item, or of a
// playlist's first play item; null when there is none.
const AVCHD::MoviePlayList::BlkStreamAttributes* FirstVideoAttributes(const AVCHD::MoviePlayList::BlkPlayItem& item);
const AVCHD::MoviePlayList::BlkStreamAttributes* FirstVideoAttributes(
    const AVCHD::MoviePlayList::BlkMoviePlayListFile& moviePlayListFile);

// Playlists checked against the clips, repaired, dropped, or made for clips
// that no playlist uses. Playlists bearing the skip mark are neither found,
// counted nor written.
class RestoreMoviePlayList {
 public:
  using MoviePlayListFile = AVCHD::MoviePlayList::BlkMoviePlayListFile;

  // Files above this size are refused before they are read.
  static constexpr std::uint64_t kMaxFileBytes = 614400;
  // More playlists than this end the verification.
  static constexpr std::size_t kMaxPlayLists = 2000;

  // `run` receives the progress and answers the cancel request.
  RestoreMoviePlayList(const AvchdFolder& folder, RestoreClipInformation& clipInformation, RestoreThumbnail& thumbnail,
                       Thread& run);

  // Reads one playlist only so that an unsupported maker throws
  // MakerModelException before any long work starts.
  void ReadForMakerCheck(const std::filesystem::path& file);
  // "verify Movie PlayList": loads every playlist, checks it against the
  // clips and gives every clip that no playlist uses play items of its own.
  void VerifyMoviePlayList();
  // Checks one playlist against the clips and repairs it: play items whose
  // clip is missing or inconsistent go with their marks, times and
  // connections follow the clips, marks carry the clips' time codes.
  // Throws InvalidDataException when the playlist cannot be kept.
  void VerifyPlayList(MoviePlayListFile& moviePlayListFile);
  // Removes a play item and the marks on it; later marks move up.
  void RemovePlayItem(MoviePlayListFile& moviePlayListFile, std::size_t index);
  // Gives the playlist the skip mark; its file goes at commit unless the
  // playlist was made in this run.
  void Drop(MoviePlayListFile& moviePlayListFile);
  // The tool's maker fields and the time, before a playlist is written.
  static void Stamp(MoviePlayListFile& moviePlayListFile);

  // The stored playlist of that base name ("00001") without the skip mark.
  MoviePlayListFile* Find(const std::string& baseName);
  std::deque<MoviePlayListFile>& Store() { return store_; }
  const std::deque<MoviePlayListFile>& Store() const { return store_; }

  const std::vector<std::filesystem::path>& FilesToDelete() const { return filesToDelete_; }
  // A playlist without the skip mark must be written.
  bool IsModified() const;
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // Stamps every modified playlist without the skip mark with the tool's
  // maker fields and the time, and adds its write into PLAYLIST.
  void AddChanges(ChangeSet& changes);

 private:
  using ClipInformationFile = RestoreClipInformation::ClipInformationFile;

  void LoadMoviePlayList(const std::filesystem::path& file, const std::string& baseName);
  void VerifyPlayItem(MoviePlayListFile& moviePlayListFile, std::size_t index);
  void VerifySubPaths(MoviePlayListFile& moviePlayListFile);
  void VerifyMarks(MoviePlayListFile& moviePlayListFile);
  void LinkPlayItem(MoviePlayListFile& moviePlayListFile, std::size_t index, ClipInformationFile& clipInformationFile);
  // Gives a clip that no playlist uses a play item per STC sequence, in a
  // playlist made in this run for clips like it or in a new one.
  void AddClip(ClipInformationFile& clip);
  MoviePlayListFile* PlayListMadeFor(const ClipInformationFile& clip);
  void ClearStore();
  // Brings the index of the store by base name up to date: the store only
  // grows between clears, here or by the pair repair's copies.
  void IndexStore();
  MoviePlayListFile& NewPlayListFor(const ClipInformationFile& clip);
  void AddPlayItem(MoviePlayListFile& moviePlayListFile, const ClipInformationFile& clip, std::uint32_t sequence);
  void AddMark(MoviePlayListFile& moviePlayListFile, const ClipInformationFile& clip);

  const AvchdFolder* folder_;
  RestoreClipInformation* clipInformation_;
  RestoreThumbnail* thumbnail_;
  Thread* run_;
  std::deque<MoviePlayListFile> store_;
  // The playlists of each base name in store order, for store_[0, indexed_):
  // looked up once per title and per new playlist, up to 2000 of each.
  std::unordered_map<std::string, std::vector<MoviePlayListFile*>> byName_;
  std::size_t indexed_ = 0;
  std::uint32_t firstFreeNumber_ = 0;
  std::vector<std::filesystem::path> filesToDelete_;
};

}  // namespace Restore
