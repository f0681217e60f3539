// The plan as people read it: each file with its reason, a cut with the
// bytes it removes, a long run of moves as one line, and a count of all;
// and, for damaged trees, the findings before it.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "restorelib/Restore_PlanText.h"
#include "tests/cli_restore/Report.h"
#include "tests/restorelib/TempTree.h"
#include "tests/support/ProgramRun.h"

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

namespace {

namespace fs = std::filesystem;

// A damaged tree below `root`; returns the command line that checks it.
using Damage = std::function<std::string(const fs::path& root)>;

struct Scenario {
  const char* name;
  Damage damage;
  // The findings and the plan, the tree's root written as ROOT.
  const char* text;
};

// Two recordings in a folder as a camcorder leaves them, the second cut short.
std::string CutRecording(const fs::path& root) {
  WriteCutRecordings(root, 3, 400000);
  return "build --check " + TestSupport::Quoted(root);
}

// Two recordings, the second cut before its first group of pictures ended.
std::string RecordingWithoutAGroup(const fs::path& root) {
  WriteCutRecordings(root, 3, 60000);
  return "build --check " + TestSupport::Quoted(root);
}

// A tree built from the recordings, then its index table garbled.
std::string GarbledIndexTable(const fs::path& root) {
  CutRecording(root);
  TestSupport::RunProgram(VELMAR_RESTORE_PROGRAM, "build --yes --no-backup " + TestSupport::Quoted(root));
  const fs::path avchd = root / "PRIVATE/AVCHDL";
  std::fstream index(avchd / "BDMV/index.bdmv", std::ios::in | std::ios::out | std::ios::binary);
  index.seekp(4);
  index.write("9999", 4);
  return "folder --check " + TestSupport::Quoted(avchd);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

struct FindingsAndPlan : testing::TestWithParam<Scenario> {};

}  // namespace

// What people read and what programs get agree: each plan entry names the
// findings about its file.
TEST_P(FindingsAndPlan, AreSaidExactlyAndTheReportTiesThePlanToThem) {
  TempTree tree;
  const fs::path root = tree.Folder("videos");
  const std::string command = GetParam().damage(root);
  const auto run = TestSupport::RunProgram(VELMAR_RESTORE_PROGRAM, command);
  EXPECT_EQ(run.status, 1);
  const auto from = run.output.find("What was found:");
  const auto to = run.output.find(".\n", run.output.find("In all:"));
  ASSERT_NE(from, std::string::npos) << run.output;
  EXPECT_EQ(Replaced(run.output.substr(from, to + 2 - from), root.string(), "ROOT"), GetParam().text);

  const auto report = ValidReport(TestSupport::RunProgram(VELMAR_RESTORE_PROGRAM, command + " --json").output);
  const auto& findings = report["findings"];
  ASSERT_FALSE(findings.empty());
  for (const char* operation : {"write", "truncate"}) {
    for (const auto& entry : report["plan"][operation]) {
      for (const auto& index : entry["findings"]) EXPECT_EQ(findings[index.get<std::size_t>()]["file"], entry["path"]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Damage, FindingsAndPlan,
    testing::Values(
        Scenario{"CutRecording", CutRecording,
                 "What was found:\n"
                 "  ROOT/PRIVATE/AVCHDL/BDMV/STREAM/00002.m2ts: the recording 00002 was cut short: 0.33 s at its end "
                 "cannot be played and is left out of its clip.\n"
                 "\n"
                 "What the repair does:\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/CLIPINF/00001.clpi (clip information: missing: made anew)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/CLIPINF/00002.clpi (clip information: missing: made anew)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/PLAYLIST/00000.mpls (playlist: missing: made anew)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/MovieObject.bdmv (movie object: missing: made anew)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/index.bdmv (index table: missing: made anew)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/CLIPINF/00001.clpi (BACKUP copy: new)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/CLIPINF/00002.clpi (BACKUP copy: new)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/MovieObject.bdmv (BACKUP copy: new)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/PLAYLIST/00000.mpls (BACKUP copy: new)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/index.bdmv (BACKUP copy: new)\n"
                 "  move     ROOT/00001.MTS -> ROOT/PRIVATE/AVCHDL/BDMV/STREAM/00001.m2ts (448512 bytes)\n"
                 "  move     ROOT/00002.MTS -> ROOT/PRIVATE/AVCHDL/BDMV/STREAM/00002.m2ts (400000 bytes)\n"
                 "  truncate ROOT/PRIVATE/AVCHDL/BDMV/STREAM/00002.m2ts 400000 -> 399360 bytes (640 bytes of an "
                 "unfinished unit at the end; the last 0.33 s of the recording cannot be played)\n"
                 "  In all: 10 files written, 0 deleted, 2 moved, 1 cut.\n"},
        Scenario{"RecordingWithoutAGroup", RecordingWithoutAGroup,
                 "What was found:\n"
                 "  ROOT/PRIVATE/AVCHDL/BDMV/STREAM/00002.m2ts: the recording 00002 holds no picture that can be "
                 "played: no clip plays it, and its stream file is kept.\n"
                 "\n"
                 "What the repair does:\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/CLIPINF/00001.clpi (clip information: missing: made anew)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/PLAYLIST/00000.mpls (playlist: missing: made anew)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/MovieObject.bdmv (movie object: missing: made anew)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/index.bdmv (index table: missing: made anew)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/CLIPINF/00001.clpi (BACKUP copy: new)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/MovieObject.bdmv (BACKUP copy: new)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/PLAYLIST/00000.mpls (BACKUP copy: new)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/index.bdmv (BACKUP copy: new)\n"
                 "  move     ROOT/00001.MTS -> ROOT/PRIVATE/AVCHDL/BDMV/STREAM/00001.m2ts (448512 bytes)\n"
                 "  move     ROOT/00002.MTS -> ROOT/PRIVATE/AVCHDL/BDMV/STREAM/00002.m2ts (60000 bytes)\n"
                 "  truncate ROOT/PRIVATE/AVCHDL/BDMV/STREAM/00002.m2ts 60000 -> 55296 bytes (4704 bytes of an "
                 "unfinished unit at the end)\n"
                 "  In all: 8 files written, 0 deleted, 2 moved, 1 cut.\n"},
        Scenario{"GarbledIndexTable", GarbledIndexTable,
                 "What was found:\n"
                 "  ROOT/PRIVATE/AVCHDL/BDMV/index.bdmv: the index table breaks a rule of its format: it will be "
                 "restored from ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/index.bdmv.\n"
                 "      Index table file.TypeIndicator2: 9999, expected 0100 (\"0100\")\n"
                 "\n"
                 "What the repair does:\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/index.bdmv (index table: restored from "
                 "ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/index.bdmv)\n"
                 "  write    ROOT/PRIVATE/AVCHDL/BDMV/BACKUP/index.bdmv (BACKUP copy: brought up to date)\n"
                 "  In all: 2 files written, 0 deleted, 0 moved, 0 cut.\n"}),
    [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });
