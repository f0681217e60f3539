// The movie object step: its play commands checked against the playlists,
// and the empty model that replaces a file it cannot use.
#include <gtest/gtest.h>

#include "StepFixture.h"
#include "tests/aaalib/LogCapture.h"

namespace fs = std::filesystem;
using namespace Restore;

namespace {

const AAA::Bytes kPlay3 = Command({0x22, 0x80, 0x00, 0x00}, 3, 0);
const AAA::Bytes kPlay1 = Command({0x22, 0x80, 0x00, 0x00}, 1, 0);
const AAA::Bytes kJumpTitle5 = Command({0x21, 0x81, 0x00, 0x00}, 5, 0);

struct MovieObjectStep : StepFixture {
  fs::path File() const { return Utility::MovieObjectFile(folder); }

  void WriteMovieObjects(const std::vector<std::vector<AAA::Bytes>>& objects) {
    auto file = MovieObjects(objects);
    WriteFile(File(), file);
  }
};

}  // namespace

TEST_F(MovieObjectStep, APlayCommandOfAMissingOrSkippedPlayListIsRemoved) {
  StorePlayList("00001", 1);
  StorePlayList("00003", 1).SkipMark = true;
  WriteMovieObjects({{kPlay3, kPlay1}});
  LogCapture log(7);
  movieObject.VerifyMovieObject();
  const std::string text = log.Take();
  EXPECT_EQ(CommandsOf(movieObject.Model()), (std::vector<std::vector<AAA::Bytes>>{{kPlay1}}));
  EXPECT_EQ(movieObject.Model().blkMovieObjects.blkMovieObjectArray[0].NumberOfNavigationCommands, 1u);
  EXPECT_NE(text.find("moviePlayListFile != NULL"), std::string::npos);
  EXPECT_NE(text.find("itMobj->NumberOfNavigationCommands - 1"), std::string::npos);
  EXPECT_TRUE(movieObject.IsModified());
}

TEST_F(MovieObjectStep, APlayItemOrMarkOperandMustNameOneOfThePlayList) {
  StorePlayList("00001", 2, 3);
  const AAA::Bytes item2 = Command({0x42, 0xC1, 0x00, 0x00}, 1, 2);
  const AAA::Bytes item1 = Command({0x42, 0xC1, 0x00, 0x00}, 1, 1);
  const AAA::Bytes mark3 = Command({0x42, 0xC2, 0x00, 0x00}, 1, 3);
  const AAA::Bytes mark2 = Command({0x42, 0xC2, 0x00, 0x00}, 1, 2);
  const AAA::Bytes register99 = Command({0x42, 0x81, 0x00, 0x00}, 1, 99);
  const AAA::Bytes markRegister = Command({0x42, 0x82, 0x00, 0x00}, 1, 1234);
  WriteMovieObjects({{item2, item1}, {mark3, mark2, register99, markRegister}});
  LogCapture log(7);
  movieObject.VerifyMovieObject();
  const std::string text = log.Take();
  EXPECT_EQ(CommandsOf(movieObject.Model()),
            (std::vector<std::vector<AAA::Bytes>>{{item1}, {mark2, register99, markRegister}}));
  EXPECT_NE(text.find("id < moviePlayListFile->blkPlayList.NumberOfPlayItems"), std::string::npos);
  EXPECT_NE(text.find("id < moviePlayListFile->blkPlayListMark.NumberOfPlayListMarks"), std::string::npos);
}

TEST_F(MovieObjectStep, ConsecutiveBadCommandsGoAndTheOneAfterThemIsCheckedToo) {
  StorePlayList("00001", 1);
  const AAA::Bytes play7 = Command({0x22, 0x80, 0x00, 0x00}, 7, 0);
  WriteMovieObjects({{kPlay3, play7, kPlay3, kJumpTitle5, kPlay1}, {kPlay3}});
  movieObject.VerifyMovieObject();
  // Other groups are never checked here, and an object may be left empty.
  EXPECT_EQ(CommandsOf(movieObject.Model()), (std::vector<std::vector<AAA::Bytes>>{{kJumpTitle5, kPlay1}, {}}));
  EXPECT_EQ(movieObject.Model().blkMovieObjects.NumberOfMobjs, 2u);
}

TEST_F(MovieObjectStep, ASoundFileIsKeptUnchangedAndNotWritten) {
  StorePlayList("00003", 1);
  WriteMovieObjects({{kPlay3}, {kJumpTitle5}});
  const auto before = ReadBytes(File());
  movieObject.VerifyMovieObject();
  EXPECT_FALSE(movieObject.IsModified());
  std::vector<PlannedWrite> writes;
  movieObject.AddPlannedWrites(writes);
  EXPECT_TRUE(writes.empty());
  CommitStep(movieObject, tree.Root());
  EXPECT_EQ(ReadBytes(File()), before);
}

TEST_F(MovieObjectStep, AMissingOrUnusableFileBecomesAnEmptyModelThatIsWritten) {
  const auto expectEmpty = [this](const char* what) {
    movieObject.VerifyMovieObject();
    ASSERT_EQ(movieObject.Store().size(), 1u) << what;
    EXPECT_EQ(movieObject.Model().blkMovieObjects.NumberOfMobjs, 0u) << what;
    EXPECT_TRUE(movieObject.IsModified()) << what;
  };
  expectEmpty("missing");

  auto withExtension = MovieObjects({{kPlay3}});
  withExtension.Link();
  withExtension.Update();
  withExtension.ExtensionDataStartAddress.SetValue(8);
  AAA::MemoryStream stream;
  AAA::BitWriter writer(stream);
  withExtension.AAA::Block::Write(writer);
  tree.File(File().lexically_relative(tree.Root()), stream.Bytes());
  expectEmpty("extension data");

  tree.File(File().lexically_relative(tree.Root()), AAA::Bytes{'M', 'O', 'B', 'J', '0', '1'});
  expectEmpty("cut short");

  CommitStep(movieObject, tree.Root());
  EXPECT_EQ(ReadBytes(File()).size(), 50u);  // the 40-byte header and 10 bytes of an empty object list
}

TEST_F(MovieObjectStep, AFileOfTheMostBytesAllowedIsReadOneByteMoreIsNot) {
  StorePlayList("00003", 1);
  WriteMovieObjects({{kPlay3}});
  AAA::Bytes bytes = ReadBytes(File());
  bytes.resize(RestoreMovieObject::kMaxFileBytes, 0);
  tree.File(File().lexically_relative(tree.Root()), bytes);
  movieObject.VerifyMovieObject();
  EXPECT_EQ(CommandsOf(movieObject.Model()), (std::vector<std::vector<AAA::Bytes>>{{kPlay3}}));

  bytes.push_back(0);
  tree.File(File().lexically_relative(tree.Root()), bytes);
  movieObject.VerifyMovieObject();
  EXPECT_EQ(movieObject.Model().blkMovieObjects.NumberOfMobjs, 0u);
}

TEST_F(MovieObjectStep, TheCommandCheckOfAnEmptyStoreStartsFromTheDefaultModel) {
  movieObject.CheckPlayCommands();
  ASSERT_EQ(movieObject.Store().size(), 1u);
  EXPECT_EQ(movieObject.Model().blkMovieObjects.NumberOfMobjs, 0u);
}
