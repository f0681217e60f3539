// The value-to-text tables of the enumerated fields.
#include <iterator>

#include "aaalib/AAA_TypedFields.h"

namespace AAA::Field {

#define AAA_TABLE(Type, ...)                     \
  const EnumText Type::kTable[] = {__VA_ARGS__}; \
  const std::size_t Type::kTableSize = std::size(Type::kTable)

AAA_TABLE(StillMode, {1, "Not Still"}, {2, "Still the last video presentation unit for finite duration."},
          {3, "Still the last video presentation unit for infinite duration."});
AAA_TABLE(StreamEntryType, {1, "Identify an elementary stream of the Clip used by the PlayItem."},
          {2,
           "Identify an elementary stream of the Clip used by a Sub path with SubPathType set to 3 associated with the "
           "PlayItem."});
AAA_TABLE(SubPathType, {3, "External Menu Bitmap stream"});
AAA_TABLE(MarkType, {1, "Entry-mark"}, {2, "Link-point"});
AAA_TABLE(ApplicationType, {1, "Main TS for a Main path of Movie applications"},
          {2, "Main TS for a Main path of Slideshow"}, {5, "Sub TS for a Sub path of External Menu Bitmap stream"},
          {10, "Main TS for a Main path of Movie applications in 1080/60p or 1080/50p"});
AAA_TABLE(StreamCodingType, {0x1B, "MPEG-4 AVC video stream"}, {0x80, "AVCHD LPCM audio stream"},
          {0x81, "Dolby Digital (AC-3) audio stream"}, {0x90, "Overlay Bitmap stream"}, {0x91, "Menu Bitmap stream"});
AAA_TABLE(VideoFormat, {1, "480i"}, {2, "576i"}, {3, "480p"}, {4, "1080i"}, {5, "720p"}, {6, "1080p"});
AAA_TABLE(FrameRate, {1, "24 000/1001 (23.976...)"}, {2, "24"}, {3, "25"}, {4, "30 000/1001 (29.97...)"}, {6, "50"},
          {7, "60 000/1001 (59.94...)"});
AAA_TABLE(AspectRatio, {2, "4:3 display aspect ratio"}, {3, "16:9 display aspect ratio"});
AAA_TABLE(AudioPresentationType, {1, "single mono channel"}, {3, "stereo (2-channel)"}, {6, "multi-channel"});
AAA_TABLE(SamplingFrequency, {1, "48 kHz"}, {4, "96 kHz"}, {5, "192 kHz"});
AAA_TABLE(CPIType, {1, "EP map type"});
AAA_TABLE(IEndPositionOffset, {0, "forbidden"}, {1, "0 <= I_tp_size < 131072"}, {2, "131072 <= I_tp_size < 262144"},
          {3, "262144 <= I_tp_size < 393216"}, {4, "393216 <= I_tp_size < 589824"}, {5, "589824 <= I_tp_size < 917504"},
          {6, "917504 <= I_tp_size < 1310720"}, {7, "1310720 <= I_tp_size"});
AAA_TABLE(PlayListAttribute, {1, "Real PlayList"}, {2, "Virtual PlayList"});
AAA_TABLE(Pulldown, {0, "no pulldown"}, {1, "2:2"}, {2, "3:2"});
AAA_TABLE(HorizontalSize, {1, "1920"}, {2, "1440"}, {3, "1280"}, {4, "720"});
AAA_TABLE(Pro_TimeCodeInfo, {1, "Increment"}, {2, "UnIncrement"}, {3, "NoTC"});
AAA_TABLE(Pro_VFRMode, {0, "Normal"}, {1, "Native_VFR"}, {2, "Pulldown_VFR"});
AAA_TABLE(Pro_VFRState, {1, "Constant"}, {2, "Variable"});
AAA_TABLE(Pro_Source, {0, "Invalid"}, {1, "Captured"}, {2, "Created"}, {3, "Diversed"});
AAA_TABLE(Pro_ProModeFlag, {0, "Not_Pro"}, {1, "Pro"});

#undef AAA_TABLE

std::string Enumeration::ToString(ByteSpan value) const {
  const std::uint32_t number = NumberOf(value);
  for (const EnumText& entry : Table()) {
    if (entry.value == number) return entry.text;
  }
  return "reserved";
}

}  // namespace AAA::Field
