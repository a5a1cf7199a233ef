#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <cstring>

#include "cli_test_support.h"

using namespace cli_test;

namespace {

class CheckCommand : public ::testing::Test {
  protected:
    Outcome Check(const std::vector<MenuItemRecord>& records, bool withDb = false) {
        QStringList arguments{"check", folder_.WriteMenu("kavel.def", records)};
        if (withDb) arguments << folder_.Write("textdb.def", TextDbBytes({{7, "Seven"}}));
        return RunKaveldef(arguments);
    }

    // The findings, one a line.
    static QStringList Lines(const Outcome& outcome) {
        return outcome.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    Folder folder_;
};

TEST_F(CheckCommand, ACleanFileHasNoFindings) {
    const Outcome clean =
        RunKaveldef({"check", SamplePath("kavel.def"), SamplePath("textdb_en.def")});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, QString());
}

TEST_F(CheckCommand, ShortRecordsAndMissingTexts) {
    QByteArray bytes =
        EncodeMenuItems({Rec("vers", 0, 0, 0, 0, 1, 7), Rec("stxt", 0, 0, 0, 0, 2, 8)});
    bytes.chop(10);
    const Outcome outcome = RunKaveldef({"check", folder_.Write("short.def", bytes),
                                         folder_.Write("db.def", TextDbBytes({{7, "Seven"}}))});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(Lines(outcome),
              QStringList({"record 1: the last record is short: the file holds 26 of its 36 "
                           "bytes, the rest reads as 0",
                           "record 1: textId 8 is not in the string database"}));
    // Without a database no text is missing.
    EXPECT_EQ(Lines(Check({Rec("vers", 0, 0, 0, 0, 1, 99)})), QStringList());
}

TEST_F(CheckCommand, WindowsWithoutElements) {
    const Outcome outcome = Check({Rec("wind", 0, 0, 10, 10), Rec("wint", 0, 0, 10, 10),
                                   Rec("stop", 0, 0, 0, 0), Rec("winc", 0, 0, 10, 10)});
    EXPECT_EQ(Lines(outcome), QStringList({"record 0: window 'wind' has no elements",
                                           "record 3: window 'winc' has no elements"}));
}

TEST_F(CheckCommand, RecordsLeavingTheScreen) {
    // 450 + 20 below a window at y 100 ends at 570 without a caption and at
    // 612 below one; records before any window are placed from the corner.
    const Outcome outcome = Check(
        {Rec("stxt", 790, 0, 20, 5), Rec("wind", 100, 100, 600, 480), Rec("stxt", 0, 450, 10, 20),
         Rec("frac", 100, 100, 600, 480), Rec("stxt", 0, 450, 10, 20), Rec("butt", 10, 10, -20, 5),
         Rec("butt", 0, 0, std::nanf(""), 0), Rec("wint", -1, 0, 10, 10), Rec("stop", 1, 0, 0, 0)});
    EXPECT_EQ(
        Lines(outcome),
        QStringList({"record 0: 'stxt' leaves the 800 x 600 screen: x 790 to 810, y 0 to 5",
                     "record 4: 'stxt' leaves the 800 x 600 screen: x 100 to 110, y 592 to 612 "
                     "(placed in the window of record 3)",
                     "record 6: 'butt' leaves the 800 x 600 screen: its position or size is not a "
                     "number (placed in the window of record 3)",
                     "record 7: 'wint' leaves the 800 x 600 screen: x -1 to 9, y 0 to 10"}));
}

TEST_F(CheckCommand, TypesOutsideTheCatalogueAndPicturesNotCalledFor) {
    MenuItemRecord cut = Rec("vers", 0, 0, 0, 0);
    std::memcpy(cut.type, "sre\0", 4);
    const Outcome outcome = Check({Rec("abcd", 0, 0, 0, 0), cut, Rec("winc", 0, 0, 800, 600),
                                   Rec("rcta", 0, 0, 1, 1, 103), Rec("rcta", 0, 0, 1, 1, 102),
                                   Rec("pbrt", 0, 0, 1, 1, 301), Rec("pbrt", 0, 0, 1, 1, 300)});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(Lines(outcome),
              QStringList({"record 0: type 'abcd' is not in the type catalogue",
                           "record 1: type '' (stored bytes 73 72 65 00) is not in the type "
                           "catalogue",
                           "record 3: rcta record with id 103 calls for no picture (100, 101 or "
                           "102 do)",
                           "record 5: pbrt record with id 301 calls for no picture (300 does)"}));
}

TEST_F(CheckCommand, UnreadableFilesEndWithStatusTwo) {
    const QString menu = folder_.WriteMenu("kavel.def", {Rec("vers", 0, 0, 0, 0)});
    for (const QStringList& arguments :
         {QStringList{"check", folder_.Path("missing.def")}, QStringList{"check", folder_.Path("")},
          QStringList{"check", folder_.Write("empty.def", {})},
          QStringList{"check", menu, folder_.Path("missing.def")}}) {
        const Outcome outcome = RunKaveldef(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.err.startsWith(QStringLiteral("kaveldef: check: cannot read")))
            << outcome.err.toStdString();
    }
}

// --- The program itself -----------------------------------------------------------

Outcome RunProgram(const QStringList& arguments, bool withoutPlatform = false) {
    QProcess process;
    if (withoutPlatform) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(environment);
    }
    process.start(QStringLiteral(KAVELDEF_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    Outcome outcome;
    outcome.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

TEST(Program, HelpBadArgumentsAndRenderWithoutADisplay) {
    for (const QStringList& help :
         {QStringList{"--help"}, QStringList{"check", "--help"}, QStringList{"help", "render"}}) {
        const Outcome shown = RunProgram(help);
        EXPECT_EQ(shown.status, 0);
        EXPECT_TRUE(shown.out.contains(QStringLiteral("Exit status:")))
            << help.join(' ').toStdString();
    }
    EXPECT_TRUE(RunProgram({"help", "render"}).out.contains(QStringLiteral("--skin <FILE>")));

    Folder folder;
    const QString menu = SamplePath("kavel.def");
    const QString db = SamplePath("textdb_en.def");
    const QString png = folder.Path("out.png");
    for (const QStringList& bad :
         {QStringList{}, QStringList{"frob"}, QStringList{"dump"},
          QStringList{"dump", menu, "--bogus"}, QStringList{"dump", menu, "--format", "xml"},
          QStringList{"build", menu}, QStringList{"check", menu, db, db},
          QStringList{"render", menu, db, "-o", png},
          QStringList{"render", menu, db, "--record", "71", "-o", png},
          QStringList{"render", menu, db, "--record", "-1", "-o", png},
          QStringList{"render", menu, db, "--record", "1", "--size", "800", "-o", png}}) {
        const Outcome refused = RunProgram(bad);
        EXPECT_EQ(refused.status, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(refused.err.startsWith(QStringLiteral("kaveldef: ")));
    }
    EXPECT_FALSE(QFile::exists(png));

    const Outcome drawn =
        RunProgram({"render", menu, db, "--record", "29", "--size", "320x240", "-o", png}, true);
    EXPECT_EQ(drawn.status, 0) << drawn.err.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(320, 240));
}

}  // namespace
