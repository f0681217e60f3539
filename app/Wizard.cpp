#include "app/Wizard.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>

#include "app/PageExterior.h"
#include "app/PageRestoreConfirm.h"
#include "app/PageSelectDrive.h"
#include "app/PageSelectFolder.h"
#include "app/PageVerifying.h"
#include "app/Pictures.h"
#include "app/Texts.h"
#include "restorelib/Restore_PairWorkflow.h"

Wizard::Wizard(Restore::Mode mode, const WizardSettings& settings, QWidget* owner)
    : QWizard(owner), mode_(mode), settings_(settings) {
  setWizardStyle(ModernStyle);
  setWindowTitle(Text(UiText::ProgramTitle));
  setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint);
  setMinimumSize(640, 460);
  setPixmap(LogoPixmap, Pictures::Picture(mode == Restore::Mode::MemoryCard ? "header-card" : "header-folder"));
  // One way only: no page offers Back.
  setButtonLayout({Stretch, NextButton, FinishButton, CancelButton});
  AddPages();
  connect(this, &QWizard::currentIdChanged, this, &Wizard::OnPageChanged);
}

// The runs go first: their destruction waits for a worker that may still
// call back into a page, and a worker still verifying is told to stop.
Wizard::~Wizard() {
  for (auto* run : {first_.get(), second_.get()}) {
    if (run != nullptr) run->RequestCancel();
  }
  second_.reset();
  first_.reset();
}

void Wizard::AddPages() {
  std::vector<WizardPageBase*> pages;
  switch (mode_) {
    case Restore::Mode::MemoryCard:
      pages = {new PageSelectDrive(*this),        new PageVerifying(*this),
               new PageSelectDrive3d(*this),      new PageVerifying3d(*this),
               new PageRestoreConfirm3d_2(*this), new PageSelectDrive3d_2(*this),
               new PageRestoreFinished3d(*this),  new PageRestoreNotRequired3d(*this),
               new PageRestoreConfirm(*this),     new PageRestoreFinished(*this),
               new PageRestoreNotRequired(*this)};
      break;
    case Restore::Mode::AvchdFolder:
      pages = {new PageSelectFolder(*this),         new PageVerifying(*this),        new PageSelectFolder3d(*this),
               new PageVerifying3d(*this),          new PageRestoreConfirm3d(*this), new PageRestoreFinished3d(*this),
               new PageRestoreNotRequired3d(*this), new PageRestoreConfirm(*this),   new PageRestoreFinished(*this),
               new PageRestoreNotRequired(*this)};
      break;
    default:
      pages = {new PageSelectFolder_Ex(*this),      new PageVerifying(*this),        new PageSelectFolder3d_Ex(*this),
               new PageVerifying3d(*this),          new PageRestoreConfirm3d(*this), new PageRestoreFinished3d(*this),
               new PageRestoreNotRequired3d(*this), new PageRestoreConfirm(*this),   new PageRestoreFinished(*this),
               new PageRestoreNotRequired(*this)};
      break;
  }
  for (auto* page : pages) {
    order_.push_back(page->TemplateId());
    setPage(page->TemplateId(), page);
  }
  setStartId(order_.front());
}

std::unique_ptr<Restore::RestoreMain> Wizard::CreateRun(const std::filesystem::path& target, Restore::Mode mode) {
  auto run = settings_.CreateRun(target, mode);
  if (run->ResultState() == Restore::Verdict::RepairRequired) return run;
  ShowError(run->ErrorString());
  return nullptr;
}

std::unique_ptr<Restore::RestoreMain> Wizard::CreatePartnerRun(const std::filesystem::path& target, Restore::Mode mode,
                                                               Restore::RestoreMain& other) {
  auto run = Restore::PairWorkflow::OpenPartner(settings_.CreateRun, target, mode, other);
  if (run->ResultState() == Restore::Verdict::RepairRequired) return run;
  ShowError(run->ErrorString());
  return nullptr;
}

void Wizard::NoteCommit(const Restore::RestoreMain& run) {
  if (!run.BackupFolder().empty()) Backups.push_back({run.BackupFolder(), run.WorkingFolder()});
  // The two cards of one reader share their folder; their channels differ.
  for (auto* tree : {&Outcome, Outcome.Partner.empty() ? nullptr : &Outcome.Partner.front()}) {
    if (tree == nullptr || tree->AvchdFolder != run.AvchdFolderPath().string() || tree->Result3d != run.Result3d())
      continue;
    tree->Committed = tree->RestoreRequired;
    tree->Backup = run.BackupFolder().string();
  }
}

void Wizard::PressNext() { QMetaObject::invokeMethod(this, &QWizard::next, Qt::QueuedConnection); }

void Wizard::SwitchTo(Restore::Mode mode) {
  switchedTo_ = mode;
  PressCancel();
}

void Wizard::PressCancel() {
  QMetaObject::invokeMethod(
      this, [this] { Cancel(); }, Qt::QueuedConnection);
}

void Wizard::EnableCancel(bool enabled) { button(CancelButton)->setEnabled(enabled); }

void Wizard::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, Text(UiText::ProgramTitle), text, QMessageBox::Ok, this);
  box.exec();
}

void Wizard::DiscardPendingInput() {
  setEnabled(false);
  QCoreApplication::processEvents();
  setEnabled(true);
}

int Wizard::FollowingPage(int pageId) const {
  const auto at = std::find(order_.begin(), order_.end(), pageId);
  return at == order_.end() || std::next(at) == order_.end() ? -1 : *std::next(at);
}

WizardPageBase* Wizard::CurrentPage() const { return qobject_cast<WizardPageBase*>(currentPage()); }

// Cancel, Escape and the window's close box: refused while Cancel is disabled.
void Wizard::reject() {
  if (button(CancelButton)->isEnabled()) Cancel();
}

void Wizard::Cancel() {
  if (active_ != nullptr && !active_->OnQueryCancel()) return;
  if (active_ != nullptr) active_->OnKillActive();
  active_ = nullptr;
  QWizard::reject();
}

void Wizard::OnPageChanged(int id) {
  if (active_ != nullptr) active_->OnKillActive();
  active_ = qobject_cast<WizardPageBase*>(page(id));
}
