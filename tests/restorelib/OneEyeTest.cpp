// "verify 3D one eye": which eye a tree holds, decided from the 3D channel
// values of its streams, and the professional metadata made to say so (or
// set back to 2D).
#include <gtest/gtest.h>

#include "TempTree.h"
#include "TreeRun.h"
#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_ProMetadata3d.h"
#include "tests/support/Recording3d.h"

namespace fs = std::filesystem;
using namespace Restore;
using TestSupport::EyeStream;
using TestSupport::ReadContent;
using TestSupport::TreeBuilder;
using TestSupport::TreeNaming;

namespace {

struct OneEye : testing::Test {
  Utility::VolumeQueries volume = FakeVolume();

  Restore::Channel3d Result3dOf(const TreeBuilder& tree) {
    RestoreMain run(tree.Target(), tree.Mode(), volume);
    VerifyTree(run);
    EXPECT_NE(run.ResultState(), Restore::Verdict::Failed) << run.ErrorString();
    return run.Result3d();
  }
  void Commit(const TreeBuilder& tree) {
    RestoreMain run(tree.Target(), tree.Mode(), volume);
    ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  }
};

}  // namespace

TEST(Channel3d, TheRightChannelSetsBit0x800AndZeroIs2d) {
  EXPECT_EQ(ChannelOfMark(0), Channel3d::None);
  EXPECT_EQ(ChannelOfMark(TestSupport::kChannel3dLeft), Channel3d::Left);
  EXPECT_EQ(ChannelOfMark(TestSupport::kChannel3dRight), Channel3d::Right);
  EXPECT_EQ(ChannelOfMark(0x800), Channel3d::Right);
  EXPECT_EQ(ChannelOfMark(1), Channel3d::Left);
  EXPECT_STREQ(ChannelText(Channel3d::Left), "L");
  EXPECT_STREQ(ChannelText(Channel3d::Right), "R");
}

TEST(Channel3d, ClipsOfOneKindGiveTheTreesChannelAndMixturesAreRefused) {
  const auto classify = [](std::initializer_list<std::uint32_t> marks) {
    ClipStore clips;
    for (std::uint32_t mark : marks) {
      AVCHD::ClipInformation::BlkClipInformationFile clip;
      clip.Initialize();
      clip.ChannelMark3D = mark;
      clips.Add(clip, nullptr);
    }
    return ClassifyClips(clips);
  };
  const std::uint32_t right = TestSupport::kChannel3dRight;
  EXPECT_EQ(classify({0, 0, 0}), Channel3d::None);
  EXPECT_EQ(classify({right, right, right}), Channel3d::Right);
  EXPECT_EQ(MessageOf([&] { classify({right, TestSupport::kChannel3dLeft, right}); }), AAA::StringTable::Text(109));
  EXPECT_EQ(MessageOf([&] { classify({right, 0, right}); }), AAA::StringTable::Text(109));
  EXPECT_EQ(classify({}), Channel3d::None);
}

TEST_F(OneEye, StreamsOfTheLeftEyeGiveResult3d1AndOfTheRightEye2) {
  TreeBuilder left;
  left.AddStream("00001", EyeStream(StreamOfGroups(4), 'L'));
  left.AddStream("00002", EyeStream(StreamOfGroups(4), 'L'));
  EXPECT_EQ(Result3dOf(left), Restore::Channel3d::Left);
  TreeBuilder right(TreeNaming::LongNames);
  right.AddStream("10001", EyeStream(StreamOfGroups(4), 'R'));
  EXPECT_EQ(Result3dOf(right), Restore::Channel3d::Right);
  TreeBuilder flat;
  flat.AddStream("00001", StreamOfGroups(4));
  EXPECT_EQ(Result3dOf(flat), Restore::Channel3d::None);
}

TEST_F(OneEye, ALeftAndARightClipInOneTreeFailWith109) {
  TreeBuilder tree;
  tree.AddStream("00001", EyeStream(StreamOfGroups(4), 'L'));
  tree.AddStream("00002", EyeStream(StreamOfGroups(4), 'R'));
  RestoreMain run(tree.Target(), tree.Mode(), volume);
  EXPECT_EQ(VerifyTree(run), Restore::Verdict::Failed);
  EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(109));
}

TEST_F(OneEye, A3dClipBeside2dClipsFailsWith109) {
  TreeBuilder tree;
  tree.AddStream("00001", StreamOfGroups(4));
  tree.AddStream("00002", EyeStream(StreamOfGroups(4), 'R'));
  RestoreMain run(tree.Target(), tree.Mode(), volume);
  EXPECT_EQ(VerifyTree(run), Restore::Verdict::Failed);
  EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(109));
}

TEST_F(OneEye, TheClipsOfAnEyeAreWrittenWithTheirChannel) {
  TreeBuilder tree;
  tree.AddStream("00001", EyeStream(StreamOfGroups(4), 'R'));
  Commit(tree);
  const auto content = ReadContent(tree.ClipInformationFile("00001"), "clip");
  EXPECT_EQ(content.version, 0x11U);
  EXPECT_EQ(content.channel, "R");
  EXPECT_EQ(content.globalMaterialID.size(), 32U);
  EXPECT_NE(content.globalMaterialID, AAA::Bytes(32, 0xFF));
}

TEST_F(OneEye, A2dTreeWithMetadataOf3dIsSetBackTo2d) {
  TreeBuilder tree;
  tree.AddStream("00001", StreamOfGroups(4));
  Commit(tree);
  TestSupport::MarkAs3dChannel(tree, 'L', TestSupport::MaterialID(7));
  ASSERT_EQ(ReadContent(tree.ClipInformationFile("00001"), "clip").version, 0x11U);

  RestoreMain run(tree.Target(), tree.Mode(), volume);
  ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  EXPECT_EQ(run.Result3d(), Restore::Channel3d::None);
  const auto content = ReadContent(tree.ClipInformationFile("00001"), "clip");
  EXPECT_EQ(content.version, 0x10U);
  EXPECT_TRUE(content.channel.empty());
}

TEST_F(OneEye, AnEyeWhoseMetadataSaysSoAlreadyNeedsNoRepair) {
  TreeBuilder tree;
  tree.AddStream("00001", EyeStream(StreamOfGroups(4), 'L'));
  Commit(tree);
  RestoreMain again(tree.Target(), tree.Mode(), volume);
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
  EXPECT_EQ(again.Result3d(), Restore::Channel3d::Left);
}
