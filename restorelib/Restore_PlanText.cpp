#include "restorelib/Restore_PlanText.h"

#include <cinttypes>
#include <cstdio>

namespace Restore {

namespace {

const char* KindText(FileKind kind) {
  switch (kind) {
    case FileKind::IndexTable:
      return "index table";
    case FileKind::MovieObject:
      return "movie object";
    case FileKind::PlayList:
      return "playlist";
    case FileKind::ClipInformation:
      return "clip information";
    case FileKind::ThumbnailIndex:
      return "thumbnail index";
    case FileKind::Backup:
      return "BACKUP copy";
    case FileKind::Other:
      return "file";
  }
  return "";
}

std::string ReasonText(const PlannedWrite& write) {
  switch (write.Reason) {
    case WriteReason::Missing:
      return "missing: made anew";
    case WriteReason::Damaged:
      return "damaged: built again";
    case WriteReason::Corrected:
      return "corrected";
    case WriteReason::FromCopy:
      return "restored from " + write.From.string();
    case WriteReason::Copy:
      return write.IsNew ? "new" : "brought up to date";
  }
  return "";
}

std::string Counted(std::size_t count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// More moves than this are shown as one line.
constexpr std::size_t kMovesListed = 10;

}  // namespace

std::string PlanText(const RestorePlan& plan) {
  std::string text;
  char line[160];
  if (plan.FinishesInterruptedCommit)
    text += "  A repair of this tree was interrupted; it is finished as it was planned.\n";
  for (const auto& leftover : plan.Leftovers)
    text += "  remove   " + leftover.string() + " (left by an interrupted repair)\n";
  for (const auto& write : plan.Writes) {
    text += "  write    " + write.Path.string() + " (" + KindText(write.Kind) + ": " + ReasonText(write) + ")\n";
  }
  for (const auto& deleted : plan.Deletes) text += "  delete   " + deleted.string() + "\n";
  std::uint64_t movedBytes = 0;
  for (const auto& move : plan.Moves) {
    std::error_code error;
    const auto size = std::filesystem::file_size(move.From, error);
    movedBytes += error ? 0 : size;
    if (plan.Moves.size() > kMovesListed) continue;
    std::snprintf(line, sizeof line, " (%" PRIuMAX " bytes)\n", error ? std::uintmax_t{0} : size);
    text += "  move     " + move.From.string() + " -> " + move.To.string() + line;
  }
  if (plan.Moves.size() > kMovesListed) {
    std::snprintf(line, sizeof line, " (%" PRIu64 " bytes in all)\n", movedBytes);
    text += "  move     " + Counted(plan.Moves.size(), "stream file") + " from " +
            plan.Moves.front().From.parent_path().string() + " into " + plan.Moves.front().To.parent_path().string() +
            line;
  }
  for (const auto& cut : plan.Truncations) {
    std::snprintf(line, sizeof line,
                  " %" PRIu64 " -> %" PRIu64 " bytes (%" PRIu64 " bytes of an unfinished unit at the end", cut.Size,
                  cut.NewSize, cut.Size - cut.NewSize);
    text += "  truncate " + cut.Path.string() + line;
    if (cut.SecondsLeftOut > 0) {
      std::snprintf(line, sizeof line, "; the last %.2f s of the recording cannot be played", cut.SecondsLeftOut);
      text += line;
    }
    text += ")\n";
  }
  text += "  In all: " + Counted(plan.Writes.size(), "file") + " written, " + std::to_string(plan.Deletes.size()) +
          " deleted, " + std::to_string(plan.Moves.size()) + " moved, " + std::to_string(plan.Truncations.size()) +
          " cut.\n";
  return text;
}

}  // namespace Restore
