#pragma once

#include <optional>
#include <string>

#include "aaalib/AAA_StringTable.h"

class QApplication;

// What the command line of velmar-restorer says: "-l N" sets the threshold
// of the diagnostic log, "--lang en" or "--lang ja" forces the language of
// the texts (otherwise the environment decides); "--help" and "--version"
// print and end the program without a window. Anything else is ignored.
struct StartOptions {
  int LogThreshold = 0;
  std::optional<AAA::StringTable::Language> Language;
  // What to print instead of opening the window.
  std::optional<std::string> PrintOnly;
};

StartOptions ParseCommandLine(int argc, const char* const* argv);

// Applies the options: the log threshold, the language of the string table,
// and Qt's own texts (button labels, file chooser) in that language.
void ApplyStartOptions(const StartOptions& options, QApplication& application);

// The exit status of the program when the main menu ends with `result`: the
// menu's Exit and its window closed are a normal end (0).
int ProgramExitStatus(int result);
