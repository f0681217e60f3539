#include "restorelib/Restore_Beneath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iterator>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_Utility.h"

namespace Restore::FileLayer {
namespace fs = std::filesystem;

namespace {

thread_local fs::path currentTree;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// A file where a folder should be is, to a read, a folder that is not there.
int OpenFolder(const fs::path& path, OnSpecial onSpecial) {
  const int descriptor = ::open(path.empty() ? "." : path.c_str(), kFolderFlags);
  if (descriptor < 0 && errno == ENOTDIR && onSpecial == OnSpecial::IsMissing) RESTORE_THROW_ERROR(ENOENT);
  if (descriptor < 0) RESTORE_THROW_ERROR(errno);
  return descriptor;
}

// `path` relative to the current tree, or empty when it is not below it.
fs::path BelowTree(const fs::path& path) {
  if (currentTree.empty()) return {};
  const fs::path relative = path.lexically_normal().lexically_relative(currentTree);
  if (relative.empty() || relative == "." || *relative.begin() == "..") return {};
  return relative;
}

}  // namespace

void Descriptor::Reset(int descriptor) {
  Close();
  descriptor_ = descriptor;
}

void Descriptor::Close() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
}

TreeScope::TreeScope(const fs::path& tree) : previous_(currentTree) { currentTree = tree.lexically_normal(); }

TreeScope::~TreeScope() { currentTree = previous_; }

const char* SpecialKindOf(mode_t mode) {
  if (S_ISLNK(mode)) return "a symbolic link";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return nullptr;
}

const char* SpecialKindAt(int folder, const std::string& name) {
  struct stat status {};
  if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return nullptr;
  return SpecialKindOf(status.st_mode);
}

std::string LeftAsItIs(const fs::path& path, const char* kind) {
  return path.string() + " is " + kind + ": left as it is";
}

void RefuseSpecial(const fs::path& path, const char* kind) {
  AAA::Log::Line(AAA::Log::kHeading, "%s\n", LeftAsItIs(path, kind).c_str());
  RESTORE_THROW_ERROR(ELOOP);
}

Place PlaceOf(const fs::path& path, OnSpecial onSpecial) {
  const fs::path relative = BelowTree(path);
  if (relative.empty()) return {Descriptor(OpenFolder(path.parent_path(), onSpecial)), path.filename().string(), false};
  Descriptor folder(OpenFolder(currentTree, onSpecial));
  fs::path reached = currentTree;
  for (auto part = relative.begin(); std::next(part) != relative.end(); ++part) {
    reached /= *part;
    const int next = ::openat(folder.Get(), part->c_str(), kFolderFlags | O_NOFOLLOW);
    if (next < 0) {
      if (errno != ELOOP && errno != ENOTDIR) RESTORE_THROW_ERROR(errno);
      if (onSpecial == OnSpecial::IsMissing) RESTORE_THROW_ERROR(ENOENT);
      const char* kind = SpecialKindAt(folder.Get(), part->string());
      RefuseSpecial(reached, kind != nullptr ? kind : "not a folder");
    }
    folder.Reset(next);
  }
  return {std::move(folder), relative.filename().string(), true};
}

}  // namespace Restore::FileLayer
