#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "samplegen/StreamGenerator.h"
#include "streamscan/ScanReport.h"

// Writes generated streams into a folder of its own per test and scans them
// the way the clip step does.
class ScanFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Parameterised names hold '/', which must not make nested folders.
    std::string name = "velmar-streamscan-" + std::string(info->test_suite_name()) + "-" + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    folder_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path file(const std::string& name) const { return folder_ / name; }

  // Generates a stream and scans it; `layout` receives what was written.
  StreamScan::ScanReport generateAndScan(const SampleGen::StreamParameters& parameters,
                                         SampleGen::GeneratedStream* layout = nullptr) {
    const std::filesystem::path path = file("stream.m2ts");
    SampleGen::GeneratedStream stream = SampleGen::writeStream(parameters, path);
    if (layout != nullptr) *layout = std::move(stream);
    return StreamScan::scanStreamFile(path);
  }

  // Writes raw bytes and scans them, with what a clip information file says of them.
  StreamScan::ScanReport scanBytes(const std::vector<std::uint8_t>& bytes,
                                   const StreamScan::RecordedStream& recorded = {}) {
    const std::filesystem::path path = file("bytes.m2ts");
    writeFile(path, bytes);
    return StreamScan::scanStreamFile(path, {}, recorded);
  }

  static void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }

 private:
  std::filesystem::path folder_;
};
