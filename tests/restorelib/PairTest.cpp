// The two eyes of a 3D recording as a pair: the relation check on the tree
// chosen second, the pair check that orders the eyes, and the repair that
// makes the right eye agree with the left one.
#include <gtest/gtest.h>

#include "PairFixture.h"
#include "aaalib/AAA_StringTable.h"
#include "tests/aaalib/LogCapture.h"

TEST_F(Pair3d, TheRelationAcceptsTheOtherEyeInEitherOrder) {
  Record(4, 4);
  RestoreMain first(left.Target(), left.Mode(), volume);
  ASSERT_EQ(VerifyTree(first), Restore::Verdict::NotRequired) << first.ErrorString();
  RestoreMain second(right.Target(), right.Mode(), volume);
  second.VerifyRelation3d(first);
  EXPECT_EQ(second.ResultState(), Restore::Verdict::RepairRequired) << second.ErrorString();

  RestoreMain firstRight(right.Target(), right.Mode(), volume);
  ASSERT_EQ(VerifyTree(firstRight), Restore::Verdict::NotRequired);
  RestoreMain secondLeft(left.Target(), left.Mode(), volume);
  secondLeft.VerifyRelation3d(firstRight);
  EXPECT_EQ(secondLeft.ResultState(), Restore::Verdict::RepairRequired) << secondLeft.ErrorString();
}

TEST_F(Pair3d, TwoLeftEyesAndTheSameTreeAreRefusedWith114) {
  Record(4, 4);
  TreeBuilder other;
  other.AddStream("00001", EyeStream(StreamOfGroups(4), 'L'));
  {
    RestoreMain run(other.Target(), other.Mode(), volume);
    ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired);
  }
  MarkAs3dChannel(other, 'L', MaterialID(1));
  RestoreMain first(left.Target(), left.Mode(), volume);
  ASSERT_EQ(VerifyTree(first), Restore::Verdict::NotRequired);
  for (const TreeBuilder* partner : {&other, &left}) {
    RestoreMain second(partner->Target(), partner->Mode(), volume);
    second.VerifyRelation3d(first);
    EXPECT_EQ(second.ResultState(), Restore::Verdict::Failed);
    EXPECT_EQ(second.ErrorString(), AAA::StringTable::Text(114));
  }
}

TEST_F(Pair3d, ARightEyeOfAnotherRecordingIsRefusedAndOneWithoutIndexTableAccepted) {
  Record(4, 4);
  MarkAs3dChannel(right, 'R', MaterialID(2));
  RestoreMain first(left.Target(), left.Mode(), volume);
  ASSERT_EQ(VerifyTree(first), Restore::Verdict::NotRequired);
  RestoreMain stranger(right.Target(), right.Mode(), volume);
  stranger.VerifyRelation3d(first);
  EXPECT_EQ(stranger.ErrorString(), AAA::StringTable::Text(114));

  fs::remove(IndexTable(right));
  RestoreMain withoutIndex(right.Target(), right.Mode(), volume);
  withoutIndex.VerifyRelation3d(first);
  EXPECT_EQ(withoutIndex.ResultState(), Restore::Verdict::RepairRequired) << withoutIndex.ErrorString();
}

TEST_F(Pair3d, ARepairedPairNeedsNoRepair) {
  Record(4, 4);
  // The first repair gives the two trees their names.
  ASSERT_TRUE(RepairPair(left, right));
  RestoreMain first(left.Target(), left.Mode(), volume);
  RestoreMain second(right.Target(), right.Mode(), volume);
  ASSERT_EQ(VerifyTree(first), Restore::Verdict::NotRequired);
  ASSERT_EQ(VerifyTree(second), Restore::Verdict::NotRequired) << second.ErrorString();
  first.VerifyMain3d(second);
  EXPECT_EQ(first.ResultState(), Restore::Verdict::NotRequired) << first.ErrorString();
  EXPECT_EQ(second.ResultState(), Restore::Verdict::NotRequired);
}

TEST_F(Pair3d, TheRightEyeFirstIsSwappedAndRepairedFromTheLeft) {
  Record(4, 4);
  RestoreMain first(right.Target(), right.Mode(), volume);
  RestoreMain second(left.Target(), left.Mode(), volume);
  ASSERT_EQ(VerifyTree(first), Restore::Verdict::NotRequired);
  ASSERT_EQ(VerifyTree(second), Restore::Verdict::NotRequired);
  LogCapture log(7);
  first.VerifyMain3d(second);
  EXPECT_NE(first.ResultState(), Restore::Verdict::Failed) << first.ErrorString();
  const std::string text = log.Take();
  EXPECT_NE(text.find("  L ch: " + left.Avchd().string()), std::string::npos);
  EXPECT_NE(text.find("  R ch: " + right.Avchd().string()), std::string::npos);
}

TEST_F(Pair3d, TwoLeftEyesFailTheMainCheckWith114) {
  Record(4, 4);
  RestoreMain first(left.Target(), left.Mode(), volume);
  RestoreMain second(left.Target(), left.Mode(), volume);
  ASSERT_EQ(VerifyTree(first), Restore::Verdict::NotRequired);
  ASSERT_EQ(VerifyTree(second), Restore::Verdict::NotRequired);
  const auto before = Snapshot(left.Root());
  first.VerifyMain3d(second);
  EXPECT_EQ(first.ResultState(), Restore::Verdict::Failed);
  EXPECT_EQ(first.ErrorString(), AAA::StringTable::Text(114));
  EXPECT_EQ(Snapshot(left.Root()), before);
}
