#include "streamscan/StatusCodes.h"

#include <cstdio>

namespace StreamScan {

bool isFailure(int status) {
  switch (status) {
    case Status::Success:
    case Status::PacketOfNoInterest:
    case Status::UnitComplete:
    case Status::UnitContinues:
    case Status::VideoNotStarted:
      return false;
    default:
      return true;
  }
}

namespace {

const char* meaningOf(int status) {
  switch (status) {
    case Status::Success:
      return "success";
    case Status::MissingArgument:
      return "missing argument";
    case Status::FileCannotOpen:
      return "the file cannot be opened";
    case Status::FileCannotClose:
      return "the file cannot be closed";
    case Status::FileCannotRead:
      return "read error, empty file, or end of file before a program map";
    case Status::NoFileOpen:
      return "no file open";
    case Status::PacketOfNoInterest:
      return "packet of no interest";
    case Status::UnitComplete:
      return "access unit analysis complete";
    case Status::UnitContinues:
      return "access unit continues";
    case Status::VideoNotStarted:
      return "video not yet started";
    case Status::PacketMissingArgument:
      return "packet: missing argument";
    case Status::PacketSyntax:
      return "packet: sync byte is not 0x47 or PES syntax error";
    case Status::PacketTooLong:
      return "packet: section or header longer than the packet";
    case Status::PesChunkTooLarge:
      return "PES payload chunk larger than the unit buffer";
    case Status::PesBufferOverflow:
      return "access unit start does not fit the unit buffer";
    case Status::NalSyntax:
      return "H.264: forbidden bit set or malformed SEI";
    case Status::NalTooManySei:
      return "H.264: more than 21 SEI messages";
    case Status::NalBadParameterSet:
      return "H.264: sequence parameter set truncated or out of range";
    case Status::NalNoMemory:
      return "H.264: no memory";
    case Status::PictureMissingArgument:
      return "picture: missing argument";
    case Status::PictureUnsupported:
      return "picture: unsupported stream, frame rate or picture width";
    case Status::PictureUnknownType:
      return "picture: unknown primary_pic_type";
    case Status::PictureNone:
      return "no complete group of pictures";
    default:
      return "unknown status";
  }
}

}  // namespace

std::string describeStatus(int status) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%X", static_cast<unsigned>(status));
  return std::string(code) + " (" + meaningOf(status) + ")";
}

}  // namespace StreamScan
