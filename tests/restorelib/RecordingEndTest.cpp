// Whole trees of one libx264 recording (1440x1080i25, groups of 12 pictures
// and a last one of 5) as cards hold them: stopped cleanly, cut short in its
// last or its first group, or with a damaged stretch of zero bytes in the
// middle. The clip and its playlist must cover what ffprobe reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "TreeRun.h"
#include "restorelib/Restore_ModelFile.h"
#include "streamscan/ScanReport.h"
#include "streamscan/StatusCodes.h"
#include "tests/aaalib/LogCapture.h"
#include "tests/support/Encoder.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using namespace Restore;
using TestSupport::CommandOutput;
using TestSupport::EncoderInstalled;
using TestSupport::TreeBuilder;
using TestSupport::TreeNaming;

namespace {

constexpr double kFrameSeconds = 1.0 / 25;

// What ffprobe reads of a stream's video.
struct Probed {
  std::vector<std::uint64_t> keyFramePositions;
  std::size_t packets = 0;
  double duration = 0;
};

Probed Probe(const fs::path& file) {
  Probed probed;
  std::istringstream lines(CommandOutput(
      "ffprobe -v error -select_streams v:0 -show_entries packet=pos,flags -of csv=p=0 '" + file.string() + "'"));
  for (std::string line; std::getline(lines, line);) {
    const auto comma = line.find(',');
    if (line.empty() || comma == std::string::npos) continue;
    ++probed.packets;
    if (line.find('K', comma) != std::string::npos) probed.keyFramePositions.push_back(std::stoull(line));
  }
  probed.duration = std::stod(CommandOutput(
      "ffprobe -v error -select_streams v:0 -show_entries stream=duration -of csv=p=0 '" + file.string() + "'"));
  return probed;
}

// The recording, encoded once for every case.
const fs::path& Recording() {
  static TestSupport::TempFolder folder{"velmar-recording-end"};
  static const fs::path file = [] {
    const fs::path path = folder.Path() / "recording.m2ts";
    const std::string command =
        "ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=1440x1080:rate=50 -frames:v 125 "
        "-vf tinterlace=mode=interleave_top,setfield=tff -flags +ildct+ilme -top 1 -c:v libx264 -threads 1 -preset "
        "veryfast -g 12 "
        "-x264-params aud=1:bluray-compat=1:open-gop=0:bframes=2:b-pyramid=none:keyint=12:min-keyint=12:scenecut=0:"
        "nal-hrd=vbr:vbv-maxrate=4500:vbv-bufsize=4500:pic-struct=1:force-cfr=1 -muxrate 6M -f mpegts "
        "-mpegts_m2ts_mode 1 '" +
        path.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return path;
  }();
  return file;
}

enum class Damage { None, CutInsideTheLastGroup, CutInsideTheFirstGroup, ZeroesInTheMiddle };

struct EndCase {
  const char* name;
  Damage damage;
  std::uint64_t zeroBytes = 0;
};

const EndCase kCases[] = {
    {"StoppedCleanly", Damage::None},
    {"CutInsideTheLastGroup", Damage::CutInsideTheLastGroup},
    {"CutInsideTheFirstGroup", Damage::CutInsideTheFirstGroup},
    {"OnePacketOfZeroesInTheMiddle", Damage::ZeroesInTheMiddle, 192},
    {"TwoHundredThousandZeroesInTheMiddle", Damage::ZeroesInTheMiddle, 200000},
};

struct RecordingEnd : testing::TestWithParam<EndCase> {
  TreeBuilder tree{TreeNaming::LongNames};
  AvchdFolder folder;

  RecordingEnd() { folder.SetPath(tree.Avchd()); }

  // The play item of clip 00001 in the tree's playlists, in seconds; 0 when none plays it.
  double PlayedSeconds() {
    for (const auto& entry : Utility::ListFiles(Utility::PlayListPattern(folder))) {
      AVCHD::MoviePlayList::BlkMoviePlayListFile playList;
      ReadModelFile(Utility::PlayListFolder(folder) / entry.Name, playList, 1 << 20);
      for (const auto& item : playList.blkPlayList.blkPlayItemArray) {
        const auto& name = item.ClipInformationFileName.ValueBytes();
        if (std::string(name.begin(), name.end()) == "00001") return (item.OUTTime - item.INTime) / 45000.0;
      }
    }
    return 0;
  }
};

}  // namespace

TEST_P(RecordingEnd, TheClipAndItsPlayListCoverWhatTheStreamHolds) {
  if (!EncoderInstalled()) GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
  const EndCase& c = GetParam();
  const Probed whole = Probe(Recording());
  ASSERT_EQ(whole.keyFramePositions.size(), 11u);
  ASSERT_EQ(whole.packets, 125u);
  const fs::path stream = tree.StreamFile("00001");
  fs::create_directories(stream.parent_path());
  fs::copy_file(Recording(), stream);
  // A second, sound recording keeps the tree worth repairing when the first is broken.
  fs::copy_file(Recording(), tree.StreamFile("00002"));
  std::uint64_t damageStart = 0;
  switch (c.damage) {
    case Damage::None:
      break;
    case Damage::CutInsideTheLastGroup:
      tree.CutFile(stream, whole.keyFramePositions.back() + 20000);
      break;
    case Damage::CutInsideTheFirstGroup:
      tree.CutFile(stream, whole.keyFramePositions[1] / 2);
      break;
    case Damage::ZeroesInTheMiddle: {
      damageStart = fs::file_size(stream) / 2 / 192 * 192;
      std::fstream file(stream, std::ios::in | std::ios::out | std::ios::binary);
      file.seekp(static_cast<std::streamoff>(damageStart));
      const std::string zeroes(c.zeroBytes, '\0');
      file.write(zeroes.data(), static_cast<std::streamsize>(zeroes.size()));
      break;
    }
  }
  const std::uint64_t damageEnd = (damageStart + c.zeroBytes + 191) / 192 * 192;

  Restore::Verdict result = Restore::Verdict::Failed;
  std::string error, text;
  {
    LogCapture log(7);
    RestoreMain run(tree.Target(), tree.Mode());
    result = VerifyAndCommit(run);
    error = run.ErrorString();
    text = log.Take();
  }
  ASSERT_EQ(result, Restore::Verdict::RepairRequired) << error;
  const StreamScan::ScanReport report = StreamScan::scanStreamFile(stream);
  if (c.damage == Damage::CutInsideTheFirstGroup) {
    // No complete group: a broken stream, which no clip or playlist names.
    EXPECT_EQ(report.status, StreamScan::Status::PictureNone);
    EXPECT_FALSE(fs::exists(tree.ClipInformationFile("00001")));
    EXPECT_EQ(PlayedSeconds(), 0);
    return;
  }
  ASSERT_EQ(report.status, StreamScan::Status::Success) << StreamScan::describeStatus(report.status);
  AVCHD::ClipInformation::BlkClipInformationFile clip;
  ReadModelFile(tree.ClipInformationFile("00001"), clip, 1 << 20);
  EXPECT_EQ(clip.blkCPI.blkEPMap.blkStreamPIDEntryArray[0].NumberOfEPFineEntries, report.entryPoints.size());
  std::vector<std::uint64_t> entries;
  for (const auto& record : report.entryPoints) entries.push_back(std::uint64_t{record.SPN} * 192);

  const std::vector<std::uint64_t>& keys = whole.keyFramePositions;
  if (c.damage == Damage::CutInsideTheLastGroup) {
    // The cut group has no entry point and adds nothing to the play time.
    EXPECT_EQ(entries, std::vector<std::uint64_t>(keys.begin(), keys.end() - 1));
    EXPECT_NEAR(PlayedSeconds(), 120 * kFrameSeconds, kFrameSeconds / 2);
  } else {
    // Stopped cleanly, the last group of five keeps its entry point;
    // damaged, every group before the damage and after it keeps its own, and
    // the recording plays to its end.
    for (const std::uint64_t entry : entries) EXPECT_NE(std::find(keys.begin(), keys.end(), entry), keys.end());
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const bool before = i + 1 < keys.size() && keys[i + 1] <= damageStart;
      if (c.damage == Damage::None || before || keys[i] >= damageEnd) {
        EXPECT_NE(std::find(entries.begin(), entries.end(), keys[i]), entries.end()) << keys[i];
      }
    }
    EXPECT_NEAR(PlayedSeconds(), whole.duration, kFrameSeconds / 2);
  }
  if (c.damage == Damage::ZeroesInTheMiddle) {
    const std::string finding =
        "00001.m2ts: bytes " + std::to_string(damageStart) + " to " + std::to_string(damageEnd) + " (";
    EXPECT_NE(text.find(finding), std::string::npos) << finding << "\n" << text;
    EXPECT_NE(text.find("are damaged: skipped"), std::string::npos);
    // ffprobe still finds every picture past one zeroed packet.
    if (c.zeroBytes == 192) {
      EXPECT_EQ(Probe(stream).packets, whole.packets);
    }
  }

  RestoreMain again(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
}

INSTANTIATE_TEST_SUITE_P(Libx264, RecordingEnd, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
