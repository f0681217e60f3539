#pragma once

#include <optional>

#include "aaalib/AAA_StringTable.h"

class QApplication;

// What the command line of velmar-restorer says: "-l N" sets the threshold
// of the diagnostic log, "--lang en" or "--lang ja" forces the language of
// the texts (otherwise the environment decides). Anything else is ignored.
struct StartOptions {
  int LogThreshold = 0;
  std::optional<AAA::StringTable::Language> Language;
};

StartOptions ParseCommandLine(int argc, const char* const* argv);

// Applies the options: the log threshold, the language of the string table,
// and Qt's own texts (button labels, file chooser) in that language.
void ApplyStartOptions(const StartOptions& options, QApplication& application);
