#pragma once

// The "CLEX" data block of a clip's extension data: the maker and model that
// recorded the clip, the H.264 profile and level of its video, and the
// makers private data with the clip's professional metadata.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_ClipInformationPro.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Fields.h"

namespace AVCHD::ClipInformationExt {

class BlkClipInfoExt : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::BE MakerID{"MakerID", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_ID))};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_MODEL_CODE))};

  BlkClipInfoExt() : Block("blkClipInfoExt") { Link(); }
  // The maker is verified before the length: another maker's recording is refused as such.
  void Read(AAA::BitReader& reader) override {
    Length.Read(reader);
    ReadMakerAndModel(reader, MakerID, MakerModelCode);
    CheckLengths();
  }

 protected:
  void Declare() override { Add(Length, MakerID, MakerModelCode); }
};

class BlkStreamCodingInfoExt : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 8, AVCHD_LENGTH()};
  AVCHD::Field::StreamCodingType StreamCodingType{AAA_RULES(AAA_FIXED(0x1B))};
  AVCHD::Field::HorizontalSize HorizontalSize{
      "HorizontalSize", 8, AAA_RULES(AAA_ALLOWED(HorizontalSize, (1 <= HorizontalSize) && (HorizontalSize <= 4)))};
  AAA::Field::BE profile_idc{"profile_idc", 8};
  AAA::Field::BE constraint_set0_flag{"constraint_set0_flag", 1};
  AAA::Field::BE constraint_set1_flag{"constraint_set1_flag", 1};
  AAA::Field::BE constraint_set2_flag{"constraint_set2_flag", 1};
  AAA::Field::BE constraint_set3_flag{"constraint_set3_flag", 1};
  AAA::Field::Reserved reserved1{4};
  AAA::Field::BE level_idc{"level_idc", 8};
  AAA::Field::Reserved reserved2{48};

  BlkStreamCodingInfoExt() : Block("blkStreamCodingInfoExt") { Link(); }

 protected:
  void Declare() override {
    Add(Length, StreamCodingType, HorizontalSize, profile_idc, constraint_set0_flag, constraint_set1_flag,
        constraint_set2_flag, constraint_set3_flag, reserved1, level_idc, reserved2);
  }
};

class BlkStreamCodingInfoExtInPs : public AAA::Block {
 public:
  AAA::Field::BE StreamPID{"StreamPID", 16, AAA_RULES(AAA_FIXED(0x1011))};
  BlkStreamCodingInfoExt blkStreamCodingInfoExt;

  BlkStreamCodingInfoExtInPs() : Block("blkStreamCodingInfoExtInPsArray") { Link(); }

 protected:
  void Declare() override { Add(StreamPID, blkStreamCodingInfoExt); }
};

class BlkProgramSequence : public AAA::Block {
 public:
  AAA::Field::BE NumberOfStreamCodingInfoExtInPs{"NumberOfStreamCodingInfoExtInPs", 8};
  AAA::Field::Reserved reserved{8};
  AAA::Array<BlkStreamCodingInfoExtInPs> blkStreamCodingInfoExtInPsArray{"blkStreamCodingInfoExtInPsArray"};

  BlkProgramSequence() : Block("blkProgramSequenceArray") {
    NumberOfStreamCodingInfoExtInPs.Fill(0);
    Link();
  }

 protected:
  void Declare() override;
};

class BlkProgramInfoExt : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::Reserved reserved{8};
  AAA::Field::BE NumberOfProgramSequences{"NumberOfProgramSequences", 8};
  AAA::Array<BlkProgramSequence> blkProgramSequenceArray{"blkProgramSequenceArray"};

  // A clip has one program sequence.
  BlkProgramInfoExt() : Block("blkProgramInfoExt") {
    NumberOfProgramSequences.Fill(1);
    blkProgramSequenceArray.Resize(1);
    Link();
  }

 protected:
  void Declare() override;
};

// A non-zero `MakersPrivateDataStartAddress` makes the makers private data present.
class BlkClipExtensionData : public AAA::Block {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32, AAA_RULES(AAA_FIXED("CLEX"))};
  AAA::Field::BE reserved1{"reserved1", 32};
  AVCHD_START_ADDRESS(ProgramInfoExtStartAddress);
  AVCHD_START_ADDRESS(MakersPrivateDataStartAddress);
  AAA::Field::BE reserved2{"reserved2", 192};
  BlkClipInfoExt blkClipInfoExt;
  AAA::Field::Padding padding_word1{"padding_word"};
  BlkProgramInfoExt blkProgramInfoExt;
  AAA::Field::Padding padding_word2{"padding_word"};
  Common::BlkMakersPrivateData<ClipInformationPro::BlkClipInfoPrivateDataBlock> blkMakersPrivateData;

  BlkClipExtensionData() : Block("blkClipExtensionData") {
    MakersPrivateDataStartAddress.Fill(0);
    Link();
  }
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override;
  // The addresses, and the reserved fields, named apart from AAA::Field::Reserved.
  void Derive() override {
    reserved1.SetValue(0);
    SetStartAddress(ProgramInfoExtStartAddress, 0, blkProgramInfoExt);
    if (MakersPrivateDataStartAddress != 0) SetStartAddress(MakersPrivateDataStartAddress, 0, blkMakersPrivateData);
    reserved2.SetValue(0);
  }
};

}  // namespace AVCHD::ClipInformationExt
