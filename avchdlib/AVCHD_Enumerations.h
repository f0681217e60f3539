#pragma once

// The enumerated fields of the management files and the names of their
// values. The restore steps compare and set fields by these names; the
// tables of AVCHD_Enumerations.cpp give each value its text.

#include <cstdint>
#include <span>

#include "aaalib/AAA_Enumeration.h"

namespace AVCHD::Field {

namespace StillModeValue {
inline constexpr std::uint32_t kNotStill = 1, kFinite = 2, kInfinite = 3;
}
namespace StreamEntryTypeValue {
inline constexpr std::uint32_t kPlayItem = 1, kSubPath = 2;
}
namespace SubPathTypeValue {
inline constexpr std::uint32_t kMenuBitmap = 3;
}
namespace MarkTypeValue {
inline constexpr std::uint32_t kEntryMark = 1, kLinkPoint = 2;
}
namespace ApplicationTypeValue {
inline constexpr std::uint32_t kMovie = 1, kSlideshow = 2, kMenuSubPath = 5, kMovie1080p = 10;
}
namespace StreamCodingTypeValue {
inline constexpr std::uint32_t kAvcVideo = 0x1B, kLpcmAudio = 0x80, kAc3Audio = 0x81, kOverlayBitmap = 0x90,
                               kMenuBitmap = 0x91;
}
namespace VideoFormatValue {
inline constexpr std::uint32_t k480i = 1, k576i = 2, k480p = 3, k1080i = 4, k720p = 5, k1080p = 6;
}
namespace FrameRateValue {
inline constexpr std::uint32_t k23976 = 1, k24 = 2, k25 = 3, k2997 = 4, k50 = 6, k5994 = 7;
}
namespace AspectRatioValue {
inline constexpr std::uint32_t k4By3 = 2, k16By9 = 3;
}
namespace AudioPresentationTypeValue {
inline constexpr std::uint32_t kMono = 1, kStereo = 3, kMultichannel = 6;
}
namespace SamplingFrequencyValue {
inline constexpr std::uint32_t k48kHz = 1, k96kHz = 4, k192kHz = 5;
}
namespace CPITypeValue {
inline constexpr std::uint32_t kEpMap = 1;
}
// The size class of an I picture in bytes, by its upper bound.
namespace IEndPositionOffsetValue {
inline constexpr std::uint32_t kForbidden = 0, kBelow131072 = 1, kBelow262144 = 2, kBelow393216 = 3, kBelow589824 = 4,
                               kBelow917504 = 5, kBelow1310720 = 6, kAtLeast1310720 = 7;
}
namespace PlayListAttributeValue {
inline constexpr std::uint32_t kReal = 1, kVirtual = 2;
}
namespace PulldownValue {
inline constexpr std::uint32_t kNone = 0, k2By2 = 1, k3By2 = 2;
}
namespace HorizontalSizeValue {
inline constexpr std::uint32_t k1920 = 1, k1440 = 2, k1280 = 3, k720 = 4;
}
namespace Pro_TimeCodeInfoValue {
inline constexpr std::uint32_t kIncrement = 1, kUnIncrement = 2, kNoTC = 3;
}
namespace Pro_VFRModeValue {
inline constexpr std::uint32_t kNormal = 0, kNativeVfr = 1, kPulldownVfr = 2;
}
namespace Pro_VFRStateValue {
inline constexpr std::uint32_t kConstant = 1, kVariable = 2;
}
namespace Pro_SourceValue {
inline constexpr std::uint32_t kInvalid = 0, kCaptured = 1, kCreated = 2, kDiversed = 3;
}
namespace Pro_ProModeFlagValue {
inline constexpr std::uint32_t kNotPro = 0, kPro = 1;
}

#define AVCHD_ENUMERATION(Type)                                                                   \
  class Type : public AAA::Field::Enumeration {                                                   \
   public:                                                                                        \
    static const AAA::Field::EnumText kTable[];                                                   \
    static const std::size_t kTableSize;                                                          \
    Type(const char* name, std::int32_t width, const AAA::FieldRules* rules = nullptr)            \
        : Enumeration(name, width, rules) {}                                                      \
    const char* TypeName() const override { return #Type; }                                       \
                                                                                                  \
   protected:                                                                                     \
    std::span<const AAA::Field::EnumText> Table() const override { return {kTable, kTableSize}; } \
  }

AVCHD_ENUMERATION(StillMode);
AVCHD_ENUMERATION(StreamEntryType);
AVCHD_ENUMERATION(SubPathType);
AVCHD_ENUMERATION(MarkType);
AVCHD_ENUMERATION(ApplicationType);
AVCHD_ENUMERATION(VideoFormat);
AVCHD_ENUMERATION(FrameRate);
AVCHD_ENUMERATION(AspectRatio);
AVCHD_ENUMERATION(AudioPresentationType);
AVCHD_ENUMERATION(SamplingFrequency);
AVCHD_ENUMERATION(CPIType);
AVCHD_ENUMERATION(IEndPositionOffset);
AVCHD_ENUMERATION(PlayListAttribute);
AVCHD_ENUMERATION(Pulldown);
AVCHD_ENUMERATION(HorizontalSize);
AVCHD_ENUMERATION(Pro_TimeCodeInfo);
AVCHD_ENUMERATION(Pro_VFRMode);
AVCHD_ENUMERATION(Pro_VFRState);
AVCHD_ENUMERATION(Pro_Source);
AVCHD_ENUMERATION(Pro_ProModeFlag);

#undef AVCHD_ENUMERATION

// Always 8 bits and always named "StreamCodingType".
class StreamCodingType : public AAA::Field::Enumeration {
 public:
  static const AAA::Field::EnumText kTable[];
  static const std::size_t kTableSize;
  explicit StreamCodingType(const AAA::FieldRules* rules = nullptr) : Enumeration("StreamCodingType", 8, rules) {}
  const char* TypeName() const override { return "StreamCodingType"; }

 protected:
  std::span<const AAA::Field::EnumText> Table() const override { return {kTable, kTableSize}; }
};

}  // namespace AVCHD::Field
