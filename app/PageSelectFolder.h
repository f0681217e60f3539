#pragma once

#include <QGridLayout>
#include <QPushButton>

#include "app/WizardPage.h"

// The folder pages: the folder chosen with the folder chooser (button 301)
// is shown in the path field 305. Folders on memory cards are refused: they
// are repaired as cards.
class PageSelectFolderBase : public WizardPageBase {
  Q_OBJECT

 public:
  PageSelectFolderBase(Wizard& wizard, int templateId, UiText title, UiText subTitle, Restore::Mode mode);

  void OnSetActive() override;
  // Creates the first run for the chosen folder.
  int OnWizNext() override;

 protected:
  std::filesystem::path ChosenPath() const;
  Restore::Mode RunMode() const { return mode_; }
  QGridLayout* Grid() const { return grid_; }

  QPlainTextEdit* path_;

 private:
  void OpenChooser();
  void OnChosen(const QString& folder);

  Restore::Mode mode_;
  QPushButton* open_;
  QGridLayout* grid_;
};

// The AVCHD or AVCHDL folder to repair.
class PageSelectFolder : public PageSelectFolderBase {
  Q_OBJECT

 public:
  explicit PageSelectFolder(Wizard& wizard)
      : PageSelectFolderBase(wizard, 104, UiText::SelectFolderTitle, UiText::SelectFolder, Restore::Mode::AvchdFolder) {
  }
};

// The folder of stream files to build a tree from.
class PageSelectFolder_Ex : public PageSelectFolderBase {
  Q_OBJECT

 public:
  explicit PageSelectFolder_Ex(Wizard& wizard)
      : PageSelectFolderBase(wizard, 104, UiText::SelectStreamFilesTitle, UiText::SelectStreamFiles,
                             Restore::Mode::StreamFiles) {}
};

// The partner folder of a 3D pair, shown beside the first one with the
// channel each holds; the first tree is watched while the page waits.
class PageSelectFolder3dBase : public PageSelectFolderBase {
  Q_OBJECT

 public:
  PageSelectFolder3dBase(Wizard& wizard, UiText title, UiText subTitle, Restore::Mode mode);

  void OnSetActive() override;
  int OnWizNext() override;
  bool OnQueryCancel() override;
  void OnKillActive() override { watch_.Stop(); }

 private:
  QPlainTextEdit* firstPath_;
  QLabel* firstChannel_;
  QLabel* secondChannel_;
};

class PageSelectFolder3d : public PageSelectFolder3dBase {
  Q_OBJECT

 public:
  explicit PageSelectFolder3d(Wizard& wizard)
      : PageSelectFolder3dBase(wizard, UiText::SelectFolderTitle, UiText::SelectOtherChannelFolder,
                               Restore::Mode::AvchdFolder) {}
};

class PageSelectFolder3d_Ex : public PageSelectFolder3dBase {
  Q_OBJECT

 public:
  explicit PageSelectFolder3d_Ex(Wizard& wizard)
      : PageSelectFolder3dBase(wizard, UiText::SelectStreamFilesTitle, UiText::SelectOtherChannelStreamFiles,
                               Restore::Mode::StreamFiles) {}
};
