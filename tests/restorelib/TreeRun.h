#pragma once

#include "restorelib/Restore_RestoreMain.h"
#include "samplegen/StreamGenerator.h"

// Runs the verification of a restore run on its worker and waits for it;
// returns the run's ResultState.
inline Restore::Verdict VerifyTree(Restore::RestoreMain& run) {
  run.Start(nullptr, [](const Restore::ResultBlock&) {});
  run.Wait();
  return run.ResultState();
}

// Verifies and commits; returns the ResultState of the commit (of the
// verification when it found nothing to write or failed).
inline Restore::Verdict VerifyAndCommit(Restore::RestoreMain& run) {
  if (VerifyTree(run) != Restore::Verdict::RepairRequired) return run.ResultState();
  run.Commit();
  return run.ResultState();
}

// A stream of `groups` groups of 15 pictures at 29.97 interlaced, half a
// second each, with recording metadata and AC-3 audio.
inline SampleGen::StreamParameters StreamOfGroups(std::uint32_t groups) {
  SampleGen::StreamParameters parameters;
  parameters.groups = groups;
  return parameters;
}
