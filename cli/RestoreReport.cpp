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

std::string PlanText(const Restore::RestorePlan& plan) {
  std::string text;
  char line[64];
  if (plan.FinishesInterruptedCommit)
    text += "  A repair of this tree was interrupted; it is finished as it was planned.\n";
  for (const auto& leftover : plan.Leftovers)
    text += "  remove   " + leftover.string() + " (left by an interrupted repair)\n";
  for (const auto& write : plan.Writes) {
    text += "  write    " + write.Path.string() + " (" + KindName(write.Kind) + (write.IsNew ? ", new" : "") +
            (write.From.empty() ? "" : ", from " + write.From.string()) + ")\n";
  }
  for (const auto& deleted : plan.Deletes) text += "  delete   " + deleted.string() + "\n";
  for (const auto& move : plan.Moves) {
    std::error_code error;
    const auto size = std::filesystem::file_size(move.From, error);
    std::snprintf(line, sizeof line, " (%" PRIuMAX " bytes)\n", error ? std::uintmax_t{0} : size);
    text += "  move     " + move.From.string() + " -> " + move.To.string() + line;
  }
  for (const auto& cut : plan.Truncations) {
    std::snprintf(line, sizeof line, " %" PRIu64 " -> %" PRIu64 " bytes\n", cut.Size, cut.NewSize);
    text += "  truncate " + cut.Path.string() + line;
  }
  return text;
}

}  // namespace RestoreReport
