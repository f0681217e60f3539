// The plan as people read it: each file with its reason, a cut with the
// bytes it removes, a long run of moves as one line, and a count of all.
#include <gtest/gtest.h>

#include "restorelib/Restore_PlanText.h"

using namespace Restore;

TEST(PlanText, SaysWhyEachFileIsWrittenAndCountsTheOperations) {
  RestorePlan plan;
  plan.Writes = {
      {"/c/BDMV/PLAYLIST/00000.mpls", FileKind::PlayList, false, "/c/BDMV/BACKUP/PLAYLIST/00000.mpls",
       WriteReason::FromCopy},
      {"/c/BDMV/CLIPINF/00002.clpi", FileKind::ClipInformation, true, {}, WriteReason::Missing},
      {"/c/BDMV/index.bdmv", FileKind::IndexTable, false, {}, WriteReason::Corrected},
      {"/c/BDMV/BACKUP/index.bdmv", FileKind::Backup, false, {}, WriteReason::Copy},
  };
  plan.Deletes = {"/c/BDMV/CLIPINF/00009.clpi"};
  for (int i = 1; i <= 11; ++i) {
    const std::string name = "0000" + std::to_string(i % 10) + ".MTS";
    plan.Moves.push_back({"/v/missing-" + name, "/v/PRIVATE/AVCHDL/BDMV/STREAM/" + name});
  }
  plan.Truncations = {{"/c/BDMV/STREAM/00002.m2ts", 1000000, 995328}};
  EXPECT_EQ(
      Restore::PlanText(plan),
      "  write    /c/BDMV/PLAYLIST/00000.mpls (playlist: restored from /c/BDMV/BACKUP/PLAYLIST/00000.mpls)\n"
      "  write    /c/BDMV/CLIPINF/00002.clpi (clip information: missing: made anew)\n"
      "  write    /c/BDMV/index.bdmv (index table: corrected)\n"
      "  write    /c/BDMV/BACKUP/index.bdmv (BACKUP copy: brought up to date)\n"
      "  delete   /c/BDMV/CLIPINF/00009.clpi\n"
      "  move     11 stream files from /v into /v/PRIVATE/AVCHDL/BDMV/STREAM (0 bytes in all)\n"
      "  truncate /c/BDMV/STREAM/00002.m2ts 1000000 -> 995328 bytes (4672 bytes of an unfinished unit at the end)\n"
      "  In all: 4 files written, 1 deleted, 11 moved, 1 cut.\n");
}
