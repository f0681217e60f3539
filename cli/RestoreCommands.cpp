// velmar-restore card MOUNT_POINT | folder AVCHD_FOLDER | build STREAM_FOLDER:
// verifies the tree with a progress bar, shows the verdict and the plan,
// and repairs it when the user agrees. A tree holding one channel of 3D
// content is repaired together with the tree of the other channel.
#include "cli/RestoreCommands.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "aaalib/AAA_Log.h"
#include "aaalib/AAA_StringTable.h"
#include "cli/Command.h"
#include "cli/ExitStatus.h"
#include "cli/RestoreConsole.h"
#include "cli/TargetGuidance.h"
#include "report/RestoreReport.h"
#include "restorelib/Restore_PairWorkflow.h"
#include "restorelib/Restore_PlanText.h"
#include "restorelib/Restore_RestoreMain.h"
#include "restorelib/Restore_Texts.h"

namespace {

using AAA::StringTable::Language;
using AAA::StringTable::Text;
using Restore::UiText;
using Restore::Texts::Text;

using ExitStatus::kCancelled;
using ExitStatus::kDone;
using ExitStatus::kFailed;
constexpr int kNotRepaired = ExitStatus::kNotDone;

std::string Localized(const std::string& english, const std::string& japanese) {
  return AAA::StringTable::CurrentLanguage() == Language::Japanese ? japanese : english;
}

std::string FoundHeading() { return Localized("What was found:\n", "見つかったこと:\n"); }
std::string RepairQuestion() { return Localized("Restore it now?", "今すぐ復旧しますか？"); }

const char* EyeName(Restore::Channel3d eye) { return eye == Restore::Channel3d::Left ? "L" : "R"; }
const char* OtherEyeName(Restore::Channel3d eye) { return eye == Restore::Channel3d::Left ? "R" : "L"; }

// "L channel:" or "R channel:", as beside the paths of the wizard's pages.
std::string EyeLabel(Restore::Channel3d eye) {
  return Text(eye == Restore::Channel3d::Left ? UiText::LeftChannel : UiText::RightChannel);
}

class Restoration {
 public:
  explicit Restoration(const RestoreOptions& options)
      : options_(options),
        // With a diagnostic log on standard output, people read standard error.
        human_(options.json                ? nullptr
               : AAA::Log::Threshold() > 0 ? stderr
                                           : stdout),
        terminal_(isatty(STDIN_FILENO) && isatty(STDERR_FILENO)) {}

  int Run() {
    const auto made = Factory()(options_.path, options_.mode);
    Restore::RestoreMain& run = *made;
    if (run.ResultState() == Restore::Verdict::Failed) return Finish(run, kFailed);
    if (const auto status = Verify(run)) return Finish(run, *status);
    if (run.Result3d() != Restore::Channel3d::None) return RunPair(run);
    if (run.ResultState() == Restore::Verdict::NotRequired) {
      Say(Text(UiText::NotRequired) + "\n" + Text(UiText::NoErrorFound));
      return Finish(run, kDone);
    }

    outcome_.RestoreRequired = true;
    outcome_.Plan = run.Plan();
    Say(Text(UiText::ConfirmTitle) + "\n" + Text(UiText::ErrorFound) + "\n\n" + FindingsText(run) +
        Restore::PlanText(outcome_.Plan));
    SayWhenLocked(run);
    if (!Confirm()) {
      SayNothingWritten();
      return Finish(run, kNotRepaired);
    }
    run.Commit();
    NoteBackup(run, outcome_);
    if (run.ResultState() == Restore::Verdict::Failed) return Finish(run, kFailed);
    outcome_.Committed = true;
    Say(Text(UiText::Completed) + "\n" + Text(UiText::PlayableAgain));
    SayBackup(outcome_);
    return Finish(run, kDone);
  }

 private:
  // The verification with its progress; the exit status when it did not
  // end with a verdict.
  std::optional<int> Verify(Restore::RestoreMain& run) {
    RestoreConsole::Verify(run, isatty(STDERR_FILENO), terminal_);
    if (run.ResultState() == Restore::Verdict::Cancelled) {
      Say(Text(AAA::MessageId::Cancelled));
      return kCancelled;
    }
    for (const auto& line : run.SpecialEntries()) Say(line);
    if (run.ResultState() == Restore::Verdict::Failed) return kFailed;
    return std::nullopt;
  }

  // The two trees of a 3D recording: the partner is checked, verified and
  // checked with the first as a pair; one confirmation commits both.
  int RunPair(Restore::RestoreMain& first) {
    Say(Localized(
        std::string("The tree holds the ") + EyeName(first.Result3d()) + " channel of 3D content.",
        std::string("このツリーには3Dコンテンツの") + EyeName(first.Result3d()) + "チャンネルが入っています。"));
    auto second = ChoosePartner(first);
    if (second == nullptr) return Finish(first, kNotRepaired);
    if (second->ResultState() == Restore::Verdict::Failed) return Finish(first, kFailed, second.get());
    if (const auto status = Verify(*second)) return Finish(first, *status, second.get());
    first.VerifyMain3d(*second);
    if (first.ResultState() == Restore::Verdict::Failed) return Finish(first, kFailed, second.get());
    if (first.ResultState() == Restore::Verdict::NotRequired &&
        second->ResultState() == Restore::Verdict::NotRequired) {
      Say(Text(UiText::NotRequired) + "\n" + Text(UiText::NoErrorFound));
      return Finish(first, kDone, second.get());
    }

    Say(Text(UiText::ConfirmTitle) + "\n" + Text(UiText::ErrorFound));
    for (auto [run, outcome] : {std::pair{&first, &outcome_}, std::pair{second.get(), &PartnerOutcome()}}) {
      outcome->RestoreRequired = run->ResultState() == Restore::Verdict::RepairRequired;
      outcome->Plan = run->Plan();
      Say("\n" + EyeLabel(run->Result3d()) + " " + run->AvchdFolderPath().string() + "\n" + FindingsText(*run) +
          Restore::PlanText(outcome->Plan));
      SayWhenLocked(*run);
    }
    if (!Confirm()) {
      SayNothingWritten();
      return Finish(first, kNotRepaired, second.get());
    }
    const int status = Restore::PairWorkflow::BothReachable(first, *second) ? CommitBoth(first, *second)
                                                                            : CommitSwapped(first, *second);
    if (status == kDone) {
      Say(Text(UiText::Completed) + "\n" + Text(UiText::PlayableAgain));
      SayBackup(outcome_);
      SayBackup(PartnerOutcome());
    }
    return Finish(first, status, second.get());
  }

  // The run of the other eye, accepted by the relation check (not made in
  // mode 2, whose trees are built by the verification); null when the user
  // gave none. A partner named on the command line is not asked for again.
  std::unique_ptr<Restore::RestoreMain> ChoosePartner(Restore::RestoreMain& first) {
    while (true) {
      const auto path = PartnerPath(first);
      if (!path) {
        Say(Localized("The other channel is needed to restore 3D content: name its tree with --pair.",
                      "3Dコンテンツの復旧にはもう一方のチャンネルが必要です。--pairでそのツリーを指定してください。"));
        return nullptr;
      }
      auto partner = Restore::PairWorkflow::OpenPartner(Factory(), *path, options_.mode, first);
      if (partner->ResultState() != Restore::Verdict::Failed || !options_.pair.empty()) return partner;
      ShowError(*partner);
    }
  }

  std::optional<std::string> PartnerPath(const Restore::RestoreMain& first) {
    if (!options_.pair.empty()) return options_.pair;
    const std::string other = OtherEyeName(first.Result3d());
    if (options_.swap) {
      if (!AskLine(Localized(
              "Insert the memory card with the " + other + " channel at " + options_.path + " and press Enter.",
              other + "チャンネルのメモリーカードを" + options_.path + "に挿入して、Enterキーを押してください。"))) {
        return std::nullopt;
      }
      return options_.path;
    }
    while (true) {
      const auto line = AskLine(Localized("Tree with the " + other + " channel:", other + "チャンネルのツリー:"));
      if (!line || !line->empty()) return line;
    }
  }

  // The partner card, in the reader now, first; then the first card once it
  // is back, checked against the partner.
  int CommitSwapped(Restore::RestoreMain& first, Restore::RestoreMain& second) {
    second.Commit();
    NoteBackup(second, PartnerOutcome());
    if (second.ResultState() == Restore::Verdict::Failed) return kFailed;
    PartnerOutcome().Committed = true;
    while (true) {
      const std::string eye = EyeName(first.Result3d());
      if (!AskLine(Localized(
              "Insert the first memory card (" + eye + " channel) at " + options_.path + " again and press Enter.",
              "最初のメモリーカード（" + eye + "チャンネル）を" + options_.path +
                  "にもう一度挿入して、Enterキーを押してください。"))) {
        return kNotRepaired;
      }
      const auto again = Restore::PairWorkflow::OpenPartner(Factory(), options_.path, options_.mode, second);
      if (again->ResultState() != Restore::Verdict::Failed) break;
      ShowError(*again);
    }
    return CommitOne(first, outcome_);
  }

  // Both trees reachable at once. The partner must still be the tree that
  // was checked: one changed since is not written over.
  int CommitBoth(Restore::RestoreMain& first, Restore::RestoreMain& second) {
    if (const auto refused = Restore::PairWorkflow::CheckStillPartner(Factory(), second, first, options_.mode)) {
      ShowError(*refused);
      return kFailed;
    }
    const auto [earlier, later] = Restore::PairWorkflow::CommitOrder(first, second, options_.mode);
    const int status = CommitOne(*earlier, earlier == &first ? outcome_ : PartnerOutcome());
    return status == kDone ? CommitOne(*later, later == &first ? outcome_ : PartnerOutcome()) : status;
  }

  int CommitOne(Restore::RestoreMain& run, RestoreReport::Outcome& outcome) {
    run.Commit();
    NoteBackup(run, outcome);
    if (run.ResultState() == Restore::Verdict::Failed) return kFailed;
    outcome.Committed = outcome.RestoreRequired;
    return kDone;
  }

  // The runs of the other eye and of the checks, made as the first one was.
  Restore::RunFactory Factory() const {
    return [this](const std::filesystem::path& target, Restore::Mode mode) {
      auto run = std::make_unique<Restore::RestoreMain>(target, mode, Restore::Utility::VolumeQueries(), Purpose());
      run->SetBackup(Backup());
      return run;
    };
  }

  Restore::RestoreMain::Purpose Purpose() const {
    return options_.check ? Restore::RestoreMain::Purpose::Check : Restore::RestoreMain::Purpose::Repair;
  }

  void SayWhenLocked(const Restore::RestoreMain& run) const {
    if (!run.IsWriteProtected()) return;
    Say(Localized("The medium is read-only: unlock the card's switch (or mount it writable) to repair it.",
                  "メディアは読み取り専用です。復旧するにはカードのロックスイッチを解除してください（または書き込み可能"
                  "でマウントしてください）。"));
  }

  Restore::BackupOptions Backup() const { return {!options_.noBackup, options_.backupDir}; }

  // What became of the backup of a commit: written, skipped, or (the commit
  // refused) not written whole, which is said at once.
  void NoteBackup(const Restore::RestoreMain& run, RestoreReport::Outcome& outcome) const {
    outcome.BackupSkipped = options_.noBackup;
    const auto& folder = run.BackupFolder();
    if (folder.empty()) return;
    std::error_code error;
    if (std::filesystem::exists(folder / "manifest.json", error)) {
      outcome.Backup = folder.string();
    } else if (run.ResultState() == Restore::Verdict::Failed) {
      SayError(Localized("The backup could not be written to " + folder.string() + ": nothing was changed.",
                         "バックアップを" + folder.string() + "に書き込めませんでした。何も変更していません。"));
    }
  }

  void SayBackup(const RestoreReport::Outcome& outcome) const {
    if (outcome.BackupSkipped) {
      Say(Localized("No backup was made (--no-backup).", "バックアップは作成していません（--no-backup）。"));
    } else if (!outcome.Backup.empty()) {
      Say(Localized("Backup of the changes: ", "変更のバックアップ: ") + outcome.Backup + "\n" +
          Localized("To undo the repair: ", "復旧を元に戻すには: ") + "velmar-restore undo " + outcome.Backup);
    }
  }

  void SayError(const std::string& text) const {
    if (!options_.json) std::fprintf(stderr, "%s\n", text.c_str());
  }

  bool Confirm() const {
    bool repair = options_.yes;
    if (!options_.check && !repair && terminal_) {
      RestoreConsole::InterruptWatch watch;  // Ctrl-C here answers no
      repair = RestoreConsole::Ask(RepairQuestion(), STDIN_FILENO, stderr, false);
    }
    return repair && !options_.check;
  }

  void SayNothingWritten() const {
    Say(options_.check
            ? Localized("Nothing was written (--check). Run it without --check to repair.",
                        "何も書き込んでいません（--check）。復旧するには --check を付けずに実行してください。")
            : Localized("Nothing was written. Give --yes to repair without being asked.",
                        "何も書き込んでいません。確認なしで復旧するには --yes を付けてください。"));
  }

  static std::optional<std::string> AskLine(const std::string& prompt) {
    RestoreConsole::InterruptWatch watch;  // Ctrl-C here gives no answer
    return RestoreConsole::AskLine(prompt, STDIN_FILENO, stderr);
  }

  void Say(const std::string& text) const {
    if (human_ == nullptr) return;
    std::fprintf(human_, "%s\n", text.c_str());
    std::fflush(human_);
  }

  // As the error box shows it: the program title, then the message; then
  // what to do, when the path makes it plain.
  void ShowError(const Restore::RestoreMain& run, const std::optional<std::string>& hint = std::nullopt) const {
    if (options_.json) return;
    std::fprintf(stderr, "%s\n%s\n", Text(UiText::ProgramTitle).c_str(), run.ErrorString().c_str());
    if (hint) std::fprintf(stderr, "%s\n", hint->c_str());
  }

  RestoreReport::Outcome& PartnerOutcome() {
    if (outcome_.Partner.empty()) outcome_.Partner.resize(1);
    return outcome_.Partner.front();
  }

  void Describe(const Restore::RestoreMain& run, RestoreReport::Outcome& outcome) const {
    RestoreReport::Describe(run, options_.mode, outcome);
    if (run.ResultState() == Restore::Verdict::Failed) {
      // What the verification found explains a tree it refuses.
      if (!outcome.Findings.empty()) Say(FoundHeading() + Restore::FindingsText(outcome.Findings));
      // Said of the path given, for the first tree; the other eye's errors are its own.
      if (&outcome == &outcome_) outcome.Hint = GuidanceFor(options_.mode, options_.path, run.ErrorId());
      ShowError(run, outcome.Hint);
    }
  }

  // The findings under their heading, and the heading of the plan that follows.
  static std::string FindingsText(const Restore::RestoreMain& run) {
    const auto findings = run.Findings();
    if (findings.empty()) return "";
    return FoundHeading() + Restore::FindingsText(findings) + "\n" +
           Localized("What the repair does:\n", "復旧で行うこと:\n");
  }

  int Finish(const Restore::RestoreMain& run, int status, const Restore::RestoreMain* partner = nullptr) {
    outcome_.Cancelled = status == kCancelled;
    Describe(run, outcome_);
    if (partner != nullptr) Describe(*partner, PartnerOutcome());
    if (options_.json) std::cout << RestoreReport::Dump(outcome_) << std::endl;
    return status;
  }

  const RestoreOptions& options_;
  std::FILE* human_;
  bool terminal_;
  RestoreReport::Outcome outcome_;
};

}  // namespace

int RunRestoration(const RestoreOptions& options) { return Restoration(options).Run(); }

namespace {

void AddRestoreCommand(CLI::App& app, const char* name, const char* description, const char* argument,
                       Restore::Mode mode) {
  auto options = std::make_shared<RestoreOptions>();
  options->mode = mode;
  CLI::App* command = app.add_subcommand(name, description);
  command->add_option(argument, options->path)->required();
  command->add_flag("--yes", options->yes, "repair without asking");
  command->add_flag("--check", options->check, "verify and report, never write");
  command->add_flag("--json", options->json, "print the verdict, the plan and the result as JSON");
  command->add_option("--lang", options->language, "language of the texts")->check(CLI::IsMember({"en", "ja"}));
  command->add_option("--pair", options->pair, "the other channel of a 3D recording, given as the first tree is");
  command->add_option("--backup-dir", options->backupDir,
                      "where the backup of the changes goes (default: ~/.local/share/velmar-restorer/backups)");
  command->add_flag("--no-backup", options->noBackup, "change the tree without saving what is changed first");
  if (mode == Restore::Mode::MemoryCard) {
    command->add_flag("--swap", options->swap,
                      "one card reader: asks for the other channel's card at the same mount point, and for the "
                      "first card again before writing it");
  }
  command->fallthrough();
  command->callback([options] {
    if (!options->language.empty()) {
      AAA::StringTable::SetLanguage(options->language == "ja" ? Language::Japanese : Language::English);
    }
    Command::ExitCode() = RunRestoration(*options);
  });
}

const Command restoreCommands([](CLI::App& app) {
  AddRestoreCommand(app, "card", "repair the AVCHD tree of a memory card", "MOUNT_POINT", Restore::Mode::MemoryCard);
  AddRestoreCommand(app, "folder", "repair an AVCHD or AVCHDL folder", "AVCHD_FOLDER", Restore::Mode::AvchdFolder);
  AddRestoreCommand(app, "build", "build an AVCHD tree from a folder of stream files", "STREAM_FOLDER",
                    Restore::Mode::StreamFiles);
});

}  // namespace
