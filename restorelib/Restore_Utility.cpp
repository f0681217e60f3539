#include "restorelib/Restore_Utility.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_MemoryStream.h"
#include "restorelib/Restore_FileLayer.h"
#include "restorelib/Restore_MountTable.h"

namespace Restore::Utility {
namespace fs = std::filesystem;

namespace {

const char* Pick(const AvchdFolder& folder, const char* shortName, const char* longName) {
  return folder.IsLongName ? longName : shortName;
}

fs::path NumberedFile(const fs::path& folderPath, const std::string& name, bool withExtension, const char* extension) {
  return withExtension ? AsOnDisk(folderPath, name + extension) : folderPath / name;
}

const char* ClipInformationExtension(const AvchdFolder& folder) { return Pick(folder, ".CPI", ".clpi"); }
const char* PlayListExtension(const AvchdFolder& folder) { return Pick(folder, ".MPL", ".mpls"); }
const char* StreamExtension(const AvchdFolder& folder) { return Pick(folder, ".MTS", ".m2ts"); }

bool IsDigit(char character) { return character >= '0' && character <= '9'; }

bool HasFiveDigitsAndLength(std::string_view name) {
  return (name.size() == 9 || name.size() == 10) && std::all_of(name.begin(), name.begin() + 5, IsDigit);
}

char Lower(char character) { return static_cast<char>(std::tolower(static_cast<unsigned char>(character))); }

std::string FirstLineOf(const fs::path& file) {
  std::ifstream stream(file);
  std::string line;
  std::getline(stream, line);
  return line;
}

// The block device under `folder` (or, for a partition, its disk) reports
// read-only: what the card's lock switch sets.
bool IsDeviceReadOnly(const fs::path& folder, const VolumeQueries& volume) {
  const auto device = volume.DeviceOf(folder);
  if (!device) return false;
  std::error_code error;
  const auto deviceFolder = fs::canonical(
      volume.SysfsRoot / "dev" / "block" / (std::to_string(device->Major) + ":" + std::to_string(device->Minor)),
      error);
  if (error) return false;  // not a block device (tmpfs, network): nothing to ask
  if (FirstLineOf(deviceFolder / "ro") == "1") return true;
  return fs::exists(deviceFolder / "partition", error) && FirstLineOf(deviceFolder.parent_path() / "ro") == "1";
}

void StoreBcd(AAA::FieldBase& field, const std::vector<std::uint8_t>& bcd) {
  AAA::Bytes bytes(field.ValueBytes());
  std::copy(bcd.begin(), bcd.end(), bytes.begin());
  field.SetBytes(bytes);
}

}  // namespace

fs::path AsOnDisk(const fs::path& folder, const std::string& name) {
  if (Exists(folder / name) || !Exists(folder)) return folder / name;
  if (auto found = FileLayer::NameInFolder(folder, name)) return folder / *found;
  return folder / name;
}

fs::path BdmvFolder(const AvchdFolder& folder) { return AsOnDisk(folder.Path, "BDMV"); }
fs::path IndexTableFile(const AvchdFolder& folder) {
  return AsOnDisk(BdmvFolder(folder), Pick(folder, "INDEX.BDM", "index.bdmv"));
}
fs::path MovieObjectFile(const AvchdFolder& folder) {
  return AsOnDisk(BdmvFolder(folder), Pick(folder, "MOVIEOBJ.BDM", "MovieObject.bdmv"));
}
fs::path ClipInformationFolder(const AvchdFolder& folder) { return AsOnDisk(BdmvFolder(folder), "CLIPINF"); }
fs::path PlayListFolder(const AvchdFolder& folder) { return AsOnDisk(BdmvFolder(folder), "PLAYLIST"); }
fs::path StreamFolder(const AvchdFolder& folder) { return AsOnDisk(BdmvFolder(folder), "STREAM"); }
fs::path BackupFolder(const AvchdFolder& folder) { return AsOnDisk(BdmvFolder(folder), "BACKUP"); }
fs::path ThumbnailFolder(const AvchdFolder& folder) { return AsOnDisk(folder.Path, "AVCHDTN"); }
fs::path ThumbnailIndexFile(const AvchdFolder& folder) {
  return AsOnDisk(ThumbnailFolder(folder), Pick(folder, "THUMB.TID", "thumbnail.tidx"));
}
fs::path ThumbnailDataFile(const AvchdFolder& folder) {
  return AsOnDisk(ThumbnailFolder(folder), Pick(folder, "THUMB.TDT", "thumbnail.tdt2"));
}

fs::path ClipInformationPattern(const AvchdFolder& folder) {
  return ClipInformationFolder(folder) / (std::string("?????") + ClipInformationExtension(folder));
}
fs::path PlayListPattern(const AvchdFolder& folder) {
  return PlayListFolder(folder) / (std::string("?????") + PlayListExtension(folder));
}
fs::path StreamPattern(const AvchdFolder& folder) {
  return StreamFolder(folder) / (std::string("?????") + StreamExtension(folder));
}

fs::path ClipInformationFile(const AvchdFolder& folder, const std::string& name, bool withExtension) {
  return NumberedFile(ClipInformationFolder(folder), name, withExtension, ClipInformationExtension(folder));
}
fs::path PlayListFile(const AvchdFolder& folder, const std::string& name, bool withExtension) {
  return NumberedFile(PlayListFolder(folder), name, withExtension, PlayListExtension(folder));
}
fs::path StreamFile(const AvchdFolder& folder, const std::string& name, bool withExtension) {
  return NumberedFile(StreamFolder(folder), name, withExtension, StreamExtension(folder));
}

bool IsNumberedFileName(std::string_view name) { return HasFiveDigitsAndLength(name); }

bool IsMoviePlayListFileName(std::string_view name) { return HasFiveDigitsAndLength(name) && name.starts_with("00"); }

bool IsVirtualPlayListFileName(std::string_view name) {
  return HasFiveDigitsAndLength(name) && name.starts_with("01") && (name[2] == '0' || name[2] == '1');
}

bool IsFirstPlaybackOrMenuPlayListFileName(std::string_view name) {
  return HasFiveDigitsAndLength(name) && name.starts_with("01") && name[2] >= '2';
}

std::string Get3dPairFileName(std::string_view name) {
  std::string pair(name);
  if (!pair.empty() && IsDigit(pair[0])) pair[0] = ((pair[0] - '0') % 2 == 0) ? pair[0] + 1 : pair[0] - 1;
  return pair;
}

std::string FiveDigitName(std::uint32_t number) {
  char name[16];
  std::snprintf(name, sizeof name, "%05u", number);
  return name;
}

bool EqualsIgnoringCase(std::string_view left, std::string_view right) {
  return left.size() == right.size() &&
         std::equal(left.begin(), left.end(), right.begin(), [](char a, char b) { return Lower(a) == Lower(b); });
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  // Greedy matching with one back-tracking point for the last '*'.
  std::size_t n = 0, p = 0, starAt = std::string_view::npos, nameAtStar = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      nameAtStar = n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++nameAtStar;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

fs::path NormalizePath(const fs::path& path) {
  // An empty path names nothing: nothing to restore is there.
  if (path.empty()) AAA_THROW(AAA::FileNotFoundException());
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  if (absolute.empty() || error) AAA_THROW(AAA::PathTooLongException());
  std::string text = absolute.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  // The longest path the system accepts in one call.
  if (text.size() >= PATH_MAX) AAA_THROW(AAA::PathTooLongException());
  return text;
}

std::vector<DirectoryEntry> ListFiles(const fs::path& pattern) {
  const std::string wanted = pattern.filename().string();
  std::vector<DirectoryEntry> entries;
  for (const auto& entry : FileLayer::ListFolder(pattern.parent_path())) {
    if (S_ISREG(entry.Mode) && MatchesPattern(entry.Name, wanted))
      entries.push_back({entry.Name, entry.Size, entry.Links});
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
  return entries;
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

void MakeDirectory(const fs::path& path) { FileLayer::MakeFolder(path); }

std::vector<std::uint8_t> ModelBytes(AAA::Element& model) {
  AAA::MemoryStream stream;
  AAA::BitWriter writer(stream);
  model.Write(writer);
  return stream.Bytes();
}

std::string MountType(const fs::path& path, const fs::path& mountInfo) {
  const auto mount = MountTable::MountOf(path, MountTable::Read(mountInfo));
  return mount ? mount->Type : std::string();
}

bool IsFatFamilyVolume(const fs::path& path, const VolumeQueries& volume) {
  constexpr std::uint64_t kMsdosMagic = 0x4d44;
  constexpr std::uint64_t kExfatMagic = 0x2011BAB0;
  constexpr std::uint64_t kFuseMagic = 0x65735546;
  const auto magic = volume.FileSystemMagic(path);
  if (!magic) return false;
  if (*magic == kMsdosMagic || *magic == kExfatMagic) return true;
  if (*magic != kFuseMagic) return false;
  const auto mount = MountTable::MountOf(path, MountTable::Read(volume.MountInfo));
  if (!mount) return false;
  std::string type = mount->Type;
  for (const std::string prefix : {"fuseblk.", "fuse."}) {
    if (type.starts_with(prefix)) type.erase(0, prefix.size());
  }
  if (type == "fuseblk") type = volume.DeviceFileSystemType({mount->Major, mount->Minor}).value_or("");
  return type == "vfat" || type == "msdos" || type == "exfat";
}

void CheckWriteProtect(const fs::path& path, const VolumeQueries& volume) {
  std::error_code error;
  const fs::path folder = fs::is_directory(path, error) ? path : path.parent_path();
  if (!fs::is_directory(folder, error)) RESTORE_THROW_ERROR(error ? error.value() : ENOENT);
  if (volume.IsMountReadOnly(folder) || IsDeviceReadOnly(folder, volume) || !volume.IsWritableForUser(folder)) {
    AAA_THROW(AAA::WriteProtectException());
  }
}

std::vector<std::uint8_t> BcdOf(const std::tm& time) {
  const auto bcd = [](int value) { return static_cast<std::uint8_t>((value / 10 % 10) << 4 | (value % 10)); };
  const int year = time.tm_year + 1900;
  return {bcd(year / 100),   bcd(year % 100),  bcd(time.tm_mon + 1), bcd(time.tm_mday),
          bcd(time.tm_hour), bcd(time.tm_min), bcd(time.tm_sec)};
}

bool CurrentTimeBcd(AAA::FieldBase& field) {
  if (field.ValueBytes().size() <= 6) return false;
  const auto now = Platform::LocalTime(std::time(nullptr));
  if (!now) return false;
  StoreBcd(field, BcdOf(*now));
  return true;
}

bool FileTimeBcd(AAA::FieldBase& field, const fs::path& path) {
  if (field.ValueBytes().size() <= 6) return false;
  std::error_code error;
  const auto modified = fs::last_write_time(path, error);
  if (error) return false;
  const auto seconds = std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(modified));
  const auto local = Platform::LocalTime(std::chrono::system_clock::to_time_t(seconds));
  if (!local) return false;
  StoreBcd(field, BcdOf(*local));
  return true;
}

}  // namespace Restore::Utility
