#pragma once

#include <QByteArray>
#include <QIODevice>
#include <optional>
#include <vector>

// Reads the shell's text files (language list, settings, language files, skin)
// one byte at a time, as text: carriage returns are dropped wherever they
// stand, and a byte 26 ends the file.
class LineReader {
  public:
    static constexpr int kEndOfFile = -1;
    static constexpr int kMaxLineLength = 128;

    // A file is read no further than the size it has now: one that grows
    // while it is read (or a device posing as a file) still comes to an end.
    explicit LineReader(QIODevice& device)
        : device_(device), left_(device.isSequential() ? -1 : device.size() - device.pos()) {}

    // The next line, at most 128 characters (the rest of a longer line is
    // consumed), up to its first zero byte. Nothing when the line is empty or
    // the file has ended: the caller's fallback stands for it then.
    std::optional<QByteArray> ReadLine();
    QByteArray ReadLine(const QByteArray& fallback) { return ReadLine().value_or(fallback); }

    // The language list's loop: every non-empty line that ends in a line
    // feed, in order. A line of more than 128 characters ends the list; a last
    // line without a line feed is dropped.
    std::vector<QByteArray> ReadListEntries();

    // The last value returned by the stream: a byte 0 to 255, or kEndOfFile.
    int lastChar() const { return lastChar_; }

  private:
    // Reads the next piece of the device into the buffer; false at its end.
    bool Refill();
    int GetChar();
    // Drops characters up to and including the next line feed, or to the end.
    void SkipRestOfLine();

    QIODevice& device_;
    qint64 left_;  // bytes still to read; -1 for a stream without a size
    QByteArray buffer_;
    qsizetype bufferPos_ = 0;
    bool ended_ = false;
    int lastChar_ = 0;
    char lineBuffer_[kMaxLineLength + 1] = {};
};
