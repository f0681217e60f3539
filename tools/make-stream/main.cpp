// make-stream: writes a synthetic AVCHD-style stream file with the test
// stream generator, for trying the scanner and the restore tool by hand.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "samplegen/StreamGenerator.h"

namespace {

const char* const Usage =
    "usage: make-stream OUTPUT [options]\n"
    "  --size BYTES        about this many bytes (sets the number of groups)\n"
    "  --groups N          groups of pictures (default 4)\n"
    "  --gop N             pictures per group (default 15)\n"
    "  --last-gop N        pictures of the last group\n"
    "  --b N               B pictures between reference pictures (default 2)\n"
    "  --open-gop          show B pictures before each I picture\n"
    "  --width W --height H\n"
    "  --progressive       frame coding (default interlaced)\n"
    "  --rate CODE         frame rate code 1..7 (default 4, 29.97)\n"
    "  --pulldown N        0 none, 1 2:2, 2 3:2\n"
    "  --audio KIND        ac3, lpcm or none\n"
    "  --no-timecode       no time code in the metadata\n"
    "  --drop-frame        drop-frame time codes\n"
    "  --tc-gap PIC:N      time codes jump N frames at picture PIC\n"
    "  --discontinuity G:PTS  group G starts an STC sequence at PTS (90 kHz)\n"
    "  --channel3d VALUE   3D channel mark (top byte 0x11)\n"
    "  --i-bytes N --p-bytes N --b-bytes N  access unit sizes\n"
    "  --cut BYTE          stop writing at this byte\n";

std::uint64_t number(const char* text) { return std::strtoull(text, nullptr, 0); }

std::pair<std::uint64_t, std::uint64_t> pairOf(const char* text) {
  const char* colon = std::strchr(text, ':');
  if (colon == nullptr) throw std::invalid_argument(std::string("expected A:B, got ") + text);
  return {number(text), number(colon + 1)};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '-') {
    std::fputs(Usage, stderr);
    return 2;
  }
  SampleGen::StreamParameters p;
  std::uint64_t size = 0;
  try {
    for (int i = 2; i < argc; ++i) {
      const std::string option = argv[i];
      const auto value = [&]() -> const char* {
        if (i + 1 >= argc) throw std::invalid_argument(option + " needs a value");
        return argv[++i];
      };
      if (option == "--size")
        size = number(value());
      else if (option == "--groups")
        p.groups = static_cast<std::uint32_t>(number(value()));
      else if (option == "--gop")
        p.gopLength = static_cast<std::uint32_t>(number(value()));
      else if (option == "--last-gop")
        p.lastGroupLength = static_cast<std::uint32_t>(number(value()));
      else if (option == "--b")
        p.bFrames = static_cast<std::uint32_t>(number(value()));
      else if (option == "--open-gop")
        p.openGop = true;
      else if (option == "--width")
        p.width = static_cast<std::uint32_t>(number(value()));
      else if (option == "--height")
        p.height = static_cast<std::uint32_t>(number(value()));
      else if (option == "--progressive")
        p.interlaced = false;
      else if (option == "--rate")
        p.frameRateCode = static_cast<int>(number(value()));
      else if (option == "--pulldown")
        p.pulldown = static_cast<int>(number(value()));
      else if (option == "--no-timecode")
        p.timeCodes = false;
      else if (option == "--drop-frame")
        p.startTimeCode.dropFrame = true;
      else if (option == "--i-bytes")
        p.iPictureBytes = static_cast<std::uint32_t>(number(value()));
      else if (option == "--p-bytes")
        p.pPictureBytes = static_cast<std::uint32_t>(number(value()));
      else if (option == "--b-bytes")
        p.bPictureBytes = static_cast<std::uint32_t>(number(value()));
      else if (option == "--cut")
        p.cutAtByte = number(value());
      else if (option == "--channel3d")
        p.channel3d = static_cast<std::uint32_t>(number(value()));
      else if (option == "--tc-gap") {
        const auto [picture, frames] = pairOf(value());
        p.timeCodeGaps.push_back({static_cast<std::uint32_t>(picture), static_cast<std::uint32_t>(frames)});
      } else if (option == "--discontinuity") {
        const auto [group, pts] = pairOf(value());
        p.discontinuities.push_back({static_cast<std::uint32_t>(group), pts});
      } else if (option == "--audio") {
        const std::string kind = value();
        p.audio = kind == "none"   ? SampleGen::AudioKind::None
                  : kind == "lpcm" ? SampleGen::AudioKind::Lpcm
                                   : SampleGen::AudioKind::Ac3;
      } else {
        throw std::invalid_argument("unknown option " + option);
      }
    }
    if (size > 0) {
      // Estimate a group's bytes from the sizes of its pictures plus the
      // PCR and audio packets that every picture brings.
      const std::uint64_t references = (p.gopLength - 1) / (p.bFrames + 1);
      const std::uint64_t bs = p.gopLength - 1 - references;
      const std::uint64_t groupBytes = p.iPictureBytes + references * p.pPictureBytes + bs * p.bPictureBytes +
                                       p.gopLength * (2 * 192 + 192) + 2 * 192;
      p.groups = static_cast<std::uint32_t>(size / groupBytes + 1);
      p.keepPictures = false;
    }
    const auto stream = SampleGen::writeStream(p, argv[1]);
    std::printf("%s: %llu bytes, %u groups\n", argv[1], static_cast<unsigned long long>(stream.bytes), p.groups);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make-stream: %s\n%s", error.what(), Usage);
    return 2;
  }
  return 0;
}
