// kaveldef dump and build on files and through the standard streams; what
// a dump holds and reads back is checked in tests/dump.
#include <gtest/gtest.h>

#include "cli_test_support.h"

using namespace cli_test;

TEST(DumpBuildCommands, FilesRoundTripInBothFormatsAndAFaultyDumpWritesNothing) {
    Folder folder;
    const QByteArray whole = ReadBytes(SamplePath("kavel.def"));
    const QString menu = folder.Write("kavel.def", whole.chopped(13));
    const QByteArray padded = whole.chopped(13) + QByteArray(13, '\0');
    for (const char* name : {"dump.csv", "dump.json"}) {
        const Outcome dumped = RunKaveldef(
            {"dump", menu, "--textdb", SamplePath("textdb_en.def"), "-o", folder.Path(name)});
        ASSERT_EQ(dumped.status, 0) << dumped.err.toStdString();
        EXPECT_TRUE(ReadBytes(folder.Path(name)).contains("Main Menu")) << name;
        const Outcome built =
            RunKaveldef({"build", folder.Path(name), "-o", folder.Path("out.def")});
        ASSERT_EQ(built.status, 0) << built.err.toStdString();
        EXPECT_EQ(ReadBytes(folder.Path("out.def")), padded) << name;
    }

    // The standard output and input carry the same text.
    const Outcome toOutput = RunKaveldef({"dump", menu, "--format", "json"});
    ASSERT_TRUE(toOutput.status == 0 && toOutput.out.startsWith(u'{'));
    const Outcome fromInput =
        RunKaveldef({"build", "-", "-o", folder.Path("piped.def")}, toOutput.out.toUtf8());
    ASSERT_EQ(fromInput.status, 0) << fromInput.err.toStdString();
    EXPECT_EQ(ReadBytes(folder.Path("piped.def")), padded);

    // A faulty dump ends with status 1 and leaves the old file alone; a place
    // that cannot be written ends with status 2.
    const QString faulty = folder.Write("faulty.csv", "id,type\n1,wintt\n");
    const Outcome refused = RunKaveldef({"build", faulty, "-o", folder.Path("out.def")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("faulty.csv: line 1, field posX:")))
        << refused.err.toStdString();
    EXPECT_EQ(ReadBytes(folder.Path("out.def")), padded);
    EXPECT_EQ(RunKaveldef({"build", folder.Path("dump.csv"), "-o", folder.Path("")}).status, 2);
}
