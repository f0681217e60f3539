#pragma once

#include "restorelib/Restore_Restore3d.h"

namespace Restore {

// Makes a right-eye clip agree with its left partner: one recording
// identifier, 3D clip information on both, the same continuation, as many
// STC sequences, and durations (PresentationTimes) that differ by less than
// 4 ticks or are both the shorter one. Partners whose video differs in
// format, frame rate or aspect ratio throw InvalidDataException.
void PairClip(AVCHD::ClipInformation::BlkClipInformationFile& left,
              AVCHD::ClipInformation::BlkClipInformationFile& right);

// Makes the right eye's tree agree with the left eye's, both verified on
// their own before: partner clips share identifiers, 3D clip information,
// continuation and durations; the left playlists keep only play items
// whose partner clip exists; the right tree gets the left tree's
// playlists, movie object and titles; both index tables end with the
// earlier last time code, one identifier and a name of their eye.
class PairRepair {
 public:
  PairRepair(const TreeSteps& left, const TreeSteps& right) : left_(left), right_(right) {}
  void Run();

 private:
  void PairClips();
  void VerifyLeftChannel();
  void VerifyRightChannel();
  void CopyPlayList(const AVCHD::MoviePlayList::BlkMoviePlayListFile& moviePlayListFile_L);
  void CopyTitles();
  void PairIndexTables();

  TreeSteps left_;
  TreeSteps right_;
};

}  // namespace Restore
