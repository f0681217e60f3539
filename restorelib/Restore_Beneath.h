#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

// How the file layer reaches a file of the tree under repair. While a scope
// lives on a thread, every path below its tree is reached from the tree's
// own folder one level at a time without following a symbolic link
// (openat with O_NOFOLLOW), so that no link, FIFO or device in the tree can
// lead a read or a change outside it. Paths outside the tree (the backup
// folder the user chose) are reached as given.
namespace Restore::FileLayer {

// Closes a descriptor on every way out.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  Descriptor(Descriptor&& other) noexcept : descriptor_(other.descriptor_) { other.descriptor_ = -1; }
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  void Reset(int descriptor);
  int Get() const { return descriptor_; }
  int Release() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return descriptor;
  }
  void Close();

 private:
  int descriptor_ = -1;
};

// The tree whose paths are reached beneath it, on this thread, while the
// scope lives; scopes nest.
class TreeScope {
 public:
  explicit TreeScope(const std::filesystem::path& tree);
  ~TreeScope();
  TreeScope(const TreeScope&) = delete;
  TreeScope& operator=(const TreeScope&) = delete;

 private:
  std::filesystem::path previous_;
};

// The folder that holds a path, open, and the path's name in it.
struct Place {
  Descriptor Folder;
  std::string Name;
  bool Beneath = false;  // reached below the scope's tree
};

// What a link or special file on the way means to the caller.
enum class OnSpecial {
  Refuse,     // a change: logged ("… is a symbolic link: left as it is") and IOException (106)
  IsMissing,  // a read: the file is not there (FileNotFoundException)
};

// Reaches the folder that holds `path`. A folder missing on the way throws
// FileNotFoundException.
Place PlaceOf(const std::filesystem::path& path, OnSpecial onSpecial);

// What `name` in `folder` is when it is neither a regular file nor a folder
// ("a symbolic link", "a FIFO", "a device", "a socket"), nullptr otherwise
// or when it is not there.
const char* SpecialKindAt(int folder, const std::string& name);
const char* SpecialKindOf(mode_t mode);

// "<path> is <kind>: left as it is", as findings and the log say it.
std::string LeftAsItIs(const std::filesystem::path& path, const char* kind);

// Logs that `path` is `kind` and is left as it is, and throws IOException.
[[noreturn]] void RefuseSpecial(const std::filesystem::path& path, const char* kind);

}  // namespace Restore::FileLayer
