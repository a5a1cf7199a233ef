#pragma once

#include <QString>
#include <stdexcept>

// Raised when a text does not convert to a number. The message is complete and
// shown to the user as it is.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};
