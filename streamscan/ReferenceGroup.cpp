#include "streamscan/ReferenceGroup.h"

#include <algorithm>

namespace StreamScan {

void ReferenceGroup::start(const GroupPicture& reference) {
  reference_ = reference;
  bCount_ = 0;
}

bool ReferenceGroup::addB(const GroupPicture& picture) {
  if (bCount_ == b_.size()) return false;
  if (bCount_ == 0) firstDecodedBPts_ = picture.pts;
  b_[bCount_++] = picture;
  return true;
}

std::span<const MetadataRecord* const> ReferenceGroup::presentationOrder() {
  std::stable_sort(b_.begin(), b_.begin() + bCount_,
                   [](const GroupPicture& a, const GroupPicture& b) { return a.pts < b.pts; });
  for (unsigned i = 0; i < bCount_; ++i) order_[i] = &b_[i].metadata;
  order_[bCount_] = &reference_.metadata;
  return std::span<const MetadataRecord* const>(order_.data(), bCount_ + 1);
}

}  // namespace StreamScan
