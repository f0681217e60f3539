#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Restore {

// The SHA-256 digest of `bytes` in lower-case hexadecimal, as sha256sum
// prints it: the backup manifest names every file's content by it.
std::string Sha256Hex(const std::vector<std::uint8_t>& bytes);

}  // namespace Restore
