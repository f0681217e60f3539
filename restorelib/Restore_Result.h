#pragma once

#include <cstdint>

namespace Restore {

// How a run ended (its ResultState): failed (with ErrorString), a repair is
// required (or was made), nothing to repair, or cancelled.
enum class Verdict : std::int32_t { Failed = -1, RepairRequired = 0, NotRequired = 1, Cancelled = 2 };

// The channel of 3D content a tree holds (its Result3d).
enum class Channel3d : std::int32_t { None = 0, Left = 1, Right = 2 };

}  // namespace Restore
