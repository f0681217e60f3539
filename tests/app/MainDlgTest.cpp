// The main menu and the start-up options: exit codes, Escape and Enter, the
// menu hidden while a wizard runs.
#include <QSignalSpy>

#include "app/MainDlg.h"
#include "app/StartUp.h"
#include "app/Texts.h"
#include "tests/app/WizardDriver.h"

namespace {

struct MainMenu : testing::Test {
  CMainDlg menu{WizardSettings()};
  QSignalSpy finished{&menu, &QDialog::finished};

  MainMenu() {
    menu.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&menu));
  }

  CColorButton* ModeButton(const char* name) { return menu.findChild<CColorButton*>(name); }
};

// Watches, from inside the wizard's own loop, what is shown while it runs;
// then closes it.
struct WhileWizardRuns {
  bool menuVisible = true;
  std::optional<Restore::Mode> mode;
  QTimer timer;
  WhileWizardRuns(CMainDlg& menu) {
    QObject::connect(&timer, &QTimer::timeout, [this, &menu] {
      auto* wizard = qobject_cast<Wizard*>(QApplication::activeModalWidget());
      if (wizard == nullptr || !wizard->isVisible()) return;
      timer.stop();
      menuVisible = menu.isVisible();
      mode = wizard->Mode();
      wizard->reject();
    });
    timer.start(5);
  }
};

}  // namespace

TEST_F(MainMenu, ShowsTheTitleAndTheTextsOfTheThreeModes) {
  EXPECT_EQ(menu.windowTitle(), "Velmar Restorer V3.0");
  EXPECT_EQ(ModeButton("memoryCard")->text(), Text(UiText::RestoreMemoryCard));
  EXPECT_EQ(ModeButton("avchdFolder")->text(), Text(UiText::RestoreAvchdFolder));
  EXPECT_EQ(ModeButton("streamFiles")->text(), Text(UiText::MakeAvchdFolder));
  EXPECT_EQ(menu.findChild<QPushButton*>("exit")->text(), "E&xit");
}

TEST_F(MainMenu, ExitEndsWith310) {
  menu.findChild<QPushButton*>("exit")->click();
  ASSERT_EQ(finished.count(), 1);
  EXPECT_EQ(finished.at(0).at(0).toInt(), 310);
}

TEST_F(MainMenu, ClosingTheWindowEndsWith2) {
  menu.close();
  ASSERT_EQ(finished.count(), 1);
  EXPECT_EQ(finished.at(0).at(0).toInt(), 2);
}

TEST_F(MainMenu, EscapeDoesNothing) {
  ModeButton("avchdFolder")->setFocus();
  QTest::keyClick(ModeButton("avchdFolder"), Qt::Key_Escape);
  QTest::keyClick(&menu, Qt::Key_Escape);
  QTest::qWait(20);
  EXPECT_EQ(finished.count(), 0);
  EXPECT_TRUE(menu.isVisible());
}

TEST_F(MainMenu, EnterPressesTheFocusedButtonAndTheMenuIsHiddenWhileItsWizardRuns) {
  ModeButton("streamFiles")->setFocus();
  WhileWizardRuns watch(menu);
  QTest::keyClick(ModeButton("streamFiles"), Qt::Key_Return);
  EXPECT_EQ(watch.mode, Restore::Mode::StreamFiles);
  EXPECT_FALSE(watch.menuVisible);
  // Back from the wizard, the menu is there for the next repair.
  EXPECT_TRUE(menu.isVisible());
  EXPECT_EQ(finished.count(), 0);
  WhileWizardRuns again(menu);
  ModeButton("memoryCard")->click();
  EXPECT_EQ(again.mode, Restore::Mode::MemoryCard);
  EXPECT_TRUE(menu.isVisible());
}

TEST(StartUp, TheLogThresholdComesFromDashLAndAnythingElseIsIgnored) {
  const auto threshold = [](std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "velmar-restorer");
    return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data()).LogThreshold;
  };
  EXPECT_EQ(threshold({"-l", "8"}), 8);
  EXPECT_EQ(threshold({"--lang", "ja", "-l", "4", "extra"}), 4);
  EXPECT_EQ(threshold({"-l", "0"}), 0);
  EXPECT_EQ(threshold({"-l", "x"}), 0);
  EXPECT_EQ(threshold({"-l"}), 0);
  EXPECT_EQ(threshold({}), 0);
}

TEST(StartUp, HelpAndVersionPrintWithoutAWindowAndTheMenuEndsTheProgramWithZero) {
  const char* help[] = {"velmar-restorer", "--help"};
  ASSERT_TRUE(ParseCommandLine(2, help).PrintOnly.has_value());
  EXPECT_EQ(ParseCommandLine(2, help).PrintOnly->rfind("Usage: velmar-restorer", 0), 0u);
  const char* version[] = {"velmar-restorer", "--lang", "ja", "--version"};
  EXPECT_EQ(ParseCommandLine(4, version).PrintOnly, std::string("Velmar Restorer V") + VELMAR_VERSION + "\n");
  const char* window[] = {"velmar-restorer", "--lang"};
  EXPECT_FALSE(ParseCommandLine(2, window).PrintOnly.has_value());
  EXPECT_EQ(ProgramExitStatus(CMainDlg::kExitCode), 0);
  EXPECT_EQ(ProgramExitStatus(CMainDlg::kCloseCode), 0);
}

TEST(StartUp, TheLanguageCanBeForced) {
  const char* japanese[] = {"velmar-restorer", "--lang", "ja"};
  EXPECT_EQ(ParseCommandLine(3, japanese).Language, AAA::StringTable::Language::Japanese);
  const char* english[] = {"velmar-restorer", "--lang", "en"};
  EXPECT_EQ(ParseCommandLine(3, english).Language, AAA::StringTable::Language::English);
  const char* other[] = {"velmar-restorer", "--lang", "fr"};
  EXPECT_FALSE(ParseCommandLine(3, other).Language.has_value());
}
