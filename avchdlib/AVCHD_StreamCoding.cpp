#include "avchdlib/AVCHD_StreamCoding.h"

namespace AVCHD::Common {

void BlkStreamCoding::Initialize() {
  Block::Initialize();
  for (AAA::FieldBase* code : {&AudioLanguageCode, &OBLanguageCode, &MBLanguageCode}) code->Initialize();
}

void BlkStreamCoding::DeclareCoding(std::initializer_list<AAA::Element*> video,
                                    std::initializer_list<AAA::Element*> audio,
                                    std::initializer_list<AAA::Element*> overlayBitmap,
                                    std::initializer_list<AAA::Element*> menuBitmap) {
  Add(Length, StreamCodingType);
  switch (StreamCodingType) {
    case 0x1B:
      Add(VideoFormat);
      AddAll(video);
      break;
    case 0x80:
    case 0x81:
      Add(AudioPresentationType, SamplingFrequency, AudioLanguageCode);
      AddAll(audio);
      break;
    case 0x90:
      Add(OBLanguageCode);
      AddAll(overlayBitmap);
      break;
    case 0x91:
      Add(MBLanguageCode);
      AddAll(menuBitmap);
      break;
    default:
      break;
  }
}

void BlkStreamCoding::AddAll(std::initializer_list<AAA::Element*> members) {
  for (AAA::Element* member : members) Add(*member);
}

}  // namespace AVCHD::Common
