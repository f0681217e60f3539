// velmar-restore sample [FOLDER]: makes a sample memory card (generated
// recordings, a tree built by this program, the last recording cut short
// as a power loss leaves it, one playlist damaged), shows the verdict and
// the plan, repairs it, and verifies it again to show that nothing is left
// to repair.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "aaalib/AAA_BitReader.h"
#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_FileStream.h"
#include "avchdlib/AVCHD_MoviePlayList.h"
#include "cli/Command.h"
#include "cli/ExitStatus.h"
#include "cli/RestoreCommands.h"
#include "restorelib/Restore_RestoreMain.h"
#include "tests/support/StreamGenerator.h"

namespace {
namespace fs = std::filesystem;

void Heading(const std::string& text) { std::printf("\n==== %s\n", text.c_str()); }

// Three recordings as a camcorder leaves them in the card's root: two with
// AC-3 sound, one with linear PCM sound.
void WriteRecordings(const fs::path& card) {
  for (const auto& [name, groups, audio] : {std::tuple{"00001.MTS", 8u, TestSupport::AudioKind::Ac3},
                                            std::tuple{"00002.MTS", 6u, TestSupport::AudioKind::Lpcm},
                                            std::tuple{"00003.MTS", 12u, TestSupport::AudioKind::Ac3}}) {
    TestSupport::StreamParameters parameters;
    parameters.groups = groups;
    parameters.audio = audio;
    TestSupport::writeStream(parameters, card / name);
  }
}

// Builds the card's tree with this program, as a camcorder would have.
bool BuildTree(const fs::path& card) {
  Restore::RestoreMain run(card, Restore::ModeMemoryCard);
  if (run.ResultState() != 0) return false;
  run.Start(nullptr, nullptr);
  run.Wait();
  if (run.ResultState() != 0) return false;
  run.Commit();
  return run.ResultState() == 0;
}

// The last recording stops in the middle of its ninth group of pictures.
void CutLastRecording(const fs::path& stream) {
  const auto size = fs::file_size(stream);
  fs::resize_file(stream, size * 9 / 12 + 1000);
}

// The playlist of the linear PCM recording claims more than its clip holds.
void DamagePlayList(const fs::path& file) {
  AVCHD::MoviePlayList::BlkMoviePlayListFile playList;
  {
    AAA::FileStream input(file, AAA::FileStream::OpenExisting, AAA::FileStream::ReadOnly);
    AAA::BitReader reader(input);
    playList.Read(reader);
  }
  auto& item = playList.blkPlayList.blkPlayItemArray[0];
  item.INTime.SetValue(item.INTime / 2);
  item.OUTTime.SetValue(item.OUTTime + 90000);
  AAA::FileStream output(file, AAA::FileStream::Create, AAA::FileStream::ReadWrite);
  AAA::BitWriter writer(output);
  playList.Write(writer);
}

int MakeAndRepair(fs::path folder) {
  if (folder.empty()) {
    std::string pattern = (fs::temp_directory_path() / "velmar-sample-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return ExitStatus::kFailed;
    folder = pattern;
  }
  const fs::path card = folder / "card";
  const fs::path avchd = card / "PRIVATE" / "AVCHD";
  if (fs::exists(card)) {
    std::fprintf(stderr, "%s exists already: give a folder without a card in it.\n", card.c_str());
    return ExitStatus::kFailed;
  }
  fs::create_directories(card);
  Heading("Sample card " + card.string());
  WriteRecordings(card);
  if (!BuildTree(card)) return ExitStatus::kFailed;
  CutLastRecording(avchd / "BDMV" / "STREAM" / "00003.MTS");
  DamagePlayList(avchd / "BDMV" / "PLAYLIST" / "00001.MPL");
  std::printf("Three recordings; the last one cut short by a power loss, playlist 00001 damaged.\n");

  RestoreOptions options;
  options.path = card.string();
  options.mode = Restore::ModeMemoryCard;
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
