// The scan report's text and JSON forms, and the reads the scanner logs.
#include <gtest/gtest.h>

#include "streamscan/StatusCodes.h"
#include "streamscan/TsScanner.h"
#include "tests/streamscan/ScanFixture.h"

using namespace StreamScan;
using SampleGen::StreamParameters;

namespace {

class ScanReportForms : public ScanFixture {};
class FileReads : public ScanFixture {};

TEST_F(ScanReportForms, JsonHoldsEveryKeyWithTheScannedValues) {
  StreamParameters p;
  p.groups = 2;
  p.channel3d = 0x11000001;
  const std::string json = formatScanReportJson(generateAndScan(p));
  for (const char* expected :
       {"\"status\":0", "\"packets\":1568", "\"bytes_scanned\":301056",
        "\"entry_points\":[{\"spn\":3,\"pts45\":45000,\"i_end_position_offset\":1,\"new_coarse_entry\":true,"
        "\"new_stc_sequence\":true,\"fine_index\":0},{\"spn\":781,",
        "\"stc_sequences\":[{\"spn_stc_start\":0,\"presentation_start_time\":45000,\"presentation_end_time\":90045}]",
        "\"streams\":[{\"pid\":4113,\"stream_type\":27},{\"pid\":4352,\"stream_type\":129}]",
        "\"video\":{\"video_format\":4,\"frame_rate\":4,\"aspect_ratio\":3,\"horizontal_size\":1,\"profile_idc\":100,"
        "\"level_idc\":40,\"constraint_set0_flag\":false",
        "\"pulldown\":1", "\"time_code_mode\":1", "\"first_picture_idr\":true",
        "\"records\":{\"first\":[1,0,304096261,", ",16909060,285212673],\"second\":[", "\"latest\":[687865857,"})
    EXPECT_NE(json.find(expected), std::string::npos) << expected << "\n" << json;
}

TEST_F(ScanReportForms, JsonOfABrokenStreamHasItsStatusAndNullRecords) {
  std::vector<std::uint8_t> garbage(192 * 40, 0x00);
  const std::string json = formatScanReportJson(scanBytes(garbage));
  EXPECT_NE(json.find("\"status\":8232"), std::string::npos) << json;  // 0x2028
  EXPECT_NE(json.find("\"entry_points\":[]"), std::string::npos);
  EXPECT_NE(json.find("\"records\":{\"first\":null,\"second\":null,\"latest\":null}"), std::string::npos);
}

TEST_F(ScanReportForms, TextNamesWhatTheStreamHolds) {
  StreamParameters p;
  p.startTimeCode = {10, 20, 30, 4, true};
  const std::string text = formatScanReport(generateAndScan(p));
  for (const char* expected : {"Scan: complete", "Source packets: 3136 (602112 bytes scanned)",
                               "PID 0x1011  stream type 0x1B  video: format 4, frame rate 4, aspect ratio 3",
                               "Video: width class 1 (1920), profile_idc 100, level_idc 40", "Pulldown: 1 (2:2)",
                               "Time code mode: 1 (Increment)", "Entry points: 4", "STC sequences: 1",
                               "time code: 10:20:30:04 drop frame", "recorded: 2024-05-17 13:45:30, time zone 0x12"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST_F(ScanReportForms, TextOfAFailedScanSaysWhy) {
  StreamParameters p;
  p.width = 960;
  const std::string text = formatScanReport(generateAndScan(p));
  EXPECT_NE(text.find("Scan: failed with 0x100008 (picture: unsupported stream, frame rate or picture width)"),
            std::string::npos)
      << text;
}

TEST_F(FileReads, AreLargeSequentialBlocksLoggedAtLevel7) {
  StreamParameters p;
  p.groups = 12;
  const auto layout = SampleGen::writeStream(p, file("s.m2ts"));
  std::vector<std::string> reads;
  const ScanReport report = scanStreamFile(file("s.m2ts"), [&reads](int level, const std::string& line) {
    if (level == LogLevelValues) reads.push_back(line);
  });
  ASSERT_EQ(report.status, Status::Success);
  const std::uint64_t packets = layout.bytes / 192;
  // One read for the program map search, then one per 2048 packets.
  EXPECT_EQ(reads.size(), 1 + (packets + 2047) / 2048);
  EXPECT_EQ(reads[0], "  read offset: 0x0000000000000000  size: 0x00060000 (393216)\n");
  EXPECT_EQ(reads[2], "  read offset: 0x0000000000060000  size: 0x00060000 (393216)\n");
}

TEST_F(FileReads, FailureIsLoggedAtLevel6) {
  std::vector<std::uint8_t> bytes = SampleGen::streamBytes(StreamParameters{});
  bytes[500 * 192 + 4] = 0;
  writeFile(file("broken.m2ts"), bytes);
  std::vector<std::string> anomalies;
  scanStreamFile(file("broken.m2ts"), [&anomalies](int level, const std::string& line) {
    if (level == LogLevelAnomaly) anomalies.push_back(line);
  });
  ASSERT_EQ(anomalies.size(), 1u);
  EXPECT_EQ(anomalies[0],
            "stream scan failed after packet 501: 0x2028 (packet: sync byte is not 0x47 or PES syntax error)\n");
}

}  // namespace
