#include "app/MainDlg.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "app/Pictures.h"
#include "app/Texts.h"

CMainDlg::CMainDlg(const WizardSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setWindowTitle(Text(UiText::ProgramTitle));
  auto* column = new QVBoxLayout(this);
  column->addWidget(AddModeButton("memoryCard", UiText::RestoreMemoryCard, "header-card", Restore::Mode::MemoryCard));
  column->addWidget(
      AddModeButton("avchdFolder", UiText::RestoreAvchdFolder, "header-folder", Restore::Mode::AvchdFolder));
  column->addWidget(AddModeButton("streamFiles", UiText::MakeAvchdFolder, "header-folder", Restore::Mode::StreamFiles));
  auto* exit = new QPushButton(Text(UiText::Exit), this);
  exit->setObjectName(QStringLiteral("exit"));
  exit->setAutoDefault(false);
  exit->installEventFilter(this);
  column->addWidget(exit, 0, Qt::AlignRight);
  connect(exit, &QPushButton::clicked, this, [this] { done(kExitCode); });
  installEventFilter(this);
}

CColorButton* CMainDlg::AddModeButton(const char* name, UiText text, const char* picture, Restore::Mode mode) {
  auto* button = new CColorButton(this);
  button->setObjectName(QString::fromLatin1(name));
  // The theme's colours of text on a plain background: dark text on white in
  // a light theme, and light on dark in a dark one.
  button->SetColors(palette().color(QPalette::Text), palette().color(QPalette::Base));
  button->SetPicture(Pictures::Picture(picture));
  button->setText(Text(text));
  button->installEventFilter(this);
  connect(button, &QPushButton::clicked, this, [this, mode] { RunWizard(mode); });
  return button;
}

void CMainDlg::RunWizard(Restore::Mode mode) {
  hide();
  for (std::optional<Restore::Mode> next = mode; next;) {
    auto wizard = std::make_unique<Wizard>(*next, settings_, nullptr);
    wizard->exec();
    next = wizard->SwitchedTo();
  }
  show();
}

// Applied before the dialog's own key handling: Escape is swallowed, and
// Enter becomes Space, which presses the focused button rather than a
// default one.
bool CMainDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
    return QDialog::eventFilter(watched, event);
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Escape) return event->type() == QEvent::KeyPress;
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    QKeyEvent space(event->type(), Qt::Key_Space, key->modifiers(), QStringLiteral(" "), key->isAutoRepeat());
    QCoreApplication::sendEvent(watched, &space);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
