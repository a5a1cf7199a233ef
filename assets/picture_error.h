#pragma once

#include <QString>
#include <stdexcept>

// Raised when a picture cannot be read or decoded. The message is complete and
// shown to the user as it is.
class PictureError : public std::runtime_error {
  public:
    explicit PictureError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};
