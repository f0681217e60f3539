// velmar-restore: the command-line front end of the restorer.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "aaalib/AAA_Log.h"
#include "cli/Command.h"
#include "cli/ExitStatus.h"

int main(int argc, char** argv) {
  CLI::App app{"Velmar Restorer: repairs AVCHD recordings cut short on memory cards"};
  app.set_version_flag("--version", std::string("Velmar Restorer V") + VELMAR_VERSION);
  int threshold = 0;
  app.add_option("-l", threshold, "diagnostic log threshold: 4 throw sites, 7 adds rule failures, 8 everything");
  app.parse_complete_callback([&threshold] {
    if (threshold > 0) AAA::Log::SetThreshold(threshold);
  });
  app.footer(ExitStatus::kHelpText);
  for (const auto& setup : Command::Registry()) setup(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? ExitStatus::kDone : ExitStatus::kUsage;
  } catch (const std::filesystem::filesystem_error& error) {
    // A path the system refuses (too long, a loop of links, a file where a
    // folder must be): named with the system's reason, never an abort.
    std::fprintf(stderr, "velmar-restore: %s: %s\n", error.path1().c_str(), error.code().message().c_str());
    return ExitStatus::kFailed;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "velmar-restore: %s\n", error.what());
    return ExitStatus::kFailed;
  }
  if (app.get_subcommands().empty()) std::printf("Velmar Restorer V%s\n", VELMAR_VERSION);
  return Command::ExitCode();
}
