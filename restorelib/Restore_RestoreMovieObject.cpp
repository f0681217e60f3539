#include "restorelib/Restore_RestoreMovieObject.h"

#include "restorelib/Restore_ModelFile.h"

namespace Restore {

using AVCHD::MovieObject::NavigationCommand;

RestoreMovieObject::RestoreMovieObject(const AvchdFolder& folder, RestoreMoviePlayList& playList)
    : folder_(&folder), playList_(&playList) {}

void RestoreMovieObject::VerifyMovieObject() {
  AAA::Log::Heading("verify MovieObject");
  const bool read = ReadFileOrItsCopy(
      *folder_, Utility::MovieObjectFile(*folder_), [this](const std::filesystem::path& source) -> auto& {
        store_.clear();
        MovieObjectFile movieObjectFile;
        ReadModelFile(source, movieObjectFile, kMaxFileBytes);
        StoreCopy(store_, movieObjectFile);
        CheckPlayCommands();
        return Model();
      });
  if (read) return;
  store_.clear();
  StoreDefaultModel();
}

void RestoreMovieObject::StoreDefaultModel() {
  MovieObjectFile movieObjectFile;
  movieObjectFile.blkMovieObjects.NumberOfMobjs.SetValue(0);
  movieObjectFile.Initialize();
  StoreCopy(store_, movieObjectFile);
}

void RestoreMovieObject::CheckPlayCommands() {
  if (store_.empty()) StoreDefaultModel();
  for (auto& movieObject : Model().blkMovieObjects.blkMovieObjectArray) {
    RemoveFailingCommands(movieObject, [this](const NavigationCommand& command) { CheckPlayCommand(command); });
  }
}

void RestoreMovieObject::RemoveFailingCommands(AVCHD::MovieObject::BlkMovieObject& movieObject,
                                               const std::function<void(const NavigationCommand&)>& check) {
  auto* itMobj = &movieObject;
  auto& commands = itMobj->NavigationCommandArray;
  for (std::size_t i = 0; i < commands.Size();) {
    try {
      check(commands[i]);
      ++i;
    } catch (const AAA::InvalidDataException&) {
      // Erased first: lowering the count then leaves the other commands in place.
      commands.Erase(i);
      AAA_CORRECT(itMobj->NumberOfNavigationCommands, itMobj->NumberOfNavigationCommands - 1);
    }
  }
}

// Only the five play-playlist commands are checked; the playlist they name
// must exist, and so must the play item or mark a given operand 2 names.
void RestoreMovieObject::CheckPlayCommand(const NavigationCommand& command) const {
  if (!command.MatchesAny(AVCHD::MovieObject::kPlayPlayListCommands)) return;
  const auto* moviePlayListFile = playList_->Find(Utility::FiveDigitName(command.Operand1()));
  AAA_VERIFY(command, moviePlayListFile != NULL);
  const std::uint32_t id = command.Operand2();
  if (command.Data[1] == 0xC1) AAA_VERIFY(command, id < moviePlayListFile->blkPlayList.NumberOfPlayItems);
  if (command.Data[1] == 0xC2) AAA_VERIFY(command, id < moviePlayListFile->blkPlayListMark.NumberOfPlayListMarks);
}

bool RestoreMovieObject::IsModified() const { return AnyNeedsWrite(store_); }

void RestoreMovieObject::AddPlannedWrites(std::vector<PlannedWrite>& writes) const {
  AddPlannedWrite(store_, Utility::MovieObjectFile(*folder_), FileKind::MovieObject, writes);
}

void RestoreMovieObject::AddChanges(ChangeSet& changes) {
  AddNeededWrites(store_, Utility::MovieObjectFile(*folder_), FileKind::MovieObject, changes);
}

}  // namespace Restore
