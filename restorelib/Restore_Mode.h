#pragma once

namespace Restore {

// What the run was asked to work on.
enum class Mode {
  MemoryCard = 0,   // the mount point of a card; the tree is at PRIVATE/AVCHD
  AvchdFolder = 1,  // an AVCHD or AVCHDL folder
  StreamFiles = 2,  // a folder of bare streams; the tree is built below it
};

}  // namespace Restore
