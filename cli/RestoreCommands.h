#pragma once

#include <string>

#include "restorelib/Restore_Mode.h"

// What the card, folder and build commands are asked to do.
struct RestoreOptions {
  std::string path;
  Restore::Mode mode = Restore::Mode::MemoryCard;
  bool yes = false;
  bool check = false;
  bool json = false;
  std::string language;
  std::string pair;       // the tree of the other eye of a 3D recording
  bool swap = false;      // card mode, one reader: the partner card goes where the first was
  std::string backupDir;  // where backups go; empty: the user's data folder
  bool noBackup = false;
};

// Verifies the tree with a progress bar, shows the verdict and the plan and
// repairs it when asked to; returns the exit status of the commands (0 done,
// 1 not repaired, 2 cancelled, 3 failed). A tree holding one eye of 3D
// content is repaired together with the tree of the other eye.
int RunRestoration(const RestoreOptions& options);
