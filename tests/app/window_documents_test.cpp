// Opening and saving through the window. Which files can be opened or
// written over is tested with the file functions in base/.
#include <sys/stat.h>

#include <QAction>

#include "app/picture_label.h"
#include "app/preview_panel.h"
#include "window_fixture.h"

TEST_F(WindowTest, OpenLoadsBothFilesOrKeepsTheDocumentAndSaveWritesItsBytes) {
    OpenSample();
    ASSERT_EQ(platform.openRequests.size(), 2u);
    EXPECT_EQ(platform.openRequests[0].title, "Open kavel.def Brenmoor menu definition file");
    EXPECT_EQ(platform.openRequests[0].initialFileName, "kavel.def");
    EXPECT_EQ(platform.openRequests[0].selectedFilter, 1);
    EXPECT_EQ(platform.openRequests[1].initialFileName, "textdb_en.def");
    const QString files = "[" + Path("kavel.def") + "] [" + Path("textdb_en.def") + "]";
    EXPECT_EQ(window->lbStatus2->text(), "Loaded documents: " + files + ".");
    // Cut by the credits in a narrow window, the message shows whole when pointed at.
    window->resize(650, 380);
    EXPECT_EQ(window->lbStatus2->toolTip(), window->lbStatus2->text());
    window->resize(4000, 700);
    EXPECT_EQ(window->lbStatus2->toolTip(), "");
    EXPECT_EQ(window->cbType->currentText(), "vers");  // record 0, selected
    EXPECT_FALSE(window->imBg2->isVisible());
    EXPECT_TRUE(window->pnMap->isVisible() && window->mmMainSave->isEnabled());

    for (const QStringList& answers : {QStringList{Path("kavel.def"), ""}, QStringList{""}}) {
        platform.openAnswers = answers;
        window->mmMainOpenClick();
    }
    EXPECT_EQ(platform.openRequests.size(), 5u);
    EXPECT_EQ(window->lbStatus2->text(), "Loaded documents: " + files + ".");
    WriteBytes(Path("empty.def"), QByteArray());
    OpenFiles(Path("empty.def"), Path("textdb_en.def"));
    EXPECT_EQ(window->lbStatus2->text(), "Error: the menu definition file is empty!");
    EXPECT_EQ(window->lbStatus2->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // A FIFO is never opened for reading, which would block.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.def")).constData(), 0644), 0);
    OpenFiles(Path("fifo.def"), Path("textdb_en.def"));
    EXPECT_EQ(window->lbStatus2->text(), "Error: unable to open file!");
    EXPECT_EQ(window->windowTitle(), "Kavel.def Editor v1.00 " + files);
    EXPECT_EQ(window->menuItems().size(), 71u);

    // Save writes the document's bytes, whatever the file holds now.
    const QByteArray original = SampleBytes("kavel.def");
    WriteBytes(Path("kavel.def"), QByteArray("changed on disk"));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadBytes(Path("kavel.def")), original);
    EXPECT_EQ(window->lbStatus2->text(), "Saved document: [" + Path("kavel.def") + "].");

    platform.saveAnswers = {Path("copy.def")};
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(platform.saveRequests.size(), 1u);
    EXPECT_EQ(platform.saveRequests[0].title, "Save kavel.def Brenmoor menu definition file");
    EXPECT_TRUE(platform.saveRequests[0].confirmOverwrite);
    EXPECT_EQ(ReadBytes(Path("copy.def")), original);
    EXPECT_EQ(window->savePath(), Path("copy.def"));
    EXPECT_EQ(window->windowTitle(), "Kavel.def Editor v1.00 " + files);  // the files loaded
}

// A file cut inside its last record opens, that record padded with zeros, and the
// status line says so in the words of `kaveldef check`.
TEST_F(WindowTest, AShortLastRecordIsToldAfterTheLoad) {
    OpenSample(SampleBytes("kavel.def").left(70 * kMenuItemRecordSize + 20));
    EXPECT_EQ(window->lbStatus2->text(),
              "Loaded documents: [" + Path("kavel.def") + "] [" + Path("textdb_en.def") +
                  "]. Record 70: the last record is short: the file holds 20 of its 36 bytes, "
                  "the rest reads as 0.");
    EXPECT_EQ(window->menuItems().size(), 71u);
}

// The string database in use is never written, whatever name leads to it.
TEST_F(WindowTest, SavingOverTheStringDatabaseInUseIsRefused) {
    OpenSample();
    const QByteArray texts = ReadBytes(Path("textdb_en.def"));
    window->mmMainInsertClick();
    ASSERT_TRUE(QFile::link(Path("textdb_en.def"), Path("link.def")));
    for (const QString& name : {Path("textdb_en.def"), Path("link.def")}) {
        platform.saveAnswers = {name};
        window->mmMainSaveAsClick();
        EXPECT_EQ(window->lbStatus2->text(),
                  "Error: the string database in use is never saved over!");
    }
    EXPECT_EQ(ReadBytes(Path("textdb_en.def")), texts);
    // Save still writes to the file it wrote before.
    EXPECT_EQ(window->savePath(), Path("kavel.def"));
    window->mmMainSaveClick();
    EXPECT_EQ(ReadBytes(Path("kavel.def")).size(), 72 * 36);

    // Nor when the menu file opened is the string database itself.
    OpenFiles(Path("textdb_en.def"), Path("textdb_en.def"));
    window->mmMainSaveClick();
    EXPECT_EQ(window->lbStatus2->text(), "Error: the string database in use is never saved over!");
    EXPECT_EQ(ReadBytes(Path("textdb_en.def")), texts);
}
