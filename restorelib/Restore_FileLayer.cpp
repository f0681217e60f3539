#include "restorelib/Restore_FileLayer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "restorelib/Restore_Utility.h"

namespace Restore::FileLayer {
namespace fs = std::filesystem;

namespace {

constexpr const char* kTemporarySuffix = ".velmar-new";

Hook* hook = nullptr;

// Closes a descriptor on every way out.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  void Reset(int descriptor) {
    Close();
    descriptor_ = descriptor;
  }
  int Get() const { return descriptor_; }
  void Close() {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
  }

 private:
  int descriptor_ = -1;
};

// Runs one system call that changes the medium, past the hook. `call`
// returns a negative value and sets errno when it fails; its result is
// returned otherwise.
template <class Call>
int Run(const Operation& operation, Call call) {
  if (hook != nullptr) {
    if (const int error = hook->Before(operation); error != 0) RESTORE_THROW_ERROR(error);
  }
  const int result = call();
  if (result < 0) RESTORE_THROW_ERROR(errno);
  if (hook != nullptr) hook->After(operation);
  return result;
}

fs::path FolderOf(const fs::path& path) { return path.parent_path().empty() ? fs::path(".") : path.parent_path(); }

void SyncFolder(const fs::path& folder) {
  Run({Operation::SyncFolder, folder, {}, 0}, [&] {
    Descriptor descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (descriptor.Get() < 0) return -1;
    // Some file systems cannot sync a folder; what they hold is then as
    // durable as they make it.
    return ::fsync(descriptor.Get()) == 0 || errno == EINVAL ? 0 : -1;
  });
}

void SyncFile(const fs::path& path, int descriptor) {
  Run({Operation::SyncFile, path, {}, 0}, [&] { return ::fsync(descriptor); });
}

void WriteAll(const fs::path& path, int descriptor, const std::vector<std::uint8_t>& bytes) {
  Run({Operation::WriteFile, path, {}, bytes.size()}, [&] {
    std::size_t offset = 0;
    while (offset < bytes.size()) {
      const ssize_t written = ::write(descriptor, bytes.data() + offset, bytes.size() - offset);
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) return -1;
      if (written == 0) {
        errno = ENOSPC;
        return -1;
      }
      offset += static_cast<std::size_t>(written);
    }
    return 0;
  });
}

int OpenForReading(const fs::path& path) {
  // Never blocks on a FIFO and never follows a link out of the tree.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) RESTORE_THROW_ERROR(errno);
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    RESTORE_THROW_ERROR(EIO);
  }
  return descriptor;
}

// Opens an existing file for writing; a file without the owner's write bit
// (a FAT file marked read-only) gets it first.
int OpenForWriting(const fs::path& path, int flags) {
  const auto open = [&] { return ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | flags); };
  int descriptor = open();
  if (descriptor < 0 && errno == EACCES) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && (status.st_mode & S_IWUSR) == 0) {
      Run({Operation::MakeWritable, path, {}, 0},
          [&] { return ::chmod(path.c_str(), (status.st_mode & 07777) | S_IWUSR); });
      descriptor = open();
    }
  }
  if (descriptor < 0) RESTORE_THROW_ERROR(errno);
  return descriptor;
}

std::vector<std::uint8_t> ReadFrom(int descriptor, std::uint64_t offset, std::uint64_t count) {
  std::vector<std::uint8_t> bytes(count);
  std::uint64_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(descriptor, bytes.data() + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) RESTORE_THROW_ERROR(errno);
    if (got == 0) break;
    done += static_cast<std::uint64_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

std::uint64_t SizeOf(int descriptor) {
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) RESTORE_THROW_ERROR(errno);
  return static_cast<std::uint64_t>(status.st_size);
}

}  // namespace

void SetHook(Hook* newHook) { hook = newHook; }

void ReplaceFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  AAA::Log::Line(AAA::Log::kHeading, "write: %s\n", path.c_str());
  const fs::path temporary = TemporaryNameFor(path);
  Descriptor file;
  bool created = false;
  try {
    file.Reset(Run({Operation::CreateFile, temporary, {}, 0}, [&] {
      return ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    }));
    created = true;
    WriteAll(temporary, file.Get(), bytes);
    SyncFile(temporary, file.Get());
    file.Close();
    Run({Operation::Rename, temporary, path, 0}, [&] { return ::rename(temporary.c_str(), path.c_str()); });
  } catch (const AAA::ExceptionBase&) {
    file.Close();
    if (created) {
      try {
        Remove(temporary);
      } catch (const AAA::ExceptionBase&) {
        // A temporary that stays is found and removed by the next run.
      }
    }
    throw;
  }
  SyncFolder(FolderOf(path));
}

void Truncate(const fs::path& path, std::uint64_t size) {
  AAA::Log::Line(AAA::Log::kHeading, "truncate: %s\n", path.c_str());
  Descriptor file(OpenForWriting(path, 0));
  Run({Operation::Truncate, path, {}, size}, [&] { return ::ftruncate(file.Get(), static_cast<off_t>(size)); });
  SyncFile(path, file.Get());
}

void Append(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  Descriptor file(OpenForWriting(path, O_APPEND));
  WriteAll(path, file.Get(), bytes);
  SyncFile(path, file.Get());
}

void Move(const fs::path& from, const fs::path& to) {
  AAA::Log::Line(AAA::Log::kHeading, "move: %s -> %s\n", from.c_str(), to.c_str());
  Run({Operation::Rename, from, to, 0}, [&] {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL) return -1;
    // A file system without the no-replace flag: the test and the rename
    // are two steps, but only this program moves files in the tree.
    struct stat status {};
    if (::lstat(to.c_str(), &status) == 0) {
      errno = EEXIST;
      return -1;
    }
    return ::rename(from.c_str(), to.c_str());
  });
  SyncFolder(FolderOf(to));
  if (FolderOf(from) != FolderOf(to)) SyncFolder(FolderOf(from));
}

void Remove(const fs::path& path) {
  AAA::Log::Line(AAA::Log::kHeading, "delete: %s\n", path.c_str());
  Run({Operation::Remove, path, {}, 0}, [&] { return ::unlink(path.c_str()); });
  SyncFolder(FolderOf(path));
}

void MakeFolder(const fs::path& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return;
  Run({Operation::MakeFolder, path, {}, 0}, [&] { return ::mkdir(path.c_str(), 0755); });
  SyncFolder(FolderOf(path));
}

bool MakeNewFolder(const fs::path& path) {
  bool made = true;
  Run({Operation::MakeFolder, path, {}, 0}, [&] {
    const int result = ::mkdir(path.c_str(), 0755);
    if (result == 0 || errno != EEXIST) return result;
    made = false;
    return 0;
  });
  if (made) SyncFolder(FolderOf(path));
  return made;
}

void RemoveFolder(const fs::path& path) {
  AAA::Log::Line(AAA::Log::kHeading, "delete: %s\n", path.c_str());
  Run({Operation::RemoveFolder, path, {}, 0}, [&] { return ::rmdir(path.c_str()); });
  SyncFolder(FolderOf(path));
}

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  Descriptor file(OpenForReading(path));
  return ReadFrom(file.Get(), 0, SizeOf(file.Get()));
}

std::vector<std::uint8_t> ReadTail(const fs::path& path, std::uint64_t count) {
  Descriptor file(OpenForReading(path));
  const std::uint64_t size = SizeOf(file.Get());
  const std::uint64_t start = size > count ? size - count : 0;
  return ReadFrom(file.Get(), start, size - start);
}

std::optional<std::vector<std::uint8_t>> ContentOf(const fs::path& path) {
  try {
    return ReadFile(path);
  } catch (const AAA::ExceptionBase&) {
    return std::nullopt;
  }
}

std::uint64_t FileSize(const fs::path& path) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  if (error) RESTORE_THROW_ERROR(error.value());
  return size;
}

fs::path TemporaryNameFor(const fs::path& path) {
  auto temporary = path;
  temporary += kTemporarySuffix;
  return temporary;
}

bool IsTemporaryName(const fs::path& path) { return path.filename().string().ends_with(kTemporarySuffix); }

}  // namespace Restore::FileLayer
