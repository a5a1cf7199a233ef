// kaveldef texts dump and build.
#include <gtest/gtest.h>

#include "cli_test_support.h"

using namespace cli_test;

// What the CSV shows of each text, and that dumps of odd databases build
// them again byte for byte in both formats, is checked against a program of
// the test's own (texts_layouts_test.py): here the escapes of the JSON, and
// dumps edited by hand.
TEST(TextsCommands, TheJsonEscapesTextsAndADumpEditedByHandIsBuilt) {
    Folder folder;
    const QString db = folder.Write("textdb.def", TextDbFile({{-2, "a\tb\x81\\c, \"q\""}}));
    ASSERT_EQ(RunKaveldef({"texts", "dump", db, "-o", folder.Path("en.json")}).status, 0);
    const QByteArray json = ReadBytes(folder.Path("en.json"));
    EXPECT_TRUE(json.contains(R"({"index": 0, "id": -2, "text": "a\\x09b\\x81\\\\c, \"q\""})"))
        << json.constData();

    // Edited by hand: a line added with a text in UTF-8 and an escape, the
    // header bytes changed.
    const QString edited = folder.Write(
        "edited.csv", "headerBytes,0000FFFF\nid,text,index\n5,Grüße\\x0Aok,\n8,\"x,y\"\n");
    ASSERT_EQ(RunKaveldef({"texts", "build", edited, "-o", folder.Path("out.def")}).status, 0);
    EXPECT_EQ(ReadBytes(folder.Path("out.def")),
              TextDbFile({{5, "Gr\xFC\xDF" "e\nok"}, {8, "x,y"}}, QByteArray("\0\0\xFF\xFF", 4)));
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
