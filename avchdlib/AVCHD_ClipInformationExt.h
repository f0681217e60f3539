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
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE MakerID{"MakerID", 16};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16};

  BlkClipInfoExt() : Block("blkClipInfoExt") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkStreamCodingInfoExt : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 8};
  AVCHD::Field::StreamCodingType StreamCodingType;
  AVCHD::Field::HorizontalSize HorizontalSize{"HorizontalSize", 8};
  AAA::Field::BE profile_idc{"profile_idc", 8};
  AAA::Field::BE constraint_set0_flag{"constraint_set0_flag", 1};
  AAA::Field::BE constraint_set1_flag{"constraint_set1_flag", 1};
  AAA::Field::BE constraint_set2_flag{"constraint_set2_flag", 1};
  AAA::Field::BE constraint_set3_flag{"constraint_set3_flag", 1};
  AAA::Field::BE reserved1{"reserved", 4};
  AAA::Field::BE level_idc{"level_idc", 8};
  AAA::Field::BE reserved2{"reserved", 48};

  BlkStreamCodingInfoExt() : Block("blkStreamCodingInfoExt") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkStreamCodingInfoExtInPs : public AAA::Block {
 public:
  AAA::Field::BE StreamPID{"StreamPID", 16};
  BlkStreamCodingInfoExt blkStreamCodingInfoExt;

  BlkStreamCodingInfoExtInPs() : Block("blkStreamCodingInfoExtInPsArray") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkProgramSequence : public AAA::Block {
 public:
  AAA::Field::BE NumberOfStreamCodingInfoExtInPs{"NumberOfStreamCodingInfoExtInPs", 8};
  AAA::Field::BE reserved{"reserved", 8};
  AAA::Array<BlkStreamCodingInfoExtInPs> blkStreamCodingInfoExtInPsArray{"blkStreamCodingInfoExtInPsArray"};

  BlkProgramSequence() : Block("blkProgramSequenceArray") {
    NumberOfStreamCodingInfoExtInPs.Fill(0);
    Link();
  }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkProgramInfoExt : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE reserved{"reserved", 8};
  AAA::Field::BE NumberOfProgramSequences{"NumberOfProgramSequences", 8};
  AAA::Array<BlkProgramSequence> blkProgramSequenceArray{"blkProgramSequenceArray"};

  // A clip has one program sequence.
  BlkProgramInfoExt() : Block("blkProgramInfoExt") {
    NumberOfProgramSequences.Fill(1);
    blkProgramSequenceArray.Resize(1);
    Link();
  }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

// A non-zero `MakersPrivateDataStartAddress` makes the makers private data present.
class BlkClipExtensionData : public AAA::Block {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32};
  AAA::Field::BE reserved1{"reserved1", 32};
  AAA::Field::BE ProgramInfoExtStartAddress{"ProgramInfoExtStartAddress", 32};
  AAA::Field::BE MakersPrivateDataStartAddress{"MakersPrivateDataStartAddress", 32};
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
  void Update() override;

 protected:
  void Declare() override;
};

}  // namespace AVCHD::ClipInformationExt
