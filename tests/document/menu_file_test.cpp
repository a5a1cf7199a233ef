#include "document/menu_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <algorithm>
#include <cstring>
#include <random>

#include "support/bytes.h"

namespace {

// A device that gives at most 10,007 bytes a read, so that records straddle
// reads; a sequential one cannot tell its size beforehand.
class TricklingDevice : public QIODevice {
  public:
    TricklingDevice(QByteArray bytes, bool sequential)
        : bytes_(std::move(bytes)), sequential_(sequential) {}
    bool isSequential() const override { return sequential_; }
    qint64 size() const override { return sequential_ ? 0 : bytes_.size(); }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 n = std::min({maxSize, bytes_.size() - at_, qint64{10'007}});
        std::memcpy(data, bytes_.constData() + at_, static_cast<std::size_t>(n));
        at_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray bytes_;
    bool sequential_;
    qint64 at_ = 0;
};

}  // namespace

TEST(MenuFile, EachFieldHasItsPlaceInTheRecord) {
    const MenuItemRecord item{-1,        {0, 0, 'a', 'b', 0}, FloatFromBits(0x7FA00001),
                              -0.0f,     FloatFromBits(1),    FloatFromBits(0xFFC12345),
                              INT32_MIN, 0xDEADBEEF,          0x00C0FFEE};
    QByteArray file;
    for (const std::uint32_t word : {0xFFFFFFFFu, 0x62610000u, 0x7FA00001u, 0x80000000u, 1u,
                                     0xFFC12345u, 0x80000000u, 0xDEADBEEFu, 0x00C0FFEEu}) {
        AppendU32(file, word);
    }
    EXPECT_EQ(EncodeMenuItems({item}), file);
}

// Decoding, encoding and writing to a device are checked against each other
// by the fuzz target's replay on its seeds; here reads that straddle records.
TEST(MenuFile, EveryBitPatternSurvivesReadingAndWriting) {
    // Many reads' worth of random records and a part of one more: the part is
    // a record of its own, holding the file's bytes of each field cut short,
    // and written back whole with zeros.
    QByteArray bytes(36 * 20'000 + 17, '\0');
    std::mt19937 random(5);
    for (char& byte : bytes) byte = static_cast<char>(random());
    const QByteArray padded = bytes + QByteArray(19, '\0');
    for (const bool sequential : {false, true}) {
        TricklingDevice in(bytes, sequential);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        const MenuReadResult read = ReadMenuItems(in);
        ASSERT_EQ(read.error, MenuReadError::None);
        EXPECT_EQ(EncodeMenuItems(read.items), padded);
        EXPECT_EQ(read.shortRecordBytes, 17);
    }
    const MenuReadResult none = DecodeMenuItems(QByteArray());
    EXPECT_EQ(none.error, MenuReadError::NoRecords);
    EXPECT_TRUE(none.items.empty());
    TricklingDevice empty({}, false);
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadMenuItems(empty).error, MenuReadError::NoRecords);
    QBuffer closed;  // not open: every write fails
    EXPECT_FALSE(WriteMenuItems(closed, DecodeMenuItems(bytes).items));
}
