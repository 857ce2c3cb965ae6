// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Errors of the program. Each carries the message that the user sees, in the
// program's own wording; commands stop where they were when one is thrown.

#include <QString>

#include <stdexcept>

namespace tessaly {

class Error : public std::runtime_error {
 public:
  explicit Error(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& message() const noexcept { return message_; }

 private:
  QString message_;
};

// A text that should be a date or an integer and is not.
class ConvertError : public Error {
 public:
  using Error::Error;
};

// The reference store could not be opened or queried.
class StoreError : public Error {
 public:
  using Error::Error;
};

// The reference store's file is not where the installation put it.
class StoreMissingError : public StoreError {
 public:
  using StoreError::StoreError;
};

// A file could not be written.
class FileError : public Error {
 public:
  using Error::Error;
};

}  // namespace tessaly
