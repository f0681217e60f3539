// A stand-in for libFuzzer where it is not linked: replays the files named
// on the command line, or runs every seed of its folders and then a bounded
// series of mutations of them. Any crash or sanitizer report ends the run
// with a failure, so ctest runs every target briefly.
//
//   target FILE...                 replay inputs (a kept crash file)
//   target --runs N --seeds DIR    seeds, then N mutated inputs (--seeds may repeat)
//   --seconds S                    no more mutated inputs after S seconds
//   --seed S                       the mutations' random seed; random unless
//                                  given, and printed first so that a failing
//                                  run can be repeated exactly
// A mutated input that fails is written to failing-input-<seed> in the
// working folder first, ready to be kept in the target's crashes folder.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Called by the sanitizers before they end the process on a report; absent
// from a build without them.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

using Input = std::vector<std::uint8_t>;

Input Load(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return Input(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The mutated input being run and where it goes when it fails; set before
// the run, read by the handlers of a failure, which may only write.
const Input* current = nullptr;
char failingPath[64];

void SaveCurrent() {
  if (current == nullptr) return;
  const int file = open(failingPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0) return;
  if (write(file, current->data(), current->size()) >= 0) {
    static const char note[] = "failing input written to the working folder\n";
    (void)!write(STDERR_FILENO, note, sizeof note - 1);
  }
  close(file);
  current = nullptr;
}

void SaveAndRaise(int signal) {
  SaveCurrent();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void Run(const Input& input) { LLVMFuzzerTestOneInput(input.data(), input.size()); }

void RunMutated(const Input& input) {
  current = &input;
  Run(input);
  current = nullptr;
}

Input Mutate(Input input, std::mt19937_64& random) {
  const int edits = 1 + static_cast<int>(random() % 4);
  for (int i = 0; i < edits; ++i) {
    const std::size_t at = input.empty() ? 0 : random() % input.size();
    switch (random() % 6) {
      case 0:  // flip one bit
        if (!input.empty()) input[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        break;
      case 1:  // a random byte
        if (!input.empty()) input[at] = static_cast<std::uint8_t>(random());
        break;
      case 2:  // an extreme byte, as lengths and counts like them
        if (!input.empty()) input[at] = (random() & 1) ? 0xFF : 0x00;
        break;
      case 3:  // cut the end
        input.resize(at);
        break;
      case 4:  // insert a few bytes
        input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), 1 + random() % 8,
                     static_cast<std::uint8_t>(random()));
        break;
      default:  // drop a few bytes
        if (!input.empty()) {
          const std::size_t count = std::min<std::size_t>(1 + random() % 8, input.size() - at);
          input.erase(input.begin() + static_cast<std::ptrdiff_t>(at),
                      input.begin() + static_cast<std::ptrdiff_t>(at + count));
        }
        break;
    }
  }
  return input;
}

}  // namespace

int main(int argc, char** argv) {
  long runs = 0;
  double seconds = 0;
  std::random_device entropy;
  std::uint64_t seed = (std::uint64_t{entropy()} << 32) | entropy();
  std::vector<std::filesystem::path> seedFolders;
  std::vector<std::filesystem::path> replays;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--runs" && i + 1 < argc) {
      runs = std::strtol(argv[++i], nullptr, 10);
    } else if (argument == "--seconds" && i + 1 < argc) {
      seconds = std::strtod(argv[++i], nullptr);
    } else if (argument == "--seed" && i + 1 < argc) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (argument == "--seeds" && i + 1 < argc) {
      seedFolders.emplace_back(argv[++i]);
    } else {
      replays.emplace_back(argument);
    }
  }
  std::printf("seed %llu\n", static_cast<unsigned long long>(seed));
  std::fflush(stdout);
  std::snprintf(failingPath, sizeof failingPath, "failing-input-%llu", static_cast<unsigned long long>(seed));
  for (const int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(signal, SaveAndRaise);
  if (__sanitizer_set_death_callback != nullptr) __sanitizer_set_death_callback(SaveCurrent);
  for (const auto& path : replays) Run(Load(path));

  std::vector<Input> seeds;
  for (const auto& folder : seedFolders) {
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.is_regular_file()) seeds.push_back(Load(entry.path()));
    }
  }
  if (seeds.empty()) seeds.emplace_back();
  for (const auto& input : seeds) Run(input);

  std::mt19937_64 random(seed);
  const auto start = std::chrono::steady_clock::now();
  const auto late = [&] {
    return seconds > 0 && std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds;
  };
  long run = 0;
  for (; run < runs && !late(); ++run) RunMutated(Mutate(seeds[random() % seeds.size()], random));
  std::printf("%zu replayed, %zu seeds, %ld mutated inputs: no failure\n", replays.size(), seeds.size(), run);
  return 0;
}
