#include "restorelib/Restore_FileLayer.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "restorelib/Restore_Beneath.h"
#include "restorelib/Restore_Utility.h"

namespace Restore::FileLayer {
namespace fs = std::filesystem;

namespace {

constexpr const char* kTemporarySuffix = ".velmar-new";

Hook* hook = nullptr;

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

void SyncFolder(const fs::path& path, const Place& place) {
  Run({Operation::SyncFolder, FolderOf(path), {}, 0}, [&] {
    // Some file systems cannot sync a folder; what they hold is then as
    // durable as they make it.
    return ::fsync(place.Folder.Get()) == 0 || errno == EINVAL ? 0 : -1;
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

// A change never goes through a link, a FIFO or a device: it stays as it is.
void RefuseIfSpecial(const fs::path& path, const Place& place) {
  if (const char* kind = SpecialKindAt(place.Folder.Get(), place.Name)) RefuseSpecial(path, kind);
}

// Opens a regular file for reading. Never blocks on a FIFO and never
// follows a link: what is not a regular file cannot hold a management file
// or a stream, and reads as InvalidDataException.
int OpenForReading(const fs::path& path) {
  const Place place = PlaceOf(path, OnSpecial::IsMissing);
  const int descriptor =
      ::openat(place.Folder.Get(), place.Name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0 && errno == ELOOP) AAA_THROW(AAA::InvalidDataException());
  if (descriptor < 0) RESTORE_THROW_ERROR(errno);
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    AAA_THROW(AAA::InvalidDataException());
  }
  return descriptor;
}

// Opens an existing file for writing; a file without the owner's write bit
// (a FAT file marked read-only) gets it first.
int OpenForWriting(const fs::path& path, const Place& place, int flags) {
  RefuseIfSpecial(path, place);
  const auto open = [&] {
    return ::openat(place.Folder.Get(), place.Name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | flags);
  };
  int descriptor = open();
  if (descriptor < 0 && errno == EACCES) {
    struct stat status {};
    if (::fstatat(place.Folder.Get(), place.Name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0) {
      Run({Operation::MakeWritable, path, {}, 0},
          [&] { return ::fchmodat(place.Folder.Get(), place.Name.c_str(), (status.st_mode & 07777) | S_IWUSR, 0); });
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
  const Place place = PlaceOf(path, OnSpecial::Refuse);
  RefuseIfSpecial(path, place);
  const fs::path temporary = TemporaryNameFor(path);
  const std::string temporaryName = temporary.filename().string();
  Descriptor file;
  bool created = false;
  try {
    file.Reset(Run({Operation::CreateFile, temporary, {}, 0}, [&] {
      return ::openat(place.Folder.Get(), temporaryName.c_str(),
                      O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    }));
    created = true;
    WriteAll(temporary, file.Get(), bytes);
    SyncFile(temporary, file.Get());
    file.Close();
    Run({Operation::Rename, temporary, path, 0},
        [&] { return ::renameat(place.Folder.Get(), temporaryName.c_str(), place.Folder.Get(), place.Name.c_str()); });
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
  SyncFolder(path, place);
}

void Truncate(const fs::path& path, std::uint64_t size) {
  AAA::Log::Line(AAA::Log::kHeading, "truncate: %s\n", path.c_str());
  const Place place = PlaceOf(path, OnSpecial::Refuse);
  Descriptor file(OpenForWriting(path, place, 0));
  Run({Operation::Truncate, path, {}, size}, [&] { return ::ftruncate(file.Get(), static_cast<off_t>(size)); });
  SyncFile(path, file.Get());
}

void Append(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  const Place place = PlaceOf(path, OnSpecial::Refuse);
  Descriptor file(OpenForWriting(path, place, O_APPEND));
  WriteAll(path, file.Get(), bytes);
  SyncFile(path, file.Get());
}

void Move(const fs::path& from, const fs::path& to) {
  AAA::Log::Line(AAA::Log::kHeading, "move: %s -> %s\n", from.c_str(), to.c_str());
  const Place source = PlaceOf(from, OnSpecial::Refuse);
  const Place target = PlaceOf(to, OnSpecial::Refuse);
  const char* fromName = source.Name.c_str();
  const char* toName = target.Name.c_str();
  Run({Operation::Rename, from, to, 0}, [&] {
    if (::renameat2(source.Folder.Get(), fromName, target.Folder.Get(), toName, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL) return -1;
    // A file system without the no-replace flag: the test and the rename
    // are two steps, but only this program moves files in the tree.
    struct stat status {};
    if (::fstatat(target.Folder.Get(), toName, &status, AT_SYMLINK_NOFOLLOW) == 0) {
      errno = EEXIST;
      return -1;
    }
    return ::renameat(source.Folder.Get(), fromName, target.Folder.Get(), toName);
  });
  SyncFolder(to, target);
  if (FolderOf(from) != FolderOf(to)) SyncFolder(from, source);
}

void Remove(const fs::path& path) {
  AAA::Log::Line(AAA::Log::kHeading, "delete: %s\n", path.c_str());
  const Place place = PlaceOf(path, OnSpecial::Refuse);
  RefuseIfSpecial(path, place);
  Run({Operation::Remove, path, {}, 0}, [&] { return ::unlinkat(place.Folder.Get(), place.Name.c_str(), 0); });
  SyncFolder(path, place);
}

namespace {

// mkdir of `path`; false when something is there already.
bool MakeFolderAt(const fs::path& path, const Place& place) {
  bool made = true;
  Run({Operation::MakeFolder, path, {}, 0}, [&] {
    const int result = ::mkdirat(place.Folder.Get(), place.Name.c_str(), 0755);
    if (result == 0 || errno != EEXIST) return result;
    made = false;
    return 0;
  });
  if (made) SyncFolder(path, place);
  return made;
}

}  // namespace

void MakeFolder(const fs::path& path) {
  const Place place = PlaceOf(path, OnSpecial::Refuse);
  struct stat status {};
  if (::fstatat(place.Folder.Get(), place.Name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISDIR(status.st_mode)) return;
    const char* kind = SpecialKindOf(status.st_mode);
    RefuseSpecial(path, kind != nullptr ? kind : "a file");
  }
  MakeFolderAt(path, place);
}

bool MakeNewFolder(const fs::path& path) { return MakeFolderAt(path, PlaceOf(path, OnSpecial::Refuse)); }

void RemoveFolder(const fs::path& path) {
  AAA::Log::Line(AAA::Log::kHeading, "delete: %s\n", path.c_str());
  const Place place = PlaceOf(path, OnSpecial::Refuse);
  RefuseIfSpecial(path, place);
  Run({Operation::RemoveFolder, path, {}, 0},
      [&] { return ::unlinkat(place.Folder.Get(), place.Name.c_str(), AT_REMOVEDIR); });
  SyncFolder(path, place);
}

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  Descriptor file(OpenForReading(path));
  return ReadFrom(file.Get(), 0, SizeOf(file.Get()));
}

std::vector<std::uint8_t> ReadHead(const fs::path& path, std::uint64_t count) {
  Descriptor file(OpenForReading(path));
  return ReadFrom(file.Get(), 0, std::min(count, SizeOf(file.Get())));
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
  Descriptor file(OpenForReading(path));
  return SizeOf(file.Get());
}

namespace {

// Calls `each(descriptor, name)` for every entry of `folder` but "." and
// "..". A missing folder, a file or a link where the folder should be has
// no entries.
template <class Each>
void ForEachEntry(const fs::path& folder, Each each) {
  Place place;
  try {
    place = PlaceOf(folder, OnSpecial::IsMissing);
  } catch (const AAA::FileNotFoundException&) {
    return;
  }
  // The tree itself, or a folder outside it, may be a link the user gave.
  const int descriptor = ::openat(place.Folder.Get(), place.Name.c_str(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC | (place.Beneath ? O_NOFOLLOW : 0));
  if (descriptor < 0 && (errno == ENOENT || errno == ENOTDIR || errno == ELOOP)) return;
  if (descriptor < 0) RESTORE_THROW_ERROR(errno);
  DIR* listing = ::fdopendir(descriptor);
  if (listing == nullptr) {
    ::close(descriptor);
    RESTORE_THROW_ERROR(errno);
  }
  for (errno = 0; const dirent* entry = ::readdir(listing); errno = 0) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") each(descriptor, entry->d_name);
  }
  const int error = errno;
  ::closedir(listing);
  if (error != 0) RESTORE_THROW_ERROR(error);
}

}  // namespace

std::vector<FolderEntry> ListFolder(const fs::path& folder) {
  std::vector<FolderEntry> entries;
  ForEachEntry(folder, [&entries](int descriptor, const char* name) {
    struct stat status {};
    if (::fstatat(descriptor, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return;  // gone since it was listed
    entries.push_back({name, status.st_mode, static_cast<std::uint64_t>(status.st_size),
                       static_cast<std::uint64_t>(status.st_nlink)});
  });
  return entries;
}

std::optional<std::string> NameInFolder(const fs::path& folder, std::string_view name) {
  std::optional<std::string> found;
  ForEachEntry(folder, [&](int, const char* entry) {
    if (entry == name) {
      found = entry;
    } else if (!found && Utility::EqualsIgnoringCase(entry, name)) {
      found = entry;
    }
  });
  return found;
}

void CheckReachable(const fs::path& path, bool isFolder) {
  Place place;
  try {
    place = PlaceOf(path, OnSpecial::Refuse);
  } catch (const AAA::FileNotFoundException&) {
    return;  // made by the change itself, one level after the other
  }
  struct stat status {};
  if (::fstatat(place.Folder.Get(), place.Name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return;
  if (isFolder ? S_ISDIR(status.st_mode) : S_ISREG(status.st_mode)) return;
  const char* kind = SpecialKindOf(status.st_mode);
  RefuseSpecial(path, kind != nullptr ? kind : isFolder ? "a file" : "a folder");
}

fs::path TemporaryNameFor(const fs::path& path) {
  auto temporary = path;
  temporary += kTemporarySuffix;
  return temporary;
}

bool IsTemporaryName(const fs::path& path) { return path.filename().string().ends_with(kTemporarySuffix); }

}  // namespace Restore::FileLayer
