#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "restorelib/Restore_Findings.h"
#include "restorelib/Restore_Mode.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_Result.h"

namespace Restore {
class RestoreMain;
}

// The verdict, the plan and the result of a restore run, as text for people
// and as one JSON document for programs.

namespace RestoreReport {

struct Outcome {
  Restore::Mode Mode = Restore::Mode::MemoryCard;
  std::string AvchdFolder;
  Restore::Verdict ResultState = Restore::Verdict::RepairRequired;
  Restore::Channel3d Result3d = Restore::Channel3d::None;
  bool Cancelled = false;
  std::optional<std::string> Error;
  int ErrorId = 0;  // the message id of Error
  // What to do about the error, when the path given makes it plain.
  std::optional<std::string> Hint;
  bool RestoreRequired = false;
  std::vector<Restore::Finding> Findings;
  Restore::RestorePlan Plan;
  bool Committed = false;
  // The backup folder of the commit; empty when none was written.
  std::string Backup;
  bool BackupSkipped = false;
  // The medium refuses writes: a check works, a repair needs it unlocked.
  bool WriteProtected = false;
  // Links, FIFOs, devices and hard-linked streams of the tree, never
  // followed, replaced or cut: one line each.
  std::vector<std::string> LeftAsIs;
  // The other eye of a 3D pair, with the same fields; empty for one tree.
  std::vector<Outcome> Partner;
};

// "index_table", "movie_object", "playlist", "clip_information", "thumbnail_index", "backup"
const char* KindName(Restore::FileKind kind);

// The version of the JSON report (docs/report.md): raised when a key changes
// its meaning or goes.
constexpr int kSchema = 1;

// "card", "folder", "build": the command of the mode.
const char* ModeName(Restore::Mode mode);
// "not-required", "repair-required", "not-repairable", "cancelled", "failed".
const char* VerdictName(const Outcome& outcome);

// What `run` says of its tree: the folder, the verdict, the 3D channel, the
// medium's write protection, what is left as it is, the findings and, when
// the run failed, its error. The caller adds what it knows beyond the run:
// the plan it showed, the commit and its backup, what to do about an error.
void Describe(const Restore::RestoreMain& run, Restore::Mode mode, Outcome& outcome);

nlohmann::json ToJson(const Outcome& outcome);
// The document as text. A path need not be UTF-8; JSON must be: such bytes
// are shown as U+FFFD.
std::string Dump(const Outcome& outcome);

}  // namespace RestoreReport
