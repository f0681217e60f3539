// The extension data and makers private data containers around a small data
// block of the tests' own.
#include <gtest/gtest.h>

#include "ModelBytes.h"
#include "aaalib/AAA_Exceptions.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Maker.h"
#include "tests/aaalib/LogCapture.h"

using AAA::Bytes;
using ModelBytes::Join;
using ModelBytes::Zeros;

namespace {

// A four-byte data block.
class BlkTestData : public AAA::Block {
 public:
  AAA::Field::BE Value{"Value", 32};
  BlkTestData() : Block("blkTestData") { Link(); }
  void Initialize() override { Value.SetValue(0x12345678); }

 protected:
  void Declare() override { Add(Value); }
};

using ExtensionData = AVCHD::Common::BlkExtensionData<BlkTestData>;
using MakersPrivateData = AVCHD::Common::BlkMakersPrivateData<BlkTestData>;

const Bytes kData = {0x12, 0x34, 0x56, 0x78};

// Length 24, data block at 24, one entry of type 0x1000 version 0x0100 at 24 of 4 bytes.
Bytes ExtensionBytes(std::uint32_t dataStart = 24, std::uint8_t versionLow = 0x00, std::uint8_t entries = 1) {
  const auto length = static_cast<std::uint8_t>(dataStart);
  return Join({{0, 0, 0, length},               // Length
               {0, 0, 0, length},               // DataBlockStartAddress
               {0, 0, 0, entries},              // reserved, NumberOfExtDataEntries
               {0x10, 0x00, 0x01, versionLow},  // ExtDataType, ExtDataVersion
               {0, 0, 0, length},
               {0, 0, 0, 4},  // ExtDataStartAddress, ExtDataLength
               Zeros(dataStart - 24),
               kData});  // padding_word, blkTestData
}

// The same frame with one maker entry: maker, model, MpdStartAddress, MpdLength.
Bytes MakersBytes(std::uint16_t maker, std::uint16_t model, std::uint32_t dataStart = 24, std::uint8_t mpdLength = 4) {
  const auto length = static_cast<std::uint8_t>(dataStart);
  return Join({{0, 0, 0, length},
               {0, 0, 0, length},
               {0, 0, 0, 1},
               {static_cast<std::uint8_t>(maker >> 8), static_cast<std::uint8_t>(maker),
                static_cast<std::uint8_t>(model >> 8), static_cast<std::uint8_t>(model)},
               {0, 0, 0, length},
               {0, 0, 0, mpdLength},
               Zeros(dataStart - 24),
               kData});
}

Bytes SupportedMakersBytes(std::uint32_t dataStart = 24) {
  return MakersBytes(AVCHD::AVCHD_MAKER_ID, AVCHD::AVCHD_MAKER_MODEL_CODE, dataStart);
}

template <class Model>
void ExpectRefused(const Bytes& bytes) {
  Model model;
  EXPECT_THROW(ModelBytes::Read(model, bytes), AAA::InvalidDataException);
}

}  // namespace

TEST(ExtensionData, InitializedBlockHasOneEntryPointingAtItsData) {
  const Bytes written = ModelBytes::InitializedFileRoundTrips<ExtensionData>();
  EXPECT_EQ(written, ExtensionBytes());
}

TEST(ExtensionData, GapBeforeTheDataBlockReadsAndWritesBackByteForByte) {
  const Bytes withGap = ExtensionBytes(32);
  EXPECT_EQ(ModelBytes::Rewrite<ExtensionData>(withGap), withGap);
}

TEST(ExtensionData, HeaderOfTwentySixBytesIsRoundedUpToTwentyEight) {
  ExtensionData block;
  block.Initialize();
  block.padding_word1.SetBitLength(16);
  const Bytes written = ModelBytes::Write(block);
  EXPECT_EQ(block.DataBlockStartAddress.Value(), 28u);
  EXPECT_EQ(block.padding_word1.BitLength(), 32);
  EXPECT_EQ(block.blkExtDataEntryArray[0].ExtDataStartAddress.Value(), 28u);
  EXPECT_EQ(written, ExtensionBytes(28));
}

TEST(ExtensionData, UnalignedDataBlockStartAddressIsRefusedWithTheRuleInTheLog) {
  Bytes bytes = ExtensionBytes(28);
  bytes[7] = 26;
  LogCapture log(7);
  ExpectRefused<ExtensionData>(bytes);
  EXPECT_EQ(log.Take(), ModelBytes::Position("avchdlib/AVCHD_Common.h", "AAA_ALLOWED(DataBlockStartAddress") +
                            "      Name: blkExtensionData.DataBlockStartAddress\n"
                            "  Expected: true (\"DataBlockStartAddress % 4 == 0\")\n"
                            "    Actual: 0x0000001a \"26\"\n");
}

TEST(ExtensionData, VersionOneOneZeroIsAcceptedAndOneTwoZeroRefused) {
  ExtensionData block;
  ModelBytes::Read(block, ExtensionBytes(24, 0x10));
  EXPECT_EQ(block.blkExtDataEntryArray[0].ExtDataVersion.Value(), 0x0110u);
  LogCapture log(7);
  ExpectRefused<ExtensionData>(ExtensionBytes(24, 0x20));
  EXPECT_NE(
      log.Take().find("(\"ExtDataVersion == AVCHD_EXT_DATA_VERSION || ExtDataVersion == AVCHD_EXT_DATA_VERSION_EX\")"),
      std::string::npos);
}

TEST(ExtensionData, SecondEntryIsRefusedBeforeAnyEntryIsRead) {
  LogCapture log(7);
  ExpectRefused<ExtensionData>(ExtensionBytes(24, 0x00, 2));
  EXPECT_NE(log.Take().find("  Expected: 0x01 \"1\" (1)\n    Actual: 0x02 \"2\"\n"), std::string::npos);
}

TEST(ExtensionData, EntryDataBeyondTheBlockIsRefused) {
  Bytes bytes = ExtensionBytes();
  bytes[23] = 5;  // ExtDataLength 5: 24 + 5 > 24 + 4
  ExpectRefused<ExtensionData>(bytes);
}

TEST(ExtensionData, LengthThatDisagreesWithTheContentIsRefused) {
  Bytes bytes = ExtensionBytes();
  bytes[3] = 20;  // the data block would end after Length's end
  ExpectRefused<ExtensionData>(bytes);
  bytes[3] = 28;  // four bytes of trailing padding that are not there
  ExtensionData block;
  EXPECT_THROW(ModelBytes::Read(block, bytes), AAA::UnexpectedEofException);
}

TEST(MakersPrivateData, InitializedBlockCarriesTheSupportedMaker) {
  const Bytes written = ModelBytes::InitializedFileRoundTrips<MakersPrivateData>();
  EXPECT_EQ(written, SupportedMakersBytes());
}

TEST(MakersPrivateData, GapBeforeTheDataBlockIsKeptAndCounted) {
  const Bytes withGap = SupportedMakersBytes(28);  // 28 is a multiple of 4, but so would be 24
  EXPECT_EQ(ModelBytes::Rewrite<MakersPrivateData>(withGap), withGap);
}

TEST(MakersPrivateData, OtherMakerIsRefusedWithMakerModelException) {
  LogCapture log(7);
  MakersPrivateData block;
  try {
    ModelBytes::Read(block, MakersBytes(0x0001, AVCHD::AVCHD_MAKER_MODEL_CODE));
    FAIL() << "read a recording of another maker";
  } catch (const AAA::MakerModelException& exception) {
    EXPECT_EQ(exception.Message(), AAA::MakerModelException().Message());
  }
  const std::string text = log.Take();
  EXPECT_NE(text.find("      Name: blkMakersPrivateData.MakerEntry.MakerID\n"
                      "  Expected: 0x5e11 \"24081\" (AVCHD_MAKER_ID)\n"
                      "    Actual: 0x0001 \"1\"\n"),
            std::string::npos);
  EXPECT_NE(
      text.find(ModelBytes::Site("avchdlib/AVCHD_Maker.cpp", "if (!AAA_CHECK(MakerID") + ": MakerModelException()\n"),
      std::string::npos);
}

TEST(MakersPrivateData, ModelCodesOfTheTwoFamiliesAreAcceptedAndOthersRefused) {
  for (std::uint16_t model : {0x6100, 0x61FF, 0x7300, 0x73FF}) {
    MakersPrivateData block;
    EXPECT_NO_THROW(ModelBytes::Read(block, MakersBytes(AVCHD::AVCHD_MAKER_ID, model))) << model;
  }
  for (std::uint16_t model : {0x2C00, 0x60FF, 0x6200, 0x7400}) {
    LogCapture log(7);
    MakersPrivateData block;
    EXPECT_THROW(ModelBytes::Read(block, MakersBytes(AVCHD::AVCHD_MAKER_ID, model)), AAA::MakerModelException);
    EXPECT_NE(log.Take().find("(\"AVCHD_VERIFY_MAKER_MODEL_CODE(MakerModelCode)\")"), std::string::npos);
  }
}

TEST(MakersPrivateData, EmptyOrOddMakerDataIsRefused) {
  ExpectRefused<MakersPrivateData>(MakersBytes(AVCHD::AVCHD_MAKER_ID, AVCHD::AVCHD_MAKER_MODEL_CODE, 24, 0));
  ExpectRefused<MakersPrivateData>(MakersBytes(AVCHD::AVCHD_MAKER_ID, AVCHD::AVCHD_MAKER_MODEL_CODE, 24, 3));
}

TEST(MakersPrivateData, DataBlockRunningPastTheEndIsRefused) {
  Bytes bytes = SupportedMakersBytes();
  bytes[3] = 22;
  bytes[23] = 2;
  ExpectRefused<MakersPrivateData>(bytes);
}
