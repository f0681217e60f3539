#pragma once

#include <cstdint>
#include <deque>

#include "avchdlib/AVCHD_ClipInformation.h"
#include "avchdlib/AVCHD_IndexTable.h"
#include "avchdlib/AVCHD_MoviePlayList.h"
#include "restorelib/Restore_ClipStore.h"
#include "restorelib/Restore_Result.h"

// The professional metadata that says whether a tree holds one channel of a
// 3D recording, and which: where it sits in each kind of management file,
// and how a tree's files are made to say it.
namespace Restore {

using PlayListStore = std::deque<AVCHD::MoviePlayList::BlkMoviePlayListFile>;
using IndexTableStore = std::deque<AVCHD::IndexTable::BlkIndexTableFile>;

// "L" or "R"; empty for None.
const char* ChannelText(Channel3d channel);
// The channel a clip's 3D channel mark (from its stream) stands for: 0 is a
// 2D clip, bit 0x800 the right channel, any other value the left channel.
Channel3d ChannelOfMark(std::uint32_t channelMark3D);
// The channel of a tree from its clips; a tree mixing 2D and 3D clips, or
// left and right clips, throws InvalidDataException (109).
Channel3d ClassifyClips(const ClipStore& clips);

// The professional blocks of a file; null where the file has none (no
// makers private data, or the block's tag is not set).
AVCHD::Common::BlkPRO_ProfessionalMetaID* ProfessionalMetaOf(AVCHD::ClipInformation::BlkClipInformationFile& clip);
AVCHD::Common::BlkPRO_ProfessionalMetaID* ProfessionalMetaOf(AVCHD::MoviePlayList::BlkMoviePlayListFile& playList);
AVCHD::Common::BlkPRO_ProfessionalMetaID* ProfessionalMetaOf(AVCHD::IndexTable::BlkIndexTableFile& indexTable);
AVCHD::ClipInformationPro::BlkPRO_ClipInfo* ProClipInfoOf(AVCHD::ClipInformation::BlkClipInformationFile& clip);
AVCHD::MoviePlayListPro::BlkPRO_PlayListInfo* PlayListInfoOf(AVCHD::MoviePlayList::BlkMoviePlayListFile& playList);
AVCHD::IndexTablePro::BlkPRO_IndexInfo* IndexInfoOf(AVCHD::IndexTable::BlkIndexTableFile& indexTable);

// The content info of a meta identifier when it is there (version above
// 0x10); null otherwise.
AVCHD::Common::BlkPRO_ContentInfo* ContentInfoOf(AVCHD::Common::BlkPRO_ProfessionalMetaID* meta);

// A 3D channel: version 0x11 at least with a content info "3DS" of that
// channel (a new content info takes its initial values first). No channel:
// back to version 0x10, which drops the content info.
void MarkProfessionalMeta(AVCHD::Common::BlkPRO_ProfessionalMetaID& meta, Channel3d channel);
// The playlist information the same way, and each entry mark's content info
// and 3D shot info made present for a 3D channel, removed otherwise.
void MarkPlayListInfo(AVCHD::MoviePlayListPro::BlkPRO_PlayListInfo& info, Channel3d channel);

// Playlists (without the skip mark) with a play item of 1080p at 50 or
// 59.94 pictures a second, and the clips these items play, take the
// extended version of the extension data.
void RaiseExtDataVersions(PlayListStore& playLists, ClipStore& clips);
// Makes the professional metadata of every clip, playlist and index table
// of a tree say `channel` (or that the tree is 2D).
void MarkTree(ClipStore& clips, PlayListStore& playLists, IndexTableStore& indexTables, Channel3d channel);

// An identifier of 32 bytes 0xFF has not been given yet.
bool IsUnsetMaterialID(const AAA::FieldBase& globalMaterialID);

}  // namespace Restore
