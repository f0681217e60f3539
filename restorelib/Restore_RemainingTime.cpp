#include "restorelib/Restore_RemainingTime.h"

#include "restorelib/Restore_Texts.h"

namespace Restore {

std::string RemainingTime::Text(std::uint32_t progress, Clock::time_point now) const {
  if (progress == 0) return {};
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  const int remaining = static_cast<int>(elapsed / progress * (100 - progress));
  const bool seconds = remaining < 60;
  return Texts::Text(UiText::Remaining) + " " + std::to_string(seconds ? remaining : remaining / 60) + " " +
         Texts::Text(seconds ? UiText::Seconds : UiText::Minutes);
}

}  // namespace Restore
