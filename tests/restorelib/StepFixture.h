#pragma once

// The per-file steps of a restore run wired as the run wires them, on a
// tree of their own, for tests that drive one step at a time.

#include <gtest/gtest.h>

#include "TempTree.h"
#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_MemoryStream.h"
#include "restorelib/Restore_RestoreIndexTable.h"
#include "restorelib/Restore_RestoreMovieObject.h"
#include "restorelib/Restore_RestoreMoviePlayList.h"

// A run whose worker is never started: it only carries the progress and
// the cancel request for the steps.
class IdleRun : public Restore::Thread {
 protected:
  void Run() override {}
};

struct StepFixture : testing::Test {
  TempTree tree;
  Restore::AvchdFolder folder;
  Restore::Utility::VolumeQueries volume = FakeVolume();
  IdleRun run;
  Restore::RestoreStreamFolder streamFolder{folder, volume};
  Restore::RestoreThumbnail thumbnail{folder};
  Restore::RestoreClipInformation clipInformation{folder, streamFolder, run};
  Restore::RestoreMoviePlayList playList{folder, clipInformation, thumbnail, run};
  Restore::RestoreMovieObject movieObject{folder, playList};
  Restore::RestoreIndexTable indexTable{folder, clipInformation, movieObject, playList, thumbnail};

  StepFixture() {
    folder.SetPath(tree.Root() / "PRIVATE" / "AVCHD");
    std::filesystem::create_directories(Restore::Utility::BdmvFolder(folder));
  }

  // Writes a model (Link, Update, write) as the whole content of `path`.
  static void WriteFile(const std::filesystem::path& path, AAA::Element& model) {
    AAA::MemoryStream stream;
    AAA::BitWriter writer(stream);
    model.Write(writer);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(stream.Bytes().data()),
               static_cast<std::streamsize>(stream.Bytes().size()));
  }

  // A stored playlist of `items` play items, each with one video stream of
  // that format and frame rate, and `marks` marks (models only: the
  // playlist step's store as the later steps read it).
  AVCHD::MoviePlayList::BlkMoviePlayListFile& StorePlayList(const std::string& baseName, std::uint32_t items,
                                                            std::uint32_t marks = 0, std::uint32_t videoFormat = 4,
                                                            std::uint32_t frameRate = 4) {
    AVCHD::MoviePlayList::BlkMoviePlayListFile file;
    file.Initialize();
    file.blkPlayList.NumberOfPlayItems.SetValue(items);
    for (auto& item : file.blkPlayList.blkPlayItemArray) {
      item.Initialize();
      item.blkSTNTable.NumberOfVideoStreamEntries.SetValue(1);
      auto& video = item.blkSTNTable.blkVideoStreamAttributesArray[0];
      video.Initialize();
      video.StreamCodingType.SetValue(0x1B);
      video.VideoFormat.SetValue(videoFormat);
      video.FrameRate.SetValue(frameRate);
    }
    file.blkPlayListMark.NumberOfPlayListMarks.SetValue(marks);
    file.BaseName = baseName;
    playList.Store().push_back(file);
    playList.Store().back().Link();
    return playList.Store().back();
  }
};

// A navigation command of the four command bytes and its two operands.
inline AAA::Bytes Command(std::initializer_list<std::uint8_t> word, std::uint32_t operand1, std::uint32_t operand2) {
  AAA::Bytes bytes(word);
  for (std::uint32_t operand : {operand1, operand2}) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(operand >> shift));
  }
  return bytes;
}

// A movie object file whose objects hold these commands.
inline AVCHD::MovieObject::BlkMovieObjectFile MovieObjects(const std::vector<std::vector<AAA::Bytes>>& objects) {
  AVCHD::MovieObject::BlkMovieObjectFile file;
  file.Initialize();
  file.blkMovieObjects.NumberOfMobjs.SetValue(static_cast<std::uint32_t>(objects.size()));
  for (std::size_t i = 0; i < objects.size(); ++i) {
    auto& object = file.blkMovieObjects.blkMovieObjectArray[i];
    object.NumberOfNavigationCommands.SetValue(static_cast<std::uint32_t>(objects[i].size()));
    for (std::size_t c = 0; c < objects[i].size(); ++c) object.NavigationCommandArray[c].SetBytes(objects[i][c]);
  }
  return file;
}

// The commands of each movie object of a model.
inline std::vector<std::vector<AAA::Bytes>> CommandsOf(const AVCHD::MovieObject::BlkMovieObjectFile& file) {
  std::vector<std::vector<AAA::Bytes>> objects;
  for (const auto& object : file.blkMovieObjects.blkMovieObjectArray) {
    objects.emplace_back();
    for (const auto& command : object.NavigationCommandArray) objects.back().emplace_back(command.ValueBytes());
  }
  return objects;
}
