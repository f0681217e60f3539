// The value-to-text tables of the enumerated fields.
#include "avchdlib/AVCHD_Enumerations.h"

#include <iterator>

namespace AVCHD::Field {

using AAA::Field::EnumText;

#define AVCHD_TABLE(Type, ...)                   \
  const EnumText Type::kTable[] = {__VA_ARGS__}; \
  const std::size_t Type::kTableSize = std::size(Type::kTable)

AVCHD_TABLE(StillMode, {StillMode::kNotStill, "Not Still"},
            {StillMode::kFinite, "Still the last video presentation unit for finite duration."},
            {StillMode::kInfinite, "Still the last video presentation unit for infinite duration."});
AVCHD_TABLE(StreamEntryType,
            {StreamEntryType::kPlayItem, "Identify an elementary stream of the Clip used by the PlayItem."},
            {StreamEntryType::kSubPath,
             "Identify an elementary stream of the Clip used by a Sub path with SubPathType set to 3 associated with "
             "the PlayItem."});
AVCHD_TABLE(SubPathType, {SubPathType::kMenuBitmap, "External Menu Bitmap stream"});
AVCHD_TABLE(MarkType, {MarkType::kEntryMark, "Entry-mark"}, {MarkType::kLinkPoint, "Link-point"});
AVCHD_TABLE(ApplicationType, {ApplicationType::kMovie, "Main TS for a Main path of Movie applications"},
            {ApplicationType::kSlideshow, "Main TS for a Main path of Slideshow"},
            {ApplicationType::kMenuSubPath, "Sub TS for a Sub path of External Menu Bitmap stream"},
            {ApplicationType::kMovie1080p, "Main TS for a Main path of Movie applications in 1080/60p or 1080/50p"});
AVCHD_TABLE(StreamCodingType, {StreamCodingType::kAvcVideo, "MPEG-4 AVC video stream"},
            {StreamCodingType::kLpcmAudio, "AVCHD LPCM audio stream"},
            {StreamCodingType::kAc3Audio, "Dolby Digital (AC-3) audio stream"},
            {StreamCodingType::kOverlayBitmap, "Overlay Bitmap stream"},
            {StreamCodingType::kMenuBitmap, "Menu Bitmap stream"});
AVCHD_TABLE(VideoFormat, {VideoFormat::k480i, "480i"}, {VideoFormat::k576i, "576i"}, {VideoFormat::k480p, "480p"},
            {VideoFormat::k1080i, "1080i"}, {VideoFormat::k720p, "720p"}, {VideoFormat::k1080p, "1080p"});
AVCHD_TABLE(FrameRate, {FrameRate::k23976, "24 000/1001 (23.976...)"}, {FrameRate::k24, "24"}, {FrameRate::k25, "25"},
            {FrameRate::k2997, "30 000/1001 (29.97...)"}, {FrameRate::k50, "50"},
            {FrameRate::k5994, "60 000/1001 (59.94...)"});
AVCHD_TABLE(AspectRatio, {AspectRatio::k4By3, "4:3 display aspect ratio"},
            {AspectRatio::k16By9, "16:9 display aspect ratio"});
AVCHD_TABLE(AudioPresentationType, {AudioPresentationType::kMono, "single mono channel"},
            {AudioPresentationType::kStereo, "stereo (2-channel)"},
            {AudioPresentationType::kMultichannel, "multi-channel"});
AVCHD_TABLE(SamplingFrequency, {SamplingFrequency::k48kHz, "48 kHz"}, {SamplingFrequency::k96kHz, "96 kHz"},
            {SamplingFrequency::k192kHz, "192 kHz"});
AVCHD_TABLE(CPIType, {CPIType::kEpMap, "EP map type"});
AVCHD_TABLE(IEndPositionOffset, {IEndPositionOffset::kForbidden, "forbidden"},
            {IEndPositionOffset::kBelow131072, "0 <= I_tp_size < 131072"},
            {IEndPositionOffset::kBelow262144, "131072 <= I_tp_size < 262144"},
            {IEndPositionOffset::kBelow393216, "262144 <= I_tp_size < 393216"},
            {IEndPositionOffset::kBelow589824, "393216 <= I_tp_size < 589824"},
            {IEndPositionOffset::kBelow917504, "589824 <= I_tp_size < 917504"},
            {IEndPositionOffset::kBelow1310720, "917504 <= I_tp_size < 1310720"},
            {IEndPositionOffset::kAtLeast1310720, "1310720 <= I_tp_size"});
AVCHD_TABLE(PlayListAttribute, {PlayListAttribute::kReal, "Real PlayList"},
            {PlayListAttribute::kVirtual, "Virtual PlayList"});
AVCHD_TABLE(Pulldown, {Pulldown::kNone, "no pulldown"}, {Pulldown::k2By2, "2:2"}, {Pulldown::k3By2, "3:2"});
AVCHD_TABLE(HorizontalSize, {HorizontalSize::k1920, "1920"}, {HorizontalSize::k1440, "1440"},
            {HorizontalSize::k1280, "1280"}, {HorizontalSize::k720, "720"});
AVCHD_TABLE(Pro_TimeCodeInfo, {Pro_TimeCodeInfo::kIncrement, "Increment"},
            {Pro_TimeCodeInfo::kUnIncrement, "UnIncrement"}, {Pro_TimeCodeInfo::kNoTC, "NoTC"});
AVCHD_TABLE(Pro_VFRMode, {Pro_VFRMode::kNormal, "Normal"}, {Pro_VFRMode::kNativeVfr, "Native_VFR"},
            {Pro_VFRMode::kPulldownVfr, "Pulldown_VFR"});
AVCHD_TABLE(Pro_VFRState, {Pro_VFRState::kConstant, "Constant"}, {Pro_VFRState::kVariable, "Variable"});
AVCHD_TABLE(Pro_Source, {Pro_Source::kInvalid, "Invalid"}, {Pro_Source::kCaptured, "Captured"},
            {Pro_Source::kCreated, "Created"}, {Pro_Source::kDiversed, "Diversed"});
AVCHD_TABLE(Pro_ProModeFlag, {Pro_ProModeFlag::kNotPro, "Not_Pro"}, {Pro_ProModeFlag::kPro, "Pro"});

#undef AVCHD_TABLE

}  // namespace AVCHD::Field
