#include "avchdlib/AVCHD_IndexTablePro.h"

namespace AVCHD::IndexTablePro {

// Index info ---------------------------------------------------------------

void BlkPRO_IndexInfo::Read(AAA::BitReader& reader) {
  Common::ReadAll(reader, {&Tag_ID, &Tag_ver, &Length, &LastTimeCode});
  Common::ReadUpTo(reader, FutureDefinedFields, Common::EndOf(Length));
  CheckLengths();
}

void BlkPRO_IndexInfo::Initialize() {
  Block::Initialize();
  LastTimeCode.Fill(0xFF);
  FutureDefinedFields.SetBitLength(0);
}

// Movie title extension info -----------------------------------------------

void BlkPro_MovieTitleExtensionInfo::Declare() {
  OnChange(NumberOfMovieTitlePlayListPair, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPro_MovieTitleExtensionInfo&>(owner);
    // One entry per playlist pair of the table of playlists, which holds 999 at most.
    AAA_VERIFY(self.NumberOfMovieTitlePlayListPair,
               (0 <= self.NumberOfMovieTitlePlayListPair) && (self.NumberOfMovieTitlePlayListPair <= 999));
    self.blkMovieTitleExtDataArray.Resize(self.NumberOfMovieTitlePlayListPair);
    self.Link();
  });
  Add(Tag_ID, Fill_item1, Length, MovieTitleExtDataSize, NumberOfMovieTitlePlayListPair, blkMovieTitleExtDataArray);
}

// Makers private area ------------------------------------------------------

void BlkPRO_MakersPrivateArea::Declare() {
  Add(Tag_ID, Tag_ver, Fill_item1, Length, MakerID, MakerModelCode);
  if (blkPro_MovieTitleExtensionInfo.Tag_ID.IsSet()) Add(blkPro_MovieTitleExtensionInfo);
  Add(blkPRO_UnknownPROArray);
}

void BlkPRO_MakersPrivateArea::Read(AAA::BitReader& reader) {
  Common::ReadAll(reader, {&Tag_ID, &Tag_ver, &Fill_item1, &Length, &MakerID, &MakerModelCode});
  const Common::TaggedBlock known[] = {{kTagMovieTitleExtensionInfo, &blkPro_MovieTitleExtensionInfo}};
  Common::ReadTaggedUpTo(*this, reader, Common::EndOf(Length), known, blkPRO_UnknownPROArray);
}

void BlkPRO_MakersPrivateArea::Initialize() {
  blkPro_MovieTitleExtensionInfo.Tag_ID.Set();
  Link();
  Block::Initialize();
}

void BlkPRO_MakersPrivateArea::Derive() {
  Tag_ver.SetValue(Common::kProVersion);
  MakerID.SetValue(AVCHD_MAKER_ID);
  MakerModelCode.SetValue(AVCHD_MAKER_MODEL_CODE);
}

// Private data block -------------------------------------------------------

void BlkIndexPrivateDataBlock::Declare() {
  Add(NumberOfData, reserved);
  if (blkPRO_ProfessionalMetaID.Tag_ID.IsSet()) Add(blkPRO_ProfessionalMetaID);
  if (blkPRO_IndexInfo.Tag_ID.IsSet()) Add(blkPRO_IndexInfo);
  if (blkPRO_MakersPrivateArea.Tag_ID.IsSet()) Add(blkPRO_MakersPrivateArea);
}

void BlkIndexPrivateDataBlock::Read(AAA::BitReader& reader) {
  NumberOfData.Read(reader);
  reserved.Read(reader);
  Common::ReadDataBlocks(*this, NumberOfData, reader,
                         {{Common::kTagProfessionalMetaID, &blkPRO_ProfessionalMetaID},
                          {kTagIndexInfo, &blkPRO_IndexInfo},
                          {kTagMakersPrivateArea, &blkPRO_MakersPrivateArea}});
}

void BlkIndexPrivateDataBlock::Initialize() {
  for (Common::ProTag* tag :
       {&blkPRO_ProfessionalMetaID.Tag_ID, &blkPRO_IndexInfo.Tag_ID, &blkPRO_MakersPrivateArea.Tag_ID}) {
    tag->Set();
  }
  Link();
  Block::Initialize();
}

void BlkIndexPrivateDataBlock::Derive() { NumberOfData.SetValue(static_cast<std::uint32_t>(Children().size() - 2)); }

}  // namespace AVCHD::IndexTablePro
