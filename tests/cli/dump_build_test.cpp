#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstring>
#include <random>

#include "cli/dump_text.h"
#include "cli_test_support.h"
#include "document/text_db.h"

using namespace cli_test;

namespace {

using dump::Format;

// The file as build writes it back: a short last record made whole with zeros.
QByteArray Padded(QByteArray bytes) {
    const qsizetype rest = bytes.size() % kMenuItemRecordSize;
    if (rest != 0) bytes.append(QByteArray(kMenuItemRecordSize - rest, '\0'));
    return bytes;
}

QByteArray RoundTrip(const QByteArray& file, Format format, const TextDb* textDb = nullptr) {
    const MenuReadResult read = DecodeMenuItems(file);
    const QByteArray text = dump::WriteDump(read.items, file.size(), format, textDb);
    const dump::ReadResult back = dump::ReadDump(text, format);
    EXPECT_TRUE(back.problems.empty()) << back.problems.front().Describe().toStdString();
    return EncodeMenuItems(back.records);
}

std::uint32_t Bits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

// Bytes that mean something to CSV, JSON or the type's shown form come often.
QByteArray RandomFile(std::mt19937& random) {
    static const char kTricky[] = {',', '"', '\n', '\r', ' ', '\\', '\x7F', '\x81', '\xFF', '{'};
    std::uniform_int_distribution<int> length(1, 7 * kMenuItemRecordSize);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> kind(0, 9);
    QByteArray bytes(length(random), '\0');
    for (char& c : bytes) {
        const int k = kind(random);
        c = k < 5 ? static_cast<char>(byte(random)) : k < 7 ? '\0' : kTricky[byte(random) % 10];
    }
    return bytes;
}

class DumpFormats : public ::testing::TestWithParam<Format> {};

TEST_P(DumpFormats, RandomFilesComeBackByteForByte) {
    std::mt19937 random(1947);
    for (int trial = 0; trial < 400; ++trial) {
        const QByteArray file = RandomFile(random);
        ASSERT_EQ(RoundTrip(file, GetParam()), Padded(file)) << "trial " << trial;
    }
}

TEST_P(DumpFormats, EveryExponentAndTypeByteComesBack) {
    // Each float field takes every pattern of its upper 16 bits (sign, every
    // exponent, NaNs, infinities, denormals) with random lower bits, and each
    // type byte every value, NUL included.
    std::mt19937 random(7);
    std::vector<MenuItemRecord> records(1 << 16 >> 2);
    std::uint32_t high = 0;
    for (std::size_t r = 0; r < records.size(); ++r) {
        MenuItemRecord& record = records[r];
        float* fields[] = {&record.posX, &record.posY, &record.scaleX, &record.scaleY};
        for (float* field : fields) {
            const std::uint32_t bits = (high++ << 16) | (random() & 0xFFFF);
            std::memcpy(field, &bits, 4);
        }
        for (int i = 0; i < 4; ++i) record.type[i] = static_cast<char>((r * 4 + i * 67) & 0xFF);
        record.id = static_cast<std::int32_t>(random());
        record.textId = static_cast<std::int32_t>(random());
        record.font = random();
        record.color = random();
    }
    const QByteArray file = EncodeMenuItems(records);
    EXPECT_EQ(RoundTrip(file, GetParam()), file);
}

TEST_P(DumpFormats, TextsOfTheDatabaseDoNotDisturbTheRecords) {
    QBuffer dbFile;
    dbFile.setData(TextDbBytes({{1, "comma, \"quote\"\nand line"}, {2, "\x81\xE9t\xE9"}}));
    dbFile.open(QIODevice::ReadOnly);
    TextDb textDb;
    ASSERT_EQ(textDb.Read(dbFile), TextDb::ReadError::None);
    const QByteArray file =
        EncodeMenuItems({Rec("stxt", 1, 2, 3, 4, 0, 1), Rec("ctxt", 0, 0, 0, 0, 0, 2),
                         Rec("rtxt", 5, 5, 5, 5, 0, 3)});
    EXPECT_EQ(RoundTrip(file, GetParam(), &textDb), file);
    const QString text = QString::fromUtf8(
        dump::WriteDump(DecodeMenuItems(file).items, file.size(), GetParam(), &textDb));
    EXPECT_TRUE(text.contains(QStringLiteral("\u0081\u00e9t\u00e9")));
    EXPECT_EQ(text.count(QLatin1Char('\n')), GetParam() == Format::Csv ? 4 : 11);  // one line each
}

INSTANTIATE_TEST_SUITE_P(CsvAndJson, DumpFormats, ::testing::Values(Format::Csv, Format::Json),
                         [](const auto& info) {
                             return info.param == Format::Csv ? std::string("Csv")
                                                              : std::string("Json");
                         });

// --- The commands on files --------------------------------------------------------

TEST(DumpBuildCommands, FilesRoundTripInBothFormatsAndMarkTheShortRecord) {
    Folder folder;
    QByteArray bytes = ReadBytes(SamplePath("kavel.def"));
    ASSERT_FALSE(bytes.isEmpty());
    bytes.chop(13);
    const QString menu = folder.Write("kavel.def", bytes);
    const std::pair<const char*, QByteArray> dumps[] = {{"dump.csv", ",0x00000000,23\n"},
                                                        {"dump.json", "\"storedBytes\": 23}"}};
    for (const auto& [name, shortMark] : dumps) {
        const Outcome dumped = RunKaveldef(
            {"dump", menu, "--textdb", SamplePath("textdb_en.def"), "-o", folder.Path(name)});
        ASSERT_EQ(dumped.status, 0) << dumped.err.toStdString();
        const QByteArray text = ReadBytes(folder.Path(name));
        EXPECT_TRUE(text.contains("Main Menu")) << name;
        EXPECT_TRUE(text.contains(shortMark)) << name;

        const Outcome built =
            RunKaveldef({"build", folder.Path(name), "-o", folder.Path("out.def")});
        ASSERT_EQ(built.status, 0) << built.err.toStdString();
        EXPECT_EQ(ReadBytes(folder.Path("out.def")), Padded(bytes)) << name;
    }
    EXPECT_TRUE(ReadBytes(folder.Path("dump.json")).contains("\"shortLastRecord\": true"));

    // The standard output and input carry the same text.
    const Outcome toOutput = RunKaveldef({"dump", menu, "--format", "json"});
    ASSERT_EQ(toOutput.status, 0);
    const Outcome fromInput =
        RunKaveldef({"build", "-", "-o", folder.Path("piped.def")}, toOutput.out.toUtf8());
    ASSERT_EQ(fromInput.status, 0) << fromInput.err.toStdString();
    EXPECT_EQ(ReadBytes(folder.Path("piped.def")), Padded(bytes));
    // A place that cannot be written ends with status 2.
    EXPECT_EQ(RunKaveldef({"build", folder.Path("dump.csv"), "-o", folder.Path("")}).status, 2);
}

// --- Hand edits ------------------------------------------------------------------

class HandEdit : public ::testing::Test {
  protected:
    void SetUp() override {
        records_ = {Rec("wint", 10, 20, 300, 200, 1, 7), Rec("butt", 30, 40, 50, 60, 2, 8),
                    Rec("stxt", 1.5f, -0.0f, 1e-40f, 3, 3, 9)};
        std::memcpy(records_[2].type, "a\0bc", 4);  // a NUL cuts the shown form short
        menu_ = folder_.WriteMenu("kavel.def", records_);
    }

    // The dump of the menu, with `from` replaced by `to` (which must be found).
    QString Edited(Format format, const QString& from, const QString& to) {
        const Outcome dumped =
            RunKaveldef({"dump", menu_, "--format", format == Format::Csv ? "csv" : "json"});
        EXPECT_EQ(dumped.status, 0);
        QString text = dumped.out;
        EXPECT_TRUE(text.contains(from)) << from.toStdString() << "\n" << text.toStdString();
        text.replace(from, to);
        return folder_.Write(format == Format::Csv ? "edited.csv" : "edited.json", text.toUtf8());
    }

    std::vector<MenuItemRecord> Build(const QString& dumpPath) {
        const Outcome built = RunKaveldef({"build", dumpPath, "-o", folder_.Path("out.def")});
        EXPECT_EQ(built.status, 0) << built.err.toStdString();
        return DecodeMenuItems(ReadBytes(folder_.Path("out.def"))).items;
    }

    Folder folder_;
    std::vector<MenuItemRecord> records_;
    QString menu_;
};

TEST_F(HandEdit, BadValuesAreRefusedWithLineFieldAndReasonAndNothingIsWritten) {
    const QString csv = Edited(Format::Csv, ",30,0x41F00000,", ",1.2.3,0x41F00000,");
    const QString old = folder_.Write("out.def", "the old file");
    const Outcome refused = RunKaveldef({"build", csv, "-o", old});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(
        QStringLiteral("line 3, field posX: '1.2.3' is not a valid floating point value")))
        << refused.err.toStdString();
    EXPECT_EQ(ReadBytes(old), "the old file");

    const QString json =
        Edited(Format::Json, "\"font\": \"0x00000001\", \"color\": \"0x00FFFFFF\"}\n",
               "\"font\": \"0xZZ\", \"color\": \"0x00FFFFFF\"}\n");
    const Outcome alsoRefused = RunKaveldef({"build", json, "-o", folder_.Path("new.def")});
    EXPECT_EQ(alsoRefused.status, 1);
    EXPECT_TRUE(alsoRefused.err.contains(
        QStringLiteral("line 9, field font: '0xZZ' is not a valid integer value")))
        << alsoRefused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder_.Path("new.def")));

    const Outcome unknown = RunKaveldef(
        {"build", Edited(Format::Csv, "posY,", "posy,"), "-o", folder_.Path("new.def")});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("line 1, field posy: is not a column")));
    EXPECT_FALSE(QFileInfo::exists(folder_.Path("new.def")));
}

TEST_F(HandEdit, AnEditedDisplayTextWinsOverTheBitsItNoLongerMatches) {
    // posX of the button edited, its bits left as they were.
    std::vector<MenuItemRecord> built =
        Build(Edited(Format::Csv, ",30,0x41F00000,", ",12.5,0x41F00000,"));
    ASSERT_EQ(built.size(), 3u);
    EXPECT_EQ(built[1].posX, 12.5f);
    // The same in JSON, and a display text spelled differently but equal.
    built = Build(Edited(Format::Json, "\"posY\": \"40\"", "\"posY\": \"-7.25\""));
    EXPECT_EQ(built[1].posY, -7.25f);
    built = Build(Edited(Format::Json, "\"posY\": \"20\"", "\"posY\": \"2.0E1\""));
    EXPECT_EQ(Bits(built[0].posY), Bits(20.0f));

    // Bits edited but the display text left: the display text stands.
    built = Build(Edited(Format::Csv, ",30,0x41F00000,", ",30,0x40000000,"));
    EXPECT_EQ(built[1].posX, 30.0f);
    // Display text cleared: the bits decide, NaN payload and all.
    built = Build(Edited(Format::Csv, ",30,0x41F00000,", ",,0x7FC00123,"));
    EXPECT_EQ(Bits(built[1].posX), 0x7FC00123u);
    // The unchanged -0 and denormal of the third record come back exactly.
    EXPECT_EQ(Bits(built[2].posY), Bits(-0.0f));
    EXPECT_EQ(Bits(built[2].scaleX), Bits(1e-40f));
}

TEST_F(HandEdit, BitsColumnsMayBeDeleted) {
    const Outcome dumped = RunKaveldef({"dump", menu_});
    QStringList lines = dumped.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines) {  // drops posXBits, the sixth column
        QStringList cells = line.split(QLatin1Char(','));
        cells.removeAt(5);
        line = cells.join(QLatin1Char(','));
    }
    lines[2].replace(QStringLiteral(",30,"), QStringLiteral(",31,"));
    const std::vector<MenuItemRecord> built =
        Build(folder_.Write("nobits.csv", lines.join(QLatin1Char('\n')).toUtf8()));
    ASSERT_EQ(built.size(), 3u);
    EXPECT_EQ(built[0].posX, 10.0f);
    EXPECT_EQ(built[1].posX, 31.0f);
    EXPECT_EQ(built[2].posX, 1.5f);
}

TEST_F(HandEdit, TypeTextAndTypeBytesFollowTheSameRule) {
    // The NUL-holding type dumps as "cb" with its bytes; an edited text wins.
    std::vector<MenuItemRecord> built =
        Build(Edited(Format::Csv, ",cb,61006263,", ",butt,61006263,"));
    EXPECT_EQ(type_code::Shown(built[2]), "butt");

    const Outcome tooLong = RunKaveldef(
        {"build", Edited(Format::Csv, ",wint,", ",wintt,"), "-o", folder_.Path("new.def")});
    EXPECT_TRUE(tooLong.err.contains(
        QStringLiteral("line 2, field type: 'wintt' is longer than four characters")));
    const Outcome foreign = RunKaveldef(
        {"build", Edited(Format::Csv, ",wint,", ",w\u4e00nt,"), "-o", folder_.Path("new.def")});
    EXPECT_TRUE(foreign.err.contains(QStringLiteral("outside the Windows-1252 code page")));
    EXPECT_FALSE(QFileInfo::exists(folder_.Path("new.def")));
}

}  // namespace
