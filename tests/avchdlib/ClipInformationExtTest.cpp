// The clip's extension data ("CLEX") and its professional metadata.
#include <gtest/gtest.h>

#include "ClipFiles.h"
#include "ModelBytes.h"
#include "Refusal.h"
#include "aaalib/AAA_Exceptions.h"
#include "avchdlib/AVCHD_Maker.h"
#include "tests/aaalib/LogCapture.h"

using AVCHD::ClipInformation::BlkClipInformationFile;
using AVCHD::ClipInformationPro::BlkClipInfoPrivateDataBlock;
using AVCHD::ClipInformationPro::BlkPRO_ClipInfo;
using ClipFiles::NewClip;
using ModelBytes::Join;
using ModelBytes::Read;
using ModelBytes::Write;
using Refusal::WithoutLines;

namespace {

template <class Select>
std::size_t OffsetOf(const AAA::Bytes& bytes, Select select) {
  BlkClipInformationFile file;
  Read(file, bytes);
  return static_cast<std::size_t>(select(file.blkExtensionData.blkDataBlock).BitPosition() / 8);
}

// Reads `bytes`, expecting `Exception` and a report that contains `report`.
template <class Exception, class Model = BlkClipInformationFile>
void ExpectRefused(const AAA::Bytes& bytes, const std::string& report) {
  LogCapture log(7);
  Model model;
  EXPECT_THROW(Read(model, bytes), Exception);
  EXPECT_NE(WithoutLines(log.Take()).find(report), std::string::npos) << report;
}

// A PRO_ClipInfo after its tag: version, length, and the fixed fields.
AAA::Bytes ClipInfoBytes(std::uint8_t version, std::uint8_t length, const AAA::Bytes& rest) {
  return Join({{version, 0x00, length},
               AAA::Bytes(32, 0x11),      // GlobalClipID
               {0x10, 0x20, 0x30, 0x01},  // StartTimeCode
               {0x00, 0x00, 0x00, 0x07},  // StartBinaryGroup
               rest});
}

const AAA::Bytes k3DClipInfo = {0x05, 0xFF, 0x00, 0x04, 0x00, 0x02, 0xFF, 0xFF};

}  // namespace

TEST(ClipInformationExt, MakersPrivateDataIsPresentOnlyWithItsAddress) {
  BlkClipInformationFile without = NewClip(false, false);
  const AAA::Bytes withoutBytes = Write(without);
  const auto& clex = without.blkExtensionData.blkDataBlock;
  EXPECT_EQ(clex.MakersPrivateDataStartAddress.Value(), 0u);
  EXPECT_EQ(clex.ProgramInfoExtStartAddress.Value(), 40u + 8);
  EXPECT_EQ(clex.blkProgramInfoExt.blkProgramSequenceArray[0]
                .blkStreamCodingInfoExtInPsArray[0]
                .blkStreamCodingInfoExt.Length.Value(),
            11u);
  EXPECT_EQ(ModelBytes::Rewrite<BlkClipInformationFile>(withoutBytes), withoutBytes);

  BlkClipInformationFile with = NewClip(false, true);
  Write(with);
  const auto& withClex = with.blkExtensionData.blkDataBlock;
  EXPECT_EQ(withClex.MakersPrivateDataStartAddress.Value(),
            withClex.ProgramInfoExtStartAddress.Value() + withClex.blkProgramInfoExt.BitLength() / 8);
  const BlkClipInfoPrivateDataBlock& pro = withClex.blkMakersPrivateData.blkDataBlock;
  EXPECT_EQ(pro.NumberOfData.Value(), 2u);
  EXPECT_EQ(pro.blkProClipInfo.Tag_ver.Value(), 0x10u);
  EXPECT_EQ(pro.blkProClipInfo.Length.Value(), 40u);
  EXPECT_EQ(pro.blkProClipInfo.StartTimeCode.ValueBytes(), AAA::Bytes(4, 0xFF));
}

TEST(ClipInformationExt, CountAndCodingRulesRefuseTheFile) {
  BlkClipInformationFile model = NewClip(false, true);
  const AAA::Bytes good = Write(model);
  AAA::Bytes twoSequences = good;
  twoSequences[OffsetOf(
      good, [](auto& clex) -> auto& { return clex.blkProgramInfoExt.NumberOfProgramSequences; })] = 2;
  ExpectRefused<AAA::InvalidDataException>(twoSequences,
                                           "blkProgramInfoExt.NumberOfProgramSequences\n  Expected: 0x01 \"1\" (1)\n");
  const std::size_t codingCount = OffsetOf(
      good, [](auto& clex) -> auto& {
        return clex.blkProgramInfoExt.blkProgramSequenceArray[0].NumberOfStreamCodingInfoExtInPs;
      });
  AAA::Bytes twoCodings = good;
  twoCodings[codingCount] = 2;
  ExpectRefused<AAA::InvalidDataException>(
      twoCodings,
      "(\"(0 <= self.NumberOfStreamCodingInfoExtInPs) && (self.NumberOfStreamCodingInfoExtInPs <= "
      "1)\")");
  // After the count: reserved, StreamPID, Length, StreamCodingType, HorizontalSize.
  AAA::Bytes wideness = good;
  wideness[codingCount + 6] = 5;
  ExpectRefused<AAA::InvalidDataException>(wideness, "(\"(1 <= HorizontalSize) && (HorizontalSize <= 4)\")");
  AAA::Bytes audioCoding = good;
  audioCoding[codingCount + 5] = 0x80;
  ExpectRefused<AAA::InvalidDataException>(audioCoding, "(0x1B)");
  AAA::Bytes otherMarker = good;
  otherMarker[OffsetOf(
                  good, [](auto& clex) -> auto& { return clex.TypeIndicator; }) +
              3] = 'Y';
  ExpectRefused<AAA::InvalidDataException>(otherMarker, "(\"CLEX\")");
}

TEST(ClipInformationExt, ClipOfAnotherMakerIsRefusedWithMakerModelException) {
  BlkClipInformationFile model = NewClip(false, false);
  AAA::Bytes bytes = Write(model);
  const std::size_t maker = OffsetOf(
      bytes, [](auto& clex) -> auto& { return clex.blkClipInfoExt.MakerID; });
  AAA::Bytes otherMaker = bytes;
  otherMaker[maker] ^= 0x01;
  ExpectRefused<AAA::MakerModelException>(otherMaker, "(AVCHD_MAKER_ID)");
  AAA::Bytes otherModel = bytes;
  otherModel[maker + 2] = 0x00;
  otherModel[maker + 3] = 0x00;
  ExpectRefused<AAA::MakerModelException>(otherModel, "AVCHD_VERIFY_MAKER_MODEL_CODE(MakerModelCode)");
}

TEST(ClipInformationPro, ClipInfoVersionsDecideThe3DInfoAndFutureFields) {
  BlkPRO_ClipInfo plain;
  Read(plain, ClipInfoBytes(0x10, 40, {}));
  EXPECT_EQ(plain.Children().size(), 6u);
  EXPECT_EQ(plain.StartBinaryGroup.Value(), 7u);

  const AAA::Bytes with3D = ClipInfoBytes(0x11, 48, k3DClipInfo);
  BlkPRO_ClipInfo threeD;
  Read(threeD, with3D);
  EXPECT_EQ(threeD.blkPRO_3DClipInfo.RecordedClipNumber.Value(), 2u);
  EXPECT_FALSE(threeD.IsModified());
  EXPECT_EQ(Write(threeD), Join({{0xE2}, with3D}));

  const AAA::Bytes future = ClipInfoBytes(0x12, 51, Join({k3DClipInfo, {0xAB, 0xCD, 0xEF}}));
  BlkPRO_ClipInfo later;
  Read(later, future);
  EXPECT_EQ(later.FutureDefinedFields.ValueBytes(), (AAA::Bytes{0xAB, 0xCD, 0xEF}));
  EXPECT_EQ(Write(later), Join({{0xE2}, future}));

  // Version 0x11 without room for the 3D info has none.
  BlkPRO_ClipInfo short11;
  Read(short11, ClipInfoBytes(0x11, 40, {}));
  EXPECT_EQ(short11.Children().size(), 6u);
}

TEST(ClipInformationPro, ClipInfoRulesRefuseTheBlock) {
  ExpectRefused<AAA::InvalidDataException, BlkPRO_ClipInfo>(ClipInfoBytes(0x0F, 40, {}),
                                                            "(\"(self.Tag_ver >> 4) != 0\")");
  AAA::Bytes wrongTag = k3DClipInfo;
  wrongTag[0] = 0x06;
  ExpectRefused<AAA::InvalidDataException, BlkPRO_ClipInfo>(ClipInfoBytes(0x11, 48, wrongTag), "(0x05)");
  AAA::Bytes wrongFill = k3DClipInfo;
  wrongFill[1] = 0x00;
  ExpectRefused<AAA::InvalidDataException, BlkPRO_ClipInfo>(ClipInfoBytes(0x11, 48, wrongFill), "(0xff)");
  ExpectRefused<AAA::InvalidDataException, BlkPRO_ClipInfo>(ClipInfoBytes(0x10, 41, {0x00}),
                                                            "(AVCHD_PRO_BLOCK_LENGTH1())");
}

TEST(ClipInformationPro, PrivateDataBlockReadsByTagAndRefusesOthers) {
  BlkClipInfoPrivateDataBlock fresh;
  fresh.Initialize();
  const AAA::Bytes both = Write(fresh);
  EXPECT_EQ(ModelBytes::Rewrite<BlkClipInfoPrivateDataBlock>(both), both);

  // The meta identifier first, then an unknown tag in place of the clip info.
  AAA::Bytes unknown = both;
  unknown[4 + fresh.PRO_ProfessionalMetaID.BitLength() / 8] = 0xE1;
  LogCapture log(7);
  BlkClipInfoPrivateDataBlock model;
  EXPECT_THROW(Read(model, unknown), AAA::InvalidDataException);
  EXPECT_NE(
      log.Take().find(ModelBytes::Site("avchdlib/AVCHD_CommonPro.cpp", "AAA_THROW") + ": InvalidDataException()\n"),
      std::string::npos);

  AAA::Bytes three = both;
  three[1] = 3;
  ExpectRefused<AAA::InvalidDataException, BlkClipInfoPrivateDataBlock>(three, "(2)");

  // Only the clip info: the count follows what is present.
  BlkClipInfoPrivateDataBlock single;
  single.Initialize();
  single.PRO_ProfessionalMetaID.Tag_ID.SetValue(0);
  Write(single);
  EXPECT_EQ(single.NumberOfData.Value(), 1u);
}
