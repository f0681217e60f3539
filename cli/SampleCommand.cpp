// velmar-restore sample [FOLDER]: makes a sample memory card (generated
// recordings, a tree built by this program, the last recording cut short
// as a power loss leaves it, one playlist damaged), shows the verdict and
// the plan, repairs it, and verifies it again to show that nothing is left
// to repair.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/Command.h"
#include "cli/ExitStatus.h"
#include "cli/RestoreCommands.h"
#include "restorelib/Restore_RestoreMain.h"
#include "samplegen/SampleCard.h"

namespace {
namespace fs = std::filesystem;

void Heading(const std::string& text) { std::printf("\n==== %s\n", text.c_str()); }

int MakeAndRepair(fs::path folder) {
  if (folder.empty()) {
    std::string pattern = (fs::temp_directory_path() / "velmar-sample-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return ExitStatus::kFailed;
    folder = pattern;
  }
  const fs::path card = folder / "card";
  if (fs::exists(card)) {
    std::fprintf(stderr, "%s exists already: give a folder without a card in it.\n", card.c_str());
    return ExitStatus::kFailed;
  }
  fs::create_directories(card);
  Heading("Sample card " + card.string());
  if (!SampleGen::MakeSampleCard(card)) return ExitStatus::kFailed;
  std::printf("Three recordings; the last one cut short by a power loss, playlist 00001 damaged.\n");

  RestoreOptions options;
  options.path = card.string();
  options.mode = Restore::Mode::MemoryCard;
  options.yes = true;
  Heading("Verification and repair");
  const int repaired = RunRestoration(options);
  if (repaired != 0) return repaired;
  Heading("Verification of the repaired card");
  options.yes = false;
  options.check = true;
  return RunRestoration(options);
}

const Command sample([](CLI::App& app) {
  auto* command = app.add_subcommand("sample", "make a damaged sample card, repair it and verify it again");
  auto folder = std::make_shared<std::string>();
  command->add_option("FOLDER", *folder, "where the sample card is made (default: a new temporary folder)");
  command->callback([folder] { Command::ExitCode() = MakeAndRepair(*folder); });
});

}  // namespace
