#include "document/menu_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <algorithm>
#include <cstring>
#include <random>

#include "support/bytes.h"

namespace {

QByteArray RandomBytes(std::size_t length, std::mt19937& random) {
    QByteArray bytes(static_cast<qsizetype>(length), '\0');
    for (auto& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

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

TEST(MenuFile, EveryBitPatternSurvivesReadingAndWriting) {
    std::mt19937 random(2026);
    for (const std::size_t records : {1u, 2u, 49u, 50u, 51u, 100u, 101u, 1000u}) {
        const QByteArray original = RandomBytes(records * 36, random);
        const MenuReadResult read = DecodeMenuItems(original);
        ASSERT_EQ(read.error, MenuReadError::None);
        ASSERT_EQ(read.items.size(), records);
        EXPECT_EQ(EncodeMenuItems(read.items), original) << records << " records";
    }
}

TEST(MenuFile, SpecialFloatsAndNulTypesAreKeptExactly) {
    QByteArray file;
    AppendU32(file, 0xFFFFFFFF);  // id -1
    file.append(
        "\x00\x00"
        "ab",
        4);                       // shows as "ba"... stored bytes 00 00 61 62
    AppendU32(file, 0x7FA00001);  // signalling NaN with payload
    AppendU32(file, 0x80000000);  // -0.0
    AppendU32(file, 0x00000001);  // smallest denormal
    AppendU32(file, 0xFFC12345);  // quiet negative NaN with payload
    AppendU32(file, 0x80000000);
    AppendU32(file, 0xDEADBEEF);
    AppendU32(file, 0x00C0FFEE);
    const MenuReadResult read = DecodeMenuItems(file);
    ASSERT_EQ(read.items.size(), 1u);
    EXPECT_EQ(read.items[0].id, -1);
    EXPECT_EQ(read.items[0].textId, std::int32_t(0x80000000));
    EXPECT_EQ(read.items[0].font, 0xDEADBEEFu);
    EXPECT_EQ(BitsOf(read.items[0].posX), 0x7FA00001u);
    EXPECT_EQ(EncodeMenuItems(read.items), file);
}

TEST(MenuFile, LengthsThatAreNotWholeRecords) {
    // 0 bytes: refused, as a file without records.
    const MenuReadResult empty = DecodeMenuItems(QByteArray());
    EXPECT_EQ(empty.error, MenuReadError::NoRecords);
    EXPECT_TRUE(empty.items.empty());

    // 36 bytes: one record.
    QByteArray one(36, '\x11');
    EXPECT_EQ(DecodeMenuItems(one).items.size(), 1u);

    // 37 bytes: the 37th byte is the low byte of a second record's id.
    QByteArray thirtySeven = one;
    thirtySeven.append('\x2A');
    const MenuReadResult two = DecodeMenuItems(thirtySeven);
    ASSERT_EQ(two.error, MenuReadError::None);
    ASSERT_EQ(two.items.size(), 2u);
    EXPECT_EQ(two.items[1].id, 0x2A);
    EXPECT_STREQ(two.items[1].type, "");
    EXPECT_EQ(two.items[1].font, 0u);
    EXPECT_EQ(BitsOf(two.items[1].scaleY), 0u);

    // A field cut part-way keeps its low bytes from the file.
    QByteArray cut(36 + 10, '\0');
    cut[36 + 8] = '\x34';
    cut[36 + 9] = '\x12';
    const MenuReadResult partial = DecodeMenuItems(cut);
    ASSERT_EQ(partial.items.size(), 2u);
    EXPECT_EQ(BitsOf(partial.items[1].posX), 0x1234u);

    // Written back as whole records, the missing bytes zero.
    const QByteArray written = EncodeMenuItems(two.items);
    ASSERT_EQ(written.size(), 72);
    EXPECT_EQ(written.left(37), thirtySeven);
    EXPECT_EQ(written.mid(37), QByteArray(35, '\0'));
}

TEST(MenuFile, ReadsFromADeviceAndReportsWriteFailures) {
    // Many reads' worth of records and a part of one more.
    std::mt19937 random(5);
    const QByteArray bytes = RandomBytes(36 * 20'000 + 17, random);
    for (const bool sequential : {false, true}) {
        TricklingDevice in(bytes, sequential);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        const MenuReadResult read = ReadMenuItems(in);
        ASSERT_EQ(read.error, MenuReadError::None);
        ASSERT_EQ(read.items.size(), 20'001u);
        EXPECT_EQ(EncodeMenuItems(read.items), EncodeMenuItems(DecodeMenuItems(bytes).items));
    }
    TricklingDevice empty({}, false);
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadMenuItems(empty).error, MenuReadError::NoRecords);

    const std::vector<MenuItemRecord> items = DecodeMenuItems(QByteArray(36 * 3, '\x07')).items;
    QByteArray target;
    QBuffer out(&target);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    EXPECT_TRUE(WriteMenuItems(out, items));
    EXPECT_EQ(target, QByteArray(36 * 3, '\x07'));

    QBuffer closed;  // not open: every write fails
    EXPECT_FALSE(WriteMenuItems(closed, items));
}
