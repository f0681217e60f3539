// The stream list of a tree: which files count, the free five-digit names
// of bare streams, and the commit that moves and cuts them.
#include <gtest/gtest.h>

#include <fstream>

#include "TempTree.h"
#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_RestoreStreamFolder.h"

namespace fs = std::filesystem;
using namespace Restore;

namespace {

struct StreamFolderFixture : testing::Test {
  TempTree tree;
  AvchdFolder folder;
  Utility::VolumeQueries volume = FakeVolume();
  RestoreStreamFolder step{folder, volume};

  // A card: the tree at PRIVATE/AVCHD (or AVCHDL), bare streams in the root.
  void UseCardTree(const char* avchd = "AVCHD") {
    folder.SetPath(tree.Root() / "PRIVATE" / avchd);
    folder.RootPath = tree.Root();
  }
  std::vector<std::string> DestinationNames() const {
    std::vector<std::string> names;
    for (const auto& stream : step.Streams()) names.push_back(stream.Destination.filename().string());
    return names;
  }
};

}  // namespace

TEST_F(StreamFolderFixture, TreeStreamsStayWhereTheyAre) {
  UseCardTree();
  tree.File("PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 6144);
  tree.File("PRIVATE/AVCHD/BDMV/STREAM/00002.mts", 12288);
  step.VerifyStreamFolder();
  ASSERT_EQ(step.Streams().size(), 2u);
  EXPECT_EQ(step.Streams()[0].Source, step.Streams()[0].Destination);
  EXPECT_EQ(step.Streams()[1].Source, tree.Root() / "PRIVATE/AVCHD/BDMV/STREAM/00002.mts");
  EXPECT_EQ(step.TotalStreamSize(), 18432u);
  EXPECT_FALSE(step.NeedsRepair());
}

TEST_F(StreamFolderFixture, EmptyAndUnnumberedFilesAreIgnored) {
  UseCardTree();
  tree.File("PRIVATE/AVCHD/BDMV/STREAM/00003.MTS", 0);
  tree.File("PRIVATE/AVCHD/BDMV/STREAM/ABCDE.MTS", 6144);
  tree.File("PRIVATE/AVCHD/BDMV/STREAM/0001.MTS", 6144);
  tree.File("PRIVATE/AVCHD/BDMV/STREAM/00004.m2ts", 6144);  // not of a short-name tree
  tree.File("ABCDE.MTS", 6144);
  tree.File("00005.MTS", 0);
  EXPECT_EQ(MessageOf([&] { step.VerifyStreamFolder(); }), AAA::StringTable::Text(104));
}

TEST_F(StreamFolderFixture, NoStreamAtAllFailsWith104) {
  UseCardTree();
  EXPECT_EQ(MessageOf([&] { step.VerifyStreamFolder(); }), AAA::StringTable::Text(104));
}

TEST_F(StreamFolderFixture, TheLongNamePassKeepsItsNumberAndTheOtherMovesOn) {
  UseCardTree();
  tree.File("00001.MTS", 100);
  tree.File("00001.m2ts", 200);
  step.VerifyStreamFolder();
  ASSERT_EQ(step.Streams().size(), 2u);
  EXPECT_EQ(step.Streams()[0].Source, tree.Root() / "00001.m2ts");
  EXPECT_EQ(step.Streams()[0].Destination, tree.Root() / "PRIVATE/AVCHD/BDMV/STREAM/00001.MTS");
  EXPECT_EQ(step.Streams()[1].Source, tree.Root() / "00001.MTS");
  EXPECT_EQ(step.Streams()[1].Destination, tree.Root() / "PRIVATE/AVCHD/BDMV/STREAM/00002.MTS");
  EXPECT_TRUE(step.NeedsRepair());
}

TEST_F(StreamFolderFixture, FreeNamesSkipTreeStreamsAndWrapAfter99999) {
  UseCardTree("AVCHDL");
  tree.File("PRIVATE/AVCHDL/BDMV/STREAM/99999.m2ts", 6144);
  tree.File("PRIVATE/AVCHDL/BDMV/STREAM/00000.m2ts", 6144);
  tree.File("99999.MTS", 6144);
  step.VerifyStreamFolder();
  EXPECT_EQ(DestinationNames(), (std::vector<std::string>{"00000.m2ts", "99999.m2ts", "00001.m2ts"}));
}

TEST_F(StreamFolderFixture, ANameHeldByAnyFileOfTheStreamFolderIsNotFree) {
  UseCardTree();
  // An empty leftover is no stream, but a move must never replace it.
  tree.File("PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 0);
  tree.File("00001.MTS", 6144);
  step.VerifyStreamFolder();
  EXPECT_EQ(DestinationNames(), (std::vector<std::string>{"00002.MTS"}));
}

TEST_F(StreamFolderFixture, AWriteProtectedMediumFailsWith108) {
  UseCardTree();
  tree.File("00001.MTS", 6144);
  volume.IsMountReadOnly = [](const fs::path&) { return true; };
  EXPECT_EQ(MessageOf([&] { step.VerifyStreamFolder(); }), AAA::StringTable::Text(108));
}

TEST_F(StreamFolderFixture, CommitMovesBareStreamsIntoANewTree) {
  folder.SetPath(tree.Root() / "src/PRIVATE/AVCHDL");
  folder.RootPath = tree.Root() / "src";
  tree.File("src/00007.MTS", 6144 * 2);
  tree.File("src/00008.m2ts", 6144);
  tree.File("src/notes.txt", 10);
  tree.File("sibling/00001.MTS", 6144);
  const auto sibling = Snapshot(tree.Root() / "sibling");
  step.VerifyStreamFolder();
  CommitStep(step, tree.Root());
  const auto stream = tree.Root() / "src/PRIVATE/AVCHDL/BDMV/STREAM";
  EXPECT_EQ(ReadBytes(stream / "00008.m2ts").size(), 6144u);
  EXPECT_EQ(ReadBytes(stream / "00007.m2ts").size(), 12288u);
  EXPECT_FALSE(fs::exists(tree.Root() / "src/00007.MTS"));
  EXPECT_TRUE(fs::exists(tree.Root() / "src/notes.txt"));
  EXPECT_EQ(Snapshot(tree.Root() / "sibling"), sibling);
}

TEST_F(StreamFolderFixture, CommitCutsStreamsToWhole6144ByteUnits) {
  UseCardTree();
  const auto longer = tree.File("PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 6145);
  const auto shorter = tree.File("PRIVATE/AVCHD/BDMV/STREAM/00002.MTS", 6143);
  const auto whole = tree.File("PRIVATE/AVCHD/BDMV/STREAM/00003.MTS", 6144);
  fs::permissions(longer, fs::perms::owner_read);
  const auto before = ReadBytes(longer);
  step.VerifyStreamFolder();
  EXPECT_TRUE(step.NeedsRepair());
  CommitStep(step, tree.Root());
  EXPECT_EQ(ReadBytes(longer), std::vector<std::uint8_t>(before.begin(), before.begin() + 6144));
  EXPECT_EQ(fs::file_size(shorter), 0u);
  EXPECT_EQ(fs::file_size(whole), 6144u);
}

TEST_F(StreamFolderFixture, CommitStopsWhenAStreamVanished) {
  UseCardTree();
  const auto bare = tree.File("00001.MTS", 6144);
  step.VerifyStreamFolder();
  fs::remove(bare);
  EXPECT_EQ(MessageOf([&] { CommitStep(step, tree.Root()); }), AAA::StringTable::Text(104));
}

TEST_F(StreamFolderFixture, CommitNeverReplacesAFileThatAppearedAtTheDestination) {
  UseCardTree();
  tree.File("00001.MTS", 6144);
  step.VerifyStreamFolder();
  const auto intruder = tree.File("PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 10);
  EXPECT_EQ(MessageOf([&] { CommitStep(step, tree.Root()); }), AAA::StringTable::Text(106));
  EXPECT_EQ(fs::file_size(intruder), 10u);
  EXPECT_TRUE(fs::exists(tree.Root() / "00001.MTS"));
}

// Limits: every five-digit name taken leaves a bare stream without a name
// (109), and a stream above 4 GiB is cut by whole units like any other.
TEST_F(StreamFolderFixture, EveryNameTakenFailsWith109AndAStreamAbove4GiBIsCutByUnits) {
  UseCardTree();
  const fs::path streams = tree.Root() / "PRIVATE/AVCHD/BDMV/STREAM";
  fs::create_directories(streams);
  for (int number = 0; number < 100000; ++number) {
    std::ofstream(streams / (Utility::FiveDigitName(static_cast<std::uint32_t>(number)) + ".MTS"));
  }
  const fs::path big = tree.File("PRIVATE/AVCHD/BDMV/STREAM/00000.MTS", 6144);
  fs::resize_file(big, (std::uint64_t{5} << 30) + 7);  // sparse after its first unit
  tree.File("00001.MTS", 6144);
  EXPECT_EQ(MessageOf([&] { step.VerifyStreamFolder(); }), AAA::StringTable::Text(109));
  fs::remove(tree.Root() / "00001.MTS");
  step.VerifyStreamFolder();
  ASSERT_EQ(step.Streams().size(), 1u);
  EXPECT_EQ(step.Streams()[0].Size, (std::uint64_t{5} << 30) + 7);
  EXPECT_EQ(step.Streams()[0].CutSize(), ((std::uint64_t{5} << 30) + 7) / 6144 * 6144);
}
