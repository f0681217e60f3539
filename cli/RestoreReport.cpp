#include "cli/RestoreReport.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>

#include "aaalib/AAA_Exceptions.h"
#include "restorelib/Restore_RestoreMain.h"

namespace RestoreReport {

const char* KindName(Restore::FileKind kind) {
  switch (kind) {
    case Restore::FileKind::IndexTable:
      return "index_table";
    case Restore::FileKind::MovieObject:
      return "movie_object";
    case Restore::FileKind::PlayList:
      return "playlist";
    case Restore::FileKind::ClipInformation:
      return "clip_information";
    case Restore::FileKind::ThumbnailIndex:
      return "thumbnail_index";
    case Restore::FileKind::Backup:
      return "backup";
    case Restore::FileKind::Other:
      return "other";
  }
  return "";
}

const char* ModeName(int mode) {
  switch (mode) {
    case Restore::ModeMemoryCard:
      return "card";
    case Restore::ModeAvchdFolder:
      return "folder";
    case Restore::ModeStreamFiles:
      return "build";
  }
  return "";
}

const char* VerdictName(const Outcome& outcome) {
  if (outcome.Cancelled) return "cancelled";
  if (outcome.ResultState == -1) {
    // A verification that ends because of what the tree holds: it cannot be
    // repaired. Anything else, and a failed commit, is a failure of the run.
    const bool ofTheTree =
        outcome.ErrorId == AAA::MessageId::InvalidData || outcome.ErrorId == AAA::MessageId::InvalidStream ||
        outcome.ErrorId == AAA::MessageId::MakerModel || outcome.ErrorId == AAA::MessageId::Not3dPair;
    return ofTheTree && !outcome.RestoreRequired ? "not-repairable" : "failed";
  }
  return outcome.RestoreRequired ? "repair-required" : "not-required";
}

const char* ReasonName(Restore::WriteReason reason) {
  switch (reason) {
    case Restore::WriteReason::Missing:
      return "missing";
    case Restore::WriteReason::Damaged:
      return "damaged";
    case Restore::WriteReason::Corrected:
      return "corrected";
    case Restore::WriteReason::FromCopy:
      return "restored-from-backup";
    case Restore::WriteReason::Copy:
      return "backup-copy";
  }
  return "";
}

nlohmann::json ToJson(const Outcome& outcome) {
  nlohmann::json plan = {{"finishes_interrupted_commit", outcome.Plan.FinishesInterruptedCommit},
                         {"leftover", nlohmann::json::array()},
                         {"write", nlohmann::json::array()},
                         {"delete", nlohmann::json::array()},
                         {"move", nlohmann::json::array()},
                         {"truncate", nlohmann::json::array()}};
  for (const auto& write : outcome.Plan.Writes) {
    plan["write"].push_back(
        {{"path", write.Path.string()},
         {"kind", KindName(write.Kind)},
         {"new", write.IsNew},
         {"reason", ReasonName(write.Reason)},
         {"from", write.From.empty() ? nlohmann::json(nullptr) : nlohmann::json(write.From.string())}});
  }
  for (const auto& leftover : outcome.Plan.Leftovers) plan["leftover"].push_back(leftover.string());
  for (const auto& deleted : outcome.Plan.Deletes) plan["delete"].push_back(deleted.string());
  for (const auto& move : outcome.Plan.Moves) {
    plan["move"].push_back({{"from", move.From.string()}, {"to", move.To.string()}});
  }
  for (const auto& cut : outcome.Plan.Truncations) {
    plan["truncate"].push_back({{"path", cut.Path.string()}, {"size", cut.Size}, {"new_size", cut.NewSize}});
  }
  nlohmann::json document = {
      {"schema", kSchema},
      {"verdict", VerdictName(outcome)},
      {"mode", ModeName(outcome.Mode)},
      {"avchd_folder", outcome.AvchdFolder},
      {"result_state", outcome.ResultState},
      {"result_3d", outcome.Result3d},
      {"error", outcome.Error ? nlohmann::json({{"id", outcome.ErrorId},
                                                {"text", *outcome.Error},
                                                {"hint", outcome.Hint ? nlohmann::json(*outcome.Hint) : nullptr}})
                              : nlohmann::json(nullptr)},
      {"restore_required", outcome.RestoreRequired},
      {"plan", plan},
      {"committed", outcome.Committed},
      {"backup", outcome.Backup.empty() ? nlohmann::json(nullptr) : nlohmann::json(outcome.Backup)},
      {"backup_skipped", outcome.BackupSkipped},
      {"write_protected", outcome.WriteProtected},
      {"left_as_is", outcome.LeftAsIs}};
  if (!outcome.Partner.empty()) document["partner"] = ToJson(outcome.Partner.front());
  return document;
}

namespace {

const char* KindText(Restore::FileKind kind) {
  switch (kind) {
    case Restore::FileKind::IndexTable:
      return "index table";
    case Restore::FileKind::MovieObject:
      return "movie object";
    case Restore::FileKind::PlayList:
      return "playlist";
    case Restore::FileKind::ClipInformation:
      return "clip information";
    case Restore::FileKind::ThumbnailIndex:
      return "thumbnail index";
    case Restore::FileKind::Backup:
      return "BACKUP copy";
    case Restore::FileKind::Other:
      return "file";
  }
  return "";
}

std::string ReasonText(const Restore::PlannedWrite& write) {
  switch (write.Reason) {
    case Restore::WriteReason::Missing:
      return "missing: made anew";
    case Restore::WriteReason::Damaged:
      return "damaged: built again";
    case Restore::WriteReason::Corrected:
      return "corrected";
    case Restore::WriteReason::FromCopy:
      return "restored from " + write.From.string();
    case Restore::WriteReason::Copy:
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

std::string PlanText(const Restore::RestorePlan& plan) {
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
                  " %" PRIu64 " -> %" PRIu64 " bytes (%" PRIu64 " bytes of an unfinished unit at the end)\n", cut.Size,
                  cut.NewSize, cut.Size - cut.NewSize);
    text += "  truncate " + cut.Path.string() + line;
  }
  text += "  In all: " + Counted(plan.Writes.size(), "file") + " written, " + std::to_string(plan.Deletes.size()) +
          " deleted, " + std::to_string(plan.Moves.size()) + " moved, " + std::to_string(plan.Truncations.size()) +
          " cut.\n";
  return text;
}

}  // namespace RestoreReport
