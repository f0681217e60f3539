// The first byte of an input chooses the file it replaces in a sound tree
// (0 playlist 00000, 1 movie object, 2 index table, else playlist 00001);
// the rest is the file's content. The run must end in a repaired tree that
// a second verification finds sound, or in the message of invalid data or of
// an unsupported maker; never in a crash or any other outcome.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_RestoreMain.h"
#include "tests/support/StreamGenerator.h"

namespace {
namespace fs = std::filesystem;

int Verify(Restore::RestoreMain& run) {
  if (run.ResultState() != 0) return run.ResultState();
  run.Start(nullptr, nullptr);
  run.Wait();
  return run.ResultState();
}

// A card of two recordings of different sound, built by the restore run.
const fs::path& SoundCard() {
  static const fs::path card = [] {
    std::string pattern = (fs::temp_directory_path() / "velmar-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    static const fs::path folder = pattern;
    std::atexit([] { fs::remove_all(folder); });
    const fs::path root = folder / "sound";
    fs::create_directories(root);
    TestSupport::StreamParameters parameters;
    parameters.groups = 3;
    TestSupport::writeStream(parameters, root / "00001.MTS");
    parameters.audio = TestSupport::AudioKind::Lpcm;
    TestSupport::writeStream(parameters, root / "00002.MTS");
    Restore::RestoreMain run(root, Restore::ModeMemoryCard);
    if (Verify(run) != 0) std::abort();
    run.Commit();
    if (run.ResultState() != 0) std::abort();
    return root;
  }();
  return card;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const fs::path card = SoundCard().parent_path() / "card";
  fs::remove_all(card);
  fs::copy(SoundCard(), card, fs::copy_options::recursive);
  const fs::path bdmv = card / "PRIVATE/AVCHD/BDMV";
  const fs::path targets[] = {bdmv / "PLAYLIST/00000.MPL", bdmv / "MOVIEOBJ.BDM", bdmv / "INDEX.BDM",
                              bdmv / "PLAYLIST/00001.MPL"};
  std::ofstream(targets[data[0] < 3 ? data[0] : 3], std::ios::binary)
      .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));

  Restore::RestoreMain run(card, Restore::ModeMemoryCard);
  const int verdict = Verify(run);
  if (verdict == -1) {
    if (run.ErrorString() != AAA::StringTable::Text(109) && run.ErrorString() != AAA::StringTable::Text(113)) {
      std::abort();
    }
    return 0;
  }
  if (verdict == 0) {
    run.Commit();
    if (run.ResultState() != 0) std::abort();
  } else if (verdict != 1) {
    std::abort();
  }
  Restore::RestoreMain again(card, Restore::ModeMemoryCard);
  if (Verify(again) != 1) std::abort();
  return 0;
}
