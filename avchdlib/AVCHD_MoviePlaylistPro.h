#pragma once

// The professional metadata of a playlist, carried in the makers private
// data of its extension data: tagged blocks, each present while its tag
// field holds its tag. A PRO mark per playlist mark carries small tagged
// blocks of shooting metadata; blocks of unknown tags are kept.

#include <array>

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_CommonPro.h"
#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_Maker.h"

namespace AVCHD::MoviePlayListPro {

using Common::BlkPRO_Tagged;

inline constexpr std::uint32_t kTagPlayListInfo = 0xF0;
inline constexpr std::uint32_t kTagMakersPrivateArea = 0xF1;

// A text of shooting metadata: its character set, its length in bytes and
// the text, in a field as wide as the format allows. Each use names the
// three fields as the format does and gives the rule its character set is
// checked by, where there is text; the block has no name of its own, so that
// the fields are named directly under the enclosing block. A new text is
// empty.
class BlkPRO_Text : public AAA::Block {
 public:
  AVCHD::Field::CharacterSet CharacterSet;
  AAA::Field::BE Length;
  AAA::Field::Str Text;

  BlkPRO_Text(const char* characterSetName, const char* lengthName, const char* textName, std::int32_t width,
              const AAA::Rule& characterSetRule)
      : Block(""),
        CharacterSet(characterSetName),
        Length(lengthName, 8),
        Text(textName, width),
        characterSetRule_(characterSetRule) {
    Link();
  }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override { Add(CharacterSet, Length, Text); }

 private:
  AAA::Rule characterSetRule_;
};

class BlkPRO_VFR : public BlkPRO_Tagged {
 public:
  AVCHD::Field::Pro_VFRMode VFRMode{"VFRMode", 8, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE RecordingFrameRate{"RecordingFrameRate", 8, AAA_RULES(AAA_INITIAL(0xFF))};
  AAA::Field::BE PlayingFrameRate{"PlayingFrameRate", 8, AAA_RULES(AAA_INITIAL(0xFF))};
  AVCHD::Field::Pro_VFRState VFRState{"VFRState", 8, AAA_RULES(AAA_INITIAL(0xFF))};

  static constexpr std::uint32_t kTag = 0x01;

  BlkPRO_VFR() : BlkPRO_Tagged("blkPRO_VFR", kTag) { Link(); }

 protected:
  void Declare() override { AddWithHeader(VFRMode, RecordingFrameRate, PlayingFrameRate, VFRState); }
};

class BlkPRO_3DShotInfo : public BlkPRO_Tagged {
 public:
  AAA::Field::BE StereoBase{"StereoBase", 8, AAA_RULES(AAA_INITIAL(60))};
  AAA::Field::BE ScreenSize{"ScreenSize", 8, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE PRO_Reserved{"PRO_Reserved", 16, AAA_RULES(AAA_INITIAL(AAA::Bytes(2, 0xFF)))};

  static constexpr std::uint32_t kTag = 0x04;

  BlkPRO_3DShotInfo() : BlkPRO_Tagged("blkPRO_3DShotInfo", kTag) { Link(); }

 protected:
  void Declare() override { AddWithHeader(StereoBase, ScreenSize, PRO_Reserved); }
};

class BlkPRO_ShotMark : public BlkPRO_Tagged {
 public:
  AAA::Field::BE ShotMark{"ShotMark", 8, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE Fill_item2{"Fill_item", 24, AAA_RULES(AAA_FIXED(0xffffff))};

  static constexpr std::uint32_t kTag = 0x20;

  BlkPRO_ShotMark() : BlkPRO_Tagged("blkPRO_ShotMark", kTag) { Link(); }

 protected:
  void Declare() override { AddWithHeader(ShotMark, Fill_item2); }
};

class BlkPRO_Access : public BlkPRO_Tagged {
 public:
  BlkPRO_Text Creator{"CreatorCharacterSet", "CreatorLength", "Creator", 256,
                      AAA_RULE("AVCHD_VERIFY_CHARACTERSET(CreatorCharacterSet)")};
  BlkPRO_Text LastUpdatePerson{"LastUpdatePersonCharacterSet", "LastUpdatePersonLength", "LastUpdatePerson", 256,
                               AAA_RULE("AVCHD_VERIFY_CHARACTERSET(LastUpdatePersonCharacterSet)")};

  static constexpr std::uint32_t kTag = 0x21;

  BlkPRO_Access() : BlkPRO_Tagged("blkPRO_Access", kTag) { Link(); }

 protected:
  void Declare() override { AddWithHeader(Creator, LastUpdatePerson); }
};

class BlkPRO_Device : public BlkPRO_Tagged {
 public:
  AAA::Field::BE MakerID{"MakerID", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_ID))};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_MODEL_CODE))};
  BlkPRO_Text SerialNo{"SerialNoCharacterSet", "SerialNoLength", "SerialNo", 192,
                       AAA_RULE("AVCHD_VERIFY_CHARACTERSET(SerialNoCharacterSet)")};
  AAA::Field::BE Fill_item2{"Fill_item", 16, AAA_RULES(AAA_FIXED(0xffff))};

  static constexpr std::uint32_t kTag = 0x22;

  BlkPRO_Device() : BlkPRO_Tagged("blkPRO_Device", kTag) { Link(); }

 protected:
  void Declare() override { AddWithHeader(MakerID, MakerModelCode, SerialNo, Fill_item2); }
};

class BlkPRO_Shoot : public BlkPRO_Tagged {
 public:
  BlkPRO_Text Shooter{"ShooterCharacterSet", "ShooterLength", "Shooter", 256,
                      AAA_RULE("AVCHD_VERIFY_CHARACTERSET(ShooterCharacterSet)")};
  AVCHD::Field::TimeZone StartDateTimeZone{"StartDateTimeZone"};
  AVCHD::Field::TimeAndDate StartDate{"StartDate"};
  AVCHD::Field::TimeZone EndDateTimeZone{"EndDateTimeZone"};
  AVCHD::Field::TimeAndDate EndDate{"EndDate"};
  AAA::Field::BE Fill_item2{"Fill_item", 16, AAA_RULES(AAA_FIXED(0xffff))};

  static constexpr std::uint32_t kTag = 0x23;

  BlkPRO_Shoot() : BlkPRO_Tagged("blkPRO_Shoot", kTag) { Link(); }
  void Read(AAA::BitReader& reader) override;
  // Without a shooting date and time zone.
  void Initialize() override;

 protected:
  void Declare() override {
    AddWithHeader(Shooter, StartDateTimeZone, StartDate, EndDateTimeZone, EndDate, Fill_item2);
  }
};

// What a new location holds in each GPS value: none recorded.
inline const AAA::FieldRules* const kNoGpsValue = AAA_RULES(AAA_INITIAL(0xFFFFFFFF));

class BlkPRO_Location : public BlkPRO_Tagged {
 public:
// The format's condition compares the unsigned source with 0 too.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wtype-limits"
  AVCHD::Field::Pro_Source Source{"Source", 8,
                                  AAA_RULES(AAA_ALLOWED(Source, (0 <= Source) && (Source <= 3)), AAA_INITIAL(1))};
#pragma GCC diagnostic pop
  AAA::Field::BE GPSLatitudeRef{"GPSLatitudeRef", 32, kNoGpsValue};
  AAA::Field::BE GPSLatitude1{"GPSLatitude1", 32, kNoGpsValue};
  AAA::Field::BE GPSLatitude2{"GPSLatitude2", 32, kNoGpsValue};
  AAA::Field::BE GPSLatitude3{"GPSLatitude3", 32, kNoGpsValue};
  AAA::Field::BE GPSLongitudeRef{"GPSLongitudeRef", 32, kNoGpsValue};
  AAA::Field::BE GPSLongitude1{"GPSLongitude1", 32, kNoGpsValue};
  AAA::Field::BE GPSLongitude2{"GPSLongitude2", 32, kNoGpsValue};
  AAA::Field::BE GPSLongitude3{"GPSLongitude3", 32, kNoGpsValue};
  AAA::Field::BE GPSAltitudeRef{"GPSAltitudeRef", 32, kNoGpsValue};
  AAA::Field::BE GPSAltitude{"GPSAltitude", 32, kNoGpsValue};
  BlkPRO_Text PlaceName{"PlaceNameCharacterSet", "PlaceNameLength", "PlaceName", 512,
                        AAA_RULE("AVCHD_VERIFY_CHARACTERSET(PlaceNameCharacterSet)")};
  AAA::Field::BE Fill_item2{"Fill_item", 8, AAA_RULES(AAA_FIXED(0xff))};

  static constexpr std::uint32_t kTag = 0x24;

  BlkPRO_Location() : BlkPRO_Tagged("blkPRO_Location", kTag) { Link(); }

 protected:
  void Declare() override {
    AddWithHeader(Source, GPSLatitudeRef, GPSLatitude1, GPSLatitude2, GPSLatitude3, GPSLongitudeRef, GPSLongitude1,
                  GPSLongitude2, GPSLongitude3, GPSAltitudeRef, GPSAltitude, PlaceName, Fill_item2);
  }
};

class BlkPRO_Scenario : public BlkPRO_Tagged {
 public:
  BlkPRO_Text ProgramName{"ProgramNameCharacterSet", "ProgramNameLength", "ProgramName", 512,
                          AAA_RULE("AVCHD_VERIFY_CHARACTERSET(ProgramNameCharacterSet)")};
  AAA::Field::BE SceneNo{"SceneNo", 16, AAA_RULES(AAA_INITIAL(0xFFFF))};
  AAA::Field::BE TakeNo{"TakeNo", 16, AAA_RULES(AAA_INITIAL(0xFFFF))};
  AAA::Field::BE Fill_item2{"Fill_item", 16, AAA_RULES(AAA_FIXED(0xffff))};

  static constexpr std::uint32_t kTag = 0x25;

  BlkPRO_Scenario() : BlkPRO_Tagged("blkPRO_Scenario", kTag) { Link(); }

 protected:
  void Declare() override { AddWithHeader(ProgramName, SceneNo, TakeNo, Fill_item2); }
};

class BlkPRO_News : public BlkPRO_Tagged {
 public:
  BlkPRO_Text Reporter{"ReporterCharacterSet", "ReporterLength", "Reporter", 256,
                       AAA_RULE("AVCHD_VERIFY_CHARACTERSET(ReporterCharacterSet)")};
  BlkPRO_Text Purpose{"PurposeCharacterSet", "PurposeLength", "Purpose", 512,
                      AAA_RULE("AVCHD_VERIFY_CHARACTERSET(PurposeCharacterSet)")};
  BlkPRO_Text Object{"ObjectCharacterSet", "ObjectLength", "Object", 512,
                     AAA_RULE("AVCHD_VERIFY_CHARACTERSET(ObjectCharacterSet)")};
  AAA::Field::BE Fill_item2{"Fill_item", 16, AAA_RULES(AAA_FIXED(0xffff))};

  static constexpr std::uint32_t kTag = 0x26;

  BlkPRO_News() : BlkPRO_Tagged("blkPRO_News", kTag) { Link(); }

 protected:
  void Declare() override { AddWithHeader(Reporter, Purpose, Object, Fill_item2); }
};

class BlkPRO_Memo : public BlkPRO_Tagged {
 public:
  BlkPRO_Text Person{"PersonCharacterSet", "PersonLength", "Person", 256,
                     AAA_RULE("AVCHD_VERIFY_CHARACTERSET(PersonCharacterSet)")};
  BlkPRO_Text Text{"TextCharacterSet", "TextLength", "Text", 1024,
                   AAA_RULE("AVCHD_VERIFY_CHARACTERSET(TextCharacterSet)")};

  static constexpr std::uint32_t kTag = 0x27;

  BlkPRO_Memo() : BlkPRO_Tagged("blkPRO_Memo", kTag) { Link(); }

 protected:
  void Declare() override { AddWithHeader(Person, Text); }
};

class BlkPRO_ProfessionalMode : public BlkPRO_Tagged {
 public:
  AVCHD::Field::Pro_ProModeFlag ProfessionalModeFlag{
      "ProfessionalModeFlag", 8,
      AAA_RULES(AAA_ALLOWED(ProfessionalModeFlag, (ProfessionalModeFlag == 0x00) || (ProfessionalModeFlag == 0x01)),
                AAA_INITIAL(1))};
  AAA::Field::BE Fill_item2{"Fill_item", 24, AAA_RULES(AAA_FIXED(0xffffff))};

  BlkPRO_ProfessionalMode() : BlkPRO_Tagged("blkPRO_ProfessionalMode", 0x80) { Link(); }

 protected:
  void Declare() override { AddWithHeader(ProfessionalModeFlag, Fill_item2); }
};

// Never filled by reading: a codec block in a file is kept as an unknown block.
class BlkPRO_CC5CodecInfo : public BlkPRO_Tagged {
 public:
  AAA::Field::BE CC5CodecInfo{"CC5CodecInfo", 640};

  BlkPRO_CC5CodecInfo() : BlkPRO_Tagged("blkPRO_CC5CodecInfo", 0x81) { Link(); }

 protected:
  void Declare() override { AddWithHeader(CC5CodecInfo); }
};

// One per playlist mark. `MarkType` 1 (an entry mark) carries the clip's
// identity and start values; sub-blocks follow by tag, unknown ones last.
// A mark seldom holds more than one or two of its eleven kinds of sub-block,
// and a playlist holds up to 999 marks: each is made only when it is read
// or set.
class BlkPRO_PlayListMark : public AAA::Block {
 public:
  AAA::Field::BE PRO_Tag_ID{"PRO_Tag_ID", 8, AAA_RULES(AAA_FIXED(0x40))};
  AAA::Field::BE Fill_item1{"Fill_item", 8, AAA_RULES(AAA_FIXED(0xff))};
  AAA::Field::BE Length{"Length", 16, AVCHD_BLKPRO_LENGTH()};
  AVCHD::Field::MarkType MarkType{"MarkType", 8,
                                  AAA_RULES(AAA_ALLOWED(MarkType, (MarkType == 0x01) || (MarkType == 0x02)))};
  AAA::Field::BE Fill_item2{"Fill_item", 24, AAA_RULES(AAA_FIXED(0xffffff))};
  AVCHD::Field::Pro_Umid GlobalClipID{"GlobalClipID"};
  AVCHD::Field::TimeCode StartTimeCode{"StartTimeCode"};
  AVCHD::Field::Pro_TimeCodeInfo StreamTimeCodeInfo{"StreamTimeCodeInfo", 8};
  AVCHD::Field::Pro_BinaryGroup StartBinaryGroup;
  AVCHD::Field::TimeZone LastUpdateDateTimeZone{"LastUpdateDateTimeZone"};
  AVCHD::Field::TimeAndDate LastUpdateDate{"LastUpdateDate"};
  AAA::Field::BE Fill_item3{"Fill_item", 16, AAA_RULES(AAA_FIXED(0xffff))};
  Common::OptionalTagged<BlkPRO_VFR> blkPRO_VFR;
  Common::OptionalTagged<Common::BlkPRO_ContentInfo> blkPRO_ContentInfo;
  Common::OptionalTagged<BlkPRO_3DShotInfo> blkPRO_3DShotInfo;
  Common::OptionalTagged<BlkPRO_ShotMark> blkPRO_ShotMark;
  Common::OptionalTagged<BlkPRO_Access> blkPRO_Access;
  Common::OptionalTagged<BlkPRO_Device> blkPRO_Device;
  Common::OptionalTagged<BlkPRO_Shoot> blkPRO_Shoot;
  Common::OptionalTagged<BlkPRO_Location> blkPRO_Location;
  Common::OptionalTagged<BlkPRO_Scenario> blkPRO_Scenario;
  Common::OptionalTagged<BlkPRO_News> blkPRO_News;
  Common::OptionalTagged<BlkPRO_Memo> blkPRO_Memo;
  AAA::Array<Common::BlkPRO_UnknownPRO> blkPRO_UnknownPROArray{"blkPRO_UnknownPRO"};

  BlkPRO_PlayListMark() : Block("blkPRO_PlayListMark") {
    MarkType.Fill(1);
    Link();
  }
  void Read(AAA::BitReader& reader) override;
  // Without a date of the last update.
  void Initialize() override;

 protected:
  void Declare() override;

 private:
  // The sub-blocks of known tags, in file order.
  std::array<Common::OptionalTaggedBase*, 11> SubBlocks() {
    return {&blkPRO_VFR,   &blkPRO_ContentInfo, &blkPRO_3DShotInfo, &blkPRO_ShotMark, &blkPRO_Access, &blkPRO_Device,
            &blkPRO_Shoot, &blkPRO_Location,    &blkPRO_Scenario,   &blkPRO_News,     &blkPRO_Memo};
  }
};

class BlkPRO_PlayListInfo : public AAA::Block {
 public:
  Common::ProTag Tag_ID{"Tag_ID", kTagPlayListInfo};
  AAA::Field::BE Tag_ver{"Tag_ver", 8,
                         AAA_RULES(AAA_ALLOWED(Tag_ver, (Tag_ver >> 4) != 0), AAA_INITIAL(Common::kProVersion))};
  AAA::Field::BE Fill_item1{"Fill_item", 16, AAA_RULES(AAA_FIXED(0xffff))};
  AAA::Field::BE Length{"Length", 32, AVCHD_PRO_LENGTH("AVCHD_PRO_BLOCK_LENGTH2()")};
  AAA::Field::BE NumberOfPlayListMarks{"NumberOfPlayListMarks", 16, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE Fill_item2{"Fill_item", 16, AAA_RULES(AAA_FIXED(0xffff))};
  AAA::Array<BlkPRO_PlayListMark> blkPRO_PlayListMarkArray{"blkPRO_PlayListMark"};
  AAA::Field::ExtData FutureDefinedFields{"FutureDefinedFields"};

  BlkPRO_PlayListInfo() : Block("PRO_PlayListInfo") {
    NumberOfPlayListMarks.Fill(0);
    Link();
  }
  // The enclosing block has read the tag.
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override;
};

class BlkPRO_MakersPrivateArea : public AAA::Block {
 public:
  Common::ProTag Tag_ID{"Tag_ID", kTagMakersPrivateArea};
  AAA::Field::BE Tag_ver{"Tag_ver", 8, AAA_RULES(AAA_ALLOWED(Tag_ver, (Tag_ver >> 4) != 0))};
  AAA::Field::BE Fill_item{"Fill_item", 16, AAA_RULES(AAA_FIXED(0xffff))};
  AAA::Field::BE Length{"Length", 32, AVCHD_PRO_LENGTH("AVCHD_PRO_BLOCK_LENGTH2()")};
  AAA::Field::BE MakerID{"MakerID", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_ID))};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_MODEL_CODE))};
  BlkPRO_ProfessionalMode blkPRO_ProfessionalMode;
  BlkPRO_CC5CodecInfo blkPRO_CC5CodecInfo;
  AAA::Array<Common::BlkPRO_UnknownPRO> blkPRO_UnknownPROArray{"blkPRO_UnknownPRO"};
  AAA::Field::ExtData FutureDefinedFields{"FutureDefinedFields"};

  BlkPRO_MakersPrivateArea() : Block("PRO_MakersPrivateArea") { Link(); }
  // The enclosing block has read the tag.
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override;
  // A rewritten area is of this model's version.
  void Derive() override { Tag_ver.SetValue(Common::kProVersion); }
};

class BlkPlayListPrivateDataBlock : public AAA::Block {
 public:
  AAA::Field::BE NumberOfData{"NumberOfData", 16};
  AAA::Field::Reserved reserved{16};
  Common::BlkPRO_ProfessionalMetaID PRO_ProfessionalMetaID;
  BlkPRO_PlayListInfo PRO_PlayListInfo;
  BlkPRO_MakersPrivateArea PRO_MakersPrivateArea;
  AAA::Array<Common::BlkPRO_Unknown> blkPRO_UnknownArray{"PRO_Unknown"};

  BlkPlayListPrivateDataBlock() : Block("PrivateDataBlock") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override;
  // The blocks present and the unknown ones, as written.
  void Derive() override {
    NumberOfData.SetValue(static_cast<std::uint32_t>(Children().size() - 3 + blkPRO_UnknownArray.Size()));
  }
};

}  // namespace AVCHD::MoviePlayListPro
