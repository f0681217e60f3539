#include "restorelib/Restore_Backup.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_FieldBase.h"
#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_FileLayer.h"
#include "restorelib/Restore_Journal.h"
#include "restorelib/Restore_Sha256.h"
#include "restorelib/Restore_Transaction.h"

namespace Restore {
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kManifest = "manifest.json";
const char* const kChanges = "changes.journal";
const char* const kUndo = "undo.journal";

bool IsRegular(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(fs::symlink_status(path, error));
}

// Where the file that the commit calls `path` lies before its moves.
fs::path BeforeMoves(const ChangeSet& changes, const fs::path& path) {
  for (const auto& move : changes.Moves) {
    if (move.To == path) return move.From;
  }
  return path;
}

// The changes that take `changes` back, read from the tree before the
// first of them is made.
ChangeSet InverseOf(const ChangeSet& changes) {
  ChangeSet undo;
  for (const auto& leftover : changes.Leftovers) {
    if (auto bytes = FileLayer::ContentOf(leftover)) undo.Writes.push_back({leftover, FileKind::Other, *bytes});
  }
  for (const auto& folder : changes.Folders) {
    if (!Utility::Exists(folder) &&
        std::find(undo.FolderDeletes.begin(), undo.FolderDeletes.end(), folder) == undo.FolderDeletes.end())
      undo.FolderDeletes.insert(undo.FolderDeletes.begin(), folder);
  }
  const auto written = changes.WrittenPaths();
  for (const auto& deleted : changes.Deletes) {
    if (auto bytes = FileLayer::ContentOf(deleted); bytes && written.count(deleted) == 0)
      undo.Writes.push_back({deleted, FileKind::Other, *bytes});
  }
  for (const auto& write : changes.Writes) {
    if (auto bytes = FileLayer::ContentOf(write.Path)) {
      undo.Writes.push_back({write.Path, write.Kind, *bytes});
    } else {
      undo.Deletes.push_back(write.Path);
    }
  }
  for (const auto& cut : changes.Truncations) {
    undo.Appends.push_back(
        {cut.Path, cut.NewSize, FileLayer::ReadTail(BeforeMoves(changes, cut.Path), cut.Size - cut.NewSize)});
  }
  for (auto move = changes.Moves.rbegin(); move != changes.Moves.rend(); ++move)
    undo.Moves.push_back({move->To, move->From});
  for (auto folder = changes.FolderDeletes.rbegin(); folder != changes.FolderDeletes.rend(); ++folder) {
    if (Utility::Exists(*folder)) undo.Folders.push_back(*folder);
  }
  return undo;
}

// The length of the well-formed UTF-8 sequence at `at`, or 0 when the byte
// there starts none (a stray continuation, an overlong form, a surrogate or a
// code point above U+10FFFF).
std::size_t Utf8LengthAt(const std::string& text, std::size_t at) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned lead = byte(at);
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  }
  const unsigned second = byte(at + 1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second >= 0x90))
    return 0;
  return length;
}

bool IsUtf8(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8LengthAt(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

// `text` as a JSON string. A path need not be UTF-8; a byte that is not
// part of a UTF-8 character becomes U+FFFD, so that the manifest always
// reads (the tree's own bytes are kept beside it, see ManifestOf).
std::string Escaped(const std::string& text) {
  std::string escaped;
  for (std::size_t at = 0; at < text.size();) {
    const char character = text[at];
    const auto code = static_cast<unsigned char>(character);
    const std::size_t length = Utf8LengthAt(text, at);
    if (character == '"' || character == '\\') {
      escaped += '\\';
      escaped += character;
    } else if (code < 0x20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04x", code);
      escaped += hex;
    } else if (length == 0) {
      escaped += "\\ufffd";
    } else {
      escaped.append(text, at, length);
    }
    at += length == 0 ? 1 : length;
  }
  return '"' + escaped + '"';
}

// One entry of the manifest: a change, with what it finds and what it leaves.
class Entry {
 public:
  Entry(const fs::path& working, const fs::path& path, const char* operation)
      : text_("    {\"path\": " + Escaped(path.lexically_relative(working).string()) + ", \"operation\": \"" +
              operation + "\"") {}
  Entry& Add(const char* name, const std::string& value) {
    text_ += std::string(", \"") + name + "\": " + value;
    return *this;
  }
  Entry& Content(const char* when, const Bytes* bytes) {
    Add((std::string("size_") + when).c_str(), bytes ? std::to_string(bytes->size()) : "null");
    return Add((std::string("sha256_") + when).c_str(), bytes ? Escaped(Sha256Hex(*bytes)) : "null");
  }
  std::string Text() const { return text_ + "}"; }

 private:
  std::string text_;
};

std::string UtcTime(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, format, &utc);
  return text;
}

std::string ManifestOf(const ChangeSet& changes, const ChangeSet& undo, const fs::path& working,
                       const std::string& version) {
  std::vector<std::string> entries;
  const auto oldContent = [&undo](const fs::path& path) -> const Bytes* {
    for (const auto& write : undo.Writes) {
      if (write.Path == path) return &write.Bytes;
    }
    return nullptr;
  };
  for (const auto& leftover : changes.Leftovers) {
    entries.push_back(Entry(working, leftover, "remove-leftover")
                          .Content("before", oldContent(leftover))
                          .Content("after", nullptr)
                          .Text());
  }
  for (const auto& folder : undo.FolderDeletes) entries.push_back(Entry(working, folder, "create-folder").Text());
  const auto written = changes.WrittenPaths();
  for (const auto& deleted : changes.Deletes) {
    if (const Bytes* before = oldContent(deleted); before && written.count(deleted) == 0)
      entries.push_back(Entry(working, deleted, "delete").Content("before", before).Content("after", nullptr).Text());
  }
  for (const auto& write : changes.Writes) {
    entries.push_back(Entry(working, write.Path, oldContent(write.Path) ? "write" : "create")
                          .Content("before", oldContent(write.Path))
                          .Content("after", &write.Bytes)
                          .Text());
  }
  for (const auto& move : changes.Moves) {
    entries.push_back(Entry(working, move.From, "move")
                          .Add("to", Escaped(move.To.lexically_relative(working).string()))
                          .Add("size", std::to_string(FileLayer::FileSize(move.From)))
                          .Text());
  }
  for (const auto& append : undo.Appends) {
    const auto cut =
        std::find_if(changes.Truncations.begin(), changes.Truncations.end(),
                     [&append](const PlannedTruncation& truncation) { return truncation.Path == append.Path; });
    entries.push_back(Entry(working, append.Path, "truncate")
                          .Add("size_before", std::to_string(cut->Size))
                          .Add("size_after", std::to_string(cut->NewSize))
                          .Add("sha256_cut_tail", Escaped(Sha256Hex(append.Bytes)))
                          .Text());
  }
  for (const auto& folder : undo.Folders) entries.push_back(Entry(working, folder, "delete-folder").Text());
  // A tree whose path is not UTF-8 keeps its bytes too, so that undo finds it.
  const std::string tree = working.string();
  const std::string treeBytes =
      IsUtf8(tree) ? "" : ",\n  \"tree_bytes\": \"" + AAA::FieldBase::Hex(Bytes(tree.begin(), tree.end())) + "\"";
  std::string manifest = "{\n  \"tree\": " + Escaped(tree) + treeBytes + ",\n  \"version\": " + Escaped(version) +
                         ",\n  \"time\": " + Escaped(UtcTime("%Y-%m-%dT%H:%M:%SZ")) + ",\n  \"entries\": [";
  for (std::size_t i = 0; i < entries.size(); ++i) manifest += (i == 0 ? "\n" : ",\n") + entries[i];
  return manifest + "\n  ]\n}\n";
}

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Makes `folder` and every missing folder above it.
void MakeFolders(const fs::path& folder, Transaction& transaction) {
  if (folder.empty() || Utility::Exists(folder)) return;
  MakeFolders(folder.parent_path(), transaction);
  transaction.MakeFolder(folder);
}

ChangeSet ReadJournal(const fs::path& path, const fs::path& working) {
  auto changes = ChangeSetOfJournal(FileLayer::ReadFile(path), working);
  if (!changes) AAA_THROW(AAA::InvalidDataException());
  return *changes;
}

bool HasSize(const fs::path& path, std::uint64_t size) {
  std::error_code error;
  return IsRegular(path) && fs::file_size(path, error) == size && !error;
}

// The paths of the tree that do not hold what `changes` leaves.
std::vector<fs::path> DifferencesFrom(const ChangeSet& changes) {
  std::vector<fs::path> differ;
  for (const auto& path : changes.Leftovers) {
    if (Utility::Exists(path)) differ.push_back(path);
  }
  const auto written = changes.WrittenPaths();
  for (const auto& path : changes.Deletes) {
    if (written.count(path) == 0 && Utility::Exists(path)) differ.push_back(path);
  }
  for (const auto& write : changes.Writes) {
    if (FileLayer::ContentOf(write.Path) != write.Bytes) differ.push_back(write.Path);
  }
  for (const auto& append : changes.Appends) {
    if (!HasSize(append.Path, append.Size + append.Bytes.size())) differ.push_back(append.Path);
  }
  for (const auto& move : changes.Moves) {
    if (Utility::Exists(move.From) || !Utility::Exists(move.To)) differ.push_back(move.To);
  }
  for (const auto& cut : changes.Truncations) {
    if (!HasSize(cut.Path, cut.NewSize)) differ.push_back(cut.Path);
  }
  for (const auto& folder : changes.FolderDeletes) {
    if (Utility::Exists(folder)) differ.push_back(folder);
  }
  for (const auto& folder : changes.Folders) {
    if (!Utility::Exists(folder)) differ.push_back(folder);
  }
  return differ;
}

}  // namespace

fs::path DefaultBackupRoot() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  const fs::path base = data != nullptr && *data != '\0' ? fs::path(data)
                        : home != nullptr                ? fs::path(home) / ".local" / "share"
                                                         : fs::temp_directory_path();
  return base / "velmar-restorer" / "backups";
}

void WriteBackup(const ChangeSet& changes, const fs::path& working, const fs::path& root, const std::string& version,
                 fs::path& folder) {
  const std::string name = UtcTime("%Y%m%dT%H%M%SZ") + "-" + working.filename().string();
  const fs::path normal = Utility::NormalizePath(root);
  folder = normal / name;
  const ChangeSet undo = InverseOf(changes);
  Transaction transaction;
  MakeFolders(normal, transaction);
  // A name seen taken is passed over without an attempt; the attempt still
  // fails when another run takes the name between the look and the making.
  for (int number = 2; Utility::Exists(folder) || !transaction.MakeNewFolder(folder); ++number)
    folder = normal / (name + "-" + std::to_string(number));
  AAA::Log::Line(AAA::Log::kHeading, "backup: %s\n", folder.c_str());
  transaction.Replace(folder / kUndo, JournalBytes(undo, working));
  transaction.Replace(folder / kChanges, JournalBytes(changes, working));
  transaction.Replace(folder / kManifest, BytesOf(ManifestOf(changes, undo, working, version)));
  transaction.Keep();
}

UndoPlan PlanUndo(const fs::path& folder, const fs::path& working) {
  UndoPlan plan{ReadJournal(folder / kUndo, working), {}, false};
  plan.FinishesInterruptedUndo = FileLayer::ContentOf(JournalPathFor(working)) == JournalBytes(plan.Changes, working);
  if (!plan.FinishesInterruptedUndo) plan.ChangedSince = DifferencesFrom(ReadJournal(folder / kChanges, working));
  return plan;
}

std::vector<fs::path> Undo(const UndoPlan& plan, const fs::path& working, const Utility::VolumeQueries& volume) {
  AAA::Log::Heading("undo");
  if (plan.FinishesInterruptedUndo) {
    FinishChanges(plan.Changes, working, volume);
  } else {
    ApplyChanges(plan.Changes, working, volume);
  }
  return DifferencesFrom(plan.Changes);
}

}  // namespace Restore
