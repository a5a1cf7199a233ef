#include "base/line_reader.h"

#include <cstring>

namespace {
constexpr int kLineFeed = 10;
constexpr int kCarriageReturn = 13;
constexpr int kEndOfFileMark = 26;
constexpr qint64 kChunk = 64 * 1024;
}  // namespace

bool LineReader::Refill() {
    // A file says how much it has left, so a settings file of a few bytes
    // takes a few bytes of buffer; the buffer is reused from read to read.
    qint64 wanted = kChunk;
    if (left_ >= 0) wanted = qMin(left_, kChunk);
    if (wanted <= 0) return false;
    buffer_.resize(wanted);
    const qint64 got = device_.read(buffer_.data(), wanted);
    buffer_.resize(qMax<qint64>(got, 0));
    bufferPos_ = 0;
    if (left_ >= 0 && got > 0) left_ -= got;
    return got > 0;
}

int LineReader::GetChar() {
    for (;;) {
        if (ended_) return lastChar_ = kEndOfFile;
        if (bufferPos_ >= buffer_.size() && !Refill()) {
            ended_ = true;
            continue;
        }
        const int c = static_cast<unsigned char>(buffer_[bufferPos_++]);
        if (c == kCarriageReturn) continue;
        if (c == kEndOfFileMark) {
            ended_ = true;
            continue;
        }
        return lastChar_ = c;
    }
}

void LineReader::SkipRestOfLine() {
    // Scan whole buffers at a time: a line may be gigabytes long.
    while (!ended_) {
        if (bufferPos_ >= buffer_.size() && !Refill()) {
            ended_ = true;
            lastChar_ = kEndOfFile;
            return;
        }
        const char* data = buffer_.constData();
        for (qsizetype i = bufferPos_; i < buffer_.size(); ++i) {
            const int c = static_cast<unsigned char>(data[i]);
            if (c == kLineFeed) {
                bufferPos_ = i + 1;
                lastChar_ = c;
                return;
            }
            if (c == kEndOfFileMark) {
                bufferPos_ = i + 1;
                ended_ = true;
                lastChar_ = kEndOfFile;
                return;
            }
            if (c != kCarriageReturn) lastChar_ = c;
        }
        bufferPos_ = buffer_.size();
    }
}

std::optional<QByteArray> LineReader::ReadLine() {
    int n = 0;
    for (;;) {
        const int c = GetChar();
        if (c == kEndOfFile || c == kLineFeed) break;
        if (n < kMaxLineLength) {
            lineBuffer_[n++] = static_cast<char>(c);
        } else {
            SkipRestOfLine();
            break;
        }
    }
    lineBuffer_[n] = '\0';
    if (n == 0) return std::nullopt;
    return QByteArray(lineBuffer_, static_cast<qsizetype>(std::strlen(lineBuffer_)));
}

std::vector<QByteArray> LineReader::ReadListEntries() {
    std::vector<QByteArray> entries;
    int n = 0;
    for (;;) {
        const int c = GetChar();
        if (c == kEndOfFile) return entries;
        if (c == kLineFeed) {
            if (n > 0) {
                lineBuffer_[n] = '\0';
                entries.emplace_back(lineBuffer_, static_cast<qsizetype>(std::strlen(lineBuffer_)));
                n = 0;
            }
            continue;
        }
        if (n < kMaxLineLength) {
            lineBuffer_[n++] = static_cast<char>(c);
        } else {
            SkipRestOfLine();
            return entries;
        }
    }
}
