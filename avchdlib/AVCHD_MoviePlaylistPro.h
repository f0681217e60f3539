#pragma once

// The professional metadata of a playlist, carried in the makers private
// data of its extension data: tagged blocks, each present while its tag
// field holds its tag. A PRO mark per playlist mark carries small tagged
// blocks of shooting metadata; blocks of unknown tags are kept.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_CommonPro.h"
#include "avchdlib/AVCHD_Fields.h"

// The length a PRO area's 32-bit `Length` must hold: the bytes after it.
#define AVCHD_PRO_BLOCK_LENGTH2() (static_cast<std::uint32_t>((BitLength() - 8 - 8 - 16 - 32) / 8))

namespace AVCHD::MoviePlayListPro {

inline constexpr std::uint32_t kTagPlayListInfo = 0xF0;
inline constexpr std::uint32_t kTagMakersPrivateArea = 0xF1;
inline constexpr std::uint32_t kTagPlayListMark = 0x40;

// The header every small tagged block starts with; a derived block declares
// its own fields after it and states its rules in `VerifyContent`.
class BlkPRO_Tagged : public AAA::Block {
 public:
  AAA::Field::BE PRO_Tag_ID{"PRO_Tag_ID", 8};
  AAA::Field::BE Fill_item{"Fill_item", 8};
  AAA::Field::BE Length{"Length", 16};

  BlkPRO_Tagged(const char* name, std::uint32_t tag) : Block(name), tag_(tag) {}
  std::uint32_t Tag() const { return tag_; }
  bool IsPresent() const { return PRO_Tag_ID == tag_; }
  // Makes the block present.
  void SetTag() { PRO_Tag_ID.SetValue(tag_); }
  // The enclosing block has read the tag.
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void AddHeader();
  virtual void VerifyContent() {}

 private:
  std::uint32_t tag_;
};

class BlkPRO_VFR : public BlkPRO_Tagged {
 public:
  AVCHD::Field::Pro_VFRMode VFRMode{"VFRMode", 8};
  AAA::Field::BE RecordingFrameRate{"RecordingFrameRate", 8};
  AAA::Field::BE PlayingFrameRate{"PlayingFrameRate", 8};
  AVCHD::Field::Pro_VFRState VFRState{"VFRState", 8};

  BlkPRO_VFR() : BlkPRO_Tagged("blkPRO_VFR", 0x01) { Link(); }
  void Initialize() override;

 protected:
  void Declare() override;
};

class BlkPRO_3DShotInfo : public BlkPRO_Tagged {
 public:
  AAA::Field::BE StereoBase{"StereoBase", 8};
  AAA::Field::BE ScreenSize{"ScreenSize", 8};
  AAA::Field::BE PRO_Reserved{"PRO_Reserved", 16};

  BlkPRO_3DShotInfo() : BlkPRO_Tagged("blkPRO_3DShotInfo", 0x04) { Link(); }
  void Initialize() override;

 protected:
  void Declare() override;
};

class BlkPRO_ShotMark : public BlkPRO_Tagged {
 public:
  AAA::Field::BE ShotMark{"ShotMark", 8};
  AAA::Field::BE Fill_item2{"Fill_item", 24};

  BlkPRO_ShotMark() : BlkPRO_Tagged("blkPRO_ShotMark", 0x20) { Link(); }
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
  void VerifyContent() override;
};

class BlkPRO_Access : public BlkPRO_Tagged {
 public:
  AVCHD::Field::CharacterSet CreatorCharacterSet{"CreatorCharacterSet"};
  AAA::Field::BE CreatorLength{"CreatorLength", 8};
  AAA::Field::Str Creator{"Creator", 256};
  AVCHD::Field::CharacterSet LastUpdatePersonCharacterSet{"LastUpdatePersonCharacterSet"};
  AAA::Field::BE LastUpdatePersonLength{"LastUpdatePersonLength", 8};
  AAA::Field::Str LastUpdatePerson{"LastUpdatePerson", 256};

  BlkPRO_Access() : BlkPRO_Tagged("blkPRO_Access", 0x21) { Link(); }
  void Initialize() override;

 protected:
  void Declare() override;
  void VerifyContent() override;
};

class BlkPRO_Device : public BlkPRO_Tagged {
 public:
  AAA::Field::BE MakerID{"MakerID", 16};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16};
  AVCHD::Field::CharacterSet SerialNoCharacterSet{"SerialNoCharacterSet"};
  AAA::Field::BE SerialNoLength{"SerialNoLength", 8};
  AAA::Field::Str SerialNo{"SerialNo", 192};
  AAA::Field::BE Fill_item2{"Fill_item", 16};

  BlkPRO_Device() : BlkPRO_Tagged("blkPRO_Device", 0x22) { Link(); }
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
  void VerifyContent() override;
};

class BlkPRO_Shoot : public BlkPRO_Tagged {
 public:
  AVCHD::Field::CharacterSet ShooterCharacterSet{"ShooterCharacterSet"};
  AAA::Field::BE ShooterLength{"ShooterLength", 8};
  AAA::Field::Str Shooter{"Shooter", 256};
  AVCHD::Field::TimeZone StartDateTimeZone{"StartDateTimeZone"};
  AVCHD::Field::TimeAndDate StartDate{"StartDate"};
  AVCHD::Field::TimeZone EndDateTimeZone{"EndDateTimeZone"};
  AVCHD::Field::TimeAndDate EndDate{"EndDate"};
  AAA::Field::BE Fill_item2{"Fill_item", 16};

  BlkPRO_Shoot() : BlkPRO_Tagged("blkPRO_Shoot", 0x23) { Link(); }
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
  void VerifyContent() override;
};

class BlkPRO_Location : public BlkPRO_Tagged {
 public:
  AVCHD::Field::Pro_Source Source{"Source", 8};
  AAA::Field::BE GPSLatitudeRef{"GPSLatitudeRef", 32};
  AAA::Field::BE GPSLatitude1{"GPSLatitude1", 32};
  AAA::Field::BE GPSLatitude2{"GPSLatitude2", 32};
  AAA::Field::BE GPSLatitude3{"GPSLatitude3", 32};
  AAA::Field::BE GPSLongitudeRef{"GPSLongitudeRef", 32};
  AAA::Field::BE GPSLongitude1{"GPSLongitude1", 32};
  AAA::Field::BE GPSLongitude2{"GPSLongitude2", 32};
  AAA::Field::BE GPSLongitude3{"GPSLongitude3", 32};
  AAA::Field::BE GPSAltitudeRef{"GPSAltitudeRef", 32};
  AAA::Field::BE GPSAltitude{"GPSAltitude", 32};
  AVCHD::Field::CharacterSet PlaceNameCharacterSet{"PlaceNameCharacterSet"};
  AAA::Field::BE PlaceNameLength{"PlaceNameLength", 8};
  AAA::Field::Str PlaceName{"PlaceName", 512};
  AAA::Field::BE Fill_item2{"Fill_item", 8};

  BlkPRO_Location() : BlkPRO_Tagged("blkPRO_Location", 0x24) { Link(); }
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
  void VerifyContent() override;
};

class BlkPRO_Scenario : public BlkPRO_Tagged {
 public:
  AVCHD::Field::CharacterSet ProgramNameCharacterSet{"ProgramNameCharacterSet"};
  AAA::Field::BE ProgramNameLength{"ProgramNameLength", 8};
  AAA::Field::Str ProgramName{"ProgramName", 512};
  AAA::Field::BE SceneNo{"SceneNo", 16};
  AAA::Field::BE TakeNo{"TakeNo", 16};
  AAA::Field::BE Fill_item2{"Fill_item", 16};

  BlkPRO_Scenario() : BlkPRO_Tagged("blkPRO_Scenario", 0x25) { Link(); }
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
  void VerifyContent() override;
};

class BlkPRO_News : public BlkPRO_Tagged {
 public:
  AVCHD::Field::CharacterSet ReporterCharacterSet{"ReporterCharacterSet"};
  AAA::Field::BE ReporterLength{"ReporterLength", 8};
  AAA::Field::Str Reporter{"Reporter", 256};
  AVCHD::Field::CharacterSet PurposeCharacterSet{"PurposeCharacterSet"};
  AAA::Field::BE PurposeLength{"PurposeLength", 8};
  AAA::Field::Str Purpose{"Purpose", 512};
  AVCHD::Field::CharacterSet ObjectCharacterSet{"ObjectCharacterSet"};
  AAA::Field::BE ObjectLength{"ObjectLength", 8};
  AAA::Field::Str Object{"Object", 512};
  AAA::Field::BE Fill_item2{"Fill_item", 16};

  BlkPRO_News() : BlkPRO_Tagged("blkPRO_News", 0x26) { Link(); }
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
  void VerifyContent() override;
};

class BlkPRO_Memo : public BlkPRO_Tagged {
 public:
  AVCHD::Field::CharacterSet PersonCharacterSet{"PersonCharacterSet"};
  AAA::Field::BE PersonLength{"PersonLength", 8};
  AAA::Field::Str Person{"Person", 256};
  AVCHD::Field::CharacterSet TextCharacterSet{"TextCharacterSet"};
  AAA::Field::BE TextLength{"TextLength", 8};
  AAA::Field::Str Text{"Text", 1024};

  BlkPRO_Memo() : BlkPRO_Tagged("blkPRO_Memo", 0x27) { Link(); }
  void Initialize() override;

 protected:
  void Declare() override;
  void VerifyContent() override;
};

class BlkPRO_ProfessionalMode : public BlkPRO_Tagged {
 public:
  AVCHD::Field::Pro_ProModeFlag ProfessionalModeFlag{"ProfessionalModeFlag", 8};
  AAA::Field::BE Fill_item2{"Fill_item", 24};

  BlkPRO_ProfessionalMode() : BlkPRO_Tagged("blkPRO_ProfessionalMode", 0x80) { Link(); }
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
  void VerifyContent() override;
};

// Never filled by reading: a codec block in a file is kept as an unknown block.
class BlkPRO_CC5CodecInfo : public BlkPRO_Tagged {
 public:
  AAA::Field::BE CC5CodecInfo{"CC5CodecInfo", 640};

  BlkPRO_CC5CodecInfo() : BlkPRO_Tagged("blkPRO_CC5CodecInfo", 0x81) { Link(); }

 protected:
  void Declare() override;
};

// One per playlist mark. `MarkType` 1 (an entry mark) carries the clip's
// identity and start values; sub-blocks follow by tag, unknown ones last.
class BlkPRO_PlayListMark : public AAA::Block {
 public:
  AAA::Field::BE PRO_Tag_ID{"PRO_Tag_ID", 8};
  AAA::Field::BE Fill_item1{"Fill_item", 8};
  AAA::Field::BE Length{"Length", 16};
  AVCHD::Field::MarkType MarkType{"MarkType", 8};
  AAA::Field::BE Fill_item2{"Fill_item", 24};
  AVCHD::Field::Pro_Umid GlobalClipID{"GlobalClipID"};
  AVCHD::Field::TimeCode StartTimeCode{"StartTimeCode"};
  AVCHD::Field::Pro_TimeCodeInfo StreamTimeCodeInfo{"StreamTimeCodeInfo", 8};
  AVCHD::Field::Pro_BinaryGroup StartBinaryGroup;
  AVCHD::Field::TimeZone LastUpdateDateTimeZone{"LastUpdateDateTimeZone"};
  AVCHD::Field::TimeAndDate LastUpdateDate{"LastUpdateDate"};
  AAA::Field::BE Fill_item3{"Fill_item", 16};
  BlkPRO_VFR blkPRO_VFR;
  Common::BlkPRO_ContentInfo blkPRO_ContentInfo;
  BlkPRO_3DShotInfo blkPRO_3DShotInfo;
  BlkPRO_ShotMark blkPRO_ShotMark;
  BlkPRO_Access blkPRO_Access;
  BlkPRO_Device blkPRO_Device;
  BlkPRO_Shoot blkPRO_Shoot;
  BlkPRO_Location blkPRO_Location;
  BlkPRO_Scenario blkPRO_Scenario;
  BlkPRO_News blkPRO_News;
  BlkPRO_Memo blkPRO_Memo;
  AAA::Array<Common::BlkPRO_UnknownPRO> blkPRO_UnknownPROArray{"blkPRO_UnknownPRO"};

  BlkPRO_PlayListMark() : Block("blkPRO_PlayListMark") {
    MarkType.Fill(1);
    Link();
  }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPRO_PlayListInfo : public AAA::Block {
 public:
  AAA::Field::BE Tag_ID{"Tag_ID", 8};
  AAA::Field::BE Tag_ver{"Tag_ver", 8};
  AAA::Field::BE Fill_item1{"Fill_item", 16};
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE NumberOfPlayListMarks{"NumberOfPlayListMarks", 16};
  AAA::Field::BE Fill_item2{"Fill_item", 16};
  AAA::Array<BlkPRO_PlayListMark> blkPRO_PlayListMarkArray{"blkPRO_PlayListMark"};
  AAA::Field::ExtData FutureDefinedFields{"FutureDefinedFields"};

  BlkPRO_PlayListInfo() : Block("PRO_PlayListInfo") {
    NumberOfPlayListMarks.Fill(0);
    Link();
  }
  // The enclosing block has read the tag.
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPRO_MakersPrivateArea : public AAA::Block {
 public:
  AAA::Field::BE Tag_ID{"Tag_ID", 8};
  AAA::Field::BE Tag_ver{"Tag_ver", 8};
  AAA::Field::BE Fill_item{"Fill_item", 16};
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE MakerID{"MakerID", 16};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16};
  BlkPRO_ProfessionalMode blkPRO_ProfessionalMode;
  BlkPRO_CC5CodecInfo blkPRO_CC5CodecInfo;
  AAA::Array<Common::BlkPRO_UnknownPRO> blkPRO_UnknownPROArray{"blkPRO_UnknownPRO"};
  AAA::Field::ExtData FutureDefinedFields{"FutureDefinedFields"};

  BlkPRO_MakersPrivateArea() : Block("PRO_MakersPrivateArea") { Link(); }
  // The enclosing block has read the tag.
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPlayListPrivateDataBlock : public AAA::Block {
 public:
  AAA::Field::BE NumberOfData{"NumberOfData", 16};
  AAA::Field::BE reserved{"reserved", 16};
  Common::BlkPRO_ProfessionalMetaID PRO_ProfessionalMetaID;
  BlkPRO_PlayListInfo PRO_PlayListInfo;
  BlkPRO_MakersPrivateArea PRO_MakersPrivateArea;
  AAA::Array<Common::BlkPRO_Unknown> blkPRO_UnknownArray{"PRO_Unknown"};

  BlkPlayListPrivateDataBlock() : Block("PrivateDataBlock") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

}  // namespace AVCHD::MoviePlayListPro
