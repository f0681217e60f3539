#include "report/RestoreReport.h"

#include <filesystem>
#include <unordered_map>

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

const char* ModeName(Restore::Mode mode) {
  switch (mode) {
    case Restore::Mode::MemoryCard:
      return "card";
    case Restore::Mode::AvchdFolder:
      return "folder";
    case Restore::Mode::StreamFiles:
      return "build";
  }
  return "";
}

const char* VerdictName(const Outcome& outcome) {
  if (outcome.Cancelled) return "cancelled";
  if (outcome.ResultState == Restore::Verdict::Failed) {
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

namespace {

nlohmann::json TextOrNull(const std::string& text) {
  return text.empty() ? nlohmann::json(nullptr) : nlohmann::json(text);
}

nlohmann::json FindingsJson(const std::vector<Restore::Finding>& findings) {
  nlohmann::json list = nlohmann::json::array();
  for (const auto& finding : findings) {
    list.push_back({{"file", finding.File.string()},
                    {"field", TextOrNull(finding.Field)},
                    {"rule", TextOrNull(finding.Rule)},
                    {"found", TextOrNull(finding.Found)},
                    {"expected", TextOrNull(finding.Expected)},
                    {"set", finding.Set ? nlohmann::json(*finding.Set) : nlohmann::json(nullptr)},
                    {"meaning", finding.Meaning}});
  }
  return list;
}

// The positions in the findings of those about each file: the reasons of
// its entries in the plan.
using ReasonIndex = std::unordered_map<std::string, nlohmann::json>;

ReasonIndex IndexReasons(const std::vector<Restore::Finding>& findings) {
  ReasonIndex reasons;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    auto& indices = reasons.try_emplace(findings[i].File.string(), nlohmann::json::array()).first->second;
    indices.push_back(i);
  }
  return reasons;
}

nlohmann::json ReasonsFor(const std::filesystem::path& file, const ReasonIndex& reasons) {
  const auto found = reasons.find(file.string());
  return found == reasons.end() ? nlohmann::json::array() : found->second;
}

}  // namespace

void Describe(const Restore::RestoreMain& run, Restore::Mode mode, Outcome& outcome) {
  outcome.Mode = mode;
  outcome.AvchdFolder = run.AvchdFolderPath().string();
  outcome.ResultState = run.ResultState();
  outcome.Result3d = run.Result3d();
  outcome.WriteProtected = run.IsWriteProtected();
  outcome.LeftAsIs = run.SpecialEntries();
  outcome.Findings = run.Findings();
  if (run.ResultState() != Restore::Verdict::Failed) return;
  outcome.Error = run.ErrorString();
  outcome.ErrorId = run.ErrorId();
}

nlohmann::json ToJson(const Outcome& outcome) {
  const ReasonIndex reasons = IndexReasons(outcome.Findings);
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
         {"findings", ReasonsFor(write.Path, reasons)},
         {"from", write.From.empty() ? nlohmann::json(nullptr) : nlohmann::json(write.From.string())}});
  }
  for (const auto& leftover : outcome.Plan.Leftovers) plan["leftover"].push_back(leftover.string());
  for (const auto& deleted : outcome.Plan.Deletes) plan["delete"].push_back(deleted.string());
  for (const auto& move : outcome.Plan.Moves) {
    plan["move"].push_back({{"from", move.From.string()}, {"to", move.To.string()}});
  }
  for (const auto& cut : outcome.Plan.Truncations) {
    plan["truncate"].push_back({{"path", cut.Path.string()},
                                {"size", cut.Size},
                                {"new_size", cut.NewSize},
                                {"seconds_left_out", cut.SecondsLeftOut},
                                {"findings", ReasonsFor(cut.Path, reasons)}});
  }
  nlohmann::json document = {
      {"schema", kSchema},
      {"verdict", VerdictName(outcome)},
      {"mode", ModeName(outcome.Mode)},
      {"avchd_folder", outcome.AvchdFolder},
      {"result_state", static_cast<int>(outcome.ResultState)},
      {"result_3d", static_cast<int>(outcome.Result3d)},
      {"error", outcome.Error ? nlohmann::json({{"id", outcome.ErrorId},
                                                {"text", *outcome.Error},
                                                {"hint", outcome.Hint ? nlohmann::json(*outcome.Hint) : nullptr}})
                              : nlohmann::json(nullptr)},
      {"restore_required", outcome.RestoreRequired},
      {"findings", FindingsJson(outcome.Findings)},
      {"plan", plan},
      {"committed", outcome.Committed},
      {"backup", outcome.Backup.empty() ? nlohmann::json(nullptr) : nlohmann::json(outcome.Backup)},
      {"backup_skipped", outcome.BackupSkipped},
      {"write_protected", outcome.WriteProtected},
      {"left_as_is", outcome.LeftAsIs}};
  if (!outcome.Partner.empty()) document["partner"] = ToJson(outcome.Partner.front());
  return document;
}

std::string Dump(const Outcome& outcome) {
  return ToJson(outcome).dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace RestoreReport
