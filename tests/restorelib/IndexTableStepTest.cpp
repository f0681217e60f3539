// The index table step: relations to the playlists, movie objects and
// thumbnails, the new table that replaces an unusable one, and the repair
// that gives every playlist a title.
#include <gtest/gtest.h>

#include "StepFixture.h"
#include "aaalib/AAA_StringTable.h"
#include "avchdlib/AVCHD_Maker.h"
#include "tests/aaalib/LogCapture.h"

namespace fs = std::filesystem;
using namespace Restore;
using AVCHD::IndexTable::BlkIndexTableFile;

namespace {

using Objects = std::vector<std::vector<AAA::Bytes>>;

AAA::Bytes Play(std::uint32_t playList) { return Command({0x22, 0x80, 0x00, 0x00}, playList, 0); }
const AAA::Bytes kProgressive = {0x48, 0x40, 0x01, 0x00, 0x80, 0x00, 0x00, 0x1D, 0x00, 0x00, 0x00, 0x10};

struct Pair {
  std::string name;
  std::uint32_t title = 0;
  std::uint32_t attribute = 1;
};

// An index table whose titles run these movie objects, with these pairs.
BlkIndexTableFile Table(const std::vector<std::uint32_t>& titleObjects, const std::vector<Pair>& pairs) {
  BlkIndexTableFile file;
  file.Initialize();
  file.blkIndexes.NumberOfMovieTitles.SetValue(static_cast<std::uint32_t>(titleObjects.size()));
  for (std::size_t i = 0; i < titleObjects.size(); ++i) {
    file.blkIndexes.blkMovieTitleArray[i].MovieTitleMobjIDRef.SetValue(titleObjects[i]);
  }
  auto& table = file.blkExtensionData.blkDataBlock.blkTableOfPlayLists;
  table.NumberOfMovieTitlePlayListPair.SetValue(static_cast<std::uint32_t>(pairs.size()));
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    auto& pair = table.blkMovieTitlePlayListPairArray[i];
    pair.Initialize();
    pair.PlayListFileName.SetBytes(AVCHD::Common::TextBytes(pairs[i].name));
    pair.RefToTitleId.SetValue(pairs[i].title);
    pair.PlayListAttribute.SetValue(pairs[i].attribute);
  }
  return file;
}

struct IndexTableStep : StepFixture {
  void Write(BlkIndexTableFile table, const Objects& objects) {
    WriteFile(Utility::IndexTableFile(folder), table);
    auto movieObjects = MovieObjects(objects);
    WriteFile(Utility::MovieObjectFile(folder), movieObjects);
  }
  void Verify() {
    movieObject.VerifyMovieObject();
    indexTable.VerifyIndexTable();
  }
  std::vector<std::uint32_t> TitleObjects() {
    std::vector<std::uint32_t> objects;
    for (const auto& title : indexTable.Model().blkIndexes.blkMovieTitleArray)
      objects.push_back(title.MovieTitleMobjIDRef);
    return objects;
  }
  std::vector<std::pair<std::string, std::uint32_t>> Pairs() {
    std::vector<std::pair<std::string, std::uint32_t>> pairs;
    for (const auto& pair :
         indexTable.Model().blkExtensionData.blkDataBlock.blkTableOfPlayLists.blkMovieTitlePlayListPairArray) {
      pairs.emplace_back(AVCHD::Common::TextOf(pair.PlayListFileName), pair.RefToTitleId);
    }
    return pairs;
  }
  AVCHD::IndexTableExt::BlkUIAppInfoAVCHD& AppInfo() {
    return indexTable.Model().blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD;
  }
  // Writes what the commit writes, then verifies the written files again.
  void CommitAndVerifyAgain() {
    CommitStep(movieObject, tree.Root());
    indexTable.Stamp();
    CommitStep(indexTable, tree.Root());
    for (auto& moviePlayListFile : playList.Store()) moviePlayListFile.IndexFlag = false;
    Verify();
  }
};

using Titles = std::vector<std::uint32_t>;
using PairList = std::vector<std::pair<std::string, std::uint32_t>>;

}  // namespace

TEST_F(IndexTableStep, AMissingTableGivesEachPlayListATitleAPairAndAMovieObject) {
  StorePlayList("00000", 1);
  StorePlayList("00001", 2);
  Verify();
  ASSERT_EQ(indexTable.Store().size(), 1u);
  EXPECT_EQ(TitleObjects(), (Titles{0, 1}));
  EXPECT_EQ(Pairs(), (PairList{{"00000", 0}, {"00001", 1}}));
  EXPECT_EQ(CommandsOf(movieObject.Model()), (Objects{{Play(0)}, {Play(1)}}));
  EXPECT_EQ(AppInfo().Is60, 1u);
  EXPECT_EQ(AppInfo().Is50, 0u);
  EXPECT_TRUE(indexTable.IsModified());
  EXPECT_TRUE(movieObject.IsModified());
  for (const auto& moviePlayListFile : playList.Store()) EXPECT_TRUE(moviePlayListFile.IndexFlag);

  CommitAndVerifyAgain();
  EXPECT_FALSE(indexTable.IsModified());
  EXPECT_FALSE(movieObject.IsModified());
  EXPECT_EQ(TitleObjects(), (Titles{0, 1}));
}

TEST_F(IndexTableStep, A1080ProgressivePlayListGetsTheOutputCommandBeforeItsPlayCommand) {
  StorePlayList("00000", 1, 0, 6, 6);
  StorePlayList("00001", 1, 0, 6, 7);
  StorePlayList("00002", 1, 0, 4, 4);
  StorePlayList("00003", 1, 0, 6, 4);
  EXPECT_EQ(MessageOf([&] { Verify(); }), AAA::StringTable::Text(109));  // 50 Hz beside 60 Hz
  playList.Store().erase(playList.Store().begin());
  Verify();
  EXPECT_EQ(CommandsOf(movieObject.Model()), (Objects{{kProgressive, Play(1)}, {Play(2)}, {Play(3)}}));
  EXPECT_EQ(movieObject.Model().blkMovieObjects.blkMovieObjectArray[0].NumberOfNavigationCommands, 2u);
  CommitAndVerifyAgain();
  EXPECT_FALSE(indexTable.IsModified());
  EXPECT_FALSE(movieObject.IsModified());
}

TEST_F(IndexTableStep, ATreeOf25AndOf2997FramesASecondIsRefused) {
  StorePlayList("00000", 1, 0, 4, 3);
  StorePlayList("00001", 1, 0, 4, 4);
  Write(Table({0, 1}, {{"00000", 0}, {"00001", 1}}), {{Play(0)}, {Play(1)}});
  EXPECT_EQ(MessageOf([&] { Verify(); }), AAA::StringTable::Text(109));
}

TEST_F(IndexTableStep, ATableThatAgreesWithTheTreeIsLeftAlone) {
  StorePlayList("00000", 1);
  StorePlayList("00001", 1);
  Write(Table({1, 0}, {{"00001", 0}, {"00000", 1}}), {{Play(0)}, {Play(1)}});
  Verify();
  EXPECT_FALSE(indexTable.IsModified());
  EXPECT_FALSE(movieObject.IsModified());
  std::vector<PlannedWrite> writes;
  movieObject.AddPlannedWrites(writes);
  EXPECT_TRUE(writes.empty());
}

TEST_F(IndexTableStep, ATitleWhoseObjectPlaysTwoPlayListsGoesAndLaterPairsMoveDown) {
  StorePlayList("00000", 1);
  StorePlayList("00001", 1);
  StorePlayList("00002", 1);
  Write(Table({0, 1, 2}, {{"00000", 0}, {"00001", 1}, {"00002", 2}}), {{Play(0)}, {Play(1), Play(2)}, {Play(2)}});
  LogCapture log(7);
  Verify();
  const std::string text = log.Take();
  EXPECT_NE(text.find("count == 1"), std::string::npos);
  EXPECT_NE(text.find("itPair->RefToTitleId - 1"), std::string::npos);
  // The playlist of the removed title gets a new title of its own.
  EXPECT_EQ(TitleObjects(), (Titles{0, 2, 3}));
  EXPECT_EQ(Pairs(), (PairList{{"00000", 0}, {"00002", 1}, {"00001", 2}}));
  EXPECT_EQ(CommandsOf(movieObject.Model()), (Objects{{Play(0)}, {Play(1), Play(2)}, {Play(2)}, {Play(1)}}));
  CommitAndVerifyAgain();
  EXPECT_FALSE(indexTable.IsModified());
}

TEST_F(IndexTableStep, AJumpToAMissingTitleGoesAndTheObjectLeftEmptyWithIt) {
  StorePlayList("00000", 1);
  StorePlayList("00001", 1);
  const AAA::Bytes jump5 = Command({0x21, 0x81, 0x00, 0x00}, 5, 0);
  const AAA::Bytes jump2 = Command({0x21, 0x81, 0x00, 0x00}, 2, 0);
  // Object 0 is run by first playback; object 1 by nobody.
  auto table = Table({2, 3}, {{"00000", 0}, {"00001", 1}});
  table.blkIndexes.blkFirstPlaybackTitle.FirstPlaybackTitleMobjIDRef.SetValue(0);
  table.blkIndexes.blkMenuTitle.MenuTitleMobjIDRef.SetValue(3);
  Write(table, {{jump2}, {jump5}, {Play(0)}, {Play(1)}});
  LogCapture log(7);
  Verify();
  const std::string text = log.Take();
  EXPECT_NE(text.find("titleNumber <= indexTableFile.blkIndexes.NumberOfMovieTitles"), std::string::npos);
  EXPECT_NE(text.find("movieObjectFile.blkMovieObjects.NumberOfMobjs - 1"), std::string::npos);
  EXPECT_NE(text.find("itTitle->MovieTitleMobjIDRef - 1"), std::string::npos);
  EXPECT_EQ(CommandsOf(movieObject.Model()), (Objects{{jump2}, {Play(0)}, {Play(1)}}));
  EXPECT_EQ(TitleObjects(), (Titles{1, 2}));
  EXPECT_EQ(indexTable.Model().blkIndexes.blkFirstPlaybackTitle.FirstPlaybackTitleMobjIDRef, 0u);
  EXPECT_EQ(indexTable.Model().blkIndexes.blkMenuTitle.MenuTitleMobjIDRef, 2u);
  CommitAndVerifyAgain();
  EXPECT_FALSE(indexTable.IsModified());
  EXPECT_FALSE(movieObject.IsModified());
}

TEST_F(IndexTableStep, AVirtualPlayListPairMustCarryAVirtualPlayListName) {
  StorePlayList("00000", 1);
  const auto failures = [this](const char* virtualName) {
    Write(Table({0}, {{"00000", 0}, {virtualName, 0, 2}}), {{Play(0)}});
    LogCapture log(7);
    Verify();
    return log.Take().find("Utility::IsVirtualPlayListFileName(fileName)") != std::string::npos;
  };
  EXPECT_FALSE(failures("01005"));
  EXPECT_FALSE(indexTable.IsModified());
  EXPECT_TRUE(failures("00005"));
  // Replaced by a new table: the old one is not written behind it.
  ASSERT_EQ(indexTable.Store().size(), 1u);
  EXPECT_EQ(Pairs(), (PairList{{"00000", 0}}));
  EXPECT_EQ(TitleObjects(), (Titles{1}));
}

TEST_F(IndexTableStep, AMenuThumbnailThatDoesNotExistBecomesNone) {
  StorePlayList("00000", 1);
  auto table = Table({0}, {{"00000", 0}});
  table.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD.RefToMenuThumbnailIndex.SetValue(7);
  Write(table, {{Play(0)}});
  Verify();
  EXPECT_EQ(AppInfo().RefToMenuThumbnailIndex, 0xFFFFu);
  EXPECT_TRUE(indexTable.IsModified());
}

TEST_F(IndexTableStep, AMissingPlayListOrTitleInAPairGivesANewTable) {
  StorePlayList("00000", 1);
  for (const auto& pairs : {std::vector<Pair>{{"00000", 0}, {"00003", 0}}, std::vector<Pair>{{"00000", 4}}}) {
    Write(Table({0}, pairs), {{Play(0)}});
    Verify();
    ASSERT_EQ(indexTable.Store().size(), 1u);
    EXPECT_EQ(Pairs(), (PairList{{"00000", 0}}));
    EXPECT_EQ(TitleObjects(), (Titles{1}));
    EXPECT_EQ(indexTable.Model().blkExtensionData.blkDataBlock.MakersPrivateDataStartAddress, 1u);
  }
}

TEST_F(IndexTableStep, ATableTooLargeOrBrokenIsReplaced) {
  StorePlayList("00000", 1);
  Write(Table({0}, {{"00000", 0}}), {{Play(0)}});
  auto bytes = ReadBytes(Utility::IndexTableFile(folder));
  const auto relative = Utility::IndexTableFile(folder).lexically_relative(tree.Root());
  bytes.resize(BlkIndexTableFile::kMaxFileSize, 0);
  tree.File(relative, bytes);
  Verify();
  EXPECT_FALSE(indexTable.IsModified());

  bytes.push_back(0);
  tree.File(relative, bytes);
  Verify();
  EXPECT_TRUE(indexTable.IsModified());

  bytes.resize(60);
  tree.File(relative, bytes);
  Verify();
  EXPECT_TRUE(indexTable.IsModified());
  EXPECT_EQ(Pairs(), (PairList{{"00000", 0}}));
}

TEST_F(IndexTableStep, TheStampNamesTheToolAndTheTime) {
  StorePlayList("00000", 1);
  Write(Table({0}, {{"00000", 0}}), {{Play(0)}});
  Verify();
  AppInfo().AVCHDWriteProtectFlag.SetValue(1);
  indexTable.Stamp();
  EXPECT_EQ(AppInfo().MakerID, std::uint32_t{AVCHD::AVCHD_MAKER_ID});
  EXPECT_EQ(AppInfo().AVCHDWriteProtectFlag, 0u);
  EXPECT_EQ(AppInfo().blkTimeZone, 0xFFu);
  EXPECT_EQ(AppInfo().RecordTimeAndDate.ValueBytes()[0], 0x20);
  std::vector<PlannedWrite> writes;
  indexTable.AddPlannedWrites(writes);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_FALSE(writes[0].IsNew);
}
