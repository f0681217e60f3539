#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "aaalib/AAA_Verify.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_RestoreStreamFolder.h"

namespace Restore {

// What the verification found, for people and programs: one entry for each
// rule that failed or value corrected, and one for each recording cut short.
// The diagnostic log says the same for developers, with source lines.
struct Finding {
  std::filesystem::path File;
  // The field's full name and the rule's text; empty for a finding about a
  // whole stream.
  std::string Field;
  std::string Rule;
  std::string Found;
  // What the rule expects; empty for a condition.
  std::string Expected;
  std::optional<std::string> Set;
  // What it means, in a sentence for people.
  std::string Meaning;
};

// The findings of the rules reported (a file read twice reports its rules
// twice: kept once), of the recordings cut short, in the order of the
// verification, and, in a tree that is there (`treeExists`), of the files
// missing; each says what the plan does about its file.
std::vector<Finding> CollectFindings(const std::vector<AAA::RuleFinding>& rules, const RestorePlan& plan,
                                     const std::deque<StreamEntry>& streams, bool treeExists);

// The findings for people: one line for each file with its meaning, then
// one line for each field (the first few of a file).
std::string FindingsText(const std::vector<Finding>& findings);

}  // namespace Restore
