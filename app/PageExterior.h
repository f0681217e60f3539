#pragma once

#include <QLabel>
#include <QPushButton>

#include "app/WizardPage.h"

// The last pages, with the watermark: the result in a bold title (308) and a
// line below it (309). Only Finish is offered.
class PageExteriorBase : public WizardPageBase {
  Q_OBJECT

 public:
  PageExteriorBase(Wizard& wizard, int templateId, UiText titleText, UiText bodyText, bool threeD);

  void OnSetActive() override;
};

// The result of a repair, with where its backup went, an undo of it and
// the report of what was found and done, saved as text on request.
class PageRestoreFinishedBase : public PageExteriorBase {
  Q_OBJECT

 public:
  PageRestoreFinishedBase(Wizard& wizard, int templateId, bool threeD);
  void OnSetActive() override;
  // Writes the report to `file`: the JSON report when its name ends in
  // ".json", else the text; false (after the error box) when it cannot.
  bool SaveReport(const QString& file);

 private:
  // Asks, then puts the trees back from their backups, the last commit first.
  void UndoRepair();

  QLabel* backup_;
  QPushButton* undo_;
  QPushButton* open_;
  QPushButton* save_;
};

class PageRestoreNotRequiredBase : public PageExteriorBase {
  Q_OBJECT

 public:
  PageRestoreNotRequiredBase(Wizard& wizard, int templateId, bool threeD)
      : PageExteriorBase(wizard, templateId, UiText::NotRequired, UiText::NoErrorFound, threeD) {}
};

class PageRestoreFinished : public PageRestoreFinishedBase {
  Q_OBJECT

 public:
  explicit PageRestoreFinished(Wizard& wizard) : PageRestoreFinishedBase(wizard, 111, false) {}
};

class PageRestoreFinished3d : public PageRestoreFinishedBase {
  Q_OBJECT

 public:
  explicit PageRestoreFinished3d(Wizard& wizard) : PageRestoreFinishedBase(wizard, 112, true) {}
};

class PageRestoreNotRequired : public PageRestoreNotRequiredBase {
  Q_OBJECT

 public:
  explicit PageRestoreNotRequired(Wizard& wizard) : PageRestoreNotRequiredBase(wizard, 113, false) {}
};

class PageRestoreNotRequired3d : public PageRestoreNotRequiredBase {
  Q_OBJECT

 public:
  explicit PageRestoreNotRequired3d(Wizard& wizard) : PageRestoreNotRequiredBase(wizard, 114, true) {}
};
