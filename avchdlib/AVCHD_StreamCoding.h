#pragma once

// The coding of one elementary stream, as the clip information file and the
// playlist's stream table both describe it: the members after
// `StreamCodingType` follow the coding type. Each file adds members of its
// own to some kinds (the frame rate with its own rule, reserved bits).

#include <initializer_list>

#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Fields.h"

namespace AVCHD::Common {

class BlkStreamCoding : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 8, AVCHD_LENGTH()};
  AVCHD::Field::StreamCodingType StreamCodingType;
  // Video (0x1B)
  AVCHD::Field::VideoFormat VideoFormat{"VideoFormat", 4,
                                        AAA_RULES(AAA_ALLOWED(VideoFormat, (1 <= VideoFormat) && (VideoFormat <= 6)))};
  // Audio (0x80, 0x81)
  AVCHD::Field::AudioPresentationType AudioPresentationType{
      "AudioPresentationType", 4,
      AAA_RULES(AAA_ALLOWED(AudioPresentationType, (AudioPresentationType == 1) || (AudioPresentationType == 3) ||
                                                       (AudioPresentationType == 6)))};
  AVCHD::Field::SamplingFrequency SamplingFrequency{
      "SamplingFrequency", 4,
      AAA_RULES(AAA_ALLOWED(SamplingFrequency,
                            (SamplingFrequency == 1) || (SamplingFrequency == 4) || (SamplingFrequency == 5)))};
  AAA::Field::Str AudioLanguageCode{"AudioLanguageCode", 24, AAA_RULES(AAA_INITIAL("eng"))};
  // Overlay bitmap (0x90)
  AAA::Field::Str OBLanguageCode{"OBLanguageCode", 24, AAA_RULES(AAA_INITIAL("eng"))};
  // Menu bitmap (0x91)
  AAA::Field::Str MBLanguageCode{"MBLanguageCode", 24, AAA_RULES(AAA_INITIAL("eng"))};

  // The language codes of the other coding types start as English too, so
  // that a stream whose coding type is set later has one.
  void Initialize() override;

 protected:
  explicit BlkStreamCoding(const char* name, const AAA::FieldRules* codingTypeRules = nullptr)
      : Block(name), StreamCodingType(codingTypeRules) {}

  // Declares `Length`, `StreamCodingType` and the members of its kind: the
  // shared ones, then the file's own members of that kind.
  void DeclareCoding(std::initializer_list<AAA::Element*> video, std::initializer_list<AAA::Element*> audio,
                     std::initializer_list<AAA::Element*> overlayBitmap,
                     std::initializer_list<AAA::Element*> menuBitmap);

 private:
  void AddAll(std::initializer_list<AAA::Element*> members);
};

}  // namespace AVCHD::Common
