// Verifying a folder of streams against a plain sequential read of the same
// streams, all of them in the page cache: the verification should cost little
// more than reading the streams once, and grow linearly with the clips and
// the entry points.
//
//   restore_verify_bench [--gib N] [--streams K] [--groups G] [--runs R] [--folder PATH]
//   restore_verify_bench --suite [--runs R]
//
// Writes K generated recordings into a folder of bare streams: camcorder-like
// ones of N/K GiB each (default 8 GiB in 8 streams), or with --groups short
// ones of G groups of small pictures each (--streams 1000 --groups 2 gives a
// thousand clips, --streams 1 --groups 12000 one clip of 12000 entry
// points; a recording needs two groups, one second, to make a clip). It reads
// them once to fill the page cache, then times the median of R plain reads
// and of R verifications (a restore run building a tree from the folder;
// nothing is committed). The plain read is what `dd` does: read() into one
// page-aligned buffer of the scanner's read size.
//
// --suite runs 100, 1000 and 4000 clips of two groups and one clip of 1200
// and of 12000 entry points, each in a folder of its own, and prints the
// cost of a clip and of an entry point and how it grows: ten times the items
// should cost at most eleven times the time. Peak memory is the process's,
// so the largest case sets it; run one case alone to see its own.
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

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double Verify(const fs::path& folder, int& resultState) {
  const auto start = Clock::now();
  Restore::RestoreMain run(folder, Restore::Mode::StreamFiles);
  run.Start(nullptr, nullptr);
  run.Wait();
  resultState = static_cast<int>(run.ResultState());
  return SecondsSince(start);
}

double PeakMib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

struct Measured {
  double read = 0;
  double verify = 0;
  int state = -1;
  double mib = 0;
};

// Fills `folder` with the streams (those there already are kept), reads them
// into the page cache and times R reads and R verifications.
Measured Measure(const fs::path& folder, int streams, std::uint32_t groups, double gib, int runs) {
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
  Measured measured;
  std::uint64_t total = 0;
  for (const auto& path : files) total += fs::file_size(path);
  measured.mib = static_cast<double>(total) / (1 << 20);
  ReadAll(files);  // into the page cache
  std::vector<double> reads, verifications;
  for (int run = 0; run < runs; ++run) reads.push_back(ReadAll(files));
  for (int run = 0; run < runs; ++run) verifications.push_back(Verify(folder, measured.state));
  measured.read = Median(reads);
  measured.verify = Median(verifications);
  return measured;
}

constexpr const char* kDirection = "1 is the speed of reading; higher is slower";

int Suite(int runs) {
  struct Case {
    const char* items;
    int streams;
    std::uint32_t groups;
    double count;
  };
  const Case cases[] = {{"clips", 100, 2, 100},
                        {"clips", 1000, 2, 1000},
                        {"clips", 4000, 2, 4000},
                        {"entry points", 1, 1200, 1200},
                        {"entry points", 1, 12000, 12000}};
  std::printf("median of %d runs each (time(verify)/time(read): %s)\n", runs, kDirection);
  double previous = 0;
  const char* previousItems = "";
  bool failed = false;
  for (const Case& c : cases) {
    TestSupport::TempFolder folder("velmar-verify-bench");
    const Measured m = Measure(folder.Path(), c.streams, c.groups, 0, runs);
    const double perItem = m.verify / c.count;
    std::printf(
        "%5.0f %-12s (ResultState %d): read %.4f s, verify %.4f s, time(verify)/time(read) %.2f, %.4f ms per item",
        c.count, c.items, m.state, m.read, m.verify, m.verify / m.read, perItem * 1000);
    if (std::string(previousItems) == c.items)
      std::printf(", time per item x%.2f of the case before", perItem / previous);
    std::printf(", peak memory so far %.1f MiB\n", PeakMib());
    previous = perItem;
    previousItems = c.items;
    failed = failed || (m.state != 0 && m.state != 1);
  }
  return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  double gib = 8;
  int streams = 8;
  std::uint32_t groups = 0;
  int runs = 3;
  bool suite = false;
  fs::path folder;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--suite") {
      suite = true;
      continue;
    }
    if (i + 1 >= argc) break;
    if (option == "--gib") gib = std::atof(argv[i + 1]);
    if (option == "--streams") streams = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--groups") groups = static_cast<std::uint32_t>(std::max(1, std::atoi(argv[i + 1])));
    if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--folder") folder = argv[i + 1];
    ++i;
  }
  if (suite) return Suite(runs);
  TestSupport::TempFolder temporary("velmar-verify-bench");
  if (folder.empty()) folder = temporary.Path();
  const Measured m = Measure(folder, streams, groups, gib, runs);
  std::printf("streams: %d, %.1f MiB in the page cache, median of %d runs\n", streams, m.mib, runs);
  std::printf("plain sequential read: %.3f s (%.0f MiB/s)\n", m.read, m.mib / m.read);
  std::printf("verification (ResultState %d): %.3f s (%.0f MiB/s), %.3f ms a stream\n", m.state, m.verify,
              m.mib / m.verify, m.verify * 1000 / streams);
  std::printf("time(verify)/time(read): %.2f (%s)\n", m.verify / m.read, kDirection);
  std::printf("peak memory: %.1f MiB\n", PeakMib());
  return m.state == 0 || m.state == 1 ? 0 : 1;
}
