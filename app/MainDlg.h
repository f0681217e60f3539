#pragma once

#include <QDialog>
#include <QPushButton>

#include "app/ColorButton.h"
#include "app/Texts.h"
#include "app/Wizard.h"

// The main menu: one large button per mode and Exit. A mode button hides
// the menu, runs that mode's wizard and shows the menu again. The dialog
// ends with 310 through Exit and with 2 when it is closed; Escape does not
// close it, and Enter presses the focused button.
class CMainDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kExitCode = 310;
  static constexpr int kCloseCode = 2;

  explicit CMainDlg(const WizardSettings& settings, QWidget* parent = nullptr);

  void RunWizard(Restore::Mode mode);

 public slots:
  void reject() override { done(kCloseCode); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CColorButton* AddModeButton(const char* name, UiText text, const char* picture, Restore::Mode mode);

  WizardSettings settings_;
};
