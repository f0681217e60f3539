#include "restorelib/Restore_Journal.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace Restore {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMagic = "VELMAR-COMMIT-JOURNAL 1\n";

enum Record : std::uint8_t { kLeftover, kFolder, kDelete, kWrite, kFolderDelete, kMove, kTruncate, kAppend };

std::uint64_t Checksum(const std::uint8_t* bytes, std::size_t count) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (std::size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

class Writer {
 public:
  explicit Writer(const fs::path& working) : working_(working) {}
  void Number(std::uint64_t value) {
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  void Data(const std::uint8_t* data, std::size_t count) {
    Number(count);
    bytes_.insert(bytes_.end(), data, data + count);
  }
  void Text(const std::string& text) { Data(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()); }
  void Entry(Record record, const fs::path& path, const fs::path& target = {}, std::uint64_t a = 0,
             std::uint64_t b = 0) {
    bytes_.push_back(record);
    Text(path.lexically_relative(working_).string());
    Text(target.empty() ? std::string() : target.lexically_relative(working_).string());
    Number(a);
    Number(b);
  }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

 private:
  fs::path working_;
  std::vector<std::uint8_t> bytes_;
};

class Reader {
 public:
  Reader(const std::vector<std::uint8_t>& bytes, std::size_t end, const fs::path& working)
      : bytes_(bytes), end_(end), working_(working) {}
  bool Number(std::uint64_t& value) {
    if (end_ - at_ < 8) return false;
    value = 0;
    for (int i = 0; i < 8; ++i) value |= static_cast<std::uint64_t>(bytes_[at_ + i]) << (8 * i);
    at_ += 8;
    return true;
  }
  bool Data(std::vector<std::uint8_t>& data) {
    std::uint64_t count = 0;
    if (!Number(count) || count > end_ - at_) return false;
    data.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + count));
    at_ += count;
    return true;
  }
  // A path below the working folder; an empty one stays empty.
  bool Path(fs::path& path) {
    std::vector<std::uint8_t> text;
    if (!Data(text)) return false;
    const fs::path relative = fs::path(std::string(text.begin(), text.end())).lexically_normal();
    if (relative.empty()) {
      path.clear();
      return true;
    }
    if (relative.is_absolute() || *relative.begin() == "..") return false;
    path = relative == "." ? working_ : working_ / relative;
    return true;
  }
  bool Byte(std::uint8_t& value) {
    if (at_ >= end_) return false;
    value = bytes_[at_++];
    return true;
  }
  bool AtEnd() const { return at_ == end_; }
  void Skip(std::size_t count) { at_ += count; }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t end_;
  fs::path working_;
  std::size_t at_ = 0;
};

bool ReadEntry(Reader& reader, ChangeSet& changes) {
  std::uint8_t record = 0;
  fs::path path, target;
  std::uint64_t a = 0, b = 0;
  if (!reader.Byte(record) || !reader.Path(path) || !reader.Path(target) || !reader.Number(a) || !reader.Number(b))
    return false;
  // Every record names a file or folder; a move alone names where it goes.
  if (path.empty() || target.empty() != (record != kMove)) return false;
  switch (record) {
    case kLeftover:
      changes.Leftovers.push_back(path);
      return true;
    case kFolder:
      changes.Folders.push_back(path);
      return true;
    case kDelete:
      changes.Deletes.push_back(path);
      return true;
    case kWrite: {
      FileWrite write{path, static_cast<FileKind>(a), {}};
      if (a > static_cast<std::uint64_t>(FileKind::Other) || !reader.Data(write.Bytes)) return false;
      changes.Writes.push_back(std::move(write));
      return true;
    }
    case kFolderDelete:
      changes.FolderDeletes.push_back(path);
      return true;
    case kMove:
      changes.Moves.push_back({path, target});
      return true;
    case kTruncate:
      changes.Truncations.push_back({path, a, b});
      return true;
    case kAppend: {
      FileAppend append{path, a, {}};
      if (!reader.Data(append.Bytes)) return false;
      changes.Appends.push_back(std::move(append));
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

fs::path JournalPathFor(const fs::path& working) { return working / ".velmar-restore-journal"; }

std::vector<std::uint8_t> JournalBytes(const ChangeSet& changes, const fs::path& working) {
  Writer writer(working);
  for (const auto& path : changes.Leftovers) writer.Entry(kLeftover, path);
  for (const auto& path : changes.Folders) writer.Entry(kFolder, path);
  for (const auto& path : changes.Deletes) writer.Entry(kDelete, path);
  for (const auto& write : changes.Writes) {
    writer.Entry(kWrite, write.Path, {}, static_cast<std::uint64_t>(write.Kind));
    writer.Data(write.Bytes.data(), write.Bytes.size());
  }
  for (const auto& append : changes.Appends) {
    writer.Entry(kAppend, append.Path, {}, append.Size);
    writer.Data(append.Bytes.data(), append.Bytes.size());
  }
  for (const auto& move : changes.Moves) writer.Entry(kMove, move.From, move.To);
  for (const auto& cut : changes.Truncations) writer.Entry(kTruncate, cut.Path, {}, cut.Size, cut.NewSize);
  for (const auto& path : changes.FolderDeletes) writer.Entry(kFolderDelete, path);
  return SealedJournal(writer.Bytes());
}

// The journal is made at its full size and filled in place (appending to the
// first line's vector makes GCC 12 at -O3 see a copy past its end).
std::vector<std::uint8_t> SealedJournal(const std::vector<std::uint8_t>& records) {
  std::vector<std::uint8_t> bytes(kMagic.size() + records.size() + 8);
  auto end = std::copy(records.begin(), records.end(), std::copy(kMagic.begin(), kMagic.end(), bytes.begin()));
  const std::uint64_t checksum = Checksum(bytes.data(), kMagic.size() + records.size());
  for (int i = 0; i < 8; ++i) *end++ = static_cast<std::uint8_t>(checksum >> (8 * i));
  return bytes;
}

std::optional<ChangeSet> ChangeSetOfJournal(const std::vector<std::uint8_t>& bytes, const fs::path& working) {
  if (bytes.size() < kMagic.size() + 8 || std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0)
    return std::nullopt;
  const std::size_t end = bytes.size() - 8;
  Reader trailer(bytes, bytes.size(), working);
  trailer.Skip(end);
  std::uint64_t checksum = 0;
  if (!trailer.Number(checksum) || checksum != Checksum(bytes.data(), end)) return std::nullopt;
  Reader reader(bytes, end, working);
  reader.Skip(kMagic.size());
  ChangeSet changes;
  while (!reader.AtEnd()) {
    if (!ReadEntry(reader, changes)) return std::nullopt;
  }
  return changes;
}

}  // namespace Restore
