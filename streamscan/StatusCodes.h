#pragma once

#include <string>

// Numeric status codes of the stream scanner. The scanner never throws; every
// operation answers with one of these, and the caller (the clip step) decides
// what a failure means for the recording.
namespace StreamScan {

// Low part of the file-layer (0x10000 + n) and picture-level (0x100000 + n) codes.
enum StatusValue : int {
  SUCCESS = 0,
  ERR_PARAM_NULL = 1,
  ERR_BAD_PARAM = 2,
  ERR_FILE_CANNOT_OPEN = 3,
  ERR_FILE_CANNOT_CLOSE = 4,
  ERR_FILE_CANNOT_READ = 5,
  ERR_FILE_CANNOT_WRITE = 6,
  ERR_BAD_STATE = 7,
  ERR_SPEC_VIOLATION = 8,
  ERR_NOT_SUPPORT = 9,
  ERR_OVERFLOW = 10,
  ERR_UNDERFLOW = 11,
  ERR_NOT_ENOUGH_DATA = 12,
  ERR_NOT_ENOUGH_BUF = 13,
  ERR_FATAL = 14,
  ERR_INVALID_PROCESS = 15,
};

namespace Status {

inline constexpr int Success = 0;

// File layer.
inline constexpr int FileLayer = 0x10000;
inline constexpr int MissingArgument = FileLayer + ERR_PARAM_NULL;
inline constexpr int FileCannotOpen = FileLayer + ERR_FILE_CANNOT_OPEN;
inline constexpr int FileCannotClose = FileLayer + ERR_FILE_CANNOT_CLOSE;
inline constexpr int FileCannotRead = FileLayer + ERR_FILE_CANNOT_READ;
inline constexpr int NoFileOpen = FileLayer + ERR_BAD_STATE;

// Outcomes of one packet or one access unit that are not failures.
inline constexpr int PacketOfNoInterest = 0x1010;
inline constexpr int UnitComplete = 0x1020;
inline constexpr int UnitContinues = 0x1040;
inline constexpr int VideoNotStarted = 0x1080;

// Packet decoding (0x2000 + n).
inline constexpr int PacketLayer = 0x2000;
inline constexpr int PacketMissingArgument = PacketLayer + 34;
inline constexpr int PacketSyntax = PacketLayer + 40;   // sync byte or PES syntax
inline constexpr int PacketTooLong = PacketLayer + 41;  // section or header beyond the packet

// H.264 analysis of the start of an access unit (0x4000 + n).
inline constexpr int NalLayer = 0x4000;
inline constexpr int NalSyntax = NalLayer + 24;  // forbidden bit, SEI type, malformed SEI
inline constexpr int NalTooManySei = NalLayer + 25;
inline constexpr int NalBadParameterSet = NalLayer + 26;  // SPS truncated or out of range
inline constexpr int NalNoMemory = NalLayer + 30;

// Collection of the start of one access unit; these share the H.264 layer's
// numbers 18 and 29 because the collected bytes belong to that analysis.
inline constexpr int PesChunkTooLarge = NalLayer + 18;
inline constexpr int PesBufferOverflow = NalLayer + 29;

// Picture level (0x100000 + n).
inline constexpr int PictureLayer = 0x100000;
inline constexpr int PictureMissingArgument = PictureLayer + ERR_PARAM_NULL;
inline constexpr int PictureUnsupported = PictureLayer + ERR_SPEC_VIOLATION;
inline constexpr int PictureUnknownType = PictureLayer + ERR_NOT_SUPPORT;
// The whole file scanned without one complete group of pictures: not a
// stream a clip can be made of (random bytes, a file of a few packets).
inline constexpr int PictureNone = PictureLayer + ERR_NOT_ENOUGH_DATA;

}  // namespace Status

// True for every code except success and the four progress outcomes.
bool isFailure(int status);

// One line naming the code, for logs and the scan report.
std::string describeStatus(int status);

}  // namespace StreamScan
