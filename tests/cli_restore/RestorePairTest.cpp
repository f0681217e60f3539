// velmar-restore on the two trees of a 3D recording, run as a user runs it:
// the partner named ahead or asked for, refused partners, and the cards of
// one reader swapped when the program asks.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_RestoreMain.h"
#include "tests/cli_restore/Report.h"
#include "tests/restorelib/TempTree.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/Recording3d.h"

namespace fs = std::filesystem;
using TestSupport::ProgramConversation;

namespace {

const std::string kProgram = VELMAR_RESTORE_PROGRAM;

using TestSupport::Quoted;

TestSupport::ProgramRun RunProgram(const std::string& arguments) {
  return TestSupport::RunProgram(kProgram, arguments);
}

// A card (mount point `card`) with eye `eye` of recording `recording`: one
// recording with its management files, then a second one cut short without
// them. The right eye's streams are numbered from 10001.
void EyeCard(const fs::path& card, char eye, std::uint8_t recording = 1) {
  const fs::path avchd = card / "PRIVATE/AVCHD";
  const fs::path streams = avchd / "BDMV/STREAM";
  fs::create_directories(streams);
  const std::string number = eye == 'R' ? "1000" : "0000";
  SampleGen::StreamParameters whole;
  whole.groups = 3;
  SampleGen::writeStream(TestSupport::EyeStream(whole, eye), streams / (number + "1.MTS"));
  {
    Restore::RestoreMain run(card, Restore::Mode::MemoryCard);
    run.Start(nullptr, nullptr);
    run.Wait();
    run.Commit();
  }
  TestSupport::MarkAs3dChannel(avchd, eye, TestSupport::MaterialID(recording));
  auto cut = whole;
  cut.padToUnit = false;
  cut.cutAtByte = 300000;
  SampleGen::writeStream(TestSupport::EyeStream(cut, eye), streams / (number + "2.MTS"));
}

struct PairCommand : testing::Test {
  TempTree tree;
  fs::path left = tree.Folder("left");
  fs::path right = tree.Folder("right");
  PairCommand() {
    EyeCard(left, 'L');
    EyeCard(right, 'R');
  }
};

}  // namespace

TEST_F(PairCommand, APartnerNamedAheadIsVerifiedWithTheFirstAndBothAreRepaired) {
  const auto run = RunProgram("card --yes --pair " + Quoted(right) + " " + Quoted(left));
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("The tree holds the L channel of 3D content."), std::string::npos);
  EXPECT_NE(run.output.find("An error was found"), std::string::npos);
  EXPECT_NE(run.output.find("L channel: " + (left / "PRIVATE/AVCHD").string() + "\n"), std::string::npos);
  EXPECT_NE(run.output.find("R channel: " + (right / "PRIVATE/AVCHD").string() + "\n"), std::string::npos);
  EXPECT_NE(run.output.find("The restoration was completed."), std::string::npos);

  // The other eye first: nothing is left to repair in either tree.
  const auto again = RunProgram("card --json --pair " + Quoted(left) + " " + Quoted(right));
  EXPECT_EQ(again.status, 0) << again.output;
  const auto document = ValidReport(again.output);
  EXPECT_EQ(document["result_3d"], 2);
  EXPECT_EQ(document["result_state"], 1);
  EXPECT_EQ(document["partner"]["result_3d"], 1);
  EXPECT_EQ(document["partner"]["result_state"], 1);
}

TEST_F(PairCommand, TheEyeIsToldAndThePartnerAskedFor) {
  ProgramConversation user(kProgram, {"card", "--yes", left.string()});
  ASSERT_TRUE(user.WaitFor("The tree holds the L channel of 3D content."));
  ASSERT_TRUE(user.WaitFor("Tree with the R channel:"));
  user.Send(right.string());
  EXPECT_EQ(user.Finish(), 0) << user.output;
  EXPECT_NE(user.output.find("The restoration was completed."), std::string::npos);
}

TEST_F(PairCommand, WithoutAPartnerNothingIsWritten) {
  const auto before = Snapshot(tree.Root());
  const auto run = RunProgram("card --yes " + Quoted(left));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("--pair"), std::string::npos);
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

TEST_F(PairCommand, BadPartnersAreRefusedWith114AndNothingIsWritten) {
  const auto alsoLeft = tree.Folder("also-left");
  const auto stranger = tree.Folder("stranger");
  EyeCard(alsoLeft, 'L');
  EyeCard(stranger, 'R', 2);
  const auto before = Snapshot(tree.Root());
  for (const auto& partner : {left, alsoLeft, stranger}) {
    const auto run = RunProgram("card --yes --json --pair " + Quoted(partner) + " " + Quoted(left));
    EXPECT_EQ(run.status, 3) << partner;
    const auto document = ValidReport(run.output);
    EXPECT_EQ(document["partner"]["error"]["text"], AAA::StringTable::Text(114, AAA::StringTable::Language::English));
    EXPECT_EQ(document["committed"], false);
  }
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

TEST_F(PairCommand, OneReaderSwapsTheCardsAndTheFirstIsWrittenOnlyWhenItIsBack) {
  const auto reader = tree.Folder("reader");
  const auto insert = [&](const fs::path& card) { fs::rename(card / "PRIVATE", reader / "PRIVATE"); };
  const auto eject = [&](const fs::path& card) { fs::rename(reader / "PRIVATE", card / "PRIVATE"); };
  insert(left);
  const auto leftBefore = Snapshot(reader);
  ProgramConversation user(kProgram, {"card", "--swap", "--yes", reader.string()});
  ASSERT_TRUE(user.WaitFor("Insert the memory card with the R channel at " + reader.string() + " and press Enter."));
  eject(left);
  insert(right);
  user.Send("");
  const std::string firstAgain = "Insert the first memory card (L channel) at " + reader.string() + " again";
  ASSERT_TRUE(user.WaitFor(firstAgain)) << user.output;
  // The right card has been written; it is not the first card.
  user.Send("");
  ASSERT_TRUE(user.WaitFor(AAA::StringTable::Text(114, AAA::StringTable::Language::English)));
  ASSERT_TRUE(user.WaitFor(firstAgain));
  eject(right);
  EXPECT_EQ(Snapshot(left), leftBefore);
  insert(left);
  user.Send("");
  EXPECT_EQ(user.Finish(), 0) << user.output;
  EXPECT_NE(user.output.find("The restoration was completed."), std::string::npos);
  eject(left);
  const auto again = RunProgram("card --pair " + Quoted(right) + " " + Quoted(left));
  EXPECT_EQ(again.status, 0) << again.output;
  EXPECT_NE(again.output.find("The restoration is not required."), std::string::npos);
}

TEST_F(PairCommand, APartnerChangedBeforeTheConfirmationIsRefusedWith114AndNothingIsWritten) {
  const auto stranger = tree.Folder("stranger");
  EyeCard(stranger, 'R', 2);
  ProgramConversation user(kProgram, {"card", "--pair", right.string(), left.string()}, true);
  ASSERT_TRUE(user.WaitFor("R channel: " + (right / "PRIVATE/AVCHD").string()));
  ASSERT_TRUE(user.WaitFor("Restore it now? [y/n]"));
  // Another recording's card in the partner's reader.
  fs::rename(right, tree.Root() / "right-elsewhere");
  fs::rename(stranger, right);
  const auto before = Snapshot(tree.Root());
  user.Send("y");
  EXPECT_EQ(user.Finish(), 3) << user.output;
  EXPECT_TRUE(user.WaitFor(AAA::StringTable::Text(114, AAA::StringTable::Language::English)));
  EXPECT_EQ(Snapshot(tree.Root()), before);
}
