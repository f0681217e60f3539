// Every page of the memory-card mode in English and in Japanese: its titles
// and texts, Qt's own buttons in the same language, and a picture of it
// (written to $VELMAR_SCREENSHOTS when set, for the documentation).
#include <QLabel>
#include <QTranslator>
#include <tuple>

#include "app/MainDlg.h"
#include "app/Pictures.h"
#include "app/StartUp.h"
#include "app/Texts.h"
#include "tests/app/WizardFixture.h"

namespace fs = std::filesystem;
using AAA::StringTable::Language;

namespace {

struct Page {
  int id;
  const char* name;
  UiText title;     // header title, or the bold title of a last page
  UiText subTitle;  // header subtitle, or the text below the bold title
};

constexpr Page kPages[] = {{101, "PageSelectDrive", UiText::SelectCardTitle, UiText::SelectCard},
                           {106, "PageVerifying", UiText::VerifyingTitle, UiText::Verifying},
                           {102, "PageSelectDrive3d", UiText::SelectCardTitle, UiText::SelectOtherChannelCard},
                           {107, "PageVerifying3d", UiText::VerifyingTitle, UiText::Verifying},
                           {110, "PageRestoreConfirm3d_2", UiText::ConfirmTitle, UiText::ErrorFound},
                           {103, "PageSelectDrive3d_2", UiText::SelectCardTitle, UiText::SelectFirstCardAgain},
                           {112, "PageRestoreFinished3d", UiText::Completed, UiText::PlayableAgain},
                           {114, "PageRestoreNotRequired3d", UiText::NotRequired, UiText::NoErrorFound},
                           {108, "PageRestoreConfirm", UiText::ConfirmTitle, UiText::ErrorFound},
                           {111, "PageRestoreFinished", UiText::Completed, UiText::PlayableAgain},
                           {113, "PageRestoreNotRequired", UiText::NotRequired, UiText::NoErrorFound}};

struct PagesInLanguage : WizardFixture, testing::WithParamInterface<Language> {
  std::atomic<bool> hold{false};
  fs::path pictures;
  std::set<int> seen;

  PagesInLanguage() {
    const char* wanted = std::getenv("VELMAR_SCREENSHOTS");
    pictures = wanted != nullptr ? fs::path(wanted) : tree.Root() / "screenshots";
    fs::create_directories(pictures);
    StartOptions options;
    options.Language = GetParam();
    ApplyStartOptions(options, *qApp);
    settings.CreateRun = [this](const fs::path& target, Restore::Mode mode) {
      return std::make_unique<HeldRun>(target, mode, hold);
    };
  }
  ~PagesInLanguage() override {
    for (auto* translator : qApp->findChildren<QTranslator*>()) QCoreApplication::removeTranslator(translator);
    AAA::StringTable::SetLanguage(Language::English);
  }

  std::string Prefix() const { return GetParam() == Language::Japanese ? "ja" : "en"; }

  // Checks the texts of the page shown, and takes its picture.
  void Look(WizardDriver& user, int id) {
    ASSERT_TRUE(user.ReachPage(id));
    const auto page = std::find_if(std::begin(kPages), std::end(kPages), [id](const Page& p) { return p.id == id; });
    QTest::qWait(80);  // a few ticks: the drive list, the remaining time
    auto* shown = wizard->currentPage();
    if (page->id >= 111) {
      EXPECT_EQ(user.Find<QLabel>("title")->text(), Text(page->title)) << page->name;
      EXPECT_EQ(user.Find<QLabel>("body")->text(), Text(page->subTitle)) << page->name;
      EXPECT_TRUE(user.CanPress(QWizard::FinishButton)) << page->name;
      EXPECT_FALSE(user.Button(QWizard::CancelButton)->isEnabled()) << page->name;
    } else {
      EXPECT_EQ(shown->title(), Text(page->title)) << page->name;
      EXPECT_EQ(shown->subTitle(), Text(page->subTitle)) << page->name;
    }
    const auto file = pictures / (Prefix() + "-" + std::to_string(id) + "-" + page->name + ".png");
    EXPECT_TRUE(wizard->grab().save(QString::fromStdString(file.string())));
    EXPECT_GT(fs::file_size(file), 1000u);
    seen.insert(id);
  }

  // A card of each eye, damaged or whole, to be put in `reader` in turn.
  void Cards(const fs::path& cards, bool damaged) {
    EyeTree(cards / "left/PRIVATE/AVCHD", 'L', damaged);
    EyeTree(cards / "right/PRIVATE/AVCHD", 'R', damaged);
  }
};

}  // namespace

TEST_P(PagesInLanguage, EveryPageOfTheMemoryCardModeHasItsTexts) {
  const auto reader = Card("CAM_SD");
  const auto cards = tree.Root() / "cards";
  Cards(cards, true);
  const auto insert = [&](const char* card) { fs::rename(cards / card / "PRIVATE", reader / "PRIVATE"); };
  const auto eject = [&](const char* card) { fs::rename(reader / "PRIVATE", cards / card / "PRIVATE"); };

  // A pair swapped in one reader: every page of a pair that needs a repair.
  insert("left");
  auto user = Open(Restore::Mode::MemoryCard);
  EXPECT_EQ(user.Button(QWizard::NextButton)->text(),
            GetParam() == Language::Japanese ? QString::fromUtf8("次へ(&N) >") : QStringLiteral("&Next >"));
  Look(user, 101);
  hold = true;
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  Look(user, 106);
  hold = false;
  Look(user, 102);
  eject("left");
  insert("right");
  hold = true;
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  Look(user, 107);
  hold = false;
  Look(user, 110);
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  Look(user, 103);
  eject("right");
  insert("left");
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  Look(user, 112);
  ASSERT_TRUE(user.Press(QWizard::FinishButton));
  eject("left");

  // The repaired pair again: nothing to repair.
  insert("left");
  user = Open(Restore::Mode::MemoryCard);
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  ASSERT_TRUE(user.ReachPage(102));
  eject("left");
  insert("right");
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  Look(user, 114);
  eject("right");

  // A single card with an error, and the same card once repaired.
  DamagedTree(reader / "PRIVATE/AVCHD");
  user = Open(Restore::Mode::MemoryCard);
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  Look(user, 108);
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  Look(user, 111);
  user = Open(Restore::Mode::MemoryCard);
  ASSERT_TRUE(user.Press(QWizard::NextButton));
  Look(user, 113);

  EXPECT_EQ(seen.size(), std::size(kPages));
  EXPECT_TRUE(boxes.All().empty());
}

TEST_P(PagesInLanguage, TheMainMenu) {
  CMainDlg menu{settings};
  menu.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  EXPECT_EQ(menu.findChild<CColorButton*>("memoryCard")->text(), Text(UiText::RestoreMemoryCard));
  const auto file = pictures / (Prefix() + "-100-CMainDlg.png");
  EXPECT_TRUE(menu.grab().save(QString::fromStdString(file.string())));
}

TEST(StringTable, EveryTextOfTheWizardIsThereInBothLanguages) {
  using enum UiText;
  for (const UiText id : {ProgramTitle,
                          Exit,
                          RestoreMemoryCard,
                          RestoreAvchdFolder,
                          MakeAvchdFolder,
                          AskCancel,
                          Cancelling,
                          SelectCardTitle,
                          SelectCard,
                          SelectOtherChannelCard,
                          SelectFirstCardAgain,
                          SelectFolderTitle,
                          SelectFolder,
                          Open,
                          SelectOtherChannelFolder,
                          SelectStreamFilesTitle,
                          SelectStreamFiles,
                          SelectOtherChannelStreamFiles,
                          LeftChannel,
                          RightChannel,
                          VerifyingTitle,
                          Verifying,
                          Remaining,
                          Minutes,
                          Seconds,
                          ConfirmTitle,
                          ErrorFound,
                          Completed,
                          PlayableAgain,
                          NotRequired,
                          NoErrorFound,
                          ChangedByAnotherProgram,
                          FolderOnMemoryCard}) {
    EXPECT_FALSE(Restore::Texts::Text(id, Language::English).empty()) << static_cast<int>(id);
    EXPECT_FALSE(Restore::Texts::Text(id, Language::Japanese).empty()) << static_cast<int>(id);
    // The program's name is the same in both.
    if (id != ProgramTitle) {
      EXPECT_NE(Restore::Texts::Text(id, Language::Japanese), Restore::Texts::Text(id, Language::English))
          << static_cast<int>(id);
    }
  }
}

TEST(StringTable, TheEndOfAJapaneseSentenceStaysOnTheLineOfTheWordBeforeIt) {
  EXPECT_EQ(KeepSentenceEndsTogether(QString::fromUtf8("お待ちください。次へ")),
            QString::fromUtf8("お待ちくだ\u2060さ\u2060い\u2060。次へ"));
  EXPECT_EQ(KeepSentenceEndsTogether(QString::fromUtf8("す。")), QString::fromUtf8("す\u2060。"));
}

// Each picture is drawn at the screen's density from its SVG: twice the
// pixels on a screen of ratio 2, shown at the same size.
TEST(Pictures, AreDrawnSharpAtTheScreensPixelDensity) {
  for (const auto& [name, width, height] : {std::tuple{"watermark", 164, 314},
                                            {"header-card", 49, 49},
                                            {"header-folder", 49, 49},
                                            {"icon-3d", 48, 48},
                                            {"icon-confirm", 48, 48},
                                            {"picture-3d", 200, 96}}) {
    for (const qreal ratio : {1.0, 2.0}) {
      const QPixmap picture = Pictures::Picture(name, ratio);
      EXPECT_EQ(picture.size(), QSize(width, height) * ratio) << name;
      EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(width, height)) << name;
      EXPECT_NE(picture.toImage().pixel(width * ratio / 2, height * ratio / 2), 0u) << name << " is blank";
    }
  }
  EXPECT_TRUE(Pictures::ProgramIcon().availableSizes().contains(QSize(256, 256)));
}

INSTANTIATE_TEST_SUITE_P(Languages, PagesInLanguage, testing::Values(Language::English, Language::Japanese),
                         [](const testing::TestParamInfo<Language>& info) {
                           return info.param == Language::Japanese ? std::string("Japanese") : std::string("English");
                         });
