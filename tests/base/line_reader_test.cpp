#include "base/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/line_file.h"

namespace {

// A file whose reads never end, as a device posing as one, or a file another
// program keeps writing to.
class EndlessFile : public QIODevice {
  public:
    explicit EndlessFile(qint64 claimed) : claimed_(claimed) { open(QIODevice::ReadOnly); }
    qint64 size() const override { return claimed_; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        std::fill_n(data, maxSize, 'e');
        return maxSize;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    qint64 claimed_;
};

}  // namespace

TEST(ReadLine, DropsCarriageReturnsEndsATextAtAZeroAndTheFileAtCode26) {
    // Empty lines and lines past the end give the fallback.
    LineFile r(
        QByteArray("abc\r\n\r\nx\ry\n\0abc\nx\0y\nab\x1A"
                   "cd\n",
                   26));
    for (const char* line : {"abc", "F", "xy", "", "x", "ab", "F", "F"})
        EXPECT_EQ(r.reader.ReadLine("F"), line);
    EXPECT_EQ(r.reader.lastChar(), LineReader::kEndOfFile);
}

TEST(ReadLine, KeepsTheFirst128CharactersOfALineOfAnyLength) {
    // The rest of a line of megabytes is consumed across many buffers.
    LineFile r(QByteArray(128, 'a') + "\n" + QByteArray(8 << 20, 'b') + "\nnext");
    EXPECT_EQ(r.reader.ReadLine("F"), QByteArray(128, 'a'));
    EXPECT_EQ(r.reader.ReadLine("F"), QByteArray(128, 'b'));
    EXPECT_EQ(r.reader.ReadLine("F"), "next");  // last line without a line feed
    EXPECT_EQ(r.reader.ReadLine("F"), "F");
}

TEST(ReadLine, AFileIsReadNoFurtherThanTheSizeItHadAtTheStart) {
    EndlessFile endless(1 << 20);
    LineReader reader(endless);
    EXPECT_EQ(reader.ReadLine("F"), QByteArray(128, 'e'));
    EXPECT_EQ(reader.ReadLine("F"), "F");
    EndlessFile list(1 << 20);
    EXPECT_TRUE(LineReader(list).ReadListEntries().empty());
}

// Empty lines skipped and an unterminated last line left out are checked by
// the fuzz target's replay (fuzz/corpus/line_reader/list.txt).
TEST(LanguageList, EndsAtAnOverlongLine) {
    LineFile longLines("a\n" + QByteArray(128, 'b') + "\n" + QByteArray(129, 'c') + "\nd\n");
    EXPECT_EQ(longLines.reader.ReadListEntries(),
              (std::vector<QByteArray>{"a", QByteArray(128, 'b')}));
}
