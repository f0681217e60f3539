#include "restorelib/Restore_Restore3d.h"

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_ModelFile.h"
#include "restorelib/Restore_PairRepair.h"
#include "restorelib/Restore_ProMetadata3d.h"

namespace Restore {

namespace {

using AVCHD::Common::BlkPRO_ContentInfo;

// The content info of the index table the step keeps; null without one.
BlkPRO_ContentInfo* IndexContentInfo(const TreeSteps& steps) {
  auto& store = steps.indexTable->Store();
  return store.empty() ? nullptr : ContentInfoOf(ProfessionalMetaOf(store.front()));
}

std::string ChannelOf(const BlkPRO_ContentInfo* contentInfo) {
  return contentInfo == nullptr ? std::string() : contentInfo->ChannelID.ToString();
}

// One left and one right eye of the same recording. The first tree's
// identifier counts as the same when its own verification has just given
// it one (a tree that was not marked 3D before).
bool ArePartners(const BlkPRO_ContentInfo* first, const BlkPRO_ContentInfo* second) {
  if (first == nullptr || second == nullptr) return false;
  const std::string firstChannel = ChannelOf(first);
  const std::string secondChannel = ChannelOf(second);
  const bool oppositeEyes =
      (firstChannel == "L" && secondChannel == "R") || (firstChannel == "R" && secondChannel == "L");
  return oppositeEyes && (first->GlobalMaterialID.ValueBytes() == second->GlobalMaterialID.ValueBytes() ||
                          first->GlobalMaterialID.IsModified());
}

}  // namespace

Channel3d Restore3d::VerifyOneEye() {
  AAA::Log::Heading("verify 3D one eye");
  auto& clips = steps_.clipInformation->Clips();
  const Channel3d channel = ClassifyClips(clips);
  RaiseExtDataVersions(steps_.playList->Store(), clips);
  MarkTree(clips, steps_.playList->Store(), steps_.indexTable->Store(), channel);
  return channel;
}

void Restore3d::VerifyRelation(const Restore3d& first) const {
  AAA::Log::Heading("verify 3D relation");
  AAA::Log::Line(AAA::Log::kHeading, "  1: %s\n", first.steps_.folder->Path.c_str());
  AAA::Log::Line(AAA::Log::kHeading, "  2: %s\n", steps_.folder->Path.c_str());
  RestoreIndexTable::IndexTableFile onMedium;
  try {
    ReadModelFile(Utility::IndexTableFile(*steps_.folder), onMedium, RestoreIndexTable::IndexTableFile::kMaxFileSize);
  } catch (const AAA::FileNotFoundException&) {
    // A card whose index table is lost may still be the partner: the pair
    // check after both verifications decides.
    return;
  }
  if (!ArePartners(IndexContentInfo(first.steps_), ContentInfoOf(ProfessionalMetaOf(onMedium)))) {
    AAA_THROW(AAA::Not3dPairException());
  }
}

void Restore3d::VerifyMain(Restore3d& first, Restore3d& second) {
  AAA::Log::Heading("verify 3D Main");
  const std::string firstChannel = ChannelOf(IndexContentInfo(first.steps_));
  const std::string secondChannel = ChannelOf(IndexContentInfo(second.steps_));
  if (firstChannel == "R" && secondChannel == "L") {
    PairRepair(second.steps_, first.steps_).Run();
    return;
  }
  if (firstChannel != "L" || secondChannel != "R") AAA_THROW(AAA::Not3dPairException());
  PairRepair(first.steps_, second.steps_).Run();
}

}  // namespace Restore
