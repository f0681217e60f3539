#pragma once

#include <filesystem>

// The sample memory card of `velmar-restore sample`: what a power loss
// leaves on a camcorder's card, made without a camcorder.
namespace SampleGen {

// Makes the card in the empty folder `card`: three generated recordings
// (two with AC-3 sound, one with linear PCM sound) in an AVCHD tree that the
// restorer itself builds from them, as a camcorder would have written it;
// then the last recording is cut short in its ninth group of pictures and
// the playlist of the linear PCM recording is damaged. False when the tree
// could not be built.
bool MakeSampleCard(const std::filesystem::path& card);

}  // namespace SampleGen
