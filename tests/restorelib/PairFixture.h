#pragma once

#include <gtest/gtest.h>

#include "TempTree.h"
#include "TreeRun.h"
#include "tests/support/Recording3d.h"

namespace fs = std::filesystem;
using namespace Restore;
using TestSupport::EyeStream;
using TestSupport::MarkAs3dChannel;
using TestSupport::MaterialID;
using TestSupport::ReadContent;
using TestSupport::TreeBuilder;

// The left and the right tree of one 3D recording.
struct Pair3d : testing::Test {
  Utility::VolumeQueries volume = FakeVolume();
  TreeBuilder left;
  TreeBuilder right;

  // Both eyes recorded with `groups` groups, their management files written
  // by a first repair of each tree and marked as one recording.
  void Record(std::uint32_t groupsLeft, std::uint32_t groupsRight) {
    left.AddStream("00001", EyeStream(StreamOfGroups(groupsLeft), 'L'));
    right.AddStream("10001", EyeStream(StreamOfGroups(groupsRight), 'R'));
    for (auto* tree : {&left, &right}) {
      RestoreMain run(tree->Target(), tree->Mode(), volume);
      ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
    }
    MarkAs3dChannel(left, 'L', MaterialID(1));
    MarkAs3dChannel(right, 'R', MaterialID(1));
  }
  fs::path IndexTable(const TreeBuilder& tree) const { return tree.Avchd() / "BDMV" / "INDEX.BDM"; }

  // Verifies both trees, checks them as a pair (`first` chosen first) and
  // commits both; false when any of it failed.
  bool RepairPair(const TreeBuilder& first, const TreeBuilder& second) {
    RestoreMain run1(first.Target(), first.Mode(), volume);
    RestoreMain run2(second.Target(), second.Mode(), volume);
    if (VerifyTree(run1) == Restore::Verdict::Failed || VerifyTree(run2) == Restore::Verdict::Failed) return false;
    run1.VerifyMain3d(run2);
    if (run1.ResultState() == Restore::Verdict::Failed) return false;
    run1.Commit();
    run2.Commit();
    return run1.ResultState() != Restore::Verdict::Failed && run2.ResultState() != Restore::Verdict::Failed;
  }
};
