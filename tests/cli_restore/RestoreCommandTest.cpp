// velmar-restore run as a user runs it: on a folder of generated streams
// and on a copy of a tree, with its exit statuses, --check, --json and the
// refusals of bad targets.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_Texts.h"
#include "samplegen/StreamGenerator.h"
#include "tests/cli_restore/Report.h"
#include "tests/restorelib/TempTree.h"
#include "tests/support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

TestSupport::ProgramRun RunProgram(const std::string& arguments) {
  return TestSupport::RunProgram(VELMAR_RESTORE_PROGRAM, arguments);
}

using Restore::UiText;
using TestSupport::Quoted;

// Two recordings as a camcorder writes them, the second cut short.
void WriteStreams(const fs::path& folder) { WriteCutRecordings(folder, 2, 100000); }

}  // namespace

TEST(RestoreCommand, CheckReportsARequiredRepairAndWritesNothing) {
  TempTree tree;
  WriteStreams(tree.Folder("videos"));
  const auto before = Snapshot(tree.Root());
  const auto run = RunProgram("build --check " + Quoted(tree.Root() / "videos"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("An error was found"), std::string::npos);
  EXPECT_NE(run.output.find("move     " + (tree.Root() / "videos/00002.MTS").string()), std::string::npos);
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

TEST(RestoreCommand, WithoutATerminalAndWithoutYesNothingIsWritten) {
  TempTree tree;
  WriteStreams(tree.Folder("videos"));
  const auto before = Snapshot(tree.Root());
  EXPECT_EQ(RunProgram("build " + Quoted(tree.Root() / "videos")).status, 1);
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

TEST(RestoreCommand, YesBuildsTheTreeAndCutsTheStreams) {
  TempTree tree;
  WriteStreams(tree.Folder("videos"));
  const auto run = RunProgram("build --yes " + Quoted(tree.Root() / "videos"));
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("The restoration was completed."), std::string::npos);
  const auto stream = tree.Root() / "videos/PRIVATE/AVCHDL/BDMV/STREAM";
  EXPECT_EQ(fs::file_size(stream / "00002.m2ts") % 6144, 0u);
  EXPECT_TRUE(fs::exists(stream / "00001.m2ts"));
  EXPECT_FALSE(fs::exists(tree.Root() / "videos/00001.MTS"));
  // A second run finds nothing left to repair.
  EXPECT_EQ(RunProgram("folder " + Quoted(tree.Root() / "videos/PRIVATE/AVCHDL")).status, 0);
}

TEST(RestoreCommand, JsonHoldsTheVerdictThePlanAndTheResult) {
  TempTree tree;
  tree.File("copy/AVCHD/BDMV/STREAM/00001.MTS", 6145);
  WriteEmptyManagementFiles(tree.Root() / "copy/AVCHD");
  const auto run = RunProgram("folder --json --yes " + Quoted(tree.Root() / "copy/AVCHD"));
  EXPECT_EQ(run.status, 0);
  const auto document = ValidReport(run.output);
  EXPECT_EQ(document["schema"], 1);
  EXPECT_EQ(document["verdict"], "repair-required");
  EXPECT_EQ(document["mode"], "folder");
  EXPECT_EQ(document["avchd_folder"], (tree.Root() / "copy/AVCHD").string());
  EXPECT_EQ(document["result_state"], 0);
  EXPECT_EQ(document["result_3d"], 0);
  EXPECT_TRUE(document["error"].is_null());
  EXPECT_EQ(document["restore_required"], true);
  EXPECT_EQ(document["committed"], true);
  ASSERT_EQ(document["plan"]["truncate"].size(), 1u);
  EXPECT_EQ(document["plan"]["truncate"][0]["size"], 6145);
  EXPECT_EQ(document["plan"]["truncate"][0]["new_size"], 6144);
  EXPECT_TRUE(document["plan"]["write"].is_array());
  EXPECT_TRUE(document["plan"]["delete"].is_array());
  EXPECT_TRUE(document["plan"]["move"].is_array());
  EXPECT_EQ(fs::file_size(tree.Root() / "copy/AVCHD/BDMV/STREAM/00001.MTS"), 6144u);
}

// Each names the path it concerns and says what to do.
TEST(RestoreCommand, BadTargetsFailWithTheirMessageAndExitStatus3AndSayWhatToDo) {
  TempTree tree;
  tree.File("a-file", 10);
  tree.Folder("empty-card");
  tree.File("card/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 6144);
  const auto root = tree.Root();
  const struct {
    std::string arguments;
    std::string hint;
  } kTargets[] = {
      {"card " + Quoted(root / "missing"),
       (root / "missing").string() +
           " does not exist: give the mount point of the card, an AVCHD folder or a folder of stream files"},
      {"folder " + Quoted(root / "a-file"),
       (root / "a-file").string() + " is a file, not a folder: give the folder that holds the recordings"},
      {"card " + Quoted(root / "empty-card"),
       "no AVCHD tree under " + (root / "empty-card").string() + ": is this the card?"},
      {"card " + Quoted(root / "card/PRIVATE/AVCHD"),
       (root / "card/PRIVATE/AVCHD").string() + " looks like an AVCHD folder: use `velmar-restore folder`"},
      {"folder " + Quoted(root / "card"),
       (root / "card").string() + " looks like the root of a card: use `velmar-restore card`"},
  };
  for (const auto& target : kTargets) {
    const auto run = RunProgram(target.arguments + " --json");
    EXPECT_EQ(run.status, 3) << target.arguments;
    const auto document = ValidReport(run.output);
    EXPECT_EQ(document["verdict"], "failed");
    EXPECT_EQ(document["error"]["id"], 104);
    EXPECT_EQ(document["error"]["text"], AAA::StringTable::Text(104, AAA::StringTable::Language::English));
    EXPECT_EQ(document["error"]["hint"], target.hint) << target.arguments;
  }
  const auto run = RunProgram("build --json " + Quoted(tree.Root() / "x/AVCHD/BDMV/STREAM"));
  EXPECT_EQ(run.status, 3);
}

TEST(RestoreCommand, ACommandLineThatDoesNotParseExitsWith64AtAnyLevel) {
  for (const char* arguments : {"card", "folder /tmp --lang fr", "repair /tmp", "--colour", "-l", "inspect", "scan a b",
                                "undo", "backups --all", "sample a b", "inspect --rewrite"}) {
    EXPECT_EQ(RunProgram(arguments).status, 64) << arguments;
  }
  EXPECT_EQ(RunProgram("--help").status, 0);
  EXPECT_NE(RunProgram("--help").output.find("Exit status: 0 nothing to repair"), std::string::npos);
}

TEST(RestoreCommand, TheSampleCardIsRepairedAndThenNeedsNothing) {
  TempTree tree;
  const auto run = RunProgram("sample " + Quoted(tree.Root()));
  EXPECT_EQ(run.status, 0) << run.output;
  const auto repair = run.output.find("Verification and repair");
  const auto again = run.output.find("Verification of the repaired card");
  ASSERT_NE(repair, std::string::npos);
  ASSERT_NE(again, std::string::npos);
  const std::string first = run.output.substr(repair, again - repair);
  for (const char* line :
       {"PLAYLIST/00001.MPL (playlist: corrected)\n", "CLIPINF/00003.CPI (clip information: corrected)\n", "truncate ",
        "INDEX.BDM (index table: corrected)\n", "In all: 4 files written, 0 deleted, 0 moved, 1 cut.\n"}) {
    EXPECT_NE(first.find(line), std::string::npos) << line;
  }
  // What was found, file by file, with the fields and their rules.
  const auto found = first.find("What was found:\n");
  ASSERT_NE(found, std::string::npos);
  std::string findings = first.substr(found, first.find("What the repair does:\n") - found);
  for (auto at = findings.find(tree.Root().string()); at != std::string::npos; at = findings.find(tree.Root().string()))
    findings.replace(at, tree.Root().string().size(), "ROOT");
  EXPECT_EQ(findings,
            "What was found:\n"
            "  ROOT/card/PRIVATE/AVCHD/BDMV/CLIPINF/00003.CPI: the clip information of 00003 does not agree with its "
            "stream: it will be corrected.\n"
            "      Clip information file.blkClipInfo.NumberOfSourcePackets: 9344 -> 7008 "
            "(newClipInformationFile.blkClipInfo.NumberOfSourcePackets)\n"
            "      Clip information file.blkSequenceInfo.STCSequence.PresentationEndTime: 315270 -> 247702 "
            "(newClipInformationFile.blkSequenceInfo.blkSTCSequenceArray[i].PresentationEndTime)\n"
            "      Clip information file.blkCPI.blkEPMap.StreamPIDEntry.NumberOfEPFineEntries: 12 -> 9 "
            "(newClipInformationFile.blkCPI.blkEPMap.blkStreamPIDEntryArray[0].NumberOfEPFineEntries)\n"
            "  ROOT/card/PRIVATE/AVCHD/BDMV/PLAYLIST/00000.MPL: the playlist 00000 does not agree with the clips it "
            "plays: it will be corrected.\n"
            "      Movie PlayList file.blkPlayList.blkPlayItem.OUTTime: 315270 -> 247702 (itPlayItem->OUTTime <= "
            "clipInfo->blkSequenceInfo.blkSTCSequenceArray[itPlayItem->RefToSTCID].PresentationEndTime)\n"
            "  ROOT/card/PRIVATE/AVCHD/BDMV/PLAYLIST/00001.MPL: the playlist 00001 does not agree with the clips it "
            "plays: it will be corrected.\n"
            "      Movie PlayList file.blkPlayList.blkPlayItem.INTime: 22500 -> 45000 (itPlayItem->INTime >= "
            "clipInfo->blkSequenceInfo.blkSTCSequenceArray[itPlayItem->RefToSTCID].PresentationStartTime)\n"
            "      Movie PlayList file.blkPlayList.blkPlayItem.OUTTime: 270135 -> 180135 (itPlayItem->OUTTime <= "
            "clipInfo->blkSequenceInfo.blkSTCSequenceArray[itPlayItem->RefToSTCID].PresentationEndTime)\n"
            "  ROOT/card/PRIVATE/AVCHD/BDMV/STREAM/00003.MTS: the recording 00003 was cut short: 1.50 s at its end "
            "cannot be played and is left out of its clip.\n"
            "\n");
  // The damaged playlist is written again, not written and deleted.
  EXPECT_EQ(first.find("delete   "), std::string::npos) << first;
  EXPECT_NE(first.find(Restore::Texts::Text(UiText::Completed)), std::string::npos);
  EXPECT_NE(run.output.substr(again).find(Restore::Texts::Text(UiText::NotRequired)), std::string::npos);
  EXPECT_EQ(fs::file_size(tree.Root() / "card/PRIVATE/AVCHD/BDMV/STREAM/00003.MTS") % 6144, 0u);
}
