// Scanner throughput against the plain sequential read of the same file,
// both with the file in the page cache, and the process's peak memory.
//
//   streamscan_bench [--size BYTES] [--file PATH] [--keep] [benchmark flags]
//
// Scans PATH (a recording of any encoder, such as a libx264 stream) or, when
// there is none, a generated stream of BYTES (default 1 GiB) written there
// first; without --file the stream goes into a temporary folder of its own,
// removed at the end (--keep keeps a stream generated at PATH). The plain
// read is what `dd` does: read() into one page-aligned buffer of the
// scanner's block size. Each benchmark runs three times; the best of them
// is compared, the first of them having filled the page cache.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "samplegen/StreamGenerator.h"
#include "streamscan/PacketReader.h"
#include "streamscan/TsScanner.h"
#include "tests/support/TempFolder.h"

namespace {

std::filesystem::path streamPath;
std::uint64_t streamSize = 1ull << 30;
double bestReadSeconds = 1e30;
double bestScanSeconds = 1e30;

// A recording of about `bytes` at camcorder-like picture sizes (about 24 Mbit/s).
void writeBenchStream(std::uint64_t bytes) {
  SampleGen::StreamParameters p;
  p.iPictureBytes = 220000;
  p.pPictureBytes = 100000;
  p.bPictureBytes = 60000;
  p.keepPictures = false;
  const std::uint64_t groupBytes = 220000 + 4 * 100000 + 10 * 60000 + 15 * 3 * 192;
  p.groups = static_cast<std::uint32_t>(bytes / groupBytes + 1);
  SampleGen::writeStream(p, streamPath);
}

std::uint64_t fileSize() { return std::filesystem::file_size(streamPath); }

// The limit: read the whole file in the scanner's block size and nothing else.
void BM_SequentialRead(benchmark::State& state) {
  constexpr std::size_t kBytes = StreamScan::PacketReader::PacketsPerRead * 192;
  const std::unique_ptr<unsigned char, decltype(&std::free)> block(
      static_cast<unsigned char*>(std::aligned_alloc(4096, kBytes)), &std::free);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const int file = open(streamPath.c_str(), O_RDONLY);
    std::uint64_t sum = 0;
    ssize_t n = 0;
    while ((n = read(file, block.get(), kBytes)) > 0) sum += block.get()[n - 1];
    close(file);
    benchmark::DoNotOptimize(sum);
    bestReadSeconds =
        std::min(bestReadSeconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileSize()));
}

// The scan as the clip step drives it, entry point by entry point.
void BM_Scan(benchmark::State& state) {
  StreamScan::TsScanner scanner;
  std::uint64_t entryPoints = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    scanner.reset();
    if (scanner.open(streamPath) != 0) {
      state.SkipWithError("cannot open the stream");
      return;
    }
    scanner.findProgramMap();
    StreamScan::EntryPointRecord record;
    bool end = false;
    entryPoints = 0;
    while (!end) {
      if (scanner.nextEntryPoint(record, end) < 0) {
        state.SkipWithError("scan failed");
        return;
      }
      entryPoints += end ? 0 : 1;
    }
    StreamScan::StreamSummary summary;
    scanner.closeAndFetchSummary(&summary);
    bestScanSeconds =
        std::min(bestScanSeconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["entry_points"] = static_cast<double>(entryPoints);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileSize()));
}

BENCHMARK(BM_SequentialRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

long peakKibibytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--size" && i + 1 < argc)
      streamSize = std::strtoull(argv[++i], nullptr, 0);
    else if (option == "--file" && i + 1 < argc)
      streamPath = argv[++i];
    else if (option == "--keep")
      keep = true;
    else {
      std::fprintf(stderr, "usage: %s [--size BYTES] [--file PATH] [--keep] [benchmark flags]\n", argv[0]);
      return 2;
    }
  }
  std::optional<TestSupport::TempFolder> temporary;
  if (streamPath.empty()) {
    temporary.emplace("velmar-scan-bench");
    streamPath = temporary->Path() / "stream.m2ts";
  }
  // A stream given is scanned as it is, and kept.
  const bool generated = !std::filesystem::exists(streamPath);
  if (generated) writeBenchStream(streamSize);
  const long peakAfterWriting = peakKibibytes();
  std::printf("stream: %s, %.1f MiB\n", streamPath.c_str(), static_cast<double>(fileSize()) / (1 << 20));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const double mib = static_cast<double>(fileSize()) / (1 << 20);
  std::printf("sequential read: %.3f s, %.0f MiB/s\nscan:            %.3f s, %.0f MiB/s\n", bestReadSeconds,
              mib / bestReadSeconds, bestScanSeconds, mib / bestScanSeconds);
  std::printf("time(scan)/time(read): %.2f (1 is the speed of reading; higher is slower)\n",
              bestScanSeconds / bestReadSeconds);
  std::printf("peak memory: %.1f MiB (%.1f MiB after writing the stream)\n", peakKibibytes() / 1024.0,
              peakAfterWriting / 1024.0);
  if (generated && !keep && !temporary) std::filesystem::remove(streamPath);
  return 0;
}
