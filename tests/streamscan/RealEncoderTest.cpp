// Streams from a real H.264 encoder (ffmpeg with libx264, when installed):
// the scanner's entry points must be the key frames that ffprobe reports,
// with the same byte positions and PTS, and its H.264 values ffprobe's.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "streamscan/ScanReport.h"
#include "streamscan/StatusCodes.h"
#include "tests/support/Encoder.h"
#include "tests/support/TempFolder.h"

using namespace StreamScan;

namespace {

struct EncoderCase {
  const char* name;
  const char* source;  // lavfi source
  const char* videoOptions;
  std::uint8_t sizeClass;
  int frameRateCode;
  int videoFormat;
};

const char* const X264Parameters =
    "aud=1:bluray-compat=1:open-gop=0:bframes=2:b-pyramid=none:keyint=15:min-keyint=15:scenecut=0:"
    "nal-hrd=vbr:vbv-maxrate=4500:vbv-bufsize=4500:pic-struct=1:force-cfr=1";

const EncoderCase Cases[] = {
    {"Interlaced1080At2997", "testsrc2=size=1920x1080:rate=60000/1001",
     "-vf tinterlace=mode=interleave_top,setfield=tff -flags +ildct+ilme -top 1", 1, 4, 4},
    {"Progressive1080At50", "testsrc2=size=1920x1080:rate=50", "", 1, 6, 6},
    {"Progressive1080At5994", "testsrc2=size=1920x1080:rate=60000/1001", "", 1, 7, 6},
    {"Progressive720At5994", "testsrc2=size=1280x720:rate=60000/1001", "", 3, 7, 5},
};

std::string run(const std::string& command) { return TestSupport::CommandOutput(command); }

struct ProbedPacket {
  std::uint64_t pts = 0;
  std::uint64_t pos = 0;
  bool key = false;
};

// The video packets in decoding order.
std::vector<ProbedPacket> probePackets(const std::filesystem::path& file) {
  std::istringstream lines(run("ffprobe -v error -select_streams v:0 -show_entries packet=pts,pos,flags -of csv=p=0 '" +
                               file.string() + "'"));
  std::vector<ProbedPacket> packets;
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    ProbedPacket p;
    std::istringstream fields(line);
    std::string pts, pos, flags;
    std::getline(fields, pts, ',');
    std::getline(fields, pos, ',');
    std::getline(fields, flags, ',');
    p.pts = std::stoull(pts);
    p.pos = std::stoull(pos);
    p.key = flags.find('K') != std::string::npos;
    packets.push_back(p);
  }
  return packets;
}

std::map<std::string, std::string> probeVideoStream(const std::filesystem::path& file) {
  std::istringstream lines(
      run("ffprobe -v error -select_streams v:0 -show_entries stream=width,profile,level "
          "-of default=nw=1 '" +
          file.string() + "'"));
  std::map<std::string, std::string> values;
  std::string line;
  while (std::getline(lines, line)) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return values;
}

int profileIdcOf(const std::string& name) {
  static const std::map<std::string, int> profiles{{"Baseline", 66},    {"Constrained Baseline", 66},
                                                   {"Main", 77},        {"Extended", 88},
                                                   {"High", 100},       {"High 10", 110},
                                                   {"High 4:2:2", 122}, {"High 4:4:4 Predictive", 244}};
  const auto found = profiles.find(name);
  return found == profiles.end() ? -1 : found->second;
}

// The key frames that the scanner should return: each starts a group, and
// the last group counts only after another one, and when the stream ends
// whole or it is as long as the one before it.
std::vector<ProbedPacket> expectedEntryPoints(const std::vector<ProbedPacket>& packets, bool endsWhole,
                                              std::uint64_t& pictures) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < packets.size(); ++i)
    if (packets[i].key) starts.push_back(i);
  std::vector<ProbedPacket> result;
  pictures = 0;
  for (std::size_t g = 0; g < starts.size(); ++g) {
    const std::size_t length = (g + 1 < starts.size() ? starts[g + 1] : packets.size()) - starts[g];
    const bool last = g + 1 == starts.size();
    if (last && (g == 0 || (!endsWhole && length < starts[g] - starts[g - 1]))) break;
    result.push_back(packets[starts[g]]);
    pictures += length;
  }
  return result;
}

class RealEncoder : public ::testing::TestWithParam<EncoderCase> {
 protected:
  std::filesystem::path encode(const EncoderCase& c) {
    const std::filesystem::path file = folder_.Path() / (std::string(c.name) + ".m2ts");
    const std::string command = std::string("ffmpeg -hide_banner -loglevel error -y -f lavfi -i ") + c.source +
                                " -f lavfi -i sine=frequency=1000:sample_rate=48000 -t 2 " + c.videoOptions +
                                " -c:v libx264 -preset veryfast -x264-params " + X264Parameters +
                                " -c:a ac3 -b:a 192k -muxrate 6M -f mpegts -mpegts_m2ts_mode 1 '" + file.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return file;
  }

  TestSupport::TempFolder folder_{"velmar-real-encoder"};
};

void expectEntryPointsAsProbed(const EncoderCase& c, const ScanReport& report,
                               const std::vector<ProbedPacket>& packets) {
  std::uint64_t pictures = 0;
  const std::vector<ProbedPacket> expected = expectedEntryPoints(packets, report.summary.endsWhole, pictures);
  ASSERT_EQ(report.entryPoints.size(), expected.size());
  ASSERT_GE(expected.size(), 3u);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(report.entryPoints[i].SPN * 192u, expected[i].pos) << i;
    EXPECT_EQ(report.entryPoints[i].PTS45, expected[i].pts / 2) << i;
    EXPECT_EQ(report.entryPoints[i].FineIndex, i);
  }
  // One STC sequence from the first key frame (the groups are closed) over
  // every picture of the returned groups.
  ASSERT_EQ(report.stcSequences.size(), 1u);
  EXPECT_EQ(report.stcSequences[0].PresentationStartTime, expected[0].pts / 2);
  const std::uint64_t num = c.frameRateCode == 6 ? 1 : 1001;
  const std::uint64_t den = c.frameRateCode == 6 ? 50 : c.frameRateCode == 4 ? 30000 : 60000;
  EXPECT_EQ(report.stcSequences[0].PresentationEndTime, (expected[0].pts + pictures * 90000 * num / den) / 2);
}

void expectVideoValuesAsProbed(const EncoderCase& c, const StreamSummary& s,
                               std::map<std::string, std::string> probed) {
  EXPECT_EQ(s.video.HorizontalSize, c.sizeClass);
  EXPECT_EQ(std::to_string(c.sizeClass == 1 ? 1920 : 1280), probed["width"]);
  EXPECT_EQ(s.video.profile_idc, profileIdcOf(probed["profile"])) << probed["profile"];
  EXPECT_EQ(std::to_string(s.video.level_idc), probed["level"]);
  const StreamInfo& video = s.streams[StreamSummary::VideoSlot];
  EXPECT_EQ(video.frame_rate, c.frameRateCode);
  EXPECT_EQ(video.video_format, c.videoFormat);
  EXPECT_EQ(video.aspect_ratio, 3);
  EXPECT_TRUE(s.streams[1].present);
  EXPECT_EQ(s.streams[1].stream_type, 0x81);
  EXPECT_TRUE(s.recording.firstPictureIdr);
  EXPECT_EQ(s.recording.timeCodeMode, 3);  // no camcorder metadata: NoTC
}

// One encoding per case (a few seconds each), checked both ways.
TEST_P(RealEncoder, EntryPointsAndVideoValuesAgreeWithFfprobe) {
  if (!TestSupport::EncoderInstalled()) GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
  const EncoderCase& c = GetParam();
  const std::filesystem::path file = encode(c);
  const std::vector<ProbedPacket> packets = probePackets(file);
  ASSERT_FALSE(packets.empty());
  const ScanReport report = scanStreamFile(file);
  ASSERT_EQ(report.status, Status::Success) << describeStatus(report.status);
  expectEntryPointsAsProbed(c, report, packets);
  expectVideoValuesAsProbed(c, report.summary, probeVideoStream(file));
}

INSTANTIATE_TEST_SUITE_P(Libx264, RealEncoder, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
