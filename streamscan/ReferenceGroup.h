#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "streamscan/Mdpm.h"

namespace StreamScan {

struct GroupPicture {
  std::uint64_t pts = 0;
  MetadataRecord metadata = MetadataRecord::absent();
};

// A reference picture (I or P) and the B pictures that follow it in decoding
// order; shown as the B pictures by PTS, then the reference picture.
class ReferenceGroup {
 public:
  static constexpr unsigned MaxPictures = 4;

  void start(const GroupPicture& reference);
  // False when the group already holds MaxPictures.
  bool addB(const GroupPicture& picture);

  const GroupPicture& reference() const { return reference_; }
  // The pictures' metadata in presentation order.
  std::span<const MetadataRecord* const> presentationOrder();
  // PTS of the B picture decoded first, or the reference's when there is none.
  std::uint64_t startPts() const { return bCount_ == 0 ? reference_.pts : firstDecodedBPts_; }

 private:
  GroupPicture reference_;
  std::array<GroupPicture, MaxPictures - 1> b_{};
  unsigned bCount_ = 0;
  std::uint64_t firstDecodedBPts_ = 0;
  std::array<const MetadataRecord*, MaxPictures> order_{};
};

}  // namespace StreamScan
