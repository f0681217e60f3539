#include "avchdlib/AVCHD_MovieObject.h"

#include <algorithm>

namespace AVCHD::MovieObject {
namespace {

std::uint32_t NumberAt(AAA::ByteSpan bytes, std::size_t offset) {
  return AAA::FieldBase::NumberOf(bytes.subspan(offset, 4));
}

// The counts of a new movie object file and of a new movie object, set
// quietly: building a model is not a change the log reports.
void SetZero(AAA::FieldBase& count) { count.SetBytes(count.BytesOf(0)); }

}  // namespace

bool NavigationCommand::Matches(const CommandPattern& pattern) const {
  return std::equal(pattern.begin(), pattern.end(), ValueBytes().begin());
}

std::uint32_t NavigationCommand::Operand1() const { return NumberAt(ValueBytes(), 4); }
std::uint32_t NavigationCommand::Operand2() const { return NumberAt(ValueBytes(), 8); }

BlkMovieObject::BlkMovieObject() : Block("MovieObject") {
  SetZero(NumberOfNavigationCommands);
  Link();
}

void BlkMovieObject::Declare() {
  OnChange(NumberOfNavigationCommands, [](AAA::Block& owner) {
    auto& self = static_cast<BlkMovieObject&>(owner);
    AAA_VERIFY(self.NumberOfNavigationCommands,
               (0 <= self.NumberOfNavigationCommands) && (self.NumberOfNavigationCommands <= 32));
    self.NavigationCommandArray.Resize(self.NumberOfNavigationCommands);
    self.Link();
  });
  Add(blkTerminalInfo, NumberOfNavigationCommands, NavigationCommandArray);
}

BlkMovieObjects::BlkMovieObjects() : Block("blkMovieObjects") {
  SetZero(NumberOfMobjs);
  Link();
}

void BlkMovieObjects::Declare() {
  OnChange(NumberOfMobjs, [](AAA::Block& owner) {
    auto& self = static_cast<BlkMovieObjects&>(owner);
    AAA_VERIFY(self.NumberOfMobjs, (0 <= self.NumberOfMobjs) && (self.NumberOfMobjs <= 999 + 2));
    // Objects the rest of the file cannot hold end it early, as reading them
    // would, before they are allocated: each has its terminal info and count.
    if (self.bitsLeft_ >= 0 && self.NumberOfMobjs * 32ll > self.bitsLeft_) AAA_THROW(AAA::UnexpectedEofException());
    self.blkMovieObjectArray.Resize(self.NumberOfMobjs);
    self.Link();
  });
  Add(Length, reserved, NumberOfMobjs, blkMovieObjectArray);
}

void BlkMovieObjects::Read(AAA::BitReader& reader) {
  bitsLeft_ = static_cast<std::int64_t>(reader.BitsLeft());
  struct LeftEnds {
    std::int64_t& left;
    ~LeftEnds() { left = -1; }
  } leftEnds{bitsLeft_};
  Block::Read(reader);
}

}  // namespace AVCHD::MovieObject
