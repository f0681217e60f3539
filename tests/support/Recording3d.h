#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "aaalib/AAA_Element.h"
#include "samplegen/StreamGenerator.h"
#include "tests/support/TreeBuilder.h"

// The two trees of one 3D recording, one per eye: streams whose recording
// metadata carries the 3D channel value, and management files whose
// professional metadata names the channel and the recording.
namespace TestSupport {

// The 3D channel values a camcorder writes into the recording metadata of
// each eye (announced by tag 0xE6, written as tag 0xE7): the right channel
// sets bit 0x800.
inline constexpr std::uint32_t kChannel3dLeft = 0x11000100;
inline constexpr std::uint32_t kChannel3dRight = 0x11000900;

// `parameters` with the 3D channel value of eye 'L' or 'R'.
SampleGen::StreamParameters EyeStream(SampleGen::StreamParameters parameters, char channel);

// A recording's identifier (32 bytes) that differs with `seed`.
AAA::Bytes MaterialID(std::uint8_t seed);

// Makes every clip information file, playlist and the index table of the
// tree say that they hold eye `channel` ('L' or 'R') of the recording
// `globalMaterialID`: professional meta identifier at version 0x11 at
// least with content info "3DS", the playlists' information at 0x11 and
// each entry mark with a content info of the same values. Files without
// makers private data are left as they are.
void MarkAs3dChannel(const TreeBuilder& tree, char channel, const AAA::Bytes& globalMaterialID);
// The same on the AVCHD (or AVCHDL) folder `avchd`.
void MarkAs3dChannel(const std::filesystem::path& avchd, char channel, const AAA::Bytes& globalMaterialID);

// What the professional meta identifier of a written file says: its
// version, and the channel and the identifier of its content info (empty
// when it has none). `kind` names the file: "clip", "playlist" or "index".
struct ContentOfFile {
  std::uint32_t version = 0;
  std::string channel;
  AAA::Bytes globalMaterialID;
};
ContentOfFile ReadContent(const std::filesystem::path& path, const std::string& kind);

}  // namespace TestSupport
