#pragma once

#include <deque>
#include <filesystem>
#include <vector>

#include "avchdlib/AVCHD_IndexTable.h"
#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_ChangeSet.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_RestoreClipInformation.h"
#include "restorelib/Restore_RestoreMovieObject.h"
#include "restorelib/Restore_RestoreMoviePlayList.h"
#include "restorelib/Restore_RestoreThumbnail.h"

namespace Restore {

// The index table made to agree with the movie objects and playlists: every
// playlist that no title plays gets a movie object and a title of its own,
// titles that cannot play are removed, movie objects left without commands
// are removed, and the references are renumbered.
//
// An index table that cannot be used (missing, too large, broken, of an
// unsupported maker, or failing a relation to the other files) is replaced:
// the store then holds the newly built table alone, so that the table the
// repair completes is the one the commit writes.
class RestoreIndexTable {
 public:
  using IndexTableFile = AVCHD::IndexTable::BlkIndexTableFile;

  RestoreIndexTable(const AvchdFolder& folder, RestoreClipInformation& clipInformation, RestoreMovieObject& movieObject,
                    RestoreMoviePlayList& playList, RestoreThumbnail& thumbnail);

  // Reads the index table only so that an unsupported maker throws
  // MakerModelException before any long work starts.
  void ReadForMakerCheck(const std::filesystem::path& file);
  // "verify Index table": reads and checks the table, replaces it when it
  // cannot be used, then repairs it.
  void VerifyIndexTable();
  // The relations of the stored table to the playlists, movie objects and
  // thumbnails; a broken relation throws InvalidDataException. Sets the
  // index flag of every playlist a title plays.
  void VerifyRelations();
  // Replaces the store by a new table without titles. A tree whose
  // playlists belong to no television system, or to the 50 Hz and the
  // 60 Hz one at once, throws InvalidDataException.
  void StoreNewIndexTable();
  // Titles for the playlists without one, the title and command passes,
  // the references of first playback and menu, the last time code.
  void Repair();

  IndexTableFile& Model() { return store_.front(); }
  std::deque<IndexTableFile>& Store() { return store_; }
  const std::deque<IndexTableFile>& Store() const { return store_; }

  // The index table must be written.
  bool IsModified() const;
  // Every commit stamps the index table with the tool's maker fields and
  // the time, so a committed index table is always listed.
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // The tool's maker fields, write protection off, the current time.
  void Stamp();
  // The write of the index table when it is modified.
  void AddChanges(ChangeSet& changes);

 private:
  void AddTitles();
  void AddTitle(AVCHD::MoviePlayList::BlkMoviePlayListFile& moviePlayListFile);
  bool RemoveUnusableTitles();
  void CheckTitle(std::size_t position);
  void RemoveTitle(std::size_t position);
  void RemoveUnusableCommands();
  void MarkPlayListsWithTitle();
  void CorrectTitleObjectReferences();
  void CorrectLastTimeCode();

  const AvchdFolder* folder_;
  RestoreClipInformation* clipInformation_;
  RestoreMovieObject* movieObject_;
  RestoreMoviePlayList* playList_;
  RestoreThumbnail* thumbnail_;
  std::deque<IndexTableFile> store_;
};

}  // namespace Restore
