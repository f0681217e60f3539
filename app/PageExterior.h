#pragma once

#include "app/WizardPage.h"

// The last pages, with the watermark: the result in a bold title (308) and a
// line below it (309). Only Finish is offered.
class PageExteriorBase : public WizardPageBase {
  Q_OBJECT

 public:
  PageExteriorBase(Wizard& wizard, int templateId, int titleTextId, int bodyTextId, bool threeD);

  void OnSetActive() override;
};

class PageRestoreFinishedBase : public PageExteriorBase {
  Q_OBJECT

 public:
  PageRestoreFinishedBase(Wizard& wizard, int templateId, bool threeD)
      : PageExteriorBase(wizard, templateId, 1060, 1061, threeD) {}
};

class PageRestoreNotRequiredBase : public PageExteriorBase {
  Q_OBJECT

 public:
  PageRestoreNotRequiredBase(Wizard& wizard, int templateId, bool threeD)
      : PageExteriorBase(wizard, templateId, 1070, 1071, threeD) {}
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
