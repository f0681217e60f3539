#pragma once

#include <memory>

#include "tests/app/FakeSystem.h"
#include "tests/app/WizardDriver.h"
#include "tests/app/WizardTrees.h"
#include "tests/restorelib/TempTree.h"

// A wizard on trees of a test's own, with fake removable drives, fast
// timers and the message boxes answered.
struct WizardFixture : testing::Test {
  TempTree tree;
  FakeSystem system{tree.Root() / "system"};
  WizardSettings settings;
  MessageBoxes boxes;
  std::unique_ptr<Wizard> wizard;

  WizardFixture() {
    settings.Drives = system.Sources();
    settings.PicturesFolder = QString::fromStdString((tree.Root() / "Pictures").string());
    settings.TickMilliseconds = 20;
    settings.DriveRefreshMilliseconds = 20;
    settings.CreateRun = [](const std::filesystem::path& target, Restore::Mode mode) {
      return std::make_unique<Restore::RestoreMain>(target, mode);
    };
  }

  WizardDriver Open(Restore::Mode mode) {
    wizard = std::make_unique<Wizard>(mode, settings, nullptr);
    wizard->show();
    return WizardDriver(*wizard);
  }

  // The left and the right AVCHD folder of one recording, `damaged` or
  // repaired as a pair; `secondEye` 'L' makes two left folders.
  std::pair<std::filesystem::path, std::filesystem::path> FolderPair(bool damaged, char secondEye = 'R') {
    const auto left = tree.Root() / "left/AVCHD";
    const auto right = tree.Root() / "right/AVCHD";
    EyeTree(left, 'L', damaged);
    EyeTree(right, secondEye, damaged);
    if (!damaged) RepairAsPair(left, right);
    return {left, right};
  }

  // A folder that stands for a card in a reader: a removable drive mounted there.
  std::filesystem::path Card(const std::string& name) {
    const auto mountPoint = tree.Folder("media/" + name);
    system.Mount(
        mountPoint,
        {.Name = "sd" + std::string(1, static_cast<char>('b' + cards_++)), .Vendor = "Velmar", .Model = "Reader"});
    return mountPoint;
  }

 private:
  int cards_ = 0;
};
