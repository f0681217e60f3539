#include "app/PageExterior.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QUrl>
#include <QVBoxLayout>

#include "app/Pictures.h"
#include "app/Texts.h"
#include "restorelib/Restore_Backup.h"

PageExteriorBase::PageExteriorBase(Wizard& wizard, int templateId, UiText titleText, UiText bodyText, bool threeD)
    : WizardPageBase(wizard, templateId) {
  // Only the first and last pages carry the watermark.
  setPixmap(QWizard::WatermarkPixmap, Pictures::Picture("watermark"));
  auto* title = new QLabel(Text(titleText), this);
  title->setObjectName(QStringLiteral("title"));
  title->setWordWrap(true);
  QFont bold(QStringLiteral("Verdana"), 12, QFont::Bold);
  title->setFont(bold);
  auto* body = new QLabel(Text(bodyText), this);
  body->setObjectName(QStringLiteral("body"));
  body->setWordWrap(true);
  auto* column = new QVBoxLayout(this);
  column->addWidget(title);
  column->addSpacing(12);
  column->addWidget(body);
  if (threeD) {
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture3d"));
    picture->setPixmap(Pictures::Picture("picture-3d"));
    column->addSpacing(12);
    column->addWidget(picture, 0, Qt::AlignLeft);
  }
  column->addStretch(1);
}

void PageExteriorBase::OnSetActive() {
  SetWizardButtons(Buttons::Finish);
  Sheet().EnableCancel(false);
}

PageRestoreFinishedBase::PageRestoreFinishedBase(Wizard& wizard, int templateId, bool threeD)
    : PageExteriorBase(wizard, templateId, UiText::Completed, UiText::PlayableAgain, threeD),
      backup_(new QLabel(this)),
      undo_(new QPushButton(Localized("Undo this repair...", "この復旧を元に戻す..."), this)),
      open_(new QPushButton(Localized("Open the backup folder", "バックアップフォルダーを開く"), this)),
      save_(new QPushButton(Localized("Save the report...", "レポートを保存..."), this)) {
  backup_->setObjectName(QStringLiteral("backup"));
  backup_->setWordWrap(true);
  backup_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  undo_->setObjectName(QStringLiteral("undo"));
  open_->setObjectName(QStringLiteral("openBackup"));
  save_->setObjectName(QStringLiteral("saveReport"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(undo_);
  buttons->addWidget(open_);
  buttons->addWidget(save_);
  buttons->addStretch(1);
  auto* column = static_cast<QVBoxLayout*>(layout());
  column->insertWidget(column->count() - 1, backup_);
  column->insertLayout(column->count() - 1, buttons);
  connect(undo_, &QPushButton::clicked, this, [this] { UndoRepair(); });
  connect(save_, &QPushButton::clicked, this, [this] {
    const QString file =
        QFileDialog::getSaveFileName(this, Text(UiText::ProgramTitle), QStringLiteral("velmar-restore-report.txt"),
                                     Localized("Text (*.txt);;JSON (*.json)", "テキスト (*.txt);;JSON (*.json)"));
    if (!file.isEmpty()) SaveReport(file);
  });
  connect(open_, &QPushButton::clicked, this, [this] {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(Sheet().Backups.back().Folder.string())));
  });
}

void PageRestoreFinishedBase::OnSetActive() {
  PageExteriorBase::OnSetActive();
  const bool any = !Sheet().Backups.empty();
  QString text;
  for (const auto& backup : Sheet().Backups) {
    const QString folder = QString::fromStdString(backup.Folder.string());
    text += Localized("Backup of the changes: ", "変更のバックアップ: ") + folder + "\n" +
            Localized("To undo the repair: ", "復旧を元に戻すには: ") + "velmar-restore undo " + folder + "\n";
  }
  backup_->setText(text.trimmed());
  for (QWidget* widget : {static_cast<QWidget*>(backup_), static_cast<QWidget*>(undo_), static_cast<QWidget*>(open_)})
    widget->setVisible(any);
  save_->setVisible(!Sheet().Report.isEmpty());
}

bool PageRestoreFinishedBase::SaveReport(const QString& file) {
  QFile out(file);
  const QByteArray bytes =
      file.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)
          ? QByteArray::fromStdString(RestoreReport::Dump(Sheet().Outcome) + "\n")
          : (Sheet().Report + "\n" + Text(UiText::Completed) + "\n" + backup_->text() + "\n").toUtf8();
  if (out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size() && out.flush())
    return true;
  Sheet().ShowError(Localized("The report could not be saved: ", "レポートを保存できませんでした: ") + file + "\n" +
                    out.errorString());
  return false;
}

void PageRestoreFinishedBase::UndoRepair() {
  const auto answer = QMessageBox::question(
      this, Text(UiText::ProgramTitle),
      Localized("Put the tree back as it was before this repair?", "このツリーを復旧前の状態に戻しますか？"));
  if (answer != QMessageBox::Yes) return;
  QString failures;
  for (auto backup = Sheet().Backups.rbegin(); backup != Sheet().Backups.rend(); ++backup) {
    try {
      const auto plan = Restore::PlanUndo(backup->Folder, backup->Working);
      for (const auto& path : plan.ChangedSince) failures += QString::fromStdString(path.string()) + "\n";
      if (!plan.ChangedSince.empty()) continue;
      for (const auto& path : Restore::Undo(plan, backup->Working, Restore::Utility::VolumeQueries()))
        failures += QString::fromStdString(path.string()) + "\n";
    } catch (const AAA::ExceptionBase& failure) {
      failures += QString::fromStdString(failure.Message()) + "\n";
    }
  }
  undo_->setEnabled(false);
  if (failures.isEmpty()) {
    QMessageBox::information(this, Text(UiText::ProgramTitle),
                             Localized("The repair was undone: every file it changed is as it was before.",
                                       "復旧を元に戻しました。変更したファイルはすべて元の状態です。"));
  } else {
    Sheet().ShowError(Localized("These could not be put back:\n", "次のものを元に戻せませんでした:\n") + failures);
  }
}
