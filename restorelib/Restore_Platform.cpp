#include "restorelib/Restore_Platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>

namespace Restore::Platform {
namespace {

// Closes a descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return descriptor_; }
  // Closes now and reports the error number of the close (0 when it worked).
  int Close() {
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int descriptor_;
};

int WriteAll(int descriptor, const std::vector<std::uint8_t>& bytes, WriteCall write) {
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const ssize_t written = write(descriptor, bytes.data() + offset, bytes.size() - offset);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return ENOSPC;
    offset += static_cast<std::size_t>(written);
  }
  return 0;
}

int WriteTemporary(const std::filesystem::path& temporary, const std::vector<std::uint8_t>& bytes, WriteCall write) {
  Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
  if (file.Get() < 0) return errno;
  if (const int error = WriteAll(file.Get(), bytes, write); error != 0) return error;
  if (::fsync(file.Get()) != 0) return errno;
  return file.Close();
}

}  // namespace

std::optional<std::uint64_t> FileSystemMagic(const std::filesystem::path& path) {
  struct statfs volume {};
  if (::statfs(path.c_str(), &volume) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(volume.f_type);
}

bool IsMountReadOnly(const std::filesystem::path& path) {
  struct statvfs volume {};
  if (::statvfs(path.c_str(), &volume) != 0) return false;
  return (volume.f_flag & ST_RDONLY) != 0;
}

bool IsWritableForUser(const std::filesystem::path& path) { return ::access(path.c_str(), W_OK) == 0; }

std::optional<DeviceNumber> DeviceOf(const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return DeviceNumber{major(status.st_dev), minor(status.st_dev)};
}

std::optional<std::tm> LocalTime(std::time_t time) {
  std::tm local{};
  if (::localtime_r(&time, &local) == nullptr) return std::nullopt;
  return local;
}

std::filesystem::path TemporaryNameFor(const std::filesystem::path& path) {
  auto temporary = path;
  temporary += ".velmar-new";
  return temporary;
}

int ReplaceFileDurably(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, WriteCall write) {
  if (write == nullptr) write = ::write;
  const auto temporary = TemporaryNameFor(path);
  int error = WriteTemporary(temporary, bytes, write);
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return error;
  }
  // The rename itself must reach the medium too; a folder that cannot be
  // synced (some file systems refuse) still holds the complete new file.
  Descriptor folder(
      ::open(path.parent_path().empty() ? "." : path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) ::fsync(folder.Get());
  return 0;
}

}  // namespace Restore::Platform
