#include "aaalib/AAA_Exceptions.h"

#include <cerrno>

#include "aaalib/AAA_StringTable.h"

namespace AAA {

ExceptionBase::ExceptionBase(int messageId) : messageId_(messageId), message_(StringTable::Text(messageId)) {}

void ThrowFromErrorNumber(int errorNumber) {
  switch (errorNumber) {
    case ENOENT:
      throw FileNotFoundException();
    case ENOMEM:
      throw InsufficientMemoryException();
    case EINVAL:
      throw ArgumentException();
    case ENOSPC:
      throw IOException(MessageId::DiskFull);
    case EROFS:  // a medium that became read-only (its lock switch, or errors) since it was checked
      throw WriteProtectException();
    default:
      throw IOException();
  }
}

}  // namespace AAA
