#pragma once

#include <string>

// The exception family. Every exception carries the user message of its
// string-table id, loaded in the user-interface language when it is made, so
// that whoever catches it can show it as it stands.

namespace AAA {

class ExceptionBase {
 public:
  const std::string& Message() const { return message_; }
  // The string-table id of the message.
  int Id() const { return messageId_; }

 protected:
  explicit ExceptionBase(int messageId);

 private:
  int messageId_;
  std::string message_;
};

// Message ids of the string table.
namespace MessageId {
constexpr int Unexpected = 100;
constexpr int Argument = 101;
constexpr int Cancelled = 102;
constexpr int DirectoryNotFound = 103;
constexpr int FileNotFound = 104;
constexpr int InsufficientMemory = 105;
constexpr int InputOutput = 106;
constexpr int PathTooLong = 107;
constexpr int WriteProtect = 108;
constexpr int InvalidData = 109;
constexpr int UnexpectedEof = 110;
constexpr int DiskFull = 111;
constexpr int InvalidStream = 112;
constexpr int MakerModel = 113;
constexpr int Not3dPair = 114;
}  // namespace MessageId

#define AAA_DECLARE_EXCEPTION(Name, Base, Id) \
  class Name : public Base {                  \
   public:                                    \
    Name() : Base(Id) {}                      \
                                              \
   protected:                                 \
    using Base::Base;                         \
  }

AAA_DECLARE_EXCEPTION(ArgumentException, ExceptionBase, MessageId::Argument);
AAA_DECLARE_EXCEPTION(CancellationException, ExceptionBase, MessageId::Cancelled);
AAA_DECLARE_EXCEPTION(FileNotFoundException, ExceptionBase, MessageId::FileNotFound);
AAA_DECLARE_EXCEPTION(InsufficientMemoryException, ExceptionBase, MessageId::InsufficientMemory);
AAA_DECLARE_EXCEPTION(PathTooLongException, ExceptionBase, MessageId::PathTooLong);
AAA_DECLARE_EXCEPTION(WriteProtectException, ExceptionBase, MessageId::WriteProtect);
AAA_DECLARE_EXCEPTION(InvalidStreamException, ExceptionBase, MessageId::InvalidStream);

// Any read or write failure (106), or a full card or disk (111).
class IOException : public ExceptionBase {
 public:
  explicit IOException(int messageId = MessageId::InputOutput) : ExceptionBase(messageId) {}
};

// Base of the verification failures: the steps catch it where a broken file
// is rebuilt rather than reported. Never thrown itself.
class VerifyExceptionBase : public ExceptionBase {
 protected:
  using ExceptionBase::ExceptionBase;
};

AAA_DECLARE_EXCEPTION(InvalidDataException, VerifyExceptionBase, MessageId::InvalidData);
AAA_DECLARE_EXCEPTION(UnexpectedEofException, VerifyExceptionBase, MessageId::UnexpectedEof);
AAA_DECLARE_EXCEPTION(MakerModelException, VerifyExceptionBase, MessageId::MakerModel);
AAA_DECLARE_EXCEPTION(Not3dPairException, VerifyExceptionBase, MessageId::Not3dPair);

#undef AAA_DECLARE_EXCEPTION

// Throws the exception that the C library's error number stands for; writes
// no log line (the caller's failure is not a rule of ours).
[[noreturn]] void ThrowFromErrorNumber(int errorNumber);

}  // namespace AAA
