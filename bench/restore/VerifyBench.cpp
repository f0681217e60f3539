// Verifying a folder of streams against a plain sequential read of the same
// streams, all of them in the page cache: the verification should cost little
// more than reading the streams once, and grow linearly with the clips and
// the entry points.
//
//   restore_verify_bench [--gib N] [--streams K] [--groups G] [--runs R] [--folder PATH]
//
// Writes K generated recordings into a folder of bare streams: camcorder-like
// ones of N/K GiB each (default 8 GiB in 8 streams), or with --groups short
// ones of G groups of small pictures each (--streams 1000 --groups 1 gives a
// thousand clips, --streams 1 --groups 12000 one clip of 12000 entry
// points). It reads them once to fill the page cache, then times the best of
// R plain reads and of R verifications (a restore run building a tree from
// the folder; nothing is committed). The plain read is what `dd` does: read()
// into one page-aligned buffer of the scanner's read size.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "restorelib/Restore_RestoreMain.h"
#include "samplegen/StreamGenerator.h"
#include "streamscan/PacketReader.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

SampleGen::StreamParameters PicturesOf(std::uint32_t iBytes, std::uint32_t pBytes, std::uint32_t bBytes) {
  SampleGen::StreamParameters p;
  p.iPictureBytes = iBytes;
  p.pPictureBytes = pBytes;
  p.bPictureBytes = bBytes;
  p.keepPictures = false;
  return p;
}

// A camcorder-like recording of about `bytes` (about 24 Mbit/s).
void WriteRecording(const fs::path& path, std::uint64_t bytes) {
  auto p = PicturesOf(220000, 100000, 60000);
  const std::uint64_t groupBytes = 220000 + 4 * 100000 + 10 * 60000 + 15 * 3 * 192;
  p.groups = static_cast<std::uint32_t>(bytes / groupBytes + 1);
  SampleGen::writeStream(p, path);
}

// A recording of `groups` groups of small pictures (about 14 KB a group).
void WriteShortRecording(const fs::path& path, std::uint32_t groups) {
  auto p = PicturesOf(3000, 800, 300);
  p.groups = groups;
  SampleGen::writeStream(p, path);
}

double ReadAll(const std::vector<fs::path>& files) {
  constexpr std::size_t kBytes = StreamScan::PacketReader::PacketsPerRead * 192;
  const std::unique_ptr<unsigned char, decltype(&std::free)> block(
      static_cast<unsigned char*>(std::aligned_alloc(4096, kBytes)), &std::free);
  const auto start = Clock::now();
  unsigned sum = 0;
  for (const auto& path : files) {
    const int file = open(path.c_str(), O_RDONLY);
    ssize_t n = 0;
    while ((n = read(file, block.get(), kBytes)) > 0) sum += block.get()[n - 1];
    close(file);
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
  std::uint32_t groups = 0;
  int runs = 3;
  fs::path folder;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--gib") gib = std::atof(argv[i + 1]);
    if (option == "--streams") streams = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--groups") groups = static_cast<std::uint32_t>(std::max(1, std::atoi(argv[i + 1])));
    if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
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
    if (fs::exists(files.back())) continue;
    if (groups != 0) {
      WriteShortRecording(files.back(), groups);
    } else {
      WriteRecording(files.back(), bytesEach);
    }
  }
  std::uint64_t total = 0;
  for (const auto& path : files) total += fs::file_size(path);

  ReadAll(files);  // into the page cache
  double read = ReadAll(files);
  for (int run = 1; run < runs; ++run) read = std::min(read, ReadAll(files));
  int state = -1;
  double verify = Verify(folder, state);
  for (int run = 1; run < runs; ++run) verify = std::min(verify, Verify(folder, state));

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double mib = static_cast<double>(total) / (1 << 20);
  std::printf("streams: %d, %.1f MiB in the page cache, best of %d runs\n", streams, mib, runs);
  std::printf("plain sequential read: %.3f s (%.0f MiB/s)\n", read, mib / read);
  std::printf("verification (ResultState %d): %.3f s (%.0f MiB/s), %.3f ms a stream\n", state, verify, mib / verify,
              verify * 1000 / streams);
  std::printf("time(verify)/time(read): %.2f (1 is the speed of reading; higher is slower)\n", verify / read);
  std::printf("peak memory: %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024);
  return state == 0 || state == 1 ? 0 : 1;
}
