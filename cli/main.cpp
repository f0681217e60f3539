// velmar-restore: the command-line front end of the restorer.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "aaalib/AAA_Log.h"

int main(int argc, char** argv) {
  CLI::App app{"Velmar Restorer: repairs AVCHD recordings cut short on memory cards"};
  app.set_version_flag("--version", std::string("Velmar Restorer V") + VELMAR_VERSION);
  int threshold = 0;
  app.add_option("-l", threshold, "diagnostic log threshold (8 shows everything)");
  CLI11_PARSE(app, argc, argv);
  if (threshold > 0) AAA::Log::SetThreshold(threshold);
  std::printf("Velmar Restorer V%s\n", VELMAR_VERSION);
  return 0;
}
