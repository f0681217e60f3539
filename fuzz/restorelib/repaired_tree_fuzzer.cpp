// The first byte of an input chooses what it changes in a sound tree, the
// rest is the change:
//   0 playlist 00000, 1 movie object, 2 index table, 3 and 9 on playlist
//   00001, 4 clip information 00001, 5 clip information 00002: the file's
//   content;
//   6 stream 00001: its content;
//   7 stream 00002: two bytes, the source packet where the rest overwrites it;
//   8 stream 00002: three bytes, the length it is cut to (modulo its size).
// The run must end in a repaired tree that a second verification finds
// sound, or in the message of invalid data or of an unsupported maker, and
// of a broken stream or an unexpected end where a stream changed; never in
// a crash or any other outcome.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_RestoreMain.h"
#include "samplegen/StreamGenerator.h"

namespace {
namespace fs = std::filesystem;

Restore::Verdict Verify(Restore::RestoreMain& run) {
  if (run.ResultState() != Restore::Verdict::RepairRequired) return run.ResultState();
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
    SampleGen::StreamParameters parameters;
    parameters.groups = 3;
    SampleGen::writeStream(parameters, root / "00001.MTS");
    parameters.audio = SampleGen::AudioKind::Lpcm;
    SampleGen::writeStream(parameters, root / "00002.MTS");
    Restore::RestoreMain run(root, Restore::Mode::MemoryCard);
    if (Verify(run) != Restore::Verdict::RepairRequired) std::abort();
    run.Commit();
    if (run.ResultState() != Restore::Verdict::RepairRequired) std::abort();
    return root;
  }();
  return card;
}

// Makes the change the input asks for; true when it changed a stream.
bool Change(const fs::path& card, const std::uint8_t* data, std::size_t size) {
  const fs::path bdmv = card / "PRIVATE/AVCHD/BDMV";
  const fs::path files[] = {bdmv / "PLAYLIST/00000.MPL", bdmv / "MOVIEOBJ.BDM",      bdmv / "INDEX.BDM",
                            bdmv / "PLAYLIST/00001.MPL", bdmv / "CLIPINF/00001.CPI", bdmv / "CLIPINF/00002.CPI",
                            bdmv / "STREAM/00001.MTS"};
  const fs::path stream = bdmv / "STREAM/00002.MTS";
  const unsigned choice = data[0] < 9 ? data[0] : 3;
  ++data;
  --size;
  if (choice < 7) {
    if (!fs::is_regular_file(files[choice])) std::abort();  // the sound tree is not as this target knows it
    std::ofstream(files[choice], std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return choice == 6;
  }
  const auto streamSize = fs::file_size(stream);
  if (choice == 7 && size >= 2) {
    const std::uint64_t packets = streamSize / 192;
    const std::uint64_t at = 192 * ((data[0] << 8 | data[1]) % (packets == 0 ? 1 : packets));
    std::fstream file(stream, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(at));
    file.write(reinterpret_cast<const char*>(data + 2), static_cast<std::streamsize>(size - 2));
  } else if (choice == 8 && size >= 3) {
    fs::resize_file(stream, (data[0] << 16 | data[1] << 8 | data[2]) % (streamSize == 0 ? 1 : streamSize));
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const fs::path card = SoundCard().parent_path() / "card";
  fs::remove_all(card);
  fs::copy(SoundCard(), card, fs::copy_options::recursive);
  const bool streamChanged = Change(card, data, size);

  Restore::RestoreMain run(card, Restore::Mode::MemoryCard);
  const Restore::Verdict verdict = Verify(run);
  if (verdict == Restore::Verdict::Failed) {
    const auto refusal = [&run](int text) { return run.ErrorString() == AAA::StringTable::Text(text); };
    if (!refusal(109) && !refusal(113) && !(streamChanged && (refusal(110) || refusal(112)))) std::abort();
    return 0;
  }
  if (verdict == Restore::Verdict::RepairRequired) {
    run.Commit();
    if (run.ResultState() != Restore::Verdict::RepairRequired) std::abort();
  } else if (verdict != Restore::Verdict::NotRequired) {
    std::abort();
  }
  Restore::RestoreMain again(card, Restore::Mode::MemoryCard);
  if (Verify(again) != Restore::Verdict::NotRequired) std::abort();
  return 0;
}
