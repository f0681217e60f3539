#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <vector>

// The few questions the restore engine asks the operating system, one small
// function each. Everything else in the engine uses the standard library.

namespace Restore::Platform {

// major:minor of a block device.
struct DeviceNumber {
  unsigned Major = 0;
  unsigned Minor = 0;
};

// The type magic of the file system holding `path` (statfs f_type); empty
// when the question cannot be asked.
std::optional<std::uint64_t> FileSystemMagic(const std::filesystem::path& path);

// The mount holding `path` refuses writes (statvfs ST_RDONLY).
bool IsMountReadOnly(const std::filesystem::path& path);

// The user may create and change files in the folder `path`.
bool IsWritableForUser(const std::filesystem::path& path);

// The device the file system holding `path` lives on.
std::optional<DeviceNumber> DeviceOf(const std::filesystem::path& path);

// The local time of `time`; empty when it cannot be converted.
std::optional<std::tm> LocalTime(std::time_t time);

// The write call that puts bytes on the medium; tests hand in one that fails.
using WriteCall = ssize_t (*)(int descriptor, const void* bytes, std::size_t count);

// Replaces `path` by a file holding `bytes` so that, whatever happens, the
// path names either the old file or the complete new one: the bytes go to a
// temporary file in the same folder, reach the medium (fsync), then the
// temporary is renamed over `path` and the folder is synced. On failure the
// temporary is removed, the old file stays as it was, and the error number is
// returned (0 on success).
int ReplaceFileDurably(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
                       WriteCall write = nullptr);

// The name of the temporary that ReplaceFileDurably writes beside `path`.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& path);

}  // namespace Restore::Platform
