#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The one way the engine changes a medium. Every operation is made durable
// before it returns (the file and the folder that names it are synced), so
// that a power cut leaves each file either as it was or as it was meant to
// be. Each system call that changes the medium passes a hook first, where a
// test can stop the run, fail the call with an error number, or keep what a
// power cut would lose. Failures throw the exception of their error number.
// Below the tree of a TreeScope (Restore_Beneath.h) nothing is reached
// through a link.
namespace Restore::FileLayer {

// One system call that changes the medium.
struct Operation {
  enum Kind {
    CreateFile,    // open with O_CREAT | O_TRUNC
    WriteFile,     // the bytes of one write sequence, at the end of the file
    SyncFile,      // fsync of a file
    SyncFolder,    // fsync of a folder
    Rename,        // rename `Path` to `Target`
    Truncate,      // ftruncate to `Size`
    Remove,        // unlink
    MakeFolder,    // mkdir
    RemoveFolder,  // rmdir
    MakeWritable,  // chmod adding the owner's write bit (what clears FAT's read-only flag)
  };
  Kind What;
  std::filesystem::path Path;
  std::filesystem::path Target;
  std::uint64_t Size = 0;
};

// What a test puts between the engine and the medium.
class Hook {
 public:
  virtual ~Hook() = default;
  // Before each call: 0 lets it run, an error number makes it fail with
  // that number; a hook may also throw to stop the run right there.
  virtual int Before(const Operation& operation) = 0;
  // After each call that worked.
  virtual void After(const Operation& operation) = 0;
};

// Installs `hook` (nullptr: none) for every following operation.
void SetHook(Hook* hook);

// Makes `path` hold `bytes`: a temporary file beside it is written and
// synced, renamed over `path`, and the folder synced. A failure removes
// the temporary and leaves the old file as it was.
void ReplaceFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
// Cuts the file to `size` bytes.
void Truncate(const std::filesystem::path& path, std::uint64_t size);
// Adds `bytes` at the end of the file.
void Append(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
// Renames a file or folder; never replaces what is at `to`.
void Move(const std::filesystem::path& from, const std::filesystem::path& to);
// Deletes a file.
void Remove(const std::filesystem::path& path);
// Creates one folder level; an existing folder is left alone.
void MakeFolder(const std::filesystem::path& path);
// Creates one folder level that no one else has: false when something is
// there already, so that two runs never share a folder.
bool MakeNewFolder(const std::filesystem::path& path);
// Deletes an empty folder.
void RemoveFolder(const std::filesystem::path& path);

// One entry of a folder, as it is (links not followed).
struct FolderEntry {
  std::string Name;
  unsigned Mode = 0;  // st_mode
  std::uint64_t Size = 0;
  std::uint64_t Links = 1;
};
// The entries of a folder; none when the folder is missing or is not a
// folder (a file or a link in its place).
std::vector<FolderEntry> ListFolder(const std::filesystem::path& folder);
// The name of the entry of `folder` that is `name` with its letters in any
// case, as the folder spells it (`name` itself when the folder holds it);
// nothing when there is none.
std::optional<std::string> NameInFolder(const std::filesystem::path& folder, std::string_view name);

// Before a commit: `path` can be changed as a file (or a folder) without
// going through or replacing a link, a FIFO or a device. Otherwise logs
// "… is a symbolic link: left as it is" and throws IOException.
void CheckReachable(const std::filesystem::path& path, bool isFolder);

// The whole content of a regular file (never a link, a FIFO or a device:
// those read as InvalidDataException).
std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path);
// The first `count` bytes of a regular file (all of it when it is shorter).
std::vector<std::uint8_t> ReadHead(const std::filesystem::path& path, std::uint64_t count);
// The last `count` bytes of a regular file.
std::vector<std::uint8_t> ReadTail(const std::filesystem::path& path, std::uint64_t count);
// The content of a file; nothing when it is not a regular file that reads.
std::optional<std::vector<std::uint8_t>> ContentOf(const std::filesystem::path& path);
// The size of a file; a file that cannot be asked throws.
std::uint64_t FileSize(const std::filesystem::path& path);

// The name of the temporary that ReplaceFile writes beside `path`, and the
// test that a name is one (a leftover of a commit that was cut).
std::filesystem::path TemporaryNameFor(const std::filesystem::path& path);
bool IsTemporaryName(const std::filesystem::path& path);

}  // namespace Restore::FileLayer
