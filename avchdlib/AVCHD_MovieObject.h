#pragma once

// The movie object file: the small programs of navigation commands that the
// titles of the index table run.

#include <array>
#include <cstdint>

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "aaalib/AAA_FieldRules.h"
#include "avchdlib/AVCHD_Common.h"

namespace AVCHD::MovieObject {

// The first four bytes of a navigation command: operand count, group and
// sub-group; immediate flags and branch option; compare option; set option.
using CommandPattern = std::array<std::uint8_t, 4>;

// The commands that start a playlist; operand 1 is the playlist number.
inline constexpr std::array<CommandPattern, 5> kPlayPlayListCommands = {{
    {0x22, 0x80, 0x00, 0x00},  // play playlist
    {0x42, 0x81, 0x00, 0x00},  // ... from a play item given by a register
    {0x42, 0xC1, 0x00, 0x00},  // ... from a given play item
    {0x42, 0x82, 0x00, 0x00},  // ... from a mark given by a register
    {0x42, 0xC2, 0x00, 0x00},  // ... from a given mark
}};

// Commands that a movie title's object must not hold: jumps and calls to
// other movie objects or titles (a jump to a given title is allowed), and
// the set-system command with set option 2.
inline constexpr std::array<CommandPattern, 11> kCommandsNotAllowedInMovieTitle = {{
    {0x21, 0x00, 0x00, 0x00},  // jump to a movie object given by a register
    {0x21, 0x80, 0x00, 0x00},  // jump to a given movie object
    {0x21, 0x02, 0x00, 0x00},  // call a movie object given by a register
    {0x21, 0x82, 0x00, 0x00},  // call a given movie object
    {0x51, 0x00, 0x00, 0x02},  // set system, set option 2, both operands registers
    {0x51, 0x80, 0x00, 0x02},  //   operand 1 immediate
    {0x51, 0x40, 0x00, 0x02},  //   operand 2 immediate
    {0x51, 0xC0, 0x00, 0x02},  //   both immediate
    {0x21, 0x03, 0x00, 0x00},  // call a title given by a register
    {0x21, 0x83, 0x00, 0x00},  // call a given title
    {0x21, 0x01, 0x00, 0x00},  // jump to a title given by a register
}};

// A navigation command of 12 bytes: the command word, then operand 1
// (destination) and operand 2 (source), 32 bits each, big-endian. The
// verification steps address its bytes as Data[0] to Data[11].
class NavigationCommand : public AAA::Field::BE {
 public:
  class ByteView {
   public:
    explicit ByteView(const NavigationCommand& command) : command_(&command) {}
    std::uint8_t operator[](std::size_t index) const { return command_->ValueBytes()[index]; }

   private:
    friend class NavigationCommand;
    const NavigationCommand* command_;
  };

  NavigationCommand() : BE("NavigationCommand", 96) {}
  NavigationCommand(const NavigationCommand& other) : BE(other) {}
  NavigationCommand& operator=(const NavigationCommand& other) {
    BE::operator=(other);
    return *this;
  }

  bool Matches(const CommandPattern& pattern) const;
  template <std::size_t N>
  bool MatchesAny(const std::array<CommandPattern, N>& patterns) const {
    for (const CommandPattern& pattern : patterns) {
      if (Matches(pattern)) return true;
    }
    return false;
  }
  std::uint32_t Operand1() const;
  std::uint32_t Operand2() const;

  // Always reads this command's own bytes, also in a copy.
  const ByteView Data{*this};
};

class BlkTerminalInfo : public AAA::Block {
 public:
  AAA::Field::BE One{"'1'", 1, AAA_RULES(AAA_FIXED(1))};
  AAA::Field::Reserved reserved{15};

  BlkTerminalInfo() : Block("TerminalInfo") { Link(); }

 protected:
  void Declare() override { Add(One, reserved); }
};

class BlkMovieObject : public AAA::Block {
 public:
  BlkTerminalInfo blkTerminalInfo;
  AAA::Field::BE NumberOfNavigationCommands{"NumberOfNavigationCommands", 16};
  AAA::Array<NavigationCommand> NavigationCommandArray{"NavigationCommand"};

  BlkMovieObject();

 protected:
  void Declare() override;
};

class BlkMovieObjects : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::Reserved reserved{32};
  AAA::Field::BE NumberOfMobjs{"NumberOfMobjs", 16};
  AAA::Array<BlkMovieObject> blkMovieObjectArray{"MovieObject"};

  BlkMovieObjects();
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override;

 private:
  // While the block is read, the bits the file holds from its start; -1
  // otherwise.
  std::int64_t bitsLeft_ = -1;
};

class BlkMovieObjectFile : public AAA::FileBlock {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32, AAA_RULES(AAA_FIXED("MOBJ"))};
  AAA::Field::Str TypeIndicator2{"TypeIndicator2", 32, AAA_RULES(AAA_FIXED("0100"))};
  // The file carries no extension data.
  AAA::Field::BE ExtensionDataStartAddress{"ExtensionDataStartAddress", 32, AAA_RULES(AAA_FIXED(0U))};
  AAA::Field::Reserved reserved{224};
  BlkMovieObjects blkMovieObjects;
  // Bytes after the movie objects are neither read nor written: its width
  // stays 0.
  AAA::Field::Padding padding_word{"padding_word"};

  BlkMovieObjectFile() : FileBlock("MovieObject file") { Link(); }

 protected:
  void Declare() override {
    Add(TypeIndicator, TypeIndicator2, ExtensionDataStartAddress, reserved, blkMovieObjects, padding_word);
  }
};

}  // namespace AVCHD::MovieObject
