#pragma once

// The management files known by the first four bytes of their content, with
// a factory of each one's model. A new file format is added with one line
// in AVCHD_FileKinds.cpp.

#include <memory>
#include <span>

#include "aaalib/AAA_Block.h"

namespace AVCHD {

struct FileKind {
  const char* typeIndicator;  // the first four bytes
  const char* description;    // as the user reads it: "index table"
  std::unique_ptr<AAA::FileBlock> (*make)();
};

std::span<const FileKind> FileKinds();

// The kind whose type indicator `bytes` begins with, or null.
const FileKind* FindFileKind(std::span<const std::uint8_t> bytes);

}  // namespace AVCHD
