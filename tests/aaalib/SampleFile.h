#pragma once

// A small file format that exercises every mechanism of the framework:
//
//   type_indicator   Str 32      "SMPL"
//   version          BE 8        2 adds Extra
//   SubStartAddress  BE 32       byte offset of blkSub from the file start, a multiple of 4
//   NumberOfEntries  BE 8        1 to 4, sizes blkEntryArray
//   blkEntryArray    { Id BE 8, Flags BE 4, Reserved BE 4 } x NumberOfEntries
//   Extra            BE 16       only when version >= 2
//   padding_word     up to SubStartAddress
//   blkSub           { Length BE 32 (bytes after itself), Data BE 16 }

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"

namespace Sample {

class BlkEntry : public AAA::Block {
 public:
  AAA::Field::BE Id{"Id", 8};
  AAA::Field::BE Flags{"Flags", 4};
  AAA::Field::BE Reserved{"Reserved", 4};

  BlkEntry() : Block("blkEntry") { Link(); }
  void Initialize() override {
    Block::Initialize();
    Reserved.SetValue(0);
  }

 protected:
  void Declare() override {
    Add(Id);
    Add(Flags);
    Add(Reserved);
  }
};

// The lines of the rules, for the tests that compare reports exactly.
inline int countRuleLine = 0;
inline int typeRuleLine = 0;
inline int paddingRuleLine = 0;
inline int lengthRuleLine = 0;

class BlkSub : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE Data{"Data", 16};

  BlkSub() : Block("blkSub") { Link(); }
  void Read(AAA::BitReader& reader) override {
    Block::Read(reader);
    lengthRuleLine = __LINE__ + 1;
    AAA_VERIFY_EQUAL(Length, BytesAfterLength());
  }
  void Update() override {
    Block::Update();
    Length.SetValue(BytesAfterLength());
  }
  std::uint32_t BytesAfterLength() const { return static_cast<std::uint32_t>((BitLength() - Length.BitLength()) / 8); }

 protected:
  void Declare() override {
    Add(Length);
    Add(Data);
  }
};

class BlkSampleFile : public AAA::FileBlock {
 public:
  AAA::Field::Str type_indicator{"type_indicator", 32};
  AAA::Field::BE version{"version", 8};
  AAA::Field::BE SubStartAddress{"SubStartAddress", 32};
  AAA::Field::BE NumberOfEntries{"NumberOfEntries", 8};
  AAA::Array<BlkEntry> blkEntryArray{"blkEntryArray"};
  AAA::Field::BE Extra{"Extra", 16};
  AAA::Field::Padding padding_word{"padding_word"};
  BlkSub blkSub;

  BlkSampleFile() : FileBlock("Sample file") { Link(); }

  void Read(AAA::BitReader& reader) override {
    type_indicator.Read(reader);
    typeRuleLine = __LINE__ + 1;
    AAA_VERIFY_EQUAL(type_indicator, "SMPL");
    version.Read(reader);
    SubStartAddress.Read(reader);
    AAA_VERIFY(SubStartAddress, SubStartAddress % 4 == 0);
    NumberOfEntries.Read(reader);
    blkEntryArray.Read(reader);
    if (version >= 2) Extra.Read(reader);
    const std::int64_t paddingLength =
        static_cast<std::int64_t>(SubStartAddress) * 8 - static_cast<std::int64_t>(reader.BitPosition());
    paddingRuleLine = __LINE__ + 1;
    AAA_READ_PADDING(reader, padding_word, paddingLength);
    blkSub.Read(reader);
  }

  void Initialize() override {
    Block::Initialize();
    type_indicator.SetBytes(AAA::Bytes{'S', 'M', 'P', 'L'});
    version.SetValue(1);
    NumberOfEntries.SetValue(1);
    blkEntryArray.Initialize();
    padding_word.SetBitLength(0);
  }

  void Update() override {
    Block::Update();
    NumberOfEntries.SetValue(static_cast<std::uint32_t>(blkEntryArray.Size()));
    SetStartAddress(SubStartAddress, 0, blkSub, &padding_word);
  }

 protected:
  void Declare() override {
    OnChange(NumberOfEntries, [](AAA::Block& owner) {
      auto& self = static_cast<BlkSampleFile&>(owner);
      countRuleLine = __LINE__ + 1;
      AAA_VERIFY(self.NumberOfEntries, (1 <= self.NumberOfEntries) && (self.NumberOfEntries <= 4));
      self.blkEntryArray.Resize(self.NumberOfEntries);
      self.Link();
    });
    OnChange(version, [](AAA::Block& owner) { owner.Link(); });
    Add(type_indicator);
    Add(version);
    Add(SubStartAddress);
    Add(NumberOfEntries);
    Add(blkEntryArray);
    if (version >= 2) Add(Extra);
    Add(padding_word);
    Add(blkSub);
  }
};

}  // namespace Sample
