// The professional metadata of one eye on the models: the meta identifier
// and the playlist information made 3D or set back to 2D, the extended
// data version of 1080/50p and 1080/60p playlists and their clips.
#include <gtest/gtest.h>

#include <algorithm>

#include "aaalib/AAA_BitReader.h"
#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_MemoryStream.h"
#include "restorelib/Restore_ProMetadata3d.h"

using namespace Restore;
using AVCHD::Common::BlkPRO_ProfessionalMetaID;
using AVCHD::MoviePlayListPro::BlkPRO_PlayListInfo;

namespace {

AAA::Bytes Text(const char* text) { return AAA::Bytes(text, text + std::char_traits<char>::length(text)); }

bool Declares(const AAA::Block& block, const AAA::Element& child) {
  const auto& children = block.Children();
  return std::find(children.begin(), children.end(), &child) != children.end();
}
bool Declares(const AAA::Block& block, const AVCHD::Common::OptionalTaggedBase& child) {
  return child.IfPresent() != nullptr && Declares(block, *child.IfPresent());
}

// Writes a tagged block and reads it into `copy` as its enclosing block
// would: the tag byte first.
template <class Block>
void RoundTrip(Block& block, Block& copy) {
  block.Update();
  AAA::MemoryStream stream;
  AAA::BitWriter writer(stream);
  block.Write(writer);
  AAA::MemoryStream input(stream.Bytes());
  AAA::BitReader reader(input);
  AAA::Bytes tag;
  reader.Read(tag, 8);
  copy.Read(reader);
}

BlkPRO_ProfessionalMetaID MetaOfVersion(std::uint32_t version) {
  BlkPRO_ProfessionalMetaID meta;
  meta.Initialize();
  meta.Tag_ID.SetValue(AVCHD::Common::kTagProfessionalMetaID);
  meta.Tag_ver.SetValue(version);
  if (version > 0x10) meta.blkPRO_ContentInfo.Initialize();
  BlkPRO_ProfessionalMetaID read;
  RoundTrip(meta, read);
  return read;
}

// Playlist information with an entry mark and a mark of type 2, as read.
BlkPRO_PlayListInfo InfoWithTwoMarks(bool threeD) {
  BlkPRO_PlayListInfo info;
  info.Initialize();
  info.Tag_ID.SetValue(AVCHD::MoviePlayListPro::kTagPlayListInfo);
  info.NumberOfPlayListMarks.SetValue(2);
  for (auto& mark : info.blkPRO_PlayListMarkArray) mark.Initialize();
  info.blkPRO_PlayListMarkArray[1].MarkType.SetValue(2);
  if (threeD) MarkPlayListInfo(info, Channel3d::Left);
  BlkPRO_PlayListInfo read;
  RoundTrip(info, read);
  return read;
}

}  // namespace

TEST(ProMetadata3d, Version0x10BecomesContentInfoOfTheChannelWithANewMaterialID) {
  auto meta = MetaOfVersion(0x10);
  EXPECT_EQ(ContentInfoOf(&meta), nullptr);
  MarkProfessionalMeta(meta, Channel3d::Right);
  EXPECT_EQ(meta.Tag_ver, 0x11U);
  ASSERT_EQ(ContentInfoOf(&meta), &meta.blkPRO_ContentInfo);
  EXPECT_EQ(meta.blkPRO_ContentInfo.ContentID.ValueBytes(), Text("3DS"));
  EXPECT_EQ(meta.blkPRO_ContentInfo.ChannelID.ValueBytes(), Text("R"));
  EXPECT_FALSE(IsUnsetMaterialID(meta.blkPRO_ContentInfo.GlobalMaterialID));
  EXPECT_TRUE(meta.IsModified());

  BlkPRO_ProfessionalMetaID read;
  RoundTrip(meta, read);
  EXPECT_EQ(read.blkPRO_ContentInfo.GlobalMaterialID.ValueBytes(),
            meta.blkPRO_ContentInfo.GlobalMaterialID.ValueBytes());
}

TEST(ProMetadata3d, AContentInfoOfTheRightChannelKeepsItsMaterialIDAndIsNotModified) {
  auto meta = MetaOfVersion(0x11);
  meta.blkPRO_ContentInfo.ChannelID.SetBytes(Text("L"));
  BlkPRO_ProfessionalMetaID read;
  RoundTrip(meta, read);
  const AAA::Bytes id(read.blkPRO_ContentInfo.GlobalMaterialID.ValueBytes());
  MarkProfessionalMeta(read, Channel3d::Left);
  EXPECT_FALSE(read.IsModified());
  MarkProfessionalMeta(read, Channel3d::Right);
  EXPECT_TRUE(read.IsModified());
  EXPECT_EQ(read.blkPRO_ContentInfo.GlobalMaterialID.ValueBytes(), id);
}

TEST(ProMetadata3d, LaterVersionsStayFor3dAndAllGoBackTo0x10For2d) {
  auto later = MetaOfVersion(0x12);
  MarkProfessionalMeta(later, Channel3d::Left);
  EXPECT_EQ(later.Tag_ver, 0x12U);
  MarkProfessionalMeta(later, Channel3d::None);
  EXPECT_EQ(later.Tag_ver, 0x10U);
  EXPECT_EQ(ContentInfoOf(&later), nullptr);
  EXPECT_FALSE(Declares(later, later.blkPRO_ContentInfo));

  auto flat = MetaOfVersion(0x10);
  MarkProfessionalMeta(flat, Channel3d::None);
  EXPECT_FALSE(flat.IsModified());
}

TEST(ProMetadata3d, EntryMarksOfAnEyeGetContentInfoAndShotInfo) {
  auto info = InfoWithTwoMarks(false);
  MarkPlayListInfo(info, Channel3d::Right);
  EXPECT_EQ(info.Tag_ver, 0x11U);
  const auto& entry = info.blkPRO_PlayListMarkArray[0];
  EXPECT_TRUE(Declares(entry, entry.blkPRO_ContentInfo));
  EXPECT_TRUE(Declares(entry, entry.blkPRO_3DShotInfo));
  EXPECT_EQ(entry.blkPRO_ContentInfo.Present()->ChannelID.ValueBytes(), Text("R"));
  EXPECT_EQ(entry.blkPRO_3DShotInfo.Present()->StereoBase, 60U);
  const auto& other = info.blkPRO_PlayListMarkArray[1];
  EXPECT_FALSE(Declares(other, other.blkPRO_ContentInfo));
  EXPECT_FALSE(Declares(other, other.blkPRO_3DShotInfo));
}

TEST(ProMetadata3d, A2dTreeDropsTheMarksBlocksOf3dAndTheInformationIsWrittenAgain) {
  auto info = InfoWithTwoMarks(true);
  ASSERT_EQ(info.Tag_ver, 0x11U);
  ASSERT_FALSE(info.IsModified());
  MarkPlayListInfo(info, Channel3d::None);
  EXPECT_EQ(info.Tag_ver, 0x10U);
  const auto& entry = info.blkPRO_PlayListMarkArray[0];
  EXPECT_FALSE(Declares(entry, entry.blkPRO_ContentInfo));
  EXPECT_FALSE(Declares(entry, entry.blkPRO_3DShotInfo));
  EXPECT_TRUE(entry.IsModified());

  BlkPRO_PlayListInfo read;
  RoundTrip(info, read);
  EXPECT_FALSE(Declares(read.blkPRO_PlayListMarkArray[0], read.blkPRO_PlayListMarkArray[0].blkPRO_ContentInfo));
}

TEST(ProMetadata3d, APlayListOf1080At50PicturesRaisesItsAndItsClipsDataVersion) {
  PlayListStore playLists(2);
  std::array<AVCHD::ClipInformation::BlkClipInformationFile, 2> models;
  for (auto& model : models) model.Initialize();
  models[0].ClipName = "00001";
  models[1].ClipName = "00002";
  for (std::size_t i = 0; i < 2; ++i) {
    auto& playList = playLists[i];
    playList.blkExtensionData.Initialize();
    playList.blkPlayList.NumberOfPlayItems.SetValue(1);
    auto& item = playList.blkPlayList.blkPlayItemArray[0];
    item.ClipInformationFileName.SetBytes(Text(i == 0 ? "00001" : "00002"));
    item.blkSTNTable.NumberOfVideoStreamEntries.SetValue(1);
    item.blkSTNTable.blkVideoStreamAttributesArray[0].VideoFormat.SetValue(6);
    item.blkSTNTable.blkVideoStreamAttributesArray[0].FrameRate.SetValue(i == 0 ? 6 : 4);
    models[i].blkExtensionData.Initialize();
    models[i].blkExtensionData.blkExtDataEntryArray[0].ExtDataVersion.SetValue(0x0100);
    playList.blkExtensionData.blkExtDataEntryArray[0].ExtDataVersion.SetValue(0x0100);
  }
  ClipStore clips;
  for (auto& model : models) clips.Add(model, nullptr);
  RaiseExtDataVersions(playLists, clips);
  EXPECT_EQ(playLists[0].blkExtensionData.blkExtDataEntryArray[0].ExtDataVersion, 0x0110U);
  EXPECT_EQ(clips.Open(0)->blkExtensionData.blkExtDataEntryArray[0].ExtDataVersion, 0x0110U);
  EXPECT_EQ(playLists[1].blkExtensionData.blkExtDataEntryArray[0].ExtDataVersion, 0x0100U);
  EXPECT_EQ(clips.Open(1)->blkExtensionData.blkExtDataEntryArray[0].ExtDataVersion, 0x0100U);

  playLists[1].SkipMark = true;
  playLists[1].blkPlayList.blkPlayItemArray[0].blkSTNTable.blkVideoStreamAttributesArray[0].FrameRate.SetValue(7);
  RaiseExtDataVersions(playLists, clips);
  EXPECT_EQ(playLists[1].blkExtensionData.blkExtDataEntryArray[0].ExtDataVersion, 0x0100U);
}
