#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "app/Wizard.h"
#include "app/WizardPage.h"

// Lets events run until `done` holds; false after `milliseconds`.
inline bool WaitUntil(const std::function<bool()>& done, int milliseconds = 20000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > milliseconds) return false;
    QTest::qWait(5);
  }
  return true;
}

// Answers the message boxes as they come up, and keeps what they said.
class MessageBoxes : public QObject {
 public:
  struct Shown {
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon;
  };

  MessageBoxes() {
    connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
    timer_.start(5);
  }

  // The next questions are answered with these buttons (otherwise the first button).
  void Answer(QMessageBox::StandardButton button) { answers_.push_back(button); }
  // Runs while the next box is up, before it is answered.
  void WhileShown(std::function<void()> action) { whileShown_ = std::move(action); }

  const std::vector<Shown>& All() const { return shown_; }
  std::vector<QString> Texts() const {
    std::vector<QString> texts;
    for (const auto& box : shown_) texts.push_back(box.Text);
    return texts;
  }

 private:
  void Look() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box->property("answered").toBool()) return;
    box->setProperty("answered", true);
    shown_.push_back({box->windowTitle(), box->text(), box->icon()});
    if (whileShown_) std::exchange(whileShown_, nullptr)();
    QAbstractButton* button = box->buttons().front();
    if (!answers_.empty()) {
      button = box->button(answers_.front());
      answers_.pop_front();
    }
    button->click();
  }

  QTimer timer_;
  std::deque<QMessageBox::StandardButton> answers_;
  std::function<void()> whileShown_;
  std::vector<Shown> shown_;
};

// Drives a wizard as a user does, through its buttons and controls.
class WizardDriver {
 public:
  explicit WizardDriver(Wizard& wizard) : wizard_(&wizard) {}

  // Waits for the page of template `id`.
  ::testing::AssertionResult ReachPage(int id, int milliseconds = 20000) {
    if (!WaitUntil([&] { return wizard_->currentId() == id; }, milliseconds)) {
      return ::testing::AssertionFailure() << "page " << wizard_->currentId() << " instead of " << id;
    }
    // One way only: no page offers Back.
    if (Button(QWizard::BackButton)->isVisible()) return ::testing::AssertionFailure() << "Back on page " << id;
    return ::testing::AssertionSuccess();
  }
  bool Closed(int milliseconds = 20000) {
    return WaitUntil([&] { return !wizard_->isVisible(); }, milliseconds);
  }

  QAbstractButton* Button(QWizard::WizardButton which) const { return wizard_->button(which); }
  bool CanPress(QWizard::WizardButton which) const { return Button(which)->isVisible() && Button(which)->isEnabled(); }
  // Presses Next (or Finish) once it is offered.
  ::testing::AssertionResult Press(QWizard::WizardButton which) {
    if (!WaitUntil([&] { return CanPress(which); })) {
      return ::testing::AssertionFailure() << "button " << which << " not offered on page " << wizard_->currentId();
    }
    Button(which)->click();
    return ::testing::AssertionSuccess();
  }

  template <typename Widget>
  Widget* Find(const char* name) const {
    return wizard_->currentPage()->findChild<Widget*>(QString::fromLatin1(name));
  }
  QString PathField(const char* name = "path") const { return Find<QPlainTextEdit>(name)->toPlainText(); }

  // Chooses `folder` in the folder chooser of the current page.
  ::testing::AssertionResult ChooseFolder(const std::filesystem::path& folder) {
    Find<QAbstractButton>("open")->click();
    QFileDialog* chooser = nullptr;
    if (!WaitUntil([&] { return (chooser = wizard_->findChild<QFileDialog*>("folderChooser")) != nullptr; })) {
      return ::testing::AssertionFailure() << "no folder chooser";
    }
    chooser->selectFile(QString::fromStdString(folder.string()));
    static_cast<QDialog*>(chooser)->accept();  // the chooser's own accept checks the choice
    QTest::qWait(20);
    return ::testing::AssertionSuccess();
  }

  // On the confirmation page `confirmation`: Next, then Finish on the page `finished`.
  ::testing::AssertionResult ConfirmAndFinish(int confirmation, int finished) {
    if (auto reached = ReachPage(confirmation); !reached) return reached;
    if (auto pressed = Press(QWizard::NextButton); !pressed) return pressed;
    if (auto reached = ReachPage(finished); !reached) return reached;
    return Press(QWizard::FinishButton);
  }

  // The same, then Next.
  ::testing::AssertionResult ChooseFolderAndGoOn(const std::filesystem::path& folder) {
    auto chosen = ChooseFolder(folder);
    return chosen ? Press(QWizard::NextButton) : chosen;
  }

  // Selects the entry of the drive list that starts with `mountPoint`.
  ::testing::AssertionResult ChooseDrive(const std::filesystem::path& mountPoint) {
    auto* drives = Find<QComboBox>("drives");
    const QString prefix = QString::fromStdString(mountPoint.string()) + " ";
    int index = -1;
    if (!WaitUntil([&] { return (index = drives->findText(prefix, Qt::MatchStartsWith)) >= 0; })) {
      return ::testing::AssertionFailure() << "no drive " << mountPoint;
    }
    drives->setCurrentIndex(index);
    emit drives->activated(index);
    return ::testing::AssertionSuccess();
  }

 private:
  Wizard* wizard_;
};
