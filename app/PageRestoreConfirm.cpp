#include "app/PageRestoreConfirm.h"

#include "app/Texts.h"
#include "restorelib/Restore_Backup.h"
#include "restorelib/Restore_PairWorkflow.h"
#include "restorelib/Restore_PlanText.h"

namespace {

// What the verification of `run` found and what its commit does. The files
// of the tree are named from the tree's folder, shown above the report.
QString ReportOf(const Restore::RestoreMain& run) {
  const auto findings = run.Findings();
  QString text;
  if (!findings.empty())
    text += Localized("What was found:\n", "見つかったこと:\n") +
            QString::fromStdString(Restore::FindingsText(findings)) + "\n";
  text +=
      Localized("What the repair does:\n", "復旧で行うこと:\n") + QString::fromStdString(Restore::PlanText(run.Plan()));
  return text.replace(QString::fromStdString((run.AvchdFolderPath() / "").string()), QString());
}

}  // namespace

PageRestoreConfirmBase::PageRestoreConfirmBase(Wizard& wizard, int templateId, bool threeD)
    : WizardPageBase(wizard, templateId, UiText::ConfirmTitle, UiText::ErrorFound),
      threeD_(threeD),
      firstPath_(MakePathField(this, "path")),
      secondPath_(threeD ? MakePathField(this, "secondPath") : nullptr),
      report_(new QPlainTextEdit(this)) {
  if (wizard.Mode() == Restore::Mode::StreamFiles)
    setSubTitle(Localized("An AVCHD tree will be made in this folder and its stream files moved into it.",
                          "このフォルダーにAVCHDツリーを作成し、ストリームファイルをその中へ移動します。"));
  report_->setObjectName(QStringLiteral("report"));
  report_->setReadOnly(true);
  report_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  auto* column = threeD ? LayOutPaths({"icon-confirm", "icon-3d"}, firstPath_, secondPath_)
                        : LayOutPaths({"icon-confirm"}, firstPath_, nullptr);
  column->addWidget(report_, 1);
  connect(&timer_, &QTimer::timeout, this, &PageRestoreConfirmBase::OnTick);
}

void PageRestoreConfirmBase::OnSetActive() {
  SetWizardButtons(Buttons::Next);
  ShowPath(firstPath_, First().AvchdFolderPath());
  if (threeD_) ShowPath(secondPath_, Second().AvchdFolderPath());
  ShowReport();
  nextText_ = Sheet().buttonText(QWizard::NextButton);
  Sheet().setButtonText(QWizard::NextButton, Sheet().Mode() == Restore::Mode::StreamFiles
                                                 ? Localized("Build the tree", "ツリーを作成")
                                                 : Localized("Repair now", "今すぐ復旧"));
  // The pair's partner is the tree in the reader now.
  WatchForChanges(threeD_ ? Second().AvchdFolderPath() : First().AvchdFolderPath());
  commitRequested_ = false;
  timer_.start(Sheet().Settings().TickMilliseconds);
}

void PageRestoreConfirmBase::ShowReport() {
  QString text = ReportOf(First());
  if (threeD_)
    text = QString::fromStdString(First().AvchdFolderPath().string()) + "\n" + text + "\n" +
           QString::fromStdString(Second().AvchdFolderPath().string()) + "\n" + ReportOf(Second());
  text += "\n" +
          Localized("Before anything is written, all it changes is saved in ",
                    "書き込みの前に、変更するものはすべて次の場所に保存されます: ") +
          QString::fromStdString(Restore::DefaultBackupRoot().string()) + "\n";
  report_->setPlainText(text);
  // Saved apart from the page, the report names its tree.
  Sheet().Report = threeD_ ? text : QString::fromStdString(First().AvchdFolderPath().string()) + "\n" + text;
  Sheet().Outcome = {};
  Describe(First(), Sheet().Outcome);
  if (threeD_) Describe(Second(), Sheet().Outcome.Partner.emplace_back());
}

void PageRestoreConfirmBase::Describe(const Restore::RestoreMain& run, RestoreReport::Outcome& outcome) const {
  RestoreReport::Describe(run, Sheet().Mode(), outcome);
  outcome.RestoreRequired = run.ResultState() == Restore::Verdict::RepairRequired;
  outcome.Plan = run.Plan();
}

void PageRestoreConfirmBase::RestoreNextButton() { Sheet().setButtonText(QWizard::NextButton, nextText_); }

int PageRestoreConfirmBase::OnWizNext() {
  if (commitRequested_) return NextAfterCommit();
  watch_.Stop();
  SetWizardButtons(Buttons::None);
  Sheet().EnableCancel(false);
  commitRequested_ = true;
  return kStay;
}

void PageRestoreConfirmBase::OnTick() {
  if (!commitRequested_) return;
  timer_.stop();
  if (!Commit()) return;
  Sheet().DiscardPendingInput();
  Sheet().PressNext();
}

bool PageRestoreConfirmBase::Succeeded(Restore::RestoreMain& run) {
  if (run.ResultState() != Restore::Verdict::Failed) {
    Sheet().NoteCommit(run);
    return true;
  }
  Sheet().ShowError(run.ErrorString());
  Sheet().PressCancel();
  return false;
}

bool PageRestoreConfirmBase::OnQueryCancel() {
  watch_.Stop();
  RestoreNextButton();
  DestroyFirst();
  if (threeD_) DestroySecond();
  return true;
}

void PageRestoreConfirmBase::OnKillActive() {
  RestoreNextButton();
  timer_.stop();
  watch_.Stop();
}

bool PageRestoreConfirm::Commit() {
  First().Commit();
  if (!Succeeded(First())) return false;
  DestroyFirst();
  return true;
}

bool PageRestoreConfirmBase::CommitBoth() {
  if (const auto refused =
          Restore::PairWorkflow::CheckStillPartner(Sheet().Settings().CreateRun, Second(), First(), Sheet().Mode())) {
    Sheet().ShowError(refused->ErrorString());
    Sheet().PressCancel();
    return false;
  }
  const auto [earlier, later] = Restore::PairWorkflow::CommitOrder(First(), Second(), Sheet().Mode());
  earlier->Commit();
  if (!Succeeded(*earlier)) return false;
  later->Commit();
  if (!Succeeded(*later)) return false;
  DestroyBoth();
  return true;
}

bool PageRestoreConfirm3d_2::Commit() {
  bothCommitted_ = Restore::PairWorkflow::BothReachable(First(), Second());
  if (bothCommitted_) return CommitBoth();
  // One reader: the card in it now first; the first card once it is back.
  Second().Commit();
  return Succeeded(Second());
}
