#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// A set of changes to a tree that happens whole or not at all. Each change
// goes through the file layer and keeps what it needs to be taken back;
// when one fails, the changes made before it are undone in reverse order,
// so that a full card or a failing medium leaves the tree as it was.
namespace Restore {

class Transaction {
 public:
  Transaction() = default;
  // A transaction left without Keep() takes its changes back.
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void Replace(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
  void Remove(const std::filesystem::path& path);
  void MakeFolder(const std::filesystem::path& path);
  // False, with nothing changed, when something is at `path` already.
  bool MakeNewFolder(const std::filesystem::path& path);
  void RemoveFolder(const std::filesystem::path& path);
  void Move(const std::filesystem::path& from, const std::filesystem::path& to);
  void Truncate(const std::filesystem::path& path, std::uint64_t size);
  void Append(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

  // The changes stay.
  void Keep() { undo_.clear(); }
  // Takes every change back, the last first. A change that cannot be taken
  // back is logged and the others are still tried.
  void Rollback();

 private:
  struct Undo {
    enum Kind { RestoreFile, RemoveFile, RemoveFolder, MakeFolder, MoveBack, AppendTail, CutTail } What;
    std::filesystem::path Path;
    std::filesystem::path From;  // MoveBack: where the file came from
    std::vector<std::uint8_t> Bytes;
    std::uint64_t CutSize = 0;  // AppendTail: the size the file was cut to; CutTail: its size before
  };
  static void Apply(const Undo& undo);

  std::vector<Undo> undo_;
};

}  // namespace Restore
