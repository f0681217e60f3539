#pragma once

// The enumerated fields of the management files and the names of their
// values. The restore steps compare and set fields by these names; the
// tables of AVCHD_Enumerations.cpp give each value its text.

#include <cstdint>
#include <span>

#include "aaalib/AAA_Enumeration.h"

namespace AVCHD::Field {

// An enumerated field and the names of its values (Field::FrameRate::k50).
#define AVCHD_ENUMERATION(Type, ...)                                                              \
  class Type : public AAA::Field::Enumeration {                                                   \
   public:                                                                                        \
    enum : std::uint32_t { __VA_ARGS__ };                                                         \
    static const AAA::Field::EnumText kTable[];                                                   \
    static const std::size_t kTableSize;                                                          \
    Type(const char* name, std::int32_t width, const AAA::FieldRules* rules = nullptr)            \
        : Enumeration(name, width, rules) {}                                                      \
    const char* TypeName() const override { return #Type; }                                       \
                                                                                                  \
   protected:                                                                                     \
    std::span<const AAA::Field::EnumText> Table() const override { return {kTable, kTableSize}; } \
  }

AVCHD_ENUMERATION(StillMode, kNotStill = 1, kFinite = 2, kInfinite = 3);
AVCHD_ENUMERATION(StreamEntryType, kPlayItem = 1, kSubPath = 2);
AVCHD_ENUMERATION(SubPathType, kMenuBitmap = 3);
AVCHD_ENUMERATION(MarkType, kEntryMark = 1, kLinkPoint = 2);
AVCHD_ENUMERATION(ApplicationType, kMovie = 1, kSlideshow = 2, kMenuSubPath = 5, kMovie1080p = 10);
AVCHD_ENUMERATION(VideoFormat, k480i = 1, k576i = 2, k480p = 3, k1080i = 4, k720p = 5, k1080p = 6);
AVCHD_ENUMERATION(FrameRate, k23976 = 1, k24 = 2, k25 = 3, k2997 = 4, k50 = 6, k5994 = 7);
AVCHD_ENUMERATION(AspectRatio, k4By3 = 2, k16By9 = 3);
AVCHD_ENUMERATION(AudioPresentationType, kMono = 1, kStereo = 3, kMultichannel = 6);
AVCHD_ENUMERATION(SamplingFrequency, k48kHz = 1, k96kHz = 4, k192kHz = 5);
AVCHD_ENUMERATION(CPIType, kEpMap = 1);
// The size class of an I picture in bytes, by its upper bound.
AVCHD_ENUMERATION(IEndPositionOffset, kForbidden = 0, kBelow131072 = 1, kBelow262144 = 2, kBelow393216 = 3,
                  kBelow589824 = 4, kBelow917504 = 5, kBelow1310720 = 6, kAtLeast1310720 = 7);
AVCHD_ENUMERATION(PlayListAttribute, kReal = 1, kVirtual = 2);
AVCHD_ENUMERATION(Pulldown, kNone = 0, k2By2 = 1, k3By2 = 2);
AVCHD_ENUMERATION(HorizontalSize, k1920 = 1, k1440 = 2, k1280 = 3, k720 = 4);
AVCHD_ENUMERATION(Pro_TimeCodeInfo, kIncrement = 1, kUnIncrement = 2, kNoTC = 3);
AVCHD_ENUMERATION(Pro_VFRMode, kNormal = 0, kNativeVfr = 1, kPulldownVfr = 2);
AVCHD_ENUMERATION(Pro_VFRState, kConstant = 1, kVariable = 2);
AVCHD_ENUMERATION(Pro_Source, kInvalid = 0, kCaptured = 1, kCreated = 2, kDiversed = 3);
AVCHD_ENUMERATION(Pro_ProModeFlag, kNotPro = 0, kPro = 1);

#undef AVCHD_ENUMERATION

// Always 8 bits and always named "StreamCodingType".
class StreamCodingType : public AAA::Field::Enumeration {
 public:
  enum : std::uint32_t {
    kAvcVideo = 0x1B,
    kLpcmAudio = 0x80,
    kAc3Audio = 0x81,
    kOverlayBitmap = 0x90,
    kMenuBitmap = 0x91
  };
  static const AAA::Field::EnumText kTable[];
  static const std::size_t kTableSize;
  explicit StreamCodingType(const AAA::FieldRules* rules = nullptr) : Enumeration("StreamCodingType", 8, rules) {}
  const char* TypeName() const override { return "StreamCodingType"; }

 protected:
  std::span<const AAA::Field::EnumText> Table() const override { return {kTable, kTableSize}; }
};

}  // namespace AVCHD::Field
