#include "samplegen/SampleCard.h"

#include <tuple>

#include "aaalib/AAA_BitReader.h"
#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_FileStream.h"
#include "avchdlib/AVCHD_MoviePlayList.h"
#include "restorelib/Restore_RestoreMain.h"
#include "samplegen/StreamGenerator.h"

namespace SampleGen {
namespace {
namespace fs = std::filesystem;

// Three recordings as a camcorder leaves them in the card's root: two with
// AC-3 sound, one with linear PCM sound.
void WriteRecordings(const fs::path& card) {
  for (const auto& [name, groups, audio] :
       {std::tuple{"00001.MTS", 8u, AudioKind::Ac3}, std::tuple{"00002.MTS", 6u, AudioKind::Lpcm},
        std::tuple{"00003.MTS", 12u, AudioKind::Ac3}}) {
    StreamParameters parameters;
    parameters.groups = groups;
    parameters.audio = audio;
    writeStream(parameters, card / name);
  }
}

// Builds the card's tree with the restorer, as a camcorder would have.
bool BuildTree(const fs::path& card) {
  Restore::RestoreMain run(card, Restore::Mode::MemoryCard);
  if (run.ResultState() != Restore::Verdict::RepairRequired) return false;
  run.Start(nullptr, nullptr);
  run.Wait();
  if (run.ResultState() != Restore::Verdict::RepairRequired) return false;
  run.Commit();
  return run.ResultState() == Restore::Verdict::RepairRequired;
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

}  // namespace

bool MakeSampleCard(const fs::path& card) {
  WriteRecordings(card);
  if (!BuildTree(card)) return false;
  const fs::path bdmv = card / "PRIVATE" / "AVCHD" / "BDMV";
  CutLastRecording(bdmv / "STREAM" / "00003.MTS");
  DamagePlayList(bdmv / "PLAYLIST" / "00001.MPL");
  return true;
}

}  // namespace SampleGen
