// The value-to-text tables of the enumerated fields.
#include "avchdlib/AVCHD_Enumerations.h"

#include <iterator>

namespace AVCHD::Field {

using AAA::Field::EnumText;

#define AVCHD_TABLE(Type, ...)                   \
  const EnumText Type::kTable[] = {__VA_ARGS__}; \
  const std::size_t Type::kTableSize = std::size(Type::kTable)

AVCHD_TABLE(StillMode, {StillModeValue::kNotStill, "Not Still"},
            {StillModeValue::kFinite, "Still the last video presentation unit for finite duration."},
            {StillModeValue::kInfinite, "Still the last video presentation unit for infinite duration."});
AVCHD_TABLE(StreamEntryType,
            {StreamEntryTypeValue::kPlayItem, "Identify an elementary stream of the Clip used by the PlayItem."},
            {StreamEntryTypeValue::kSubPath,
             "Identify an elementary stream of the Clip used by a Sub path with SubPathType set to 3 associated with "
             "the PlayItem."});
AVCHD_TABLE(SubPathType, {SubPathTypeValue::kMenuBitmap, "External Menu Bitmap stream"});
AVCHD_TABLE(MarkType, {MarkTypeValue::kEntryMark, "Entry-mark"}, {MarkTypeValue::kLinkPoint, "Link-point"});
AVCHD_TABLE(ApplicationType, {ApplicationTypeValue::kMovie, "Main TS for a Main path of Movie applications"},
            {ApplicationTypeValue::kSlideshow, "Main TS for a Main path of Slideshow"},
            {ApplicationTypeValue::kMenuSubPath, "Sub TS for a Sub path of External Menu Bitmap stream"},
            {ApplicationTypeValue::kMovie1080p,
             "Main TS for a Main path of Movie applications in 1080/60p or 1080/50p"});
AVCHD_TABLE(StreamCodingType, {StreamCodingTypeValue::kAvcVideo, "MPEG-4 AVC video stream"},
            {StreamCodingTypeValue::kLpcmAudio, "AVCHD LPCM audio stream"},
            {StreamCodingTypeValue::kAc3Audio, "Dolby Digital (AC-3) audio stream"},
            {StreamCodingTypeValue::kOverlayBitmap, "Overlay Bitmap stream"},
            {StreamCodingTypeValue::kMenuBitmap, "Menu Bitmap stream"});
AVCHD_TABLE(VideoFormat, {VideoFormatValue::k480i, "480i"}, {VideoFormatValue::k576i, "576i"},
            {VideoFormatValue::k480p, "480p"}, {VideoFormatValue::k1080i, "1080i"}, {VideoFormatValue::k720p, "720p"},
            {VideoFormatValue::k1080p, "1080p"});
AVCHD_TABLE(FrameRate, {FrameRateValue::k23976, "24 000/1001 (23.976...)"}, {FrameRateValue::k24, "24"},
            {FrameRateValue::k25, "25"}, {FrameRateValue::k2997, "30 000/1001 (29.97...)"}, {FrameRateValue::k50, "50"},
            {FrameRateValue::k5994, "60 000/1001 (59.94...)"});
AVCHD_TABLE(AspectRatio, {AspectRatioValue::k4By3, "4:3 display aspect ratio"},
            {AspectRatioValue::k16By9, "16:9 display aspect ratio"});
AVCHD_TABLE(AudioPresentationType, {AudioPresentationTypeValue::kMono, "single mono channel"},
            {AudioPresentationTypeValue::kStereo, "stereo (2-channel)"},
            {AudioPresentationTypeValue::kMultichannel, "multi-channel"});
AVCHD_TABLE(SamplingFrequency, {SamplingFrequencyValue::k48kHz, "48 kHz"}, {SamplingFrequencyValue::k96kHz, "96 kHz"},
            {SamplingFrequencyValue::k192kHz, "192 kHz"});
AVCHD_TABLE(CPIType, {CPITypeValue::kEpMap, "EP map type"});
AVCHD_TABLE(IEndPositionOffset, {IEndPositionOffsetValue::kForbidden, "forbidden"},
            {IEndPositionOffsetValue::kBelow131072, "0 <= I_tp_size < 131072"},
            {IEndPositionOffsetValue::kBelow262144, "131072 <= I_tp_size < 262144"},
            {IEndPositionOffsetValue::kBelow393216, "262144 <= I_tp_size < 393216"},
            {IEndPositionOffsetValue::kBelow589824, "393216 <= I_tp_size < 589824"},
            {IEndPositionOffsetValue::kBelow917504, "589824 <= I_tp_size < 917504"},
            {IEndPositionOffsetValue::kBelow1310720, "917504 <= I_tp_size < 1310720"},
            {IEndPositionOffsetValue::kAtLeast1310720, "1310720 <= I_tp_size"});
AVCHD_TABLE(PlayListAttribute, {PlayListAttributeValue::kReal, "Real PlayList"},
            {PlayListAttributeValue::kVirtual, "Virtual PlayList"});
AVCHD_TABLE(Pulldown, {PulldownValue::kNone, "no pulldown"}, {PulldownValue::k2By2, "2:2"},
            {PulldownValue::k3By2, "3:2"});
AVCHD_TABLE(HorizontalSize, {HorizontalSizeValue::k1920, "1920"}, {HorizontalSizeValue::k1440, "1440"},
            {HorizontalSizeValue::k1280, "1280"}, {HorizontalSizeValue::k720, "720"});
AVCHD_TABLE(Pro_TimeCodeInfo, {Pro_TimeCodeInfoValue::kIncrement, "Increment"},
            {Pro_TimeCodeInfoValue::kUnIncrement, "UnIncrement"}, {Pro_TimeCodeInfoValue::kNoTC, "NoTC"});
AVCHD_TABLE(Pro_VFRMode, {Pro_VFRModeValue::kNormal, "Normal"}, {Pro_VFRModeValue::kNativeVfr, "Native_VFR"},
            {Pro_VFRModeValue::kPulldownVfr, "Pulldown_VFR"});
AVCHD_TABLE(Pro_VFRState, {Pro_VFRStateValue::kConstant, "Constant"}, {Pro_VFRStateValue::kVariable, "Variable"});
AVCHD_TABLE(Pro_Source, {Pro_SourceValue::kInvalid, "Invalid"}, {Pro_SourceValue::kCaptured, "Captured"},
            {Pro_SourceValue::kCreated, "Created"}, {Pro_SourceValue::kDiversed, "Diversed"});
AVCHD_TABLE(Pro_ProModeFlag, {Pro_ProModeFlagValue::kNotPro, "Not_Pro"}, {Pro_ProModeFlagValue::kPro, "Pro"});

#undef AVCHD_TABLE

}  // namespace AVCHD::Field
