#include "avchdlib/AVCHD_IndexTablePro.h"

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "avchdlib/AVCHD_Maker.h"

namespace AVCHD::IndexTablePro {

using AAA::InvalidDataException;
using Common::kProVersion;

// Index info ---------------------------------------------------------------

void BlkPRO_IndexInfo::Declare() {
  Add(Tag_ID);
  Add(Tag_ver);
  Add(Length);
  Add(LastTimeCode);
  Add(FutureDefinedFields);
}

void BlkPRO_IndexInfo::Read(AAA::BitReader& reader) {
  Common::TakeTag(Tag_ID, kTagIndexInfo);
  Tag_ver.Read(reader);
  AAA_VERIFY(Tag_ver, (Tag_ver >> 4) != 0);
  Length.Read(reader);
  LastTimeCode.Read(reader);
  Common::ReadUpTo(reader, FutureDefinedFields, LastTimeCode.BitPosition() + Length * 8ll);
  AAA_VERIFY_EQUAL(Length, AVCHD_PRO_BLOCK_LENGTH1());
}

void BlkPRO_IndexInfo::Initialize() {
  Block::Initialize();
  Tag_ver.SetValue(kProVersion);
  LastTimeCode.Fill(0xFF);
  FutureDefinedFields.SetBitLength(0);
}

void BlkPRO_IndexInfo::Update() {
  Block::Update();
  Tag_ID.SetValue(kTagIndexInfo);
  Length.SetValue(AVCHD_BLKPRO_BLOCK_LENGTH());
}

// Movie title extension info -----------------------------------------------

void BlkMovieTitleExtData::Declare() {
  Add(VideoFormat);
  Add(FrameRate);
  Add(Reserved);
}

void BlkMovieTitleExtData::Initialize() {
  Block::Initialize();
  VideoFormat.SetValue(6);  // 1080p
  FrameRate.SetValue(7);    // 59.94
  Reserved.SetValue(0);
}

void BlkMovieTitleExtData::Update() {
  Block::Update();
  Reserved.SetValue(0);
}

void BlkPro_MovieTitleExtensionInfo::Declare() {
  OnChange(NumberOfMovieTitlePlayListPair, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPro_MovieTitleExtensionInfo&>(owner);
    // One entry per playlist pair of the table of playlists, which holds 999 at most.
    AAA_VERIFY(self.NumberOfMovieTitlePlayListPair,
               (0 <= self.NumberOfMovieTitlePlayListPair) && (self.NumberOfMovieTitlePlayListPair <= 999));
    self.blkMovieTitleExtDataArray.Resize(self.NumberOfMovieTitlePlayListPair);
    self.Link();
  });
  Add(Tag_ID);
  Add(Fill_item1);
  Add(Length);
  Add(MovieTitleExtDataSize);
  Add(NumberOfMovieTitlePlayListPair);
  Add(blkMovieTitleExtDataArray);
}

void BlkPro_MovieTitleExtensionInfo::Read(AAA::BitReader& reader) {
  Common::TakeTag(Tag_ID, kTagMovieTitleExtensionInfo);
  Fill_item1.Read(reader);
  AAA_VERIFY_EQUAL(Fill_item1, 0xff);
  Length.Read(reader);
  MovieTitleExtDataSize.Read(reader);
  AAA_VERIFY_EQUAL(MovieTitleExtDataSize, 0x0004);
  NumberOfMovieTitlePlayListPair.Read(reader);
  blkMovieTitleExtDataArray.Read(reader);
  // The rule is logged as the format states it, so the formatter keeps out.
  // clang-format off
  AAA_VERIFY_EQUAL(Length, (MovieTitleExtDataSize.BitLength() + NumberOfMovieTitlePlayListPair.BitLength() + 32*NumberOfMovieTitlePlayListPair) / 8);
  // clang-format on
}

void BlkPro_MovieTitleExtensionInfo::Initialize() {
  NumberOfMovieTitlePlayListPair.SetValue(0);
  Block::Initialize();
}

void BlkPro_MovieTitleExtensionInfo::Update() {
  Block::Update();
  Tag_ID.SetValue(kTagMovieTitleExtensionInfo);
  Fill_item1.SetValue(Common::kFillItem);
  MovieTitleExtDataSize.SetValue(4);
  Length.SetValue(AVCHD_BLKPRO_BLOCK_LENGTH());
}

// Makers private area ------------------------------------------------------

void BlkPRO_MakersPrivateArea::Declare() {
  Add(Tag_ID);
  Add(Tag_ver);
  Add(Fill_item1);
  Add(Length);
  Add(MakerID);
  Add(MakerModelCode);
  if (blkPro_MovieTitleExtensionInfo.Tag_ID == kTagMovieTitleExtensionInfo) Add(blkPro_MovieTitleExtensionInfo);
  Add(blkPRO_UnknownPROArray);
}

void BlkPRO_MakersPrivateArea::Read(AAA::BitReader& reader) {
  Common::TakeTag(Tag_ID, kTagMakersPrivateArea);
  Tag_ver.Read(reader);
  AAA_VERIFY(Tag_ver, (Tag_ver >> 4) != 0);
  Fill_item1.Read(reader);
  AAA_VERIFY_EQUAL(Fill_item1, 0xffff);
  Length.Read(reader);
  MakerID.Read(reader);
  MakerModelCode.Read(reader);
  const std::int64_t end = Length.BitPosition() + Length.BitLength() + Length * 8ll;
  while (static_cast<std::int64_t>(reader.BitPosition()) < end) {
    AAA::Field::BE tag{"PRO_Tag_ID", 8};
    tag.SetParent(this);
    tag.Read(reader);
    if (tag == kTagMovieTitleExtensionInfo) {
      blkPro_MovieTitleExtensionInfo.Read(reader);
    } else {
      Common::BlkPRO_UnknownPRO& unknown = blkPRO_UnknownPROArray.Append();
      unknown.PRO_Tag_ID.SetValue(tag);
      unknown.Read(reader);
    }
    Link();
  }
}

void BlkPRO_MakersPrivateArea::Initialize() {
  blkPro_MovieTitleExtensionInfo.Tag_ID.SetValue(kTagMovieTitleExtensionInfo);
  Link();
  Block::Initialize();
  Tag_ver.SetValue(kProVersion);
  MakerID.SetValue(AVCHD_MAKER_ID);
  MakerModelCode.SetValue(AVCHD_MAKER_MODEL_CODE);
}

void BlkPRO_MakersPrivateArea::Update() {
  Block::Update();
  Tag_ID.SetValue(kTagMakersPrivateArea);
  Tag_ver.SetValue(kProVersion);
  Fill_item1.SetValue(0xFFFF);
  MakerID.SetValue(AVCHD_MAKER_ID);
  MakerModelCode.SetValue(AVCHD_MAKER_MODEL_CODE);
  Length.SetValue(static_cast<std::uint32_t>((BitLength() - 64) / 8));
}

// Private data block -------------------------------------------------------

void BlkIndexPrivateDataBlock::Declare() {
  Add(NumberOfData);
  Add(reserved);
  if (blkPRO_ProfessionalMetaID.Tag_ID == Common::kTagProfessionalMetaID) Add(blkPRO_ProfessionalMetaID);
  if (blkPRO_IndexInfo.Tag_ID == kTagIndexInfo) Add(blkPRO_IndexInfo);
  if (blkPRO_MakersPrivateArea.Tag_ID == kTagMakersPrivateArea) Add(blkPRO_MakersPrivateArea);
}

void BlkIndexPrivateDataBlock::Read(AAA::BitReader& reader) {
  NumberOfData.Read(reader);
  AAA_VERIFY(NumberOfData, NumberOfData == 2 || NumberOfData == 3);
  reserved.Read(reader);
  for (std::uint32_t i = 0; i < NumberOfData; ++i) {
    AAA::Field::BE tag{"Tag_ID", 8};
    tag.SetParent(this);
    tag.Read(reader);
    if (tag == Common::kTagProfessionalMetaID) {
      blkPRO_ProfessionalMetaID.Read(reader);
    } else if (tag == kTagIndexInfo) {
      blkPRO_IndexInfo.Read(reader);
    } else if (tag == kTagMakersPrivateArea) {
      blkPRO_MakersPrivateArea.Read(reader);
    } else {
      AAA_THROW(InvalidDataException());
    }
  }
  Link();
}

void BlkIndexPrivateDataBlock::Initialize() {
  blkPRO_ProfessionalMetaID.Tag_ID.SetValue(Common::kTagProfessionalMetaID);
  blkPRO_IndexInfo.Tag_ID.SetValue(kTagIndexInfo);
  blkPRO_MakersPrivateArea.Tag_ID.SetValue(kTagMakersPrivateArea);
  Link();
  Block::Initialize();
}

void BlkIndexPrivateDataBlock::Update() {
  Block::Update();
  NumberOfData.SetValue(static_cast<std::uint32_t>(Children().size() - 2));
  reserved.SetValue(0);
}

}  // namespace AVCHD::IndexTablePro
