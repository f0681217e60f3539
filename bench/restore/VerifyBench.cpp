// Verifying a folder of streams against a plain sequential read of the same
// streams, all of them in the page cache: the verification should cost little
// more than reading the streams once.
//
//   restore_verify_bench [--gib N] [--streams K] [--folder PATH]
//
// Writes K generated recordings of N/K GiB (default 8 GiB in 8 streams) into
// a folder of bare streams, reads them once to fill the page cache, then
// times the best of two plain reads and of two verifications (a restore run
// building a tree from the folder; nothing is committed).
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "restorelib/Restore_RestoreMain.h"
#include "tests/support/StreamGenerator.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A camcorder-like recording of about `bytes` (about 24 Mbit/s).
void WriteRecording(const fs::path& path, std::uint64_t bytes) {
  TestSupport::StreamParameters p;
  p.iPictureBytes = 220000;
  p.pPictureBytes = 100000;
  p.bPictureBytes = 60000;
  p.keepPictures = false;
  const std::uint64_t groupBytes = 220000 + 4 * 100000 + 10 * 60000 + 15 * 3 * 192;
  p.groups = static_cast<std::uint32_t>(bytes / groupBytes + 1);
  TestSupport::writeStream(p, path);
}

double ReadAll(const std::vector<fs::path>& files) {
  const auto start = Clock::now();
  std::vector<unsigned char> block(2048 * 192);
  unsigned sum = 0;
  for (const auto& path : files) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::setvbuf(file, nullptr, _IONBF, 0);
    while (const std::size_t n = std::fread(block.data(), 1, block.size(), file)) sum += block[n - 1];
    std::fclose(file);
  }
  if (sum == 1) std::fputs("", stdout);  // keeps the reads from being optimised away
  return SecondsSince(start);
}

double Verify(const fs::path& folder, int& resultState) {
  const auto start = Clock::now();
  Restore::RestoreMain run(folder, 2);
  run.Start(nullptr, nullptr);
  run.Wait();
  resultState = run.ResultState();
  return SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  double gib = 8;
  int streams = 8;
  fs::path folder;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--gib") gib = std::atof(argv[i + 1]);
    if (option == "--streams") streams = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--folder") folder = argv[i + 1];
  }
  TestSupport::TempFolder temporary("velmar-verify-bench");
  if (folder.empty()) folder = temporary.Path();
  fs::create_directories(folder);

  std::vector<fs::path> files;
  const auto bytesEach = static_cast<std::uint64_t>(gib * (1ull << 30) / streams);
  for (int i = 0; i < streams; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "%05d.MTS", i + 1);
    files.push_back(folder / name);
    if (!fs::exists(files.back())) WriteRecording(files.back(), bytesEach);
  }
  std::uint64_t total = 0;
  for (const auto& path : files) total += fs::file_size(path);

  ReadAll(files);  // into the page cache
  const double read = std::min(ReadAll(files), ReadAll(files));
  int state = -1;
  double verify = Verify(folder, state);
  verify = std::min(verify, Verify(folder, state));

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double mib = static_cast<double>(total) / (1 << 20);
  std::printf("streams: %d, %.0f MiB in the page cache\n", streams, mib);
  std::printf("plain sequential read: %.2f s (%.0f MiB/s)\n", read, mib / read);
  std::printf("verification (ResultState %d): %.2f s (%.0f MiB/s), %.2f x the read\n", state, verify, mib / verify,
              verify / read);
  std::printf("peak memory: %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024);
  return state == 0 || state == 1 ? 0 : 1;
}
