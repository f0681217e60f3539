#include "restorelib/Restore_Findings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unordered_map>
#include <utility>

namespace Restore {
namespace fs = std::filesystem;

namespace {

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

// "the clip information of 00003", "the playlist 00000", ...: the file by what
// it is, from where it lies in the tree; and what it must agree with.
struct FileRole {
  std::string what;
  const char* against;
};

FileRole RoleOf(const fs::path& file) {
  const std::string folder = Upper(file.parent_path().filename().string());
  const std::string name = Upper(file.filename().string());
  const std::string stem = file.stem().string();
  const bool isCopy = folder == "BACKUP" || Upper(file.parent_path().parent_path().filename().string()) == "BACKUP";
  const std::string copy = isCopy ? "the copy in BACKUP of " : "";
  if (folder == "CLIPINF") return {copy + "the clip information of " + stem, "its stream"};
  if (folder == "PLAYLIST") return {copy + "the playlist " + stem, "the clips it plays"};
  if (name.rfind("INDEX", 0) == 0) return {copy + "the index table", "the playlists"};
  if (name.rfind("MOVIEOBJ", 0) == 0) return {copy + "the movie object", "the index table"};
  if (folder == "AVCHDTN") return {"the thumbnail index", "the recordings"};
  return {"the file " + file.filename().string(), "the rest of the tree"};
}

// What the plan does with `file`, as the end of a sentence.
std::string Fate(const fs::path& file, const RestorePlan& plan) {
  for (const auto& write : plan.Writes) {
    if (write.Path != file) continue;
    switch (write.Reason) {
      case WriteReason::Missing:
      case WriteReason::Damaged:
        return "it will be built again";
      case WriteReason::Corrected:
        return "it will be corrected";
      case WriteReason::FromCopy:
        return "it will be restored from " + write.From.string();
      case WriteReason::Copy:
        return "it will be brought up to date";
    }
  }
  if (std::find(plan.Deletes.begin(), plan.Deletes.end(), file) != plan.Deletes.end()) return "it will be deleted";
  return "it is left as it is";
}

// One sentence for a file, from what the plan does with it: a corrected
// file disagreed with what it describes; any other broke its format's rules.
std::string MeaningOf(const fs::path& file, const RestorePlan& plan) {
  const FileRole role = RoleOf(file);
  const std::string fate = Fate(file, plan);
  const bool corrected = std::any_of(plan.Writes.begin(), plan.Writes.end(), [&file](const PlannedWrite& write) {
    return write.Path == file && write.Reason == WriteReason::Corrected;
  });
  if (corrected) return role.what + " does not agree with " + role.against + ": " + fate;
  return role.what + " breaks a rule of its format: " + fate;
}

// What makes two reports one finding: a file read twice reports its rules twice.
std::string ReportKey(const AAA::RuleFinding& rule) {
  std::string key = rule.File;
  for (const std::string* part : {&rule.Field, &rule.Rule, &rule.Found}) (key += '\0') += *part;
  return key;
}

// A correction of the value a failed condition just reported: one finding,
// with the condition as its rule.
bool CorrectsTheLast(const std::vector<Finding>& findings, const AAA::RuleFinding& rule) {
  if (!rule.Set || findings.empty()) return false;
  const Finding& last = findings.back();
  return !last.Set && last.Expected.empty() && last.File == rule.File && last.Field == rule.Field &&
         last.Found == rule.Found;
}

// A recording whose end a repair gives up: its stream is cut, or its clip
// information written. A stream repaired before keeps the bytes its clip
// leaves out, and is no finding again.
bool RepairedNow(const StreamEntry& stream, const RestorePlan& plan) {
  const std::string clip = stream.Destination.stem().string();
  return std::any_of(plan.Truncations.begin(), plan.Truncations.end(),
                     [&stream](const PlannedTruncation& cut) { return cut.Path == stream.Destination; }) ||
         std::any_of(plan.Writes.begin(), plan.Writes.end(), [&clip](const PlannedWrite& write) {
           return write.Kind == FileKind::ClipInformation && write.Path.stem() == clip;
         });
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", seconds);
  return text;
}

// More fields of one file than this are counted, not listed.
constexpr std::size_t kFieldsListed = 5;

std::string FieldLine(const Finding& finding) {
  std::string line = "      " + finding.Field + ": " + finding.Found;
  if (finding.Set) {
    line += " -> " + *finding.Set;
  } else if (!finding.Expected.empty()) {
    line += ", expected " + finding.Expected;
  }
  return line + " (" + finding.Rule + ")\n";
}

// A finding of a whole file rather than of a rule.
Finding AboutFile(const std::filesystem::path& file, std::string meaning) {
  return {file, {}, {}, {}, {}, {}, std::move(meaning)};
}

}  // namespace

std::vector<Finding> CollectFindings(const std::vector<AAA::RuleFinding>& rules, const RestorePlan& plan,
                                     const std::deque<StreamEntry>& streams, bool treeExists) {
  // A card of thousands of clips reports thousands of rules: each is found
  // among the findings, and each file's meaning made, once.
  std::vector<Finding> findings;
  std::unordered_map<std::string, std::size_t> byReport;
  std::unordered_map<std::string, std::string> meanings;
  for (const auto& rule : rules) {
    const auto [same, isNew] = byReport.emplace(ReportKey(rule), findings.size());
    if (!isNew) {
      if (rule.Set) findings[same->second].Set = rule.Set;
      continue;
    }
    if (CorrectsTheLast(findings, rule)) {
      findings.back().Set = rule.Set;
      continue;
    }
    auto meaning = meanings.find(rule.File);
    if (meaning == meanings.end()) meaning = meanings.emplace(rule.File, MeaningOf(rule.File, plan)).first;
    findings.push_back({rule.File, rule.Field, rule.Rule, rule.Found, rule.Expected, rule.Set, meaning->second});
  }
  for (const auto& write : plan.Writes) {
    if (treeExists && write.Reason == WriteReason::Missing && write.Kind != FileKind::Backup)
      findings.push_back(AboutFile(write.Path, RoleOf(write.Path).what + " is missing: it will be made anew"));
  }
  for (const auto& stream : streams) {
    const std::string recording = "the recording " + stream.Destination.stem().string();
    if (!stream.Playable) {
      findings.push_back(AboutFile(stream.Destination, recording + " holds no picture that can be played: no clip "
                                                                   "plays it, and its stream file is kept"));
    } else if (stream.SecondsLeftOut > 0 && RepairedNow(stream, plan)) {
      findings.push_back(AboutFile(stream.Destination, recording + " was cut short: " + Seconds(stream.SecondsLeftOut) +
                                                           " at its end cannot be played and is left out of its clip"));
    }
  }
  return findings;
}

std::string FindingsText(const std::vector<Finding>& findings) {
  // The findings of each file, the files in the order they were first found.
  std::vector<std::vector<const Finding*>> files;
  std::unordered_map<std::string, std::size_t> fileIndex;
  for (const auto& finding : findings) {
    const auto [at, isNew] = fileIndex.emplace(finding.File.string(), files.size());
    if (isNew) files.emplace_back();
    files[at->second].push_back(&finding);
  }
  std::string text;
  for (const auto& file : files) {
    std::size_t fields = 0;
    std::string meaning;
    std::string lines;
    for (const Finding* finding : file) {
      if (finding->Field.empty() || meaning.empty()) meaning = finding->Meaning;
      if (finding->Field.empty()) continue;
      if (fields++ < kFieldsListed) lines += FieldLine(*finding);
    }
    text += "  " + file.front()->File.string() + ": " + meaning + ".\n" + lines;
    if (fields > kFieldsListed)
      text += "      and " + std::to_string(fields - kFieldsListed) + " more field" +
              (fields - kFieldsListed == 1 ? "" : "s") + "\n";
  }
  return text;
}

}  // namespace Restore
