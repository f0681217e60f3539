#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aaalib/AAA_Element.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_FieldBase.h"
#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_Platform.h"

// Paths of the AVCHD tree in both naming schemes, the tests of five-digit
// file names, and the file and volume operations of the restore engine.
// Every failure is an exception of the AAA family.

namespace Restore::Utility {

// ---- Paths of the tree ----------------------------------------------------

// `folder / name`, spelt as the folder spells it: a tree copied to a disk
// that tells cases apart keeps the case of the copy ("index.bdm"), and a
// file is read and rewritten under the name it has, never doubled by a name
// that differs only in case. A name the folder does not hold is kept as it is.
std::filesystem::path AsOnDisk(const std::filesystem::path& folder, const std::string& name);

std::filesystem::path BdmvFolder(const AvchdFolder& folder);
std::filesystem::path IndexTableFile(const AvchdFolder& folder);
std::filesystem::path MovieObjectFile(const AvchdFolder& folder);
std::filesystem::path ClipInformationFolder(const AvchdFolder& folder);
std::filesystem::path PlayListFolder(const AvchdFolder& folder);
std::filesystem::path StreamFolder(const AvchdFolder& folder);
std::filesystem::path BackupFolder(const AvchdFolder& folder);
// The thumbnail folder lies directly below the AVCHD folder, not below BDMV.
std::filesystem::path ThumbnailFolder(const AvchdFolder& folder);
std::filesystem::path ThumbnailIndexFile(const AvchdFolder& folder);
std::filesystem::path ThumbnailDataFile(const AvchdFolder& folder);

// Folder + "?????" + the extension of the tree kind, for ListFiles.
std::filesystem::path ClipInformationPattern(const AvchdFolder& folder);
std::filesystem::path PlayListPattern(const AvchdFolder& folder);
std::filesystem::path StreamPattern(const AvchdFolder& folder);

// Folder + the base name (five digits), with the extension of the tree kind
// when `withExtension` is set.
std::filesystem::path ClipInformationFile(const AvchdFolder& folder, const std::string& name, bool withExtension);
std::filesystem::path PlayListFile(const AvchdFolder& folder, const std::string& name, bool withExtension);
std::filesystem::path StreamFile(const AvchdFolder& folder, const std::string& name, bool withExtension);

// ---- Names -------------------------------------------------------------------

// Each takes a name with its extension and requires it to be 9 or 10
// characters long, so that the 8.3 and the long form of a name both pass.
bool IsNumberedFileName(std::string_view name);                     // 00000 to 99999
bool IsMoviePlayListFileName(std::string_view name);                // 00000 to 00999
bool IsVirtualPlayListFileName(std::string_view name);              // 01000 to 01199
bool IsFirstPlaybackOrMenuPlayListFileName(std::string_view name);  // 01200 to 01999

// The name of the other channel's file of a 3D pair: an even first digit is
// raised by one, an odd one lowered by one; any other first character keeps
// the name as it is (00001 <-> 10001).
std::string Get3dPairFileName(std::string_view name);

// The base name of numbered files: the number printed with five digits ("00003").
std::string FiveDigitName(std::uint32_t number);

bool EqualsIgnoringCase(std::string_view left, std::string_view right);
// '?' stands for one character, '*' for any run; letters match in any case.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// An absolute, normal path without trailing separators ("/" stays "/"). A
// path the system could not name (longer than PATH_MAX) throws
// PathTooLongException.
std::filesystem::path NormalizePath(const std::filesystem::path& path);

// ---- Files and folders ----------------------------------------------------------

struct DirectoryEntry {
  std::string Name;
  std::uint64_t Size = 0;
  std::uint64_t Links = 1;  // a stream with other hard links is never cut
};

// The regular files of a folder whose names match the pattern's last
// component, letters in any case (as FAT lists them), sorted by name.
// Symbolic links are never listed or followed (below the tree of a scope,
// not even on the way to the folder): nothing outside the tree is touched
// through one. A missing folder, or a file or a link where the folder
// should be, yields no entries; a folder that cannot be read throws.
std::vector<DirectoryEntry> ListFiles(const std::filesystem::path& pattern);

bool Exists(const std::filesystem::path& path);
// Creates one level through the file layer; an existing folder is left alone.
void MakeDirectory(const std::filesystem::path& path);
// The bytes of a model as its file holds them.
std::vector<std::uint8_t> ModelBytes(AAA::Element& model);

// ---- Volumes ----------------------------------------------------------------------

// Where the volume questions are answered. The defaults ask the running
// system; tests hand in fake trees and answers.
struct VolumeQueries {
  std::filesystem::path MountInfo = "/proc/self/mountinfo";
  std::filesystem::path SysfsRoot = "/sys";
  std::function<std::optional<std::uint64_t>(const std::filesystem::path&)> FileSystemMagic = Platform::FileSystemMagic;
  std::function<bool(const std::filesystem::path&)> IsMountReadOnly = Platform::IsMountReadOnly;
  std::function<bool(const std::filesystem::path&)> IsWritableForUser = Platform::IsWritableForUser;
  std::function<std::optional<Platform::DeviceNumber>(const std::filesystem::path&)> DeviceOf = Platform::DeviceOf;
  std::function<std::optional<Platform::Space>(const std::filesystem::path&)> FreeSpace = Platform::FreeSpace;
  std::function<std::optional<std::string>(Platform::DeviceNumber)> DeviceFileSystemType =
      Platform::DeviceFileSystemType;
};

// The type of the mount holding `path` as /proc/self/mountinfo names it
// ("vfat", "ext4", ...); empty when no mount is found.
std::string MountType(const std::filesystem::path& path, const std::filesystem::path& mountInfo);

// true for FAT, FAT32 and exFAT volumes (a FUSE mount counts by its mount
// type, or by what udev knows of its device when the type is a bare
// "fuseblk"); false for anything else or when the volume cannot be asked.
bool IsFatFamilyVolume(const std::filesystem::path& path, const VolumeQueries& volume);

// Throws WriteProtectException (108) when the medium holding `path` refuses
// writes: a read-only mount, a device switched to read-only (the card's lock
// switch), or a folder the user may not write. A path that does not exist
// throws the exception of its error number.
void CheckWriteProtect(const std::filesystem::path& path, const VolumeQueries& volume);

// ---- Times -------------------------------------------------------------------------

// Seven BCD bytes: century, year, month, day, hour, minute, second.
std::vector<std::uint8_t> BcdOf(const std::tm& time);
// Stores the current local time in a field of at least 7 bytes; false when
// the field is shorter or the time cannot be read.
bool CurrentTimeBcd(AAA::FieldBase& field);
// The same with the file's last modification; false when it cannot be read.
bool FileTimeBcd(AAA::FieldBase& field, const std::filesystem::path& path);

}  // namespace Restore::Utility

// Throws the exception that a system error number stands for, after the
// throw-site line of the caller.
#define RESTORE_THROW_ERROR(errorNumber)                                                      \
  do {                                                                                        \
    const int restoreErrorNumber = (errorNumber);                                             \
    ::AAA::Log::ThrowSite(__FILE__, __LINE__, "AAA::ThrowFromErrorNumber(" #errorNumber ")"); \
    ::AAA::ThrowFromErrorNumber(restoreErrorNumber);                                          \
  } while (0)
