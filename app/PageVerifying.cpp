#include "app/PageVerifying.h"

#include <QMessageBox>
#include <QVBoxLayout>

#include "app/Texts.h"

PageVerifyingBase::PageVerifyingBase(Wizard& wizard, int templateId, bool threeD)
    : WizardPageBase(wizard, templateId, UiText::VerifyingTitle, UiText::Verifying),
      threeD_(threeD),
      firstPath_(MakePathField(this, "path")),
      secondPath_(threeD ? MakePathField(this, "secondPath") : nullptr),
      progress_(new QProgressBar(this)),
      status_(new QLabel(this)) {
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setTextVisible(false);
  status_->setObjectName(QStringLiteral("status"));
  status_->setWordWrap(true);
  auto* column = threeD ? LayOutPaths({"icon-3d"}, firstPath_, secondPath_) : LayOutPaths({}, firstPath_, nullptr);
  column->addSpacing(8);
  column->addWidget(progress_);
  column->addWidget(status_);
  column->addStretch(1);
  connect(&timer_, &QTimer::timeout, this, &PageVerifyingBase::OnTick);
}

void PageVerifyingBase::OnSetActive() {
  SetWizardButtons(Buttons::None);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  status_->clear();
  ShowPath(firstPath_, First().AvchdFolderPath());
  if (threeD_) ShowPath(secondPath_, Second().AvchdFolderPath());
  remaining_ = Restore::RemainingTime(Restore::RemainingTime::Clock::now());
  timer_.start(Sheet().Settings().TickMilliseconds);
  result_ = {};
  heldBack_.reset();
  Run().Start(this, &PageVerifyingBase::Completed);
}

// On the worker: the results go to the window's thread, where the page
// handles them; no widget is touched here.
void PageVerifyingBase::Completed(const Restore::ResultBlock& result) {
  auto* page = static_cast<PageVerifyingBase*>(result.Context);
  QMetaObject::invokeMethod(
      page, [page, result] { page->OnCompleted(result); }, Qt::QueuedConnection);
}

void PageVerifyingBase::OnCompleted(const Restore::ResultBlock& result) {
  if (asking_) {
    heldBack_ = result;
    return;
  }
  timer_.stop();
  result_ = result;
  if (result_.ResultState == Restore::Verdict::Cancelled) {
    Sheet().PressCancel();
  } else if (result_.ResultState == Restore::Verdict::Failed) {
    Sheet().ShowError(result_.ErrorString);
    Sheet().PressCancel();
  } else {
    Sheet().PressNext();
  }
}

void PageVerifyingBase::OnTick() {
  const std::uint32_t progress = Run().Progress();
  if (progress == 0) return;
  // Once the cancel is requested the status line keeps saying so.
  if (!Run().IsCancelRequested()) {
    status_->setText(QString::fromStdString(remaining_.Text(progress, Restore::RemainingTime::Clock::now())));
  }
  progress_->setValue(static_cast<int>(progress));
}

bool PageVerifyingBase::OnQueryCancel() {
  if (result_.ResultState == Restore::Verdict::Cancelled || result_.ResultState == Restore::Verdict::Failed) {
    DestroyRuns();
    return true;
  }
  Run().RequestPause();
  timer_.stop();
  remaining_.PauseBegan(Restore::RemainingTime::Clock::now());
  if (AskCancel()) {
    Run().RequestCancel();
    status_->setText(Text(UiText::Cancelling));
  }
  remaining_.PauseEnded(Restore::RemainingTime::Clock::now());
  Run().Resume();
  timer_.start(Sheet().Settings().TickMilliseconds);
  if (heldBack_) {
    OnCompleted(*heldBack_);
    heldBack_.reset();
  }
  return false;
}

bool PageVerifyingBase::AskCancel() {
  asking_ = true;
  QMessageBox question(QMessageBox::Question, Text(UiText::ProgramTitle), Text(UiText::AskCancel),
                       QMessageBox::Yes | QMessageBox::No, &Sheet());
  const bool yes = question.exec() == QMessageBox::Yes;
  asking_ = false;
  return yes;
}

int PageVerifying::OnWizNext() {
  if (result_.Result3d != Restore::Channel3d::None) return kFollowing;
  if (result_.ResultState != Restore::Verdict::NotRequired) return 108;
  DestroyFirst();
  return 113;
}

int PageVerifying3d::OnWizNext() {
  First().VerifyMain3d(Second());
  if (First().ResultState() == Restore::Verdict::Failed) {
    Sheet().ShowError(First().ErrorString());
    // The Cancel below closes the wizard without asking again.
    result_.ResultState = Restore::Verdict::Failed;
    Sheet().PressCancel();
    return kStay;
  }
  if (First().ResultState() == Restore::Verdict::NotRequired &&
      Second().ResultState() == Restore::Verdict::NotRequired) {
    DestroyBoth();
    return 114;
  }
  return kFollowing;
}
