#pragma once

#include <string>

#include "restorelib/Restore_Plan.h"

namespace Restore {

// The plan for people: one line per file the commit writes, deletes or cuts,
// with the reason; many moves in one line; a line that counts them all.
std::string PlanText(const RestorePlan& plan);

}  // namespace Restore
