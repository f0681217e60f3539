#include "avchdlib/AVCHD_MovieObject.h"

#include <algorithm>

#include "avchdlib/AVCHD_Common.h"

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

void BlkTerminalInfo::Declare() {
  Add(One);
  Add(reserved);
}

void BlkTerminalInfo::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(One, 1);
}

void BlkTerminalInfo::Update() {
  Block::Update();
  One.SetValue(1);
  reserved.SetValue(0);
}

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
  Add(blkTerminalInfo);
  Add(NumberOfNavigationCommands);
  Add(NavigationCommandArray);
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
  Add(Length);
  Add(reserved);
  Add(NumberOfMobjs);
  Add(blkMovieObjectArray);
}

void BlkMovieObjects::Read(AAA::BitReader& reader) {
  bitsLeft_ = static_cast<std::int64_t>(reader.BitsLeft());
  struct LeftEnds {
    std::int64_t& left;
    ~LeftEnds() { left = -1; }
  } leftEnds{bitsLeft_};
  Block::Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkMovieObjects::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLOCK_LENGTH());
  reserved.SetValue(0);
}

void BlkMovieObjectFile::Declare() {
  Add(TypeIndicator);
  Add(TypeIndicator2);
  Add(ExtensionDataStartAddress);
  Add(reserved);
  Add(blkMovieObjects);
  Add(padding_word);
}

void BlkMovieObjectFile::Read(AAA::BitReader& reader) {
  TypeIndicator.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator, "MOBJ");
  TypeIndicator2.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator2, "0100");
  ExtensionDataStartAddress.Read(reader);
  AAA_VERIFY_EQUAL(ExtensionDataStartAddress, 0U);
  reserved.Read(reader);
  blkMovieObjects.Read(reader);
}

void BlkMovieObjectFile::Update() {
  Block::Update();
  TypeIndicator.SetBytes(Common::TextBytes("MOBJ"));
  TypeIndicator2.SetBytes(Common::TextBytes("0100"));
  ExtensionDataStartAddress.SetValue(0);
  reserved.SetValue(0);
}

}  // namespace AVCHD::MovieObject
