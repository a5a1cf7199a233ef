// kaveldef texts dump and build, and check with several string databases.
#include <gtest/gtest.h>

#include "cli_test_support.h"

using namespace cli_test;

namespace {

// A database laid out as the editor writes it, whose texts hold what the
// dump must escape or quote: a control character, a byte the code page
// leaves undefined, a backslash, a comma and a quote, blanks at the ends, a
// text of 140 characters and an empty one.
QByteArray OddTextsDb() {
    const std::vector<std::pair<int, QByteArray>> entries = {
        {7, "Stra\xDF" "e \x80 1"},
        {-2, "a\tb\x81\\c, \"q\""},
        {7, " padded "},
        {9, QByteArray(140, 'L')},
        {0, ""}};
    QByteArray table, texts;
    AppendU32(table, static_cast<std::uint32_t>(entries.size()));
    table.append("\x01\x02\x03\x04", 4);
    for (const auto& [id, text] : entries) {
        AppendU32(table, static_cast<std::uint32_t>(id));
        AppendU32(table, 8 + 8 * 5 + static_cast<std::uint32_t>(texts.size()));
        texts += text + '\0';
    }
    return table + texts;
}

}  // namespace

TEST(TextsCommands, DumpAndBuildGiveTheBytesBackInBothFormats) {
    Folder folder;
    const QString db = folder.Write("textdb.def", OddTextsDb());
    const Outcome csv = RunKaveldef({"texts", "dump", db});
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split(u'\n');
    EXPECT_EQ(lines.mid(0, 5),
              QStringList({"headerBytes,01020304", "index,id,text", "0,7,Straße € 1",
                           R"(1,-2,"a\x09b\x81\\c, ""q""")", R"(2,7," padded ")"}));
    EXPECT_EQ(lines.value(6), "4,0,");

    for (const char* name : {"en.csv", "en.json"}) {
        const QString dump = folder.Path(name);
        ASSERT_EQ(RunKaveldef({"texts", "dump", db, "-o", dump}).status, 0);
        const Outcome built = RunKaveldef({"texts", "build", dump, "-o", folder.Path("out.def")});
        ASSERT_EQ(built.status, 0) << built.err.toStdString();
        EXPECT_EQ(ReadBytes(folder.Path("out.def")), OddTextsDb()) << name;
    }
    const QByteArray json = ReadBytes(folder.Path("en.json"));
    EXPECT_TRUE(json.contains(R"({"index": 1, "id": -2, "text": "a\\x09b\\x81\\\\c, \"q\""},)"))
        << json.constData();

    // Edited by hand: a line added with a text in UTF-8 and an escape, the
    // header bytes changed.
    const QString edited = folder.Write(
        "edited.csv", "headerBytes,0000FFFF\nid,text,index\n5,Grüße\\x0Aok,\n8,\"x,y\"\n");
    ASSERT_EQ(RunKaveldef({"texts", "build", edited, "-o", folder.Path("out.def")}).status, 0);
    QByteArray expected;
    AppendU32(expected, 2);
    expected += QByteArray("\x00\x00\xFF\xFF", 4);
    for (const std::uint32_t word : {5u, 24u, 8u, 33u}) AppendU32(expected, word);
    expected += QByteArray("Gr\xFC\xDF" "e\nok\0x,y\0", 13);
    EXPECT_EQ(ReadBytes(folder.Path("out.def")), expected);
}

TEST(TextsCommands, AFaultyLineIsRefusedWithItsPlaceAndNothingIsWritten) {
    Folder folder;
    const QString out = folder.Write("out.def", "old");
    const auto refusal = [&](const QString& name, const QByteArray& dump) {
        const Outcome outcome = RunKaveldef({"texts", "build", folder.Write(name, dump), "-o", out});
        EXPECT_EQ(outcome.status, 1) << name.toStdString();
        EXPECT_TRUE(outcome.err.endsWith("kaveldef: nothing was written\n")) << outcome.err.toStdString();
        return outcome.err.section(u'\n', 0, 0).section(QStringLiteral(": "), 2);
    };
    EXPECT_EQ(refusal("a.csv", "index,id,text\n0,1,ok\n1,1x,ok\n2,3,\xD0\x96\n3,4,\\q\n"),
              "line 3, field id: '1x' is not a valid integer value");
    EXPECT_EQ(refusal("b.csv", "index,id,text\n2,3,\xD0\x96\n"),
              "line 2, field text: '\u0416' (U+0416) is not a character of the Windows-1252 "
              "code page");
    EXPECT_EQ(refusal("c.csv", "id,text\n4,a\\q\n"),
              "line 2, field text: '\\q' is not an escape: \\\\ is a backslash, \\xHH the byte HH");
    EXPECT_EQ(refusal("d.csv", "id,text\n4,a\\x00\n"),
              "line 2, field text: '\\x00': a text cannot hold a NUL");
    EXPECT_EQ(refusal("e.csv", "headerBytes,1234\nid,texts\n"),
              "line 1, field headerBytes: expected one cell of four bytes in hex, such as "
              "headerBytes,00000000");
    EXPECT_EQ(refusal("f.csv", "id,text\n1,\"open\n"), "line 2: a quoted cell is not closed");
    EXPECT_EQ(refusal("g.json", "{\"entries\": [\n{\"id\": 1, \"text\": \"a\"},\n{\"id\": 2}\n]}"),
              "line 3, field text: missing");
    EXPECT_EQ(ReadBytes(out), "old");
}

TEST(CheckCommand, SeveralDatabasesNameWhatEachLacks) {
    Folder folder;
    const QByteArray menu = EncodeMenuItems(
        {Rec("wint", 0, 0, 100, 100, 0, 1), Rec("butt", 0, 0, 10, 10, 0, 2),
         Rec("butt", 0, 0, 10, 10, 0, 3)});
    const QString menuPath = folder.Write("kavel.def", menu);
    const auto write = [&folder](const char* name, std::vector<std::pair<int, std::string>> texts) {
        const std::optional<QByteArray> bytes = TextDbOf(texts).Encode();
        return folder.Write(QString::fromLatin1(name), bytes.value_or(QByteArray()));
    };
    const QString en = write("en.def", {{1, "Menu"}, {2, "Go"}, {3, "Quit"}, {4, "Help"}});
    const QString de = write("de.def", {{1, "Menü"}, {3, "Ende"}});
    const QString fr = write("fr.def", {{1, "Menu"}, {2, "Aller"}, {5, "Extra"}});
    const Outcome outcome = RunKaveldef({"check", menuPath, en, de, fr});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out,
              "record 1: textId 2 is not in " + de + "\n"
              "record 2: textId 3 is not in " + fr + "\n" +
              en + ": text id 5 is missing (held by " + fr + ")\n" +
              de + ": text id 2 is missing (held by " + en + ", " + fr + ")\n" +
              de + ": text id 4 is missing (held by " + en + ")\n" +
              de + ": text id 5 is missing (held by " + fr + ")\n" +
              fr + ": text id 3 is missing (held by " + en + ", " + de + ")\n" +
              fr + ": text id 4 is missing (held by " + en + ")\n");
    // Databases that agree and hold every text find nothing.
    EXPECT_EQ(RunKaveldef({"check", menuPath, en, en}).status, 0);
}
