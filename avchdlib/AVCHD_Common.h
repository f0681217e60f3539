#pragma once

// The two containers that the index table, playlist and clip information
// files share: the extension data block and the makers private data block.
// Each frames one file-specific data block T behind a header of one entry.

#include <string>
#include <string_view>

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "aaalib/AAA_FieldRules.h"
#include "avchdlib/AVCHD_Maker.h"

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

// A start address of one of a file's parts: a byte offset of 32 bits, even.
#define AVCHD_START_ADDRESS(Name) \
  ::AAA::Field::BE Name { #Name, 32, AAA_RULES(AAA_ALLOWED(Name, Name % 2 == 0)) }
// The start address of a file's extension data: even, and never 0.
#define AVCHD_EXTENSION_DATA_START_ADDRESS()                                                  \
  ::AAA::Field::BE ExtensionDataStartAddress {                                                \
    "ExtensionDataStartAddress", 32,                                                          \
        AAA_RULES(AAA_ALLOWED(ExtensionDataStartAddress, ExtensionDataStartAddress % 2 == 0), \
                  AAA_ALLOWED(ExtensionDataStartAddress, ExtensionDataStartAddress != 0))     \
  }

class BlkExtDataEntry : public AAA::Block {
 public:
  AAA::Field::BE ExtDataType{"ExtDataType", 16, AAA_RULES(AAA_FIXED(AVCHD_EXT_DATA_TYPE))};
  AAA::Field::BE ExtDataVersion{"ExtDataVersion", 16,
                                AAA_RULES(AAA_ALLOWED(ExtDataVersion, ExtDataVersion == AVCHD_EXT_DATA_VERSION ||
                                                                          ExtDataVersion == AVCHD_EXT_DATA_VERSION_EX),
                                          AAA_INITIAL(AVCHD_EXT_DATA_VERSION))};
  AAA::Field::BE ExtDataStartAddress{"ExtDataStartAddress", 32,
                                     AAA_RULES(AAA_ALLOWED(ExtDataStartAddress, ExtDataStartAddress % 4 == 0))};
  AAA::Field::BE ExtDataLength{"ExtDataLength", 32};

  BlkExtDataEntry() : Block("blkExtDataEntryArray") { Link(); }

 protected:
  void Declare() override { Add(ExtDataType, ExtDataVersion, ExtDataStartAddress, ExtDataLength); }
};

class BlkMakerEntry : public AAA::Block {
 public:
  AAA::Field::BE MakerID{"MakerID", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_ID))};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_MODEL_CODE))};
  AAA::Field::BE MpdStartAddress{"MpdStartAddress", 32};
  AAA::Field::BE MpdLength{"MpdLength", 32, AAA_RULES(AAA_ALLOWED(MpdLength, MpdLength != 0))};

  BlkMakerEntry() : Block("MakerEntry") { Link(); }
  void Read(AAA::BitReader& reader) override {
    ReadMakerAndModel(reader, MakerID, MakerModelCode);
    MpdStartAddress.Read(reader);
    MpdLength.Read(reader);
  }

 protected:
  void Declare() override { Add(MakerID, MakerModelCode, MpdStartAddress, MpdLength); }
};

// Data a later version of the user-interface and playlist meta blocks may
// append: its length must be 0 in the files this tool reads and writes, so
// that `reserved` is empty.
class BlkAdditionalData : public AAA::Block {
 public:
  AAA::Field::BE Length2{"Length2", 32, AAA_RULES(AAA_FIXED(0U), AAA_INITIAL(0))};
  AAA::Field::BE reserved{"reserved", 0};

  BlkAdditionalData() : Block("AdditionalData") { Link(); }

 protected:
  void Declare() override { Add(Length2, reserved); }
};

// The bits from the reader's position to `endBits`, the end of an addressed
// or length-bounded stretch.
inline std::int64_t BitsUpTo(const AAA::BitReader& reader, std::int64_t endBits) {
  return endBits - static_cast<std::int64_t>(reader.BitPosition());
}

// The frame the extension data and the makers private data share: Length,
// the data block's address, one entry (it gives that address and the data
// block's length again) and the data block between two paddings. Each kind
// names its count and entry, checks the entry and holds the data block.
class BlkDataBlockFrame : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::BE DataBlockStartAddress{"DataBlockStartAddress", 32,
                                       AAA_RULES(AAA_ALLOWED(DataBlockStartAddress, DataBlockStartAddress % 4 == 0))};
  AAA::Field::Reserved reserved{24};
  AAA::Field::Padding padding_word1{"padding_word"};
  AAA::Field::Padding padding_word2{"padding_word"};

  using Block::Block;
  // The paddings stand between addressed parts: they are read to the addresses.
  void Read(AAA::BitReader& reader) override;
  // A new frame has no paddings.
  void Initialize() override {
    Block::Initialize();
    padding_word1.SetBitLength(0);
    padding_word2.SetBitLength(0);
  }

 protected:
  virtual AAA::Block& DataBlock() = 0;
  // The entry's address and length against the frame's, once the entry is read.
  virtual void CheckEntry() const = 0;
  // The width parameter is named as the text of the rule that refuses a negative width.
  virtual void ReadLeadingPadding(AAA::BitReader& reader, std::int64_t paddingLength) {
    AAA_READ_PADDING(reader, padding_word1, paddingLength);
  }
  virtual void ReadTrailingPadding(AAA::BitReader& reader, std::int64_t paddingLength2) {
    AAA_READ_PADDING(reader, padding_word2, paddingLength2);
  }

  // The fields in file order; `count` (a member of Frame) sizes `entries` and must be 1.
  template <auto count, auto entries, class Frame>
  void DeclareFrame(Frame& frame) {
    OnChange(frame.*count, [](AAA::Block& owner) {
      auto& self = static_cast<Frame&>(owner);
      AAA_VERIFY_EQUAL(self.*count, 1);
      (self.*entries).Resize(self.*count);
      self.Link();
    });
    Add(Length, DataBlockStartAddress, reserved, frame.*count, frame.*entries, padding_word1, DataBlock(),
        padding_word2);
  }
  // The data block's address, in the frame and in the entry, and the entry's
  // length: the data block's and, with `evenLength`, a padding byte after an
  // odd one. With `alignedBy`, the data block starts on a multiple of 4 bytes
  // (that padding grows to get there); otherwise a gap read before it is kept.
  void PlaceDataBlock(AAA::FieldBase& entryAddress, AAA::FieldBase& entryLength, AAA::Field::Padding* alignedBy,
                      bool evenLength);
};

template <class T>
class BlkExtensionData : public BlkDataBlockFrame {
 public:
  AAA::Field::BE NumberOfExtDataEntries{"NumberOfExtDataEntries", 8, AAA_RULES(AAA_INITIAL(1))};
  AAA::Array<BlkExtDataEntry> blkExtDataEntryArray{"blkExtDataEntryArray"};
  T blkDataBlock;

  BlkExtensionData() : BlkDataBlockFrame("blkExtensionData") { Link(); }

 protected:
  void Declare() override {
    DeclareFrame<&BlkExtensionData::NumberOfExtDataEntries, &BlkExtensionData::blkExtDataEntryArray>(*this);
  }
  AAA::Block& DataBlock() override { return blkDataBlock; }
  void CheckEntry() const override {
    AAA_VERIFY(blkExtDataEntryArray[0].ExtDataStartAddress,
               (blkExtDataEntryArray[0].ExtDataStartAddress % 4 == 0) &&
                   (blkExtDataEntryArray[0].ExtDataStartAddress >= DataBlockStartAddress));
    AAA_VERIFY(blkExtDataEntryArray[0].ExtDataLength,
               (blkExtDataEntryArray[0].ExtDataStartAddress + blkExtDataEntryArray[0].ExtDataLength) <=
                   (Length + Length.BitLength() / 8));
  }
  void Derive() override {
    PlaceDataBlock(blkExtDataEntryArray[0].ExtDataStartAddress, blkExtDataEntryArray[0].ExtDataLength, &padding_word1,
                   false);
  }
};

template <class T>
class BlkMakersPrivateData : public BlkDataBlockFrame {
 public:
  AAA::Field::BE NumberOfMakerEntries{"NumberOfMakerEntries", 8, AAA_RULES(AAA_INITIAL(1))};
  AAA::Array<BlkMakerEntry> blkMakerEntryArray{"MakerEntry"};
  T blkDataBlock;

  BlkMakersPrivateData() : BlkDataBlockFrame("blkMakersPrivateData") { Link(); }

 protected:
  void Declare() override {
    DeclareFrame<&BlkMakersPrivateData::NumberOfMakerEntries, &BlkMakersPrivateData::blkMakerEntryArray>(*this);
  }
  AAA::Block& DataBlock() override { return blkDataBlock; }
  void CheckEntry() const override {
    AAA_VERIFY(blkMakerEntryArray[0].MpdStartAddress,
               (blkMakerEntryArray[0].MpdStartAddress % 4 == 0) &&
                   (blkMakerEntryArray[0].MpdStartAddress >= DataBlockStartAddress));
    // The rule's text is logged exactly as written.
    // clang-format off
    AAA_VERIFY(blkMakerEntryArray[0].MpdLength, (blkMakerEntryArray[0].MpdLength %2 == 0) && ((blkMakerEntryArray[0].MpdStartAddress + blkMakerEntryArray[0].MpdLength) <= (Length + Length.BitLength() / 8)));
    // clang-format on
  }
  void ReadLeadingPadding(AAA::BitReader& reader, std::int64_t paddingLength1) override {
    AAA_READ_PADDING(reader, padding_word1, paddingLength1);
  }
  // A data block that runs past the end given by Length leaves a negative
  // width here, which the padding refuses.
  void ReadTrailingPadding(AAA::BitReader& reader, std::int64_t bitLength) override {
    padding_word2.SetBitLength(bitLength);
    padding_word2.Read(reader);
  }
  // MpdLength must be even, while a data block read with a block of unknown
  // tag may have an odd length: a padding byte after it makes it even, as the
  // reader passes over what follows the data block.
  void Derive() override {
    PlaceDataBlock(blkMakerEntryArray[0].MpdStartAddress, blkMakerEntryArray[0].MpdLength, nullptr, true);
  }
};

}  // namespace AVCHD::Common
