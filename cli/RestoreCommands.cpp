// velmar-restore card MOUNT_POINT | folder AVCHD_FOLDER | build STREAM_FOLDER:
// verifies the tree with a progress bar, shows the verdict and the plan,
// and repairs it when the user agrees.
#include "cli/RestoreCommands.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "aaalib/AAA_Log.h"
#include "aaalib/AAA_StringTable.h"
#include "cli/Command.h"
#include "cli/RestoreConsole.h"
#include "cli/RestoreReport.h"
#include "restorelib/Restore_RestoreMain.h"

namespace {

using AAA::StringTable::Language;
using AAA::StringTable::Text;

enum ExitStatus { kDone = 0, kNotRepaired = 1, kCancelled = 2, kFailed = 3, kUsage = 64 };

std::string RepairQuestion() {
  return AAA::StringTable::CurrentLanguage() == Language::Japanese ? "今すぐ復旧しますか？" : "Restore it now?";
}

class Restoration {
 public:
  explicit Restoration(const RestoreOptions& options)
      : options_(options),
        // With a diagnostic log on standard output, people read standard error.
        human_(options.json                ? nullptr
               : AAA::Log::Threshold() > 0 ? stderr
                                           : stdout) {}

  int Run() {
    const bool terminal = isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
    Restore::RestoreMain run(options_.path, options_.mode);
    if (run.ResultState() == -1) return Finish(run, kFailed);

    RestoreConsole::Verify(run, isatty(STDERR_FILENO), terminal);
    if (run.ResultState() == 2) {
      Say(Text(AAA::MessageId::Cancelled));
      return Finish(run, kCancelled);
    }
    if (run.ResultState() == -1) return Finish(run, kFailed);
    if (run.ResultState() == 1) {
      Say(Text(1070) + "\n" + Text(1071));
      return Finish(run, kDone);
    }

    outcome_.RestoreRequired = true;
    outcome_.Plan = run.Plan();
    Say(Text(1040) + "\n" + Text(1041) + "\n\n" + RestoreReport::PlanText(outcome_.Plan));
    bool repair = options_.yes;
    if (!options_.check && !repair && terminal) {
      RestoreConsole::InterruptWatch watch;  // Ctrl-C here answers no
      repair = RestoreConsole::Ask(RepairQuestion(), STDIN_FILENO, stderr, false);
    }
    if (options_.check || !repair) return Finish(run, kNotRepaired);

    run.Commit();
    if (run.ResultState() == -1) return Finish(run, kFailed);
    outcome_.Committed = true;
    Say(Text(1060) + "\n" + Text(1061));
    return Finish(run, kDone);
  }

 private:
  void Say(const std::string& text) const {
    if (human_ == nullptr) return;
    std::fprintf(human_, "%s\n", text.c_str());
    std::fflush(human_);
  }

  int Finish(const Restore::RestoreMain& run, int status) {
    outcome_.Mode = options_.mode;
    outcome_.AvchdFolder = run.AvchdFolderPath().string();
    outcome_.ResultState = run.ResultState();
    outcome_.Result3d = run.Result3d();
    if (run.ResultState() == -1) {
      outcome_.Error = run.ErrorString();
      // As the error box shows it: the program title, then the message.
      if (!options_.json) std::fprintf(stderr, "%s\n%s\n", Text(1000).c_str(), run.ErrorString().c_str());
    }
    if (options_.json) std::cout << RestoreReport::ToJson(outcome_).dump(2) << std::endl;
    return status;
  }

  const RestoreOptions& options_;
  std::FILE* human_;
  RestoreReport::Outcome outcome_;
};

}  // namespace

int RunRestoration(const RestoreOptions& options) { return Restoration(options).Run(); }

namespace {

void AddRestoreCommand(CLI::App& app, const char* name, const char* description, const char* argument, int mode) {
  auto options = std::make_shared<RestoreOptions>();
  options->mode = mode;
  CLI::App* command = app.add_subcommand(name, description);
  command->add_option(argument, options->path)->required();
  command->add_flag("--yes", options->yes, "repair without asking");
  command->add_flag("--check", options->check, "verify and report, never write");
  command->add_flag("--json", options->json, "print the verdict, the plan and the result as JSON");
  command->add_option("--lang", options->language, "language of the texts")->check(CLI::IsMember({"en", "ja"}));
  command->fallthrough();
  command->preparse_callback([](std::size_t) { Command::UsageExitCode() = kUsage; });
  command->callback([options] {
    if (!options->language.empty()) {
      AAA::StringTable::SetLanguage(options->language == "ja" ? Language::Japanese : Language::English);
    }
    Command::ExitCode() = RunRestoration(*options);
  });
}

const Command restoreCommands([](CLI::App& app) {
  AddRestoreCommand(app, "card", "repair the AVCHD tree of a memory card", "MOUNT_POINT", Restore::ModeMemoryCard);
  AddRestoreCommand(app, "folder", "repair an AVCHD or AVCHDL folder", "AVCHD_FOLDER", Restore::ModeAvchdFolder);
  AddRestoreCommand(app, "build", "build an AVCHD tree from a folder of stream files", "STREAM_FOLDER",
                    Restore::ModeStreamFiles);
});

}  // namespace
