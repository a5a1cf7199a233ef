#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <cmath>
#include <cstring>

#include "cli/menu_check.h"
#include "cli_test_support.h"

using namespace cli_test;

namespace {

// The findings of a file of these bytes, one a line.
QStringList Findings(const QByteArray& file, const TextDb* textDb = nullptr) {
    QStringList lines;
    for (const menu_check::Finding& finding :
         menu_check::CheckMenu(DecodeMenuItems(file).items, file.size(), textDb)) {
        lines << finding.Describe();
    }
    return lines;
}

QStringList Findings(const std::vector<MenuItemRecord>& records) {
    return Findings(EncodeMenuItems(records));
}

TEST(CheckMenu, ShortRecordsAndMissingTexts) {
    const QByteArray file =
        EncodeMenuItems({Rec("vers", 0, 0, 0, 0, 1, 7), Rec("stxt", 0, 0, 0, 0, 2, 8)}).chopped(10);
    const TextDb textDb = TextDbOf({{7, "Seven"}});
    EXPECT_EQ(Findings(file, &textDb),
              QStringList({"record 1: the last record is short: the file holds 26 of its 36 "
                           "bytes, the rest reads as 0",
                           "record 1: textId 8 is not in the string database"}));
    // Without a database no text is missing.
    EXPECT_EQ(Findings({Rec("vers", 0, 0, 0, 0, 1, 99)}), QStringList());
}

TEST(CheckMenu, WindowsWithoutElementsAndRecordsLeavingTheScreen) {
    EXPECT_EQ(Findings({Rec("wind", 0, 0, 10, 10), Rec("wint", 0, 0, 10, 10),
                        Rec("stop", 0, 0, 0, 0), Rec("winc", 0, 0, 10, 10)}),
              QStringList({"record 0: window 'wind' has no elements",
                           "record 3: window 'winc' has no elements"}));
    // 450 + 20 below a window at y 100 ends at 570 without a caption and at
    // 612 below one; records before any window are placed from the corner.
    EXPECT_EQ(
        Findings({Rec("stxt", 790, 0, 20, 5), Rec("wind", 100, 100, 600, 480),
                  Rec("stxt", 0, 450, 10, 20), Rec("frac", 100, 100, 600, 480),
                  Rec("stxt", 0, 450, 10, 20), Rec("butt", 10, 10, -20, 5),
                  Rec("butt", 0, 0, std::nanf(""), 0), Rec("wint", -1, 0, 10, 10),
                  Rec("stop", 1, 0, 0, 0)}),
        QStringList({"record 0: 'stxt' leaves the 800 x 600 screen: x 790 to 810, y 0 to 5",
                     "record 4: 'stxt' leaves the 800 x 600 screen: x 100 to 110, y 592 to 612 "
                     "(placed in the window of record 3)",
                     "record 6: 'butt' leaves the 800 x 600 screen: its position or size is not a "
                     "number (placed in the window of record 3)",
                     "record 7: 'wint' leaves the 800 x 600 screen: x -1 to 9, y 0 to 10"}));
}

TEST(CheckMenu, TypesOutsideTheCatalogueAndPicturesNotCalledFor) {
    MenuItemRecord cut = Rec("vers", 0, 0, 0, 0);
    std::memcpy(cut.type, "sre\0", 4);
    EXPECT_EQ(Findings({Rec("abcd", 0, 0, 0, 0), cut, Rec("winc", 0, 0, 800, 600),
                        Rec("rcta", 0, 0, 1, 1, 103), Rec("rcta", 0, 0, 1, 1, 102),
                        Rec("pbrt", 0, 0, 1, 1, 301), Rec("pbrt", 0, 0, 1, 1, 300)}),
              QStringList({"record 0: type 'abcd' is not in the type catalogue",
                           "record 1: type '' (stored bytes 73 72 65 00) is not in the type "
                           "catalogue",
                           "record 3: rcta record with id 103 calls for no picture (100, 101 or "
                           "102 do)",
                           "record 5: pbrt record with id 301 calls for no picture (300 does)"}));
}

// Given several string databases, each is named where it lacks a text, and
// the file's length reaches the checks as well.
TEST(CheckCommand, StatusTellsWhatWasFoundInTheFileAndEveryDatabase) {
    // Databases that agree and hold every text find nothing.
    const QString sampleDb = SamplePath("textdb_en.def");
    const Outcome clean = RunKaveldef({"check", SamplePath("kavel.def"), sampleDb, sampleDb});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, QString());

    Folder folder;
    const QString menu = folder.Write(
        "kavel.def", EncodeMenuItems({Rec("wint", 0, 0, 100, 100, 0, 1),
                                      Rec("butt", 0, 0, 10, 10, 0, 2),
                                      Rec("butt", 0, 0, 10, 10, 0, 3)})
                         .chopped(1));
    const auto write = [&folder](const char* name, std::vector<std::pair<int, std::string>> texts) {
        return folder.Write(QString::fromLatin1(name), TextDbFile(texts));
    };
    const QString en = write("en.def", {{1, "Menu"}, {2, "Go"}, {3, "Quit"}, {4, "Help"}});
    const QString de = write("de.def", {{1, "Menü"}, {3, "Ende"}});
    const QString fr = write("fr.def", {{1, "Menu"}, {2, "Aller"}, {5, "Extra"}});
    const Outcome found = RunKaveldef({"check", menu, en, de, fr});
    EXPECT_EQ(found.status, 1);
    EXPECT_EQ(found.out,
              "record 1: textId 2 is not in " + de + "\n"
              "record 2: the last record is short: the file holds 35 of its 36 bytes, the rest "
              "reads as 0\n"
              "record 2: textId 3 is not in " + fr + "\n" +
              en + ": text id 5 is missing (held by " + fr + ")\n" +
              de + ": text id 2 is missing (held by " + en + ", " + fr + ")\n" +
              de + ": text id 4 is missing (held by " + en + ")\n" +
              de + ": text id 5 is missing (held by " + fr + ")\n" +
              fr + ": text id 3 is missing (held by " + en + ", " + de + ")\n" +
              fr + ": text id 4 is missing (held by " + en + ")\n");

    for (const QStringList& unreadable :
         {QStringList{"check", folder.Path("missing.def")},
          QStringList{"check", folder.Write("empty.def", {})},
          QStringList{"check", SamplePath("kavel.def"), folder.Path("missing.def")}}) {
        const Outcome outcome = RunKaveldef(unreadable);
        EXPECT_EQ(outcome.status, 2) << unreadable.join(' ').toStdString();
        EXPECT_TRUE(outcome.err.startsWith(QStringLiteral("kaveldef: check: cannot read")))
            << outcome.err.toStdString();
    }
}

// --- The command line and the program itself --------------------------------------

TEST(CommandLine, HelpAndBadArguments) {
    // "kaveldef --help" and "kaveldef COMMAND --help" are read by the manual
    // pages' test; "help COMMAND" is the same text.
    const Outcome help = RunKaveldef({"help", "render"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("--skin <SKIN>") && help.out.contains("Exit status:"));

    Folder folder;
    const QString menu = SamplePath("kavel.def");
    const QString db = SamplePath("textdb_en.def");
    const QString png = folder.Path("out.png");
    for (const QStringList& bad :
         {QStringList{}, QStringList{"frob"}, QStringList{"dump"},
          QStringList{"dump", menu, "--bogus"}, QStringList{"dump", menu, "--format", "xml"},
          QStringList{"build", menu}, QStringList{"texts"}, QStringList{"texts", "frob"},
          QStringList{"texts", "build", db},
          QStringList{"render", menu, db, "-o", png},
          QStringList{"render", menu, db, "--record", "71", "-o", png},
          QStringList{"render", menu, db, "--record", "-1", "-o", png},
          QStringList{"render", menu, db, "--record", "1", "--size", "800", "-o", png}}) {
        const Outcome refused = RunKaveldef(bad);
        EXPECT_EQ(refused.status, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(refused.err.startsWith(QStringLiteral("kaveldef: ")));
    }
    EXPECT_FALSE(QFile::exists(png));
}

TEST(Program, EndsWithTheCommandsStatusAndRendersWithoutADisplay) {
    const auto run = [](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KAVELDEF_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return process.exitCode();
    };
    EXPECT_EQ(run({"frob"}), 2);
    Folder folder;
    EXPECT_EQ(run({"render", SamplePath("kavel.def"), SamplePath("textdb_en.def"), "--record", "29",
                   "--size", "320x240", "-o", folder.Path("out.png")}),
              0);
    EXPECT_EQ(QImage(folder.Path("out.png")).size(), QSize(320, 240));
}

}  // namespace
