#include "tests/support/Recording3d.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "aaalib/AAA_BitReader.h"
#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_FileStream.h"
#include "aaalib/AAA_MemoryStream.h"
#include "avchdlib/AVCHD_ClipInformation.h"
#include "avchdlib/AVCHD_IndexTable.h"
#include "avchdlib/AVCHD_MoviePlayList.h"

namespace TestSupport {
namespace fs = std::filesystem;
using AVCHD::Common::BlkPRO_ContentInfo;
using AVCHD::Common::BlkPRO_ProfessionalMetaID;

namespace {

constexpr std::uint32_t kTagMetaID = 0xE0;
constexpr std::uint32_t kTagContentInfo = 0x02;

AAA::Bytes Text(const std::string& text) { return AAA::Bytes(text.begin(), text.end()); }

template <class Model>
void ReadModel(const fs::path& path, Model& model) {
  AAA::FileStream stream(path, AAA::FileStream::OpenExisting, AAA::FileStream::ReadOnly);
  AAA::BitReader reader(stream);
  model.Read(reader);
}

void FillContentInfo(BlkPRO_ContentInfo& contentInfo, char channel, const AAA::Bytes& globalMaterialID) {
  contentInfo.ContentID.SetBytes(Text("3DS"));
  contentInfo.ChannelID.SetBytes(Text(std::string(1, channel)));
  contentInfo.GlobalMaterialID.SetBytes(globalMaterialID);
}

void MarkMeta(BlkPRO_ProfessionalMetaID& meta, char channel, const AAA::Bytes& globalMaterialID) {
  if (meta.Tag_ID != kTagMetaID) return;
  if (meta.Tag_ver < 0x11) {
    meta.Tag_ver.SetValue(0x11);
    meta.blkPRO_ContentInfo.Initialize();
  }
  FillContentInfo(meta.blkPRO_ContentInfo, channel, globalMaterialID);
}

// Every file of a folder of the tree, sorted by name.
std::vector<fs::path> FilesOf(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Reads the model at `path`, lets `mark` change the data block of its makers
// private data (when it has one) and writes the model back.
template <class Model, class Mark>
void Rewrite(const fs::path& path, Mark mark) {
  Model model;
  ReadModel(path, model);
  auto& extension = model.blkExtensionData.blkDataBlock;
  if (extension.MakersPrivateDataStartAddress == 0) return;
  mark(extension.blkMakersPrivateData.blkDataBlock);
  AAA::MemoryStream stream;
  AAA::BitWriter writer(stream);
  model.Write(writer);
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(stream.Bytes().data()), static_cast<std::streamsize>(stream.Bytes().size()));
}

void MarkPlayListInfo(AVCHD::MoviePlayListPro::BlkPRO_PlayListInfo& info, char channel,
                      const AAA::Bytes& globalMaterialID) {
  if (info.Tag_ID != 0xF0) return;
  if (info.Tag_ver < 0x11) info.Tag_ver.SetValue(0x11);
  for (auto& mark : info.blkPRO_PlayListMarkArray) {
    if (mark.MarkType != 1) continue;
    if (mark.blkPRO_ContentInfo.Present() == nullptr) {
      mark.blkPRO_ContentInfo->Initialize();
      mark.blkPRO_ContentInfo->SetTag();
    }
    FillContentInfo(*mark.blkPRO_ContentInfo, channel, globalMaterialID);
    mark.Link();
  }
}

ContentOfFile ContentOf(const BlkPRO_ProfessionalMetaID& meta) {
  ContentOfFile content;
  if (meta.Tag_ID != kTagMetaID) return content;
  content.version = meta.Tag_ver;
  if (content.version > 0x10) {
    content.channel = meta.blkPRO_ContentInfo.ChannelID.ToString();
    content.globalMaterialID = AAA::Bytes(meta.blkPRO_ContentInfo.GlobalMaterialID.ValueBytes());
  }
  return content;
}

}  // namespace

SampleGen::StreamParameters EyeStream(SampleGen::StreamParameters parameters, char channel) {
  parameters.channel3d = channel == 'R' ? kChannel3dRight : kChannel3dLeft;
  return parameters;
}

AAA::Bytes MaterialID(std::uint8_t seed) {
  AAA::Bytes id(32);
  for (std::size_t i = 0; i < id.size(); ++i) id[i] = static_cast<std::uint8_t>(seed + i * 11);
  return id;
}

void MarkAs3dChannel(const TreeBuilder& tree, char channel, const AAA::Bytes& globalMaterialID) {
  MarkAs3dChannel(tree.Avchd(), channel, globalMaterialID);
}

void MarkAs3dChannel(const fs::path& avchd, char channel, const AAA::Bytes& globalMaterialID) {
  const fs::path bdmv = avchd / "BDMV";
  for (const auto& path : FilesOf(bdmv / "CLIPINF")) {
    Rewrite<AVCHD::ClipInformation::BlkClipInformationFile>(
        path, [&](auto& data) { MarkMeta(data.PRO_ProfessionalMetaID, channel, globalMaterialID); });
  }
  for (const auto& path : FilesOf(bdmv / "PLAYLIST")) {
    Rewrite<AVCHD::MoviePlayList::BlkMoviePlayListFile>(path, [&](auto& data) {
      MarkMeta(data.PRO_ProfessionalMetaID, channel, globalMaterialID);
      MarkPlayListInfo(data.PRO_PlayListInfo, channel, globalMaterialID);
    });
  }
  for (const char* name : {"index.bdmv", "INDEX.BDM"}) {
    if (!fs::exists(bdmv / name)) continue;
    Rewrite<AVCHD::IndexTable::BlkIndexTableFile>(
        bdmv / name, [&](auto& data) { MarkMeta(data.blkPRO_ProfessionalMetaID, channel, globalMaterialID); });
  }
}

ContentOfFile ReadContent(const fs::path& path, const std::string& kind) {
  if (kind == "clip") {
    AVCHD::ClipInformation::BlkClipInformationFile clip;
    ReadModel(path, clip);
    return ContentOf(clip.blkExtensionData.blkDataBlock.blkMakersPrivateData.blkDataBlock.PRO_ProfessionalMetaID);
  }
  if (kind == "playlist") {
    AVCHD::MoviePlayList::BlkMoviePlayListFile playList;
    ReadModel(path, playList);
    return ContentOf(playList.blkExtensionData.blkDataBlock.blkMakersPrivateData.blkDataBlock.PRO_ProfessionalMetaID);
  }
  if (kind == "index") {
    AVCHD::IndexTable::BlkIndexTableFile indexTable;
    ReadModel(path, indexTable);
    return ContentOf(
        indexTable.blkExtensionData.blkDataBlock.blkMakersPrivateData.blkDataBlock.blkPRO_ProfessionalMetaID);
  }
  throw std::invalid_argument("unknown file kind " + kind);
}

}  // namespace TestSupport
