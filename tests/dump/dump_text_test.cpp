#include "dump/dump_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "document/menu_file.h"
#include "support/records.h"

namespace {

using dump::Format;

QByteArray RoundTrip(const QByteArray& file, Format format, const TextDb* textDb = nullptr) {
    const MenuReadResult read = DecodeMenuItems(file);
    const QByteArray text = dump::WriteDump(read.items, file.size(), format, textDb);
    const dump::ReadResult back = dump::ReadDump(text, format);
    EXPECT_TRUE(back.problems.empty()) << back.problems.front().Describe().toStdString();
    return EncodeMenuItems(back.records);
}

// Bytes that mean something to CSV, JSON or the type's shown form come often.
QByteArray RandomFile(std::mt19937& random) {
    static const char kTricky[] = {',', '"', '\n', '\r', ' ', '\\', '\x7F', '\x81', '\xFF', '{'};
    QByteArray bytes(1 + random() % (7 * kMenuItemRecordSize), '\0');
    for (char& c : bytes) {
        const auto kind = random() % 10;
        c = kind < 5 ? static_cast<char>(random()) : kind < 7 ? '\0' : kTricky[random() % 10];
    }
    return bytes;
}

class DumpFormats : public ::testing::TestWithParam<Format> {};

TEST_P(DumpFormats, RandomFilesComeBackByteForByte) {
    std::mt19937 random(1947);
    for (int trial = 0; trial < 400; ++trial) {
        const QByteArray file = RandomFile(random);
        // Written back with a short last record made whole with zeros.
        const QByteArray padded = file + QByteArray((36 - file.size() % 36) % 36, '\0');
        ASSERT_EQ(RoundTrip(file, GetParam()), padded) << "trial " << trial;
    }
}

TEST_P(DumpFormats, TextsOfTheDatabaseDoNotDisturbTheRecords) {
    const TextDb textDb = TextDbOf({{1, "comma, \"quote\"\nand line"}, {2, "\x81\xE9t\xE9"}});
    // The third record's text is not in the database.
    const std::vector<MenuItemRecord> records = {Rec("stxt", 1, 2, 3, 4, 0, 1),
                                                 Rec("ctxt", 0, 0, 0, 0, 0, 2),
                                                 Rec("rtxt", 5, 5, 5, 5, 0, 3)};
    const QByteArray file = EncodeMenuItems(records);
    EXPECT_EQ(RoundTrip(file, GetParam(), &textDb), file);
    const QString text =
        QString::fromUtf8(dump::WriteDump(records, file.size(), GetParam(), &textDb));
    EXPECT_TRUE(text.contains(QStringLiteral("\u0081\u00e9t\u00e9")));
    EXPECT_EQ(text.count(QLatin1Char('\n')), GetParam() == Format::Csv ? 4 : 11);  // one line each
    // A last record the file holds in part says how many of its bytes it holds.
    const QByteArray cut = dump::WriteDump(records, file.size() - 13, GetParam(), &textDb);
    EXPECT_TRUE(GetParam() == Format::Csv ? cut.endsWith(",23\n")
                                          : cut.contains("\"shortLastRecord\": true") &&
                                                cut.contains("\"storedBytes\": 23}"))
        << cut.toStdString();
}

INSTANTIATE_TEST_SUITE_P(CsvAndJson, DumpFormats, ::testing::Values(Format::Csv, Format::Json),
                         [](const auto& info) {
                             return info.param == Format::Csv ? std::string("Csv")
                                                              : std::string("Json");
                         });

// The dump of three records: a window, a button, and a text whose type holds
// a NUL and whose numbers are -0 and a denormal.
QString DumpOfThree(Format format) {
    std::vector<MenuItemRecord> records = {Rec("wint", 10, 20, 300, 200, 1, 7),
                                           Rec("butt", 30, 40, 50, 60, 2, 8),
                                           Rec("stxt", 1.5f, -0.0f, 1e-40f, 3, 3, 9)};
    std::memcpy(records[2].type, "a\0bc", 4);
    return QString::fromUtf8(dump::WriteDump(records, 3 * 36, format, nullptr));
}

// That dump with `from` replaced by `to` (which must be found), read back:
// the records dumped again as CSV, or the problems, one a line.
std::string EditedAndReadBack(Format format, const char* from, const char* to) {
    QString text = DumpOfThree(format);
    EXPECT_TRUE(text.contains(QString::fromUtf8(from))) << from << "\n" << text.toStdString();
    text.replace(QString::fromUtf8(from), QString::fromUtf8(to));
    const dump::ReadResult read = dump::ReadDump(text.toUtf8(), format);
    if (read.problems.empty())
        return dump::WriteDump(read.records, 3 * 36, Format::Csv, nullptr).toStdString();
    std::string problems;
    for (const dump::Problem& problem : read.problems)
        problems += problem.Describe().toStdString() + "\n";
    return problems;
}

TEST(HandEdit, AnEditedTextWinsOverTheExactFormItNoLongerMatchesAndFaultsAreNamed) {
    const struct {
        Format format;
        const char* from;
        const char* to;
        const char* result;
    } cases[] = {
        {Format::Csv, ",30,0x41F00000,", ",12.5,0x41F00000,", "\n1,2,butt,,12.5,0x41480000,"},
        {Format::Json, "\"posY\": \"40\"", "\"posY\": \"-7.25\"", "0x41F00000,-7.25,0xC0E80000,"},
        // Spelled differently but equal.
        {Format::Json, "\"posY\": \"20\"", "\"posY\": \"2.0E1\"", "\n0,1,wint,,10,0x41200000,20,"},
        // Bits edited but the display text left: the display text stands.
        {Format::Csv, ",30,0x41F00000,", ",30,0x40000000,", "\n1,2,butt,,30,0x41F00000,"},
        // Display text cleared: the bits decide, NaN payload and all.
        {Format::Csv, ",30,0x41F00000,", ",,0x7FC00123,", "\n1,2,butt,,NAN,0x7FC00123,"},
        // The NUL-holding type dumps as "cb" with its bytes; an edited text wins.
        {Format::Csv, ",cb,61006263,", ",butt,61006263,", "\n2,3,butt,,1.5,"},
        // Faults are refused with their line, field and reason.
        {Format::Csv, ",30,0x41F00000,", ",1.2.3,0x41F00000,",
         "line 3, field posX: '1.2.3' is not a valid floating point value"},
        {Format::Json, "\"font\": \"0x00000001\", \"color\": \"0x00FFFFFF\"}\n",
         "\"font\": \"0xZZ\", \"color\": \"0x00FFFFFF\"}\n",
         "line 9, field font: '0xZZ' is not a valid integer value"},
        {Format::Csv, ",30,0x41F00000,", ",30,0x4.0,",
         "line 3, field posXBits: '0x4.0' is not a valid integer value"},
        {Format::Csv, "posY,", "posy,", "line 1, field posy: is not a column"},
        {Format::Csv, ",wint,", ",wintt,",
         "line 2, field type: 'wintt' is longer than four characters"},
        {Format::Csv, ",wint,", ",w\u4e00nt,",
         "line 2, field type: 'w\u4e00nt' holds a character outside the Windows-1252 code page"},
    };
    for (const auto& c : cases) {
        const std::string result = EditedAndReadBack(c.format, c.from, c.to);
        EXPECT_NE(result.find(c.result), std::string::npos) << c.to << "\n" << result;
    }
}

TEST(HandEdit, BitsColumnsMayBeDeleted) {
    QStringList lines = DumpOfThree(Format::Csv).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines) {  // drops posXBits, the sixth column
        QStringList cells = line.split(QLatin1Char(','));
        cells.removeAt(5);
        line = cells.join(QLatin1Char(','));
    }
    lines[2].replace(QStringLiteral(",30,"), QStringLiteral(",31,"));
    const dump::ReadResult read =
        dump::ReadDump(lines.join(QLatin1Char('\n')).toUtf8(), Format::Csv);
    ASSERT_TRUE(read.problems.empty());
    EXPECT_EQ(read.records.at(1).posX, 31.0f);
    EXPECT_EQ(read.records.at(2).posX, 1.5f);
}

}  // namespace
