#pragma once

// The two containers that the index table, playlist and clip information
// files share: the extension data block and the makers private data block.
// Each frames one file-specific data block T behind a header of one entry.

#include <string>
#include <string_view>

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "aaalib/AAA_FieldRules.h"

// The length a block's own `Length` field must hold: the bytes after it.
#define AVCHD_BLOCK_LENGTH() (static_cast<std::uint32_t>((BitLength() - Length.BitLength()) / 8))

namespace AVCHD::Common {

// The length a block's `Length` field holds: the bytes of the block after it.
std::uint32_t BlockLength(const AAA::Block& owner, const AAA::FieldBase& length);

// The bytes of a text field's value ("INDX", "00001").
inline AAA::Bytes TextBytes(std::string_view text) { return AAA::Bytes(text.begin(), text.end()); }
// A text field's value as text ("00001").
inline std::string TextOf(const AAA::FieldBase& field) {
  return std::string(field.ValueBytes().begin(), field.ValueBytes().end());
}

// A recording date: seven BCD bytes of a real date and time, or all zeros
// where none was recorded.
bool AVCHD_VERIFY_TIMEANDDATE(const AAA::FieldBase& timeAndDate);
// The character sets a name may be written in: 1 to 7, 0x81, 0x90 to 0x99.
bool AVCHD_VERIFY_CHARACTERSET(std::uint32_t characterSet);

inline constexpr std::uint32_t AVCHD_EXT_DATA_TYPE = 0x1000;
inline constexpr std::uint32_t AVCHD_EXT_DATA_VERSION = 0x0100;
inline constexpr std::uint32_t AVCHD_EXT_DATA_VERSION_EX = 0x0110;

// The rules of a block's own length field: it is checked once the block is
// read and written by Update.
#define AVCHD_LENGTH() AAA_RULES(AAA_MEASURES(&::AVCHD::Common::BlockLength, "AVCHD_BLOCK_LENGTH()"))

class BlkExtDataEntry : public AAA::Block {
 public:
  AAA::Field::BE ExtDataType{"ExtDataType", 16};
  AAA::Field::BE ExtDataVersion{"ExtDataVersion", 16};
  AAA::Field::BE ExtDataStartAddress{"ExtDataStartAddress", 32};
  AAA::Field::BE ExtDataLength{"ExtDataLength", 32};

  BlkExtDataEntry() : Block("blkExtDataEntryArray") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkMakerEntry : public AAA::Block {
 public:
  AAA::Field::BE MakerID{"MakerID", 16};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16};
  AAA::Field::BE MpdStartAddress{"MpdStartAddress", 32};
  AAA::Field::BE MpdLength{"MpdLength", 32};

  BlkMakerEntry() : Block("MakerEntry") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override;
};

// Data a later version of the user-interface and playlist meta blocks may
// append: its length must be 0 in the files this tool reads and writes.
class BlkAdditionalData : public AAA::Block {
 public:
  AAA::Field::BE Length2{"Length2", 32};
  AAA::Field::BE reserved{"reserved", 0};

  BlkAdditionalData() : Block("AdditionalData") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

// The bits from the reader's position to `endBits`, the end of an addressed
// or length-bounded stretch.
inline std::int64_t BitsUpTo(const AAA::BitReader& reader, std::int64_t endBits) {
  return endBits - static_cast<std::int64_t>(reader.BitPosition());
}

template <class T>
class BlkExtensionData : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE DataBlockStartAddress{"DataBlockStartAddress", 32};
  AAA::Field::BE reserved{"reserved", 24};
  AAA::Field::BE NumberOfExtDataEntries{"NumberOfExtDataEntries", 8};
  AAA::Array<BlkExtDataEntry> blkExtDataEntryArray{"blkExtDataEntryArray"};
  AAA::Field::Padding padding_word1{"padding_word"};
  T blkDataBlock;
  AAA::Field::Padding padding_word2{"padding_word"};

  BlkExtensionData() : Block("blkExtensionData") { Link(); }

  void Read(AAA::BitReader& reader) override {
    Length.Read(reader);
    DataBlockStartAddress.Read(reader);
    AAA_VERIFY(DataBlockStartAddress, DataBlockStartAddress % 4 == 0);
    reserved.Read(reader);
    NumberOfExtDataEntries.Read(reader);
    blkExtDataEntryArray.Read(reader);
    AAA_VERIFY(blkExtDataEntryArray[0].ExtDataStartAddress,
               (blkExtDataEntryArray[0].ExtDataStartAddress % 4 == 0) &&
                   (blkExtDataEntryArray[0].ExtDataStartAddress >= DataBlockStartAddress));
    AAA_VERIFY(blkExtDataEntryArray[0].ExtDataLength,
               (blkExtDataEntryArray[0].ExtDataStartAddress + blkExtDataEntryArray[0].ExtDataLength) <=
                   (Length + Length.BitLength() / 8));
    const std::int64_t paddingLength = BitsUpTo(reader, Length.BitPosition() + DataBlockStartAddress * 8ll);
    AAA_READ_PADDING(reader, padding_word1, paddingLength);
    blkDataBlock.Read(reader);
    const std::int64_t paddingLength2 = BitsUpTo(reader, DataBlockStartAddress.BitPosition() + Length * 8ll);
    AAA_READ_PADDING(reader, padding_word2, paddingLength2);
    AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
  }

  void Initialize() override {
    NumberOfExtDataEntries.SetValue(1);
    Block::Initialize();
    padding_word1.SetBitLength(0);
    padding_word2.SetBitLength(0);
  }

  void Update() override {
    Block::Update();
    reserved.SetValue(0);
    NumberOfExtDataEntries.SetValue(1);
    // The data block starts on a multiple of 4 bytes: the leading padding grows to get there.
    SetStartAddress(DataBlockStartAddress, 0, blkDataBlock, &padding_word1);
    blkExtDataEntryArray[0].ExtDataStartAddress.SetValue(DataBlockStartAddress);
    blkExtDataEntryArray[0].ExtDataLength.SetValue(static_cast<std::uint32_t>(blkDataBlock.BitLength() / 8));
    padding_word2.SetBitLength(0);
    Length.SetValue(AVCHD_BLOCK_LENGTH());
  }

 protected:
  void Declare() override {
    OnChange(NumberOfExtDataEntries, [](AAA::Block& owner) {
      auto& self = static_cast<BlkExtensionData&>(owner);
      AAA_VERIFY_EQUAL(self.NumberOfExtDataEntries, 1);
      self.blkExtDataEntryArray.Resize(self.NumberOfExtDataEntries);
      self.Link();
    });
    Add(Length);
    Add(DataBlockStartAddress);
    Add(reserved);
    Add(NumberOfExtDataEntries);
    Add(blkExtDataEntryArray);
    Add(padding_word1);
    Add(blkDataBlock);
    Add(padding_word2);
  }
};

template <class T>
class BlkMakersPrivateData : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE DataBlockStartAddress{"DataBlockStartAddress", 32};
  AAA::Field::BE reserved{"reserved", 24};
  AAA::Field::BE NumberOfMakerEntries{"NumberOfMakerEntries", 8};
  AAA::Array<BlkMakerEntry> blkMakerEntryArray{"MakerEntry"};
  AAA::Field::Padding padding_word1{"padding_word"};
  T blkDataBlock;
  AAA::Field::Padding padding_word2{"padding_word"};

  BlkMakersPrivateData() : Block("blkMakersPrivateData") { Link(); }

  void Read(AAA::BitReader& reader) override {
    Length.Read(reader);
    DataBlockStartAddress.Read(reader);
    AAA_VERIFY(DataBlockStartAddress, DataBlockStartAddress % 4 == 0);
    reserved.Read(reader);
    NumberOfMakerEntries.Read(reader);
    blkMakerEntryArray.Read(reader);
    AAA_VERIFY(blkMakerEntryArray[0].MpdStartAddress,
               (blkMakerEntryArray[0].MpdStartAddress % 4 == 0) &&
                   (blkMakerEntryArray[0].MpdStartAddress >= DataBlockStartAddress));
    // The rule's text is logged exactly as written.
    // clang-format off
    AAA_VERIFY(blkMakerEntryArray[0].MpdLength, (blkMakerEntryArray[0].MpdLength %2 == 0) && ((blkMakerEntryArray[0].MpdStartAddress + blkMakerEntryArray[0].MpdLength) <= (Length + Length.BitLength() / 8)));
    // clang-format on
    const std::int64_t paddingLength1 = BitsUpTo(reader, Length.BitPosition() + DataBlockStartAddress * 8ll);
    AAA_READ_PADDING(reader, padding_word1, paddingLength1);
    blkDataBlock.Read(reader);
    // A data block that runs past the end given by Length leaves a negative
    // width here, which the padding refuses.
    padding_word2.SetBitLength(BitsUpTo(reader, DataBlockStartAddress.BitPosition() + Length * 8ll));
    padding_word2.Read(reader);
    AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
  }

  void Initialize() override {
    NumberOfMakerEntries.SetValue(1);
    Block::Initialize();
    padding_word1.SetBitLength(0);
    padding_word2.SetBitLength(0);
  }

  void Update() override {
    Block::Update();
    reserved.SetValue(0);
    NumberOfMakerEntries.SetValue(1);
    // A gap read before the data block is kept and counted in the address.
    SetStartAddress(DataBlockStartAddress, 0, blkDataBlock);
    blkMakerEntryArray[0].MpdStartAddress.SetValue(DataBlockStartAddress);
    // MpdLength must be even, while a data block read with a block of
    // unknown tag may have an odd length: a padding byte after it makes it
    // even, as the reader passes over what follows the data block.
    const auto dataBytes = static_cast<std::uint32_t>(blkDataBlock.BitLength() / 8);
    padding_word2.SetBitLength(dataBytes % 2 == 0 ? 0 : 8);
    blkMakerEntryArray[0].MpdLength.SetValue(dataBytes + dataBytes % 2);
    Length.SetValue(AVCHD_BLOCK_LENGTH());
  }

 protected:
  void Declare() override {
    OnChange(NumberOfMakerEntries, [](AAA::Block& owner) {
      auto& self = static_cast<BlkMakersPrivateData&>(owner);
      AAA_VERIFY_EQUAL(self.NumberOfMakerEntries, 1);
      self.blkMakerEntryArray.Resize(self.NumberOfMakerEntries);
      self.Link();
    });
    Add(Length);
    Add(DataBlockStartAddress);
    Add(reserved);
    Add(NumberOfMakerEntries);
    Add(blkMakerEntryArray);
    Add(padding_word1);
    Add(blkDataBlock);
    Add(padding_word2);
  }
};

}  // namespace AVCHD::Common
