// velmar-restore undo BACKUP | latest --tree PATH: puts a tree back as it
// was before a repair, from the backup that repair wrote.
// velmar-restore backups [--tree PATH]: lists the backups.
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "aaalib/AAA_Exceptions.h"
#include "cli/BackupManifest.h"
#include "cli/Command.h"
#include "cli/ExitStatus.h"
#include "cli/RestoreConsole.h"
#include "restorelib/Restore_Backup.h"
#include "restorelib/Restore_Texts.h"
#include "restorelib/Restore_Utility.h"

namespace {
namespace fs = std::filesystem;

using ExitStatus::kDone;
using ExitStatus::kFailed;
using ExitStatus::kNotDone;
using ExitStatus::kUsage;
using Restore::UiText;

struct UndoOptions {
  std::string backup;
  std::string tree;
  std::string backupDir;
  bool yes = false;
  bool check = false;
};

fs::path BackupRoot(const std::string& backupDir) {
  return backupDir.empty() ? Restore::DefaultBackupRoot() : fs::path(backupDir);
}

// The manifest of a backup folder; nothing when it has none that reads.
std::optional<BackupManifest::Manifest> ManifestOf(const fs::path& folder) {
  std::ifstream stream(folder / "manifest.json", std::ios::binary);
  if (!stream) return std::nullopt;
  return BackupManifest::Parse(std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()));
}

bool SameTree(const std::string& a, const std::string& b) {
  try {
    return Restore::Utility::NormalizePath(a) == Restore::Utility::NormalizePath(b);
  } catch (const AAA::ExceptionBase&) {
    return false;
  }
}

// The backup folders below `root`, oldest first, of the tree `tree` (any
// tree when empty).
std::vector<fs::path> Backups(const fs::path& root, const std::string& tree) {
  std::vector<fs::path> folders;
  std::error_code error;
  for (fs::directory_iterator entry(root, error), end; !error && entry != end; entry.increment(error)) {
    const auto manifest = ManifestOf(entry->path());
    if (manifest && (tree.empty() || SameTree(manifest->Tree, tree))) folders.push_back(entry->path());
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

std::uint64_t BytesIn(const fs::path& folder) {
  std::uint64_t bytes = 0;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    bytes += entry->file_size(error);
  }
  return bytes;
}

void Print(const std::string& text) { std::printf("%s\n", text.c_str()); }

std::string PlanText(const Restore::ChangeSet& changes) {
  std::string text;
  for (const auto& folder : changes.Folders) text += "  make     " + folder.string() + "/\n";
  for (const auto& path : changes.Deletes) text += "  delete   " + path.string() + "\n";
  for (const auto& write : changes.Writes) {
    text += "  restore  " + write.Path.string() + " (" + std::to_string(write.Bytes.size()) + " bytes)\n";
  }
  for (const auto& append : changes.Appends) {
    text += "  append   " + append.Path.string() + " (" + std::to_string(append.Bytes.size()) + " bytes cut off)\n";
  }
  for (const auto& move : changes.Moves) text += "  move     " + move.From.string() + " -> " + move.To.string() + "\n";
  for (const auto& folder : changes.FolderDeletes) text += "  delete   " + folder.string() + "/\n";
  return text;
}

int RunUndo(const UndoOptions& options) {
  fs::path folder = options.backup;
  if (options.backup == "latest") {
    if (options.tree.empty()) {
      std::fprintf(stderr, "undo latest needs the tree: --tree PATH\n");
      return kUsage;
    }
    const auto backups = Backups(BackupRoot(options.backupDir), options.tree);
    if (backups.empty()) {
      std::fprintf(stderr, "No backup of %s in %s.\n", options.tree.c_str(), BackupRoot(options.backupDir).c_str());
      return kNotDone;
    }
    folder = backups.back();
  }
  const auto manifest = ManifestOf(folder);
  if (!manifest) {
    std::fprintf(stderr, "%s is not a backup of velmar-restore: it has no readable manifest.json.\n", folder.c_str());
    return kFailed;
  }
  // A card mounted elsewhere since is named with --tree.
  const fs::path tree = options.tree.empty() ? fs::path(manifest->Tree) : fs::path(options.tree);
  try {
    const auto plan = Restore::PlanUndo(folder, Restore::Utility::NormalizePath(tree));
    if (!plan.ChangedSince.empty()) {
      std::fprintf(stderr, "The tree %s has changed since the repair; nothing was undone. Changed:\n", tree.c_str());
      for (const auto& path : plan.ChangedSince) std::fprintf(stderr, "  %s\n", path.c_str());
      return kNotDone;
    }
    Print("Undo of the repair saved in " + folder.string() + ":\n" + PlanText(plan.Changes));
    if (options.check) return kDone;
    bool confirmed = options.yes;
    if (!confirmed && isatty(STDIN_FILENO) && isatty(STDERR_FILENO)) {
      RestoreConsole::InterruptWatch watch;
      confirmed = RestoreConsole::Ask("Undo the repair now?", STDIN_FILENO, stderr, false);
    }
    if (!confirmed) {
      Print("Nothing was changed. Give --yes to undo without being asked.");
      return kNotDone;
    }
    const auto differ = Restore::Undo(plan, Restore::Utility::NormalizePath(tree), Restore::Utility::VolumeQueries());
    if (!differ.empty()) {
      std::fprintf(stderr, "The undo ended, but these do not hold what they held before the repair:\n");
      for (const auto& path : differ) std::fprintf(stderr, "  %s\n", path.c_str());
      return kFailed;
    }
    Print("The repair was undone: every file it changed is as it was before.");
    return kDone;
  } catch (const AAA::ExceptionBase& failure) {
    std::fprintf(stderr, "%s\n%s\n", Restore::Texts::Text(UiText::ProgramTitle).c_str(), failure.Message().c_str());
    return kFailed;
  }
}

int ListBackups(const UndoOptions& options) {
  const fs::path root = BackupRoot(options.backupDir);
  const auto backups = Backups(root, options.tree);
  if (backups.empty()) Print("No backups in " + root.string() + ".");
  for (const auto& folder : backups) {
    const auto manifest = ManifestOf(folder);
    if (!manifest) continue;  // removed or changed since it was listed
    char line[64];
    std::snprintf(line, sizeof line, "  %zu entries, %" PRIu64 " bytes", manifest->Entries, BytesIn(folder));
    Print(folder.string() + "\n  " + manifest->Time + "  " + manifest->Tree + line);
  }
  return kDone;
}

const Command undoCommands([](CLI::App& app) {
  auto options = std::make_shared<UndoOptions>();
  CLI::App* undo = app.add_subcommand("undo", "put a tree back as it was before a repair, from its backup");
  undo->add_option("BACKUP", options->backup, "a backup folder, or latest (with --tree)")->required();
  undo->add_option("--tree", options->tree, "the tree the backup is of (where it is mounted now)");
  undo->add_option("--backup-dir", options->backupDir, "where the backups are");
  undo->add_flag("--yes", options->yes, "undo without asking");
  undo->add_flag("--check", options->check, "show what the undo would do, change nothing");
  undo->callback([options] { Command::ExitCode() = RunUndo(*options); });

  CLI::App* list = app.add_subcommand("backups", "list the backups of repairs (time, tree, entries, bytes)");
  list->add_option("--tree", options->tree, "only the backups of this tree");
  list->add_option("--backup-dir", options->backupDir, "where the backups are");
  list->callback([options] { Command::ExitCode() = ListBackups(*options); });
});

}  // namespace
