#include "restorelib/Restore_RestoreMain.h"

namespace Restore {

void RestoreMain::VerifyRelation3d(RestoreMain& first) {
  result_.ResultState = Verdict::Failed;
  if (Guard([&] { threeD_.VerifyRelation(first.threeD_); })) result_.ResultState = Verdict::RepairRequired;
  LogResult();
}

void RestoreMain::VerifyMain3d(RestoreMain& second) {
  if (unfinished_ || second.unfinished_) {
    // An interrupted commit is finished first, alone; the pair is checked
    // and repaired by the next run, on whole trees.
    for (RestoreMain* run : {&second, this})
      run->result_.ResultState = run->unfinished_ ? Verdict::RepairRequired : Verdict::NotRequired;
    LogResult();
    second.LogResult();
    return;
  }
  std::vector<AAA::RuleFinding> pairFindings;
  const bool verified = Guard([&] {
    const AAA::FindingRecorder recorder(pairFindings);
    Restore3d::VerifyMain(threeD_, second.threeD_);
  });
  // Each rule goes to the tree whose file it names.
  for (auto& finding : pairFindings) {
    const bool ofSecond = finding.File.rfind((second.folder_.Path / "").string(), 0) == 0;
    (ofSecond ? second : *this).ruleFindings_.push_back(std::move(finding));
  }
  if (verified) {
    for (RestoreMain* run : {&second, this})
      run->result_.ResultState = run->IsRestoreRequired() ? Verdict::RepairRequired : Verdict::NotRequired;
  }
  LogResult();
  second.LogResult();
}

}  // namespace Restore
