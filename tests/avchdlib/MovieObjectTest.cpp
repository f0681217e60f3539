// The movie object file and its navigation commands.
#include <gtest/gtest.h>

#include "ModelBytes.h"
#include "aaalib/AAA_Exceptions.h"
#include "avchdlib/AVCHD_MovieObject.h"
#include "tests/aaalib/LogCapture.h"

using AAA::Bytes;
using AVCHD::MovieObject::BlkMovieObjectFile;
using AVCHD::MovieObject::NavigationCommand;
using ModelBytes::Join;
using ModelBytes::Text;
using ModelBytes::Zeros;

namespace {

const Bytes kPlayPlayList3 = {0x22, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00};
const Bytes kJumpToTitle1 = {0x21, 0x81, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00};

// A file of `objects` movie objects of `commands` commands each (the play command).
Bytes HandMadeFile(std::uint16_t objects, std::uint16_t commands, std::uint8_t terminalInfo = 0x80) {
  const std::uint32_t length = 6 + objects * (4 + 12u * commands);
  Bytes bytes = Join({Text("MOBJ0100"),
                      Zeros(32),
                      {static_cast<std::uint8_t>(length >> 24), static_cast<std::uint8_t>(length >> 16),
                       static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)},
                      Zeros(4),
                      {static_cast<std::uint8_t>(objects >> 8), static_cast<std::uint8_t>(objects)}});
  for (int object = 0; object < objects; ++object) {
    bytes.insert(bytes.end(),
                 {terminalInfo, 0x00, static_cast<std::uint8_t>(commands >> 8), static_cast<std::uint8_t>(commands)});
    for (int command = 0; command < commands; ++command) {
      bytes.insert(bytes.end(), kPlayPlayList3.begin(), kPlayPlayList3.end());
    }
  }
  return bytes;
}

BlkMovieObjectFile OneObjectOfTwoCommands() {
  BlkMovieObjectFile file;
  file.Initialize();
  file.blkMovieObjects.NumberOfMobjs.SetValue(1);
  auto& object = file.blkMovieObjects.blkMovieObjectArray[0];
  object.NumberOfNavigationCommands.SetValue(2);
  object.NavigationCommandArray[0].SetBytes(kPlayPlayList3);
  object.NavigationCommandArray[1].SetBytes(kJumpToTitle1);
  return file;
}

void ExpectRefused(const Bytes& bytes) {
  BlkMovieObjectFile file;
  EXPECT_THROW(ModelBytes::Read(file, bytes), AAA::InvalidDataException);
}

}  // namespace

TEST(MovieObject, InitializedFileHasNoMovieObjectsAndRoundTrips) {
  const Bytes written = ModelBytes::InitializedFileRoundTrips<BlkMovieObjectFile>();
  EXPECT_EQ(written, HandMadeFile(0, 0));
}

TEST(MovieObject, OneObjectOfTwoCommandsIsSeventyEightBytesWithLengthThirtyFour) {
  BlkMovieObjectFile file = OneObjectOfTwoCommands();
  const Bytes written = ModelBytes::Write(file);
  EXPECT_EQ(written.size(), 78u);
  EXPECT_EQ(file.blkMovieObjects.Length.Value(), 34u);
  EXPECT_EQ(ModelBytes::Rewrite<BlkMovieObjectFile>(written), written);
}

TEST(MovieObject, HandMadeFileWritesBackByteForByte) {
  const Bytes bytes = HandMadeFile(3, 2);
  EXPECT_EQ(ModelBytes::Rewrite<BlkMovieObjectFile>(bytes), bytes);
}

TEST(MovieObject, OnlyVersionZeroOneZeroZeroIsAccepted) {
  Bytes bytes = HandMadeFile(1, 1);
  bytes[5] = '2';
  ExpectRefused(bytes);
}

TEST(MovieObject, ExtensionDataIsRefusedWithTheRuleInTheLog) {
  Bytes bytes = HandMadeFile(1, 1);
  bytes[11] = 0x40;
  LogCapture log(7);
  ExpectRefused(bytes);
  EXPECT_EQ(log.Take(), ModelBytes::Position("avchdlib/AVCHD_MovieObject.h", "AAA_FIXED(0U)") +
                            "      Name: MovieObject file.ExtensionDataStartAddress\n"
                            "  Expected: 0x00000000 \"0\" (0U)\n"
                            "    Actual: 0x00000040 \"64\"\n");
}

TEST(MovieObject, CountsAreBoundedBeforeTheirArraysAreRead) {
  BlkMovieObjectFile most;
  ModelBytes::Read(most, HandMadeFile(1001, 0));
  EXPECT_EQ(most.blkMovieObjects.blkMovieObjectArray.Size(), 1001u);
  Bytes tooManyObjects = HandMadeFile(1002, 0);
  tooManyObjects.resize(50);  // refused by the count, before any object is missed
  ExpectRefused(tooManyObjects);

  BlkMovieObjectFile longest;
  ModelBytes::Read(longest, HandMadeFile(1, 32));
  LogCapture log(7);
  Bytes tooMany = HandMadeFile(1, 33);
  tooMany.resize(54);  // refused by the count, before any command is missed
  ExpectRefused(tooMany);
  EXPECT_NE(log.Take().find("(\"(0 <= self.NumberOfNavigationCommands) && (self.NumberOfNavigationCommands <= 32)\")"),
            std::string::npos);
}

TEST(MovieObject, TerminalInfoNeedsItsFirstBitOnlyAndUpdateClearsTheRest) {
  ExpectRefused(HandMadeFile(1, 1, 0x7F));
  BlkMovieObjectFile file;
  ModelBytes::Read(file, HandMadeFile(1, 1, 0xFF));
  const Bytes written = ModelBytes::Write(file);
  EXPECT_EQ(written, HandMadeFile(1, 1, 0x80));
}

TEST(MovieObject, LengthThatDisagreesIsRefusedAfterTheLastObject) {
  Bytes bytes = HandMadeFile(2, 1);
  bytes[43] += 1;
  bytes.insert(bytes.end(), 0);
  ExpectRefused(bytes);
}

TEST(MovieObject, ObjectWithoutCommandsIsValid) {
  BlkMovieObjectFile file;
  EXPECT_NO_THROW(ModelBytes::Read(file, HandMadeFile(2, 0)));
}

TEST(MovieObject, ErasedCommandShortensTheLengthByTwelveBytes) {
  BlkMovieObjectFile file;
  ModelBytes::Read(file, HandMadeFile(2, 3));
  auto& object = file.blkMovieObjects.blkMovieObjectArray[1];
  object.NavigationCommandArray.Erase(0);
  object.NumberOfNavigationCommands.SetValue(2);
  ModelBytes::Write(file);
  EXPECT_EQ(file.blkMovieObjects.Length.Value(), 6u + 2 * 4 + 5 * 12);
  EXPECT_TRUE(file.IsModified());
}

TEST(NavigationCommand, PatternsAndOperandsAreReadFromTheCommandBytes) {
  NavigationCommand play;
  play.SetBytes(kPlayPlayList3);
  const NavigationCommand copy = play;
  EXPECT_EQ(copy.Data[0], 0x22);
  EXPECT_EQ(copy.Data[7], 0x03);
  EXPECT_EQ(copy.Operand1(), 3u);
  EXPECT_TRUE(copy.MatchesAny(AVCHD::MovieObject::kPlayPlayListCommands));
  EXPECT_FALSE(copy.MatchesAny(AVCHD::MovieObject::kCommandsNotAllowedInMovieTitle));

  NavigationCommand jump;
  jump.SetBytes(kJumpToTitle1);  // a jump to a given title is allowed
  EXPECT_FALSE(jump.MatchesAny(AVCHD::MovieObject::kCommandsNotAllowedInMovieTitle));
  jump.SetBytes({0x51, 0xC0, 0x00, 0x02});
  EXPECT_TRUE(jump.MatchesAny(AVCHD::MovieObject::kCommandsNotAllowedInMovieTitle));
}
