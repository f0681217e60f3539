#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWizardPage>
#include <initializer_list>

#include "app/ChangeWatch.h"
#include "app/Texts.h"
#include "app/Wizard.h"

// The base of every wizard page. A page reacts to becoming active, to Next
// (stay, go to the following page or to a page named by its template), to
// the user asking to cancel, to being left, and to its timer.
class WizardPageBase : public QWizardPage {
  Q_OBJECT

 public:
  // What a Next handler returns besides the template of the page to go to.
  static constexpr int kStay = -2;
  static constexpr int kFollowing = -3;

  // The page is set up from its dialog template: an interior page has the
  // header texts `title` and `subTitle`, an exterior page none.
  WizardPageBase(Wizard& wizard, int templateId, UiText title, UiText subTitle);
  WizardPageBase(Wizard& wizard, int templateId);

  int TemplateId() const { return templateId_; }

  virtual void OnSetActive() {}
  virtual int OnWizNext() { return kFollowing; }
  // true lets the wizard close.
  virtual bool OnQueryCancel() { return true; }
  virtual void OnKillActive() {}

  // QWizardPage
  void initializePage() override;
  bool validatePage() override;
  int nextId() const override;
  bool isComplete() const override { return buttons_ != Buttons::None; }

 protected:
  enum class Buttons { None, Next, Finish };
  // The wizard buttons the page offers; Cancel is apart (Wizard::EnableCancel).
  void SetWizardButtons(Buttons buttons);

  Wizard& Sheet() const { return wizard_; }
  Restore::RestoreMain& First() const { return *wizard_.First(); }
  Restore::RestoreMain& Second() const { return *wizard_.Second(); }
  void DestroyFirst() { wizard_.First().reset(); }
  void DestroySecond() { wizard_.Second().reset(); }
  void DestroyBoth();

  // A read-only path field (controls 305 and 306).
  static QPlainTextEdit* MakePathField(QWidget* parent, const char* name);
  // An icon of the templates beside the page's controls.
  static QLabel* MakeIcon(QWidget* parent, const char* picture);
  static void ShowPath(QPlainTextEdit* field, const std::filesystem::path& path);
  // Lays the page out as a column of icons on the left and a column with the
  // path fields (305, and 306 on the pages of a pair) on the right; returns
  // the right column for what follows.
  QVBoxLayout* LayOutPaths(std::initializer_list<const char*> icons, QPlainTextEdit* first, QPlainTextEdit* second);

  // Watches `folder` until the page leaves, commits or is cancelled; a change
  // shows ChangedByAnotherProgram and cancels the wizard.
  void WatchForChanges(const std::filesystem::path& folder);

  QTimer timer_;
  ChangeWatch watch_;

 private:
  Wizard& wizard_;
  int templateId_;
  Buttons buttons_ = Buttons::None;
  int target_ = kFollowing;
};
