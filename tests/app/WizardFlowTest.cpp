// Whole flows of the wizard, driven through its buttons on real trees: the
// three modes, 3D pairs with the card swap, cancelling, a tree that changes
// while the user reads, and the refusals of the selection pages.
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <fstream>
#include <iterator>

#include "app/PageExterior.h"
#include "app/Texts.h"
#include "restorelib/Restore_Backup.h"
#include "tests/app/WizardFixture.h"
#include "tests/cli_restore/Report.h"

namespace fs = std::filesystem;
using Restore::Mode;

TEST_F(WizardFixture, AFolderWithAnErrorIsRepairedAndThenVerifiesClean) {
  const auto avchd = tree.Root() / "copy/AVCHD";
  DamagedTree(avchd);
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ReachPage(104));
  EXPECT_FALSE(user.CanPress(QWizard::NextButton));
  ASSERT_TRUE(user.ChooseFolder(avchd));
  EXPECT_EQ(user.PathField(), QString::fromStdString(avchd.string()));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ReachPage(108));
  EXPECT_EQ(user.PathField(), QString::fromStdString(avchd.string()));
  // The page says what was found and what the commit will do, and its
  // button what it does.
  const QString report = user.Find<QPlainTextEdit>("report")->toPlainText();
  EXPECT_TRUE(report.contains("What was found:\n")) << report.toStdString();
  EXPECT_TRUE(report.contains("What the repair does:\n  write    ")) << report.toStdString();
  EXPECT_TRUE(report.contains("In all: ")) << report.toStdString();
  EXPECT_TRUE(report.contains(QString::fromStdString(Restore::DefaultBackupRoot().string())));
  EXPECT_EQ(user.Button(QWizard::NextButton)->text(), QStringLiteral("Repair now"));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  // While the commit waits for its tick nothing can be pressed, and the
  // window cannot be closed.
  EXPECT_FALSE(user.CanPress(QWizard::NextButton));
  EXPECT_FALSE(user.Button(QWizard::CancelButton)->isEnabled());
  wizard->close();
  EXPECT_TRUE(wizard->isVisible());
  ASSERT_TRUE(user.ReachPage(111));
  EXPECT_EQ(wizard->First(), nullptr);
  EXPECT_FALSE(user.Button(QWizard::CancelButton)->isEnabled());
  // The report is saved as the page showed it, with the result.
  auto* finished = static_cast<PageRestoreFinishedBase*>(wizard->currentPage());
  ASSERT_TRUE(finished->SaveReport(QString::fromStdString((tree.Root() / "report.txt").string())));
  QFile saved(QString::fromStdString((tree.Root() / "report.txt").string()));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QString savedText = QString::fromUtf8(saved.readAll());
  EXPECT_TRUE(savedText.startsWith(QString::fromStdString(avchd.string()) + "\n" + report));
  EXPECT_TRUE(savedText.contains(Text(UiText::Completed)));
  // As JSON, it is the command line's report of the same repair.
  const auto json = tree.Root() / "report.json";
  ASSERT_TRUE(finished->SaveReport(QString::fromStdString(json.string())));
  std::ifstream jsonFile(json);
  const auto document = ValidReport(std::string(std::istreambuf_iterator<char>(jsonFile), {}));
  EXPECT_EQ(document["mode"], "folder");
  EXPECT_EQ(document["verdict"], "repair-required");
  EXPECT_EQ(document["avchd_folder"], avchd.string());
  EXPECT_TRUE(document["committed"]);
  EXPECT_FALSE(document["plan"]["write"].empty());
  ASSERT_EQ(wizard->Backups.size(), 1u);
  EXPECT_EQ(document["backup"], wizard->Backups.front().Folder.string());
  EXPECT_FALSE(finished->SaveReport(QString::fromStdString((tree.Root() / "no/such/folder/report.txt").string())));
  EXPECT_EQ(boxes.All().size(), 1u);
  ASSERT_TRUE(user.Press(QWizard::FinishButton));
  ASSERT_TRUE(user.Closed());
  EXPECT_EQ(wizard->result(), QDialog::Accepted);
  EXPECT_EQ(boxes.All().size(), 1u);
  EXPECT_EQ(VerdictOf(avchd, Mode::AvchdFolder), Restore::Verdict::NotRequired);
}

TEST_F(WizardFixture, AFolderWithoutErrorsGoesStraightToNoRestoreRequired) {
  const auto avchd = tree.Root() / "copy/AVCHD";
  CleanTree(avchd);
  const auto before = Snapshot(avchd);
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(avchd));
  ASSERT_TRUE(user.ReachPage(113));
  EXPECT_EQ(wizard->First(), nullptr);
  EXPECT_EQ(user.Find<QLabel>("title")->text(), Text(UiText::NotRequired));
  EXPECT_EQ(user.Find<QLabel>("body")->text(), Text(UiText::NoErrorFound));
  ASSERT_TRUE(user.Press(QWizard::FinishButton));
  ASSERT_TRUE(user.Closed());
  EXPECT_EQ(Snapshot(avchd), before);
}

TEST_F(WizardFixture, BareStreamsBecomeATreeBesideThem) {
  const auto videos = tree.Root() / "Pictures/Velmar Viewer/videos";
  WriteRecordings(videos);
  auto user = Open(Mode::StreamFiles);
  ASSERT_TRUE(user.ReachPage(104));
  EXPECT_EQ(wizard->currentPage()->title(), Text(UiText::SelectStreamFilesTitle));
  ASSERT_TRUE(user.ChooseFolderAndGoOn(videos));
  // Its confirmation says that a tree is made, not that an error was found.
  ASSERT_TRUE(user.ReachPage(108));
  EXPECT_EQ(wizard->currentPage()->subTitle(),
            QStringLiteral("An AVCHD tree will be made in this folder and its stream files moved into it."));
  EXPECT_EQ(user.Button(QWizard::NextButton)->text(), QStringLiteral("Build the tree"));
  ASSERT_TRUE(user.ConfirmAndFinish(108, 111));
  EXPECT_TRUE(fs::exists(videos / "PRIVATE/AVCHDL/BDMV/STREAM/00002.m2ts"));
  EXPECT_FALSE(fs::exists(videos / "00001.MTS"));
  EXPECT_EQ(VerdictOf(videos / "PRIVATE/AVCHDL", Mode::AvchdFolder), Restore::Verdict::NotRequired);
}

TEST_F(WizardFixture, TheCardOfARemovableDriveIsRepaired) {
  const auto card = Card("CAM CARD");
  DamagedTree(card / "PRIVATE/AVCHD");
  auto user = Open(Mode::MemoryCard);
  ASSERT_TRUE(user.ReachPage(101));
  ASSERT_TRUE(WaitUntil([&] { return user.Find<QComboBox>("drives")->count() == 1; }));
  EXPECT_EQ(user.Find<QComboBox>("drives")->currentText(), QString::fromStdString(card.string() + " Velmar Reader"));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ConfirmAndFinish(108, 111));
  EXPECT_EQ(VerdictOf(card, Mode::MemoryCard), Restore::Verdict::NotRequired);
}

TEST_F(WizardFixture, APairOfFoldersIsCheckedVerifiedAndCommittedTogether) {
  const auto [left, right] = FolderPair(true);
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(left));
  ASSERT_TRUE(user.ReachPage(105));
  EXPECT_EQ(user.PathField("firstPath"), QString::fromStdString(left.string()));
  EXPECT_EQ(user.Find<QLabel>("firstChannel")->text(), "L channel:");
  EXPECT_EQ(user.Find<QLabel>("secondChannel")->text(), "R channel:");
  EXPECT_FALSE(user.CanPress(QWizard::NextButton));
  ASSERT_TRUE(user.ChooseFolderAndGoOn(right));
  ASSERT_TRUE(user.ReachPage(109));
  EXPECT_EQ(user.PathField("path"), QString::fromStdString(left.string()));
  EXPECT_EQ(user.PathField("secondPath"), QString::fromStdString(right.string()));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ReachPage(112));
  EXPECT_EQ(wizard->First(), nullptr);
  EXPECT_EQ(wizard->Second(), nullptr);
  ASSERT_TRUE(user.Press(QWizard::FinishButton));
  EXPECT_TRUE(boxes.All().empty());
  EXPECT_EQ(VerdictOf(left, Mode::AvchdFolder), Restore::Verdict::NotRequired);
  EXPECT_EQ(VerdictOf(right, Mode::AvchdFolder), Restore::Verdict::NotRequired);
}

TEST_F(WizardFixture, ThePartnerOfTheSameEyeIsRefusedWith114AndTheUserStays) {
  const auto [left, alsoLeft] = FolderPair(true, 'L');
  const auto before = Snapshot(tree.Root());
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(left));
  ASSERT_TRUE(user.ReachPage(105));
  ASSERT_TRUE(user.ChooseFolderAndGoOn(alsoLeft));
  ASSERT_TRUE(WaitUntil([&] { return boxes.All().size() == 1; }));
  EXPECT_EQ(boxes.All()[0].Text, Text(114));
  EXPECT_EQ(boxes.All()[0].Caption, Text(UiText::ProgramTitle));
  EXPECT_EQ(boxes.All()[0].Icon, QMessageBox::Critical);
  QTest::qWait(50);
  EXPECT_EQ(wizard->currentId(), 105);
  EXPECT_EQ(wizard->Second(), nullptr);
  ASSERT_TRUE(user.Press(QWizard::CancelButton));
  ASSERT_TRUE(user.Closed());
  EXPECT_EQ(wizard->First(), nullptr);
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

TEST_F(WizardFixture, OneCardReaderSwapsTheCardsAndCommitsTheFirstOnlyWhenItIsBack) {
  // Both cards are kept beside the one reader; the test swaps what it holds.
  const auto reader = Card("CARD");
  const auto leftCard = tree.Root() / "cards/left";
  const auto rightCard = tree.Root() / "cards/right";
  EyeTree(leftCard / "PRIVATE/AVCHD", 'L', true);
  EyeTree(rightCard / "PRIVATE/AVCHD", 'R', true);
  const auto insert = [&](const fs::path& card) { fs::rename(card / "PRIVATE", reader / "PRIVATE"); };
  const auto eject = [&](const fs::path& card) { fs::rename(reader / "PRIVATE", card / "PRIVATE"); };

  insert(leftCard);
  auto user = Open(Mode::MemoryCard);
  ASSERT_TRUE(user.ReachPage(101));
  ASSERT_TRUE(user.ChooseDrive(reader));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ReachPage(102));
  eject(leftCard);
  insert(rightCard);
  ASSERT_TRUE(user.ChooseDrive(reader));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ReachPage(110));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  // The card in the reader has been written; the first one must come back.
  ASSERT_TRUE(user.ReachPage(103));
  EXPECT_EQ(VerdictOf(reader, Mode::MemoryCard), Restore::Verdict::NotRequired);
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(WaitUntil([&] { return boxes.All().size() == 1; }));
  EXPECT_EQ(boxes.All()[0].Text, Text(114));
  QTest::qWait(50);
  EXPECT_EQ(wizard->currentId(), 103);
  EXPECT_NE(wizard->First(), nullptr);
  eject(rightCard);
  insert(leftCard);
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ReachPage(112));
  ASSERT_TRUE(user.Press(QWizard::FinishButton));
  EXPECT_EQ(VerdictOf(reader, Mode::MemoryCard), Restore::Verdict::NotRequired);
  eject(leftCard);
  EXPECT_EQ(VerdictOf(rightCard, Mode::MemoryCard), Restore::Verdict::NotRequired);
}

TEST_F(WizardFixture, TwoCardReadersCommitBothCardsOnTheConfirmationPage) {
  const auto leftCard = Card("LEFT");
  const auto rightCard = Card("RIGHT");
  EyeTree(leftCard / "PRIVATE/AVCHD", 'L', true);
  EyeTree(rightCard / "PRIVATE/AVCHD", 'R', true);
  auto user = Open(Mode::MemoryCard);
  ASSERT_TRUE(user.ChooseDrive(rightCard));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ReachPage(102));
  // The drive chosen before stays selected while the list is refreshed.
  QTest::qWait(60);
  EXPECT_TRUE(user.Find<QComboBox>("drives")->currentText().startsWith(QString::fromStdString(rightCard.string())));
  ASSERT_TRUE(user.ChooseDrive(leftCard));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ReachPage(110));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ReachPage(112));
  EXPECT_EQ(VerdictOf(leftCard, Mode::MemoryCard), Restore::Verdict::NotRequired);
  EXPECT_EQ(VerdictOf(rightCard, Mode::MemoryCard), Restore::Verdict::NotRequired);
}

TEST_F(WizardFixture, APairWithNothingToRepairEndsWithoutConfirmation) {
  const auto [left, right] = FolderPair(false);
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(left));
  ASSERT_TRUE(user.ReachPage(105));
  ASSERT_TRUE(user.ChooseFolderAndGoOn(right));
  ASSERT_TRUE(user.ReachPage(114));
  EXPECT_EQ(wizard->First(), nullptr);
  EXPECT_EQ(wizard->Second(), nullptr);
}

TEST_F(WizardFixture, AFileDeletedWhileTheConfirmationWaitsCancelsWith1080AndNothingIsWritten) {
  const auto avchd = tree.Root() / "copy/AVCHD";
  DamagedTree(avchd);
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(avchd));
  ASSERT_TRUE(user.ReachPage(108));
  fs::remove(avchd / "BDMV/STREAM/00001.MTS");
  const auto before = Snapshot(tree.Root());
  ASSERT_TRUE(user.Closed());
  EXPECT_EQ(wizard->result(), QDialog::Rejected);
  ASSERT_EQ(boxes.Texts(), std::vector<QString>{Text(UiText::ChangedByAnotherProgram)});
  EXPECT_EQ(wizard->First(), nullptr);
  QTest::qWait(50);
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

TEST_F(WizardFixture, AChangeAfterNextIsIgnored) {
  const auto avchd = tree.Root() / "copy/AVCHD";
  DamagedTree(avchd);
  settings.TickMilliseconds = 300;
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(avchd));
  ASSERT_TRUE(user.ReachPage(108));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  std::ofstream(avchd / "BDMV/NOTE.TXT") << "written by another program";
  ASSERT_TRUE(user.ReachPage(111));
  EXPECT_TRUE(boxes.All().empty());
}

TEST_F(WizardFixture, AFolderOnAMemoryCardIsRefusedWith1081) {
  const auto card = Card("CARD");
  DamagedTree(card / "PRIVATE/AVCHD");
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolder(card / "PRIVATE/AVCHD"));
  ASSERT_TRUE(WaitUntil([&] { return boxes.All().size() == 1; }));
  EXPECT_EQ(boxes.All()[0].Text, Text(UiText::FolderOnMemoryCard));
  EXPECT_EQ(user.PathField(), "");
  EXPECT_FALSE(user.CanPress(QWizard::NextButton));
}

TEST_F(WizardFixture, TheFolderChooserStartsInTheViewersFolder) {
  const auto viewer = tree.Folder("Pictures/Velmar Viewer");
  auto user = Open(Mode::StreamFiles);
  user.Find<QAbstractButton>("open")->click();
  QFileDialog* chooser = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (chooser = wizard->findChild<QFileDialog*>("folderChooser")) != nullptr; }));
  EXPECT_EQ(chooser->directory().absolutePath(), QString::fromStdString(viewer.string()));
  // The desktop's own chooser where there is one.
  EXPECT_FALSE(chooser->testOption(QFileDialog::DontUseNativeDialog));
  EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
  chooser->reject();
  QTest::qWait(20);
  EXPECT_EQ(user.PathField(), "");
}

TEST_F(WizardFixture, AFolderTheUserMayNotWriteIsRefusedAndThePageStaysUsable) {
  const auto avchd = tree.Root() / "copy/AVCHD";
  DamagedTree(avchd);
  settings.CreateRun = [](const fs::path& target, Restore::Mode mode) {
    auto volume = Restore::Utility::VolumeQueries();
    volume.IsWritableForUser = [](const fs::path&) { return false; };
    return std::make_unique<Restore::RestoreMain>(target, mode, volume);
  };
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(avchd));
  ASSERT_TRUE(WaitUntil([&] { return boxes.All().size() == 1; }));
  EXPECT_EQ(boxes.All()[0].Text, Text(108));
  QTest::qWait(30);
  EXPECT_EQ(wizard->currentId(), 104);
  EXPECT_EQ(wizard->First(), nullptr);
  EXPECT_TRUE(user.CanPress(QWizard::NextButton));
}

TEST_F(WizardFixture, AFailureOnTheWorkerIsShownAndTheWizardCloses) {
  const auto avchd = tree.Root() / "copy/AVCHD";
  DamagedTree(avchd);
  const auto before = Snapshot(tree.Root());
  settings.CreateRun = [](const fs::path& target, Restore::Mode mode) {
    return std::make_unique<BrokenStreamRun>(target, mode);
  };
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(avchd));
  ASSERT_TRUE(user.Closed());
  EXPECT_EQ(boxes.Texts(), std::vector<QString>{Text(112)});
  EXPECT_EQ(wizard->First(), nullptr);
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

TEST_F(WizardFixture, ADriveThatDisappearsLeavesTheListAndCannotBeUsed) {
  const auto first = Card("A");
  const auto second = Card("B");
  DamagedTree(first / "PRIVATE/AVCHD");
  auto user = Open(Mode::MemoryCard);
  ASSERT_TRUE(user.ChooseDrive(second));
  // Pulled just before Next: the run finds no tree.
  fs::remove_all(second);
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(WaitUntil([&] { return boxes.All().size() == 1; }));
  EXPECT_EQ(boxes.All()[0].Text, Text(104));
  EXPECT_EQ(wizard->currentId(), 101);
  system.Unmount(second);
  auto* drives = user.Find<QComboBox>("drives");
  ASSERT_TRUE(WaitUntil([&] { return drives->count() == 1; }));
  EXPECT_TRUE(drives->currentText().startsWith(QString::fromStdString(first.string())));
  system.Unmount(first);
  ASSERT_TRUE(WaitUntil([&] { return drives->count() == 0; }));
  EXPECT_FALSE(user.CanPress(QWizard::NextButton));
  // An empty list says what to do and offers the folder mode.
  ASSERT_TRUE(WaitUntil([&] { return user.Find<QLabel>("noDrive")->isVisible(); }));
  auto* folderMode = user.Find<QPushButton>("folderMode");
  EXPECT_TRUE(folderMode->isVisible());
  folderMode->click();
  ASSERT_TRUE(user.Closed());
  EXPECT_EQ(wizard->SwitchedTo(), Mode::AvchdFolder);
}

namespace {

struct CancelFixture : WizardFixture {
  EndlessRun* run = nullptr;
  CancelFixture() {
    settings.CreateRun = [this](const fs::path& target, Restore::Mode mode) {
      auto created = std::make_unique<EndlessRun>(target, mode);
      run = created.get();
      return created;
    };
  }
};

}  // namespace

TEST_F(CancelFixture, CancellingAVerificationAsksWhileTheWorkerIsHeldAndYesCloses) {
  const auto avchd = tree.Root() / "copy/AVCHD";
  DamagedTree(avchd);
  const auto before = Snapshot(tree.Root());
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(avchd));
  ASSERT_TRUE(user.ReachPage(106));
  ASSERT_TRUE(WaitUntil([&] { return run->rounds > 0; }));
  // The remaining time follows the progress.
  auto* status = user.Find<QLabel>("status");
  ASSERT_TRUE(WaitUntil([&] { return status->text().startsWith("Remaining "); }));
  bool held = false;
  boxes.WhileShown([&] {
    const auto rounds = run->rounds.load();
    QTest::qWait(60);
    held = run->rounds.load() <= rounds + 1;
  });
  boxes.Answer(QMessageBox::Yes);
  ASSERT_TRUE(user.Press(QWizard::CancelButton));
  ASSERT_TRUE(user.Closed());
  EXPECT_TRUE(held);
  EXPECT_EQ(boxes.Texts(), std::vector<QString>{Text(UiText::AskCancel)});
  EXPECT_EQ(boxes.All()[0].Icon, QMessageBox::Question);
  EXPECT_EQ(wizard->First(), nullptr);
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

TEST_F(CancelFixture, AnsweringNoLetsTheVerificationGoOn) {
  const auto avchd = tree.Root() / "copy/AVCHD";
  DamagedTree(avchd);
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(avchd));
  ASSERT_TRUE(user.ReachPage(106));
  boxes.Answer(QMessageBox::No);
  ASSERT_TRUE(user.Press(QWizard::CancelButton));
  ASSERT_TRUE(WaitUntil([&] { return boxes.All().size() == 1; }));
  const auto rounds = run->rounds.load();
  ASSERT_TRUE(WaitUntil([&] { return run->rounds > rounds + 5; }));
  EXPECT_EQ(wizard->currentId(), 106);
  EXPECT_FALSE(run->IsCancelRequested());
  run->released = true;
  ASSERT_TRUE(user.ReachPage(108));
}

TEST_F(WizardFixture, TheFinishedPageNamesTheBackupAndUndoesTheRepairAfterAsking) {
  const auto avchd = tree.Root() / "copy/AVCHD";
  DamagedTree(avchd);
  const auto before = Snapshot(avchd);
  auto user = Open(Mode::AvchdFolder);
  ASSERT_TRUE(user.ChooseFolderAndGoOn(avchd));
  ASSERT_TRUE(user.ReachPage(108));
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ReachPage(111));
  ASSERT_EQ(wizard->Backups.size(), 1u);
  const auto folder = QString::fromStdString(wizard->Backups.front().Folder.string());
  EXPECT_TRUE(user.Find<QLabel>("backup")->text().contains("velmar-restore undo " + folder));
  ASSERT_NE(Snapshot(avchd), before);
  boxes.Answer(QMessageBox::Yes);
  user.Find<QPushButton>("undo")->click();
  EXPECT_EQ(Snapshot(avchd), before);
  EXPECT_FALSE(user.Find<QPushButton>("undo")->isEnabled());
  ASSERT_EQ(boxes.All().size(), 2u);
  EXPECT_EQ(boxes.All().back().Text,
            Localized("The repair was undone: every file it changed is as it was before.", ""));
}
