#include <sys/stat.h>

#include <QAction>
#include <QFileInfo>
#include <QProgressBar>

#include "app/picture_label.h"
#include "app/preview_panel.h"
#include "window_fixture.h"

TEST_F(WindowTest, StartsIdleWithTheDocumentCommandsDisabled) {
    EXPECT_EQ(window->windowTitle(), "Kavel.def Editor v1.00");
    EXPECT_TRUE(window->imBg2->isVisible());
    EXPECT_FALSE(window->lbMain->isVisible());
    EXPECT_FALSE(window->pnMap->isVisible());
    for (QAction* action : {window->mmMainSave, window->mmMainSaveAs, window->mmMainCopy,
                            window->mmMainPaste, window->mmMainInsert, window->mmMainDelete}) {
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    }
    EXPECT_EQ(window->lbStatus2->text(), "-");
    EXPECT_EQ(window->lbMIcount2->text(), "-");
    EXPECT_TRUE(window->cbLang->isEnabled());
    // The 1366 x 768 screen of the fake platform.
    EXPECT_EQ(window->geometry(), QRect(50, 35, 1266, 668));
}

TEST_F(WindowTest, OpenLoadsBothFilesAndShowsTheDocument) {
    OpenSample();
    ASSERT_EQ(platform.openRequests.size(), 2u);
    EXPECT_EQ(platform.openRequests[0].title, "Open kavel.def Brenmoor menu definition file");
    EXPECT_EQ(platform.openRequests[0].initialFileName, "kavel.def");
    EXPECT_EQ(platform.openRequests[0].selectedFilter, 1);
    EXPECT_EQ(platform.openRequests[1].initialFileName, "textdb_en.def");

    const QString menu = Path("kavel.def");
    const QString db = Path("textdb_en.def");
    EXPECT_EQ(window->windowTitle(), "Kavel.def Editor v1.00 [" + menu + "] [" + db + "]");
    EXPECT_EQ(window->lbStatus2->text(), "Loaded documents: [" + menu + "] [" + db + "].");
    const auto expected = DecodeMenuItems(SampleBytes("kavel.def")).items.size();
    EXPECT_EQ(window->lbMIcount2->text(), QString::number(expected));
    EXPECT_EQ(window->lbMain->model()->rowCount(), static_cast<int>(expected));
    EXPECT_EQ(window->lbMain->model()->index(1, 0).data().toString(), "1   wint");
    EXPECT_EQ(window->selectedIndex(), 0);
    EXPECT_EQ(window->cbType->currentText(), "vers");
    EXPECT_FALSE(window->imBg2->isVisible());
    EXPECT_TRUE(window->pnMap->isVisible());
    EXPECT_FALSE(window->cbLang->isEnabled());
    EXPECT_TRUE(window->mmMainSave->isEnabled());
    EXPECT_FALSE(window->mmMainPaste->isEnabled());
}

TEST_F(WindowTest, CancellingEitherDialogChangesNothing) {
    OpenSample();
    const QString title = window->windowTitle();
    platform.openAnswers = {Path("kavel.def"), QString()};
    window->mmMainOpenClick();
    EXPECT_EQ(window->windowTitle(), title);
    platform.openAnswers = {QString()};
    window->mmMainOpenClick();
    EXPECT_EQ(window->windowTitle(), title);
}

TEST_F(WindowTest, AFailedLoadKeepsTheOpenDocument) {
    OpenSample();
    const auto before = window->menuItems().size();
    const QString title = window->windowTitle();
    WriteBytes(Path("empty.def"), QByteArray());
    OpenFiles(Path("empty.def"), Path("textdb_en.def"));
    EXPECT_EQ(window->lbStatus2->text(), "Error: unable to reallocate menu items array!");
    EXPECT_EQ(window->menuItems().size(), before);
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(window->savePath(), Path("kavel.def"));
    // The error colour stays for later texts.
    EXPECT_EQ(window->lbStatus2->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // Files that cannot be opened: missing, a folder, a FIFO.
    OpenFiles(Path("missing.def"), Path("textdb_en.def"));
    EXPECT_EQ(window->lbStatus2->text(), "Error: unable to open file!");
    OpenFiles(Path("kavel.def"), Path("."));
    EXPECT_EQ(window->lbStatus2->text(), "Error: unable to open file!");
    ASSERT_EQ(::system(("mkfifo '" + Path("fifo.def") + "'").toLocal8Bit().constData()), 0);
    OpenFiles(Path("fifo.def"), Path("textdb_en.def"));
    EXPECT_EQ(window->lbStatus2->text(), "Error: unable to open file!");
    EXPECT_EQ(window->menuItems().size(), before);
}

TEST_F(WindowTest, SaveWritesTheExactBytesAndSaveAsMovesTheSavePath) {
    OpenSample();
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
    // The title keeps naming the files that were loaded.
    EXPECT_TRUE(window->windowTitle().contains(Path("kavel.def")));
}

TEST_F(WindowTest, AFailedSaveReportsItAndLeavesTheOldFile) {
    OpenSample();
    ClickRow(2);
    window->mmMainInsertClick();  // so that any save would change the file
    const QByteArray original = SampleBytes("kavel.def");
    const auto refused = [this, &original](const QString& path) {
        platform.saveAnswers = {path};
        window->mmMainSaveAsClick();
        EXPECT_EQ(window->lbStatus2->text(), "Error: unable to save file!") << path.toStdString();
        EXPECT_EQ(ReadBytes(Path("kavel.def")), original);
    };
    // Never a device: a broken check would put a file in its place, as root.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.def")).constData(), 0644), 0);
    refused(Path("pipe.def"));
    // A file's place taken by a file (no folder there), and a folder removed
    // after the dialog: refused for root too.
    refused(Path("kavel.def/inner.def"));
    ASSERT_TRUE(QDir(Path(".")).mkdir("gone"));
    platform.saveAnswers = {Path("gone/kavel.def")};
    ASSERT_TRUE(QDir(Path("gone")).removeRecursively());
    window->mmMainSaveAsClick();
    EXPECT_EQ(window->lbStatus2->text(), "Error: unable to save file!");
    // A read-only file stays as it is, whoever the user is.
    ASSERT_EQ(::chmod(QFile::encodeName(Path("kavel.def")).constData(), 0444), 0);
    refused(Path("kavel.def"));
    EXPECT_FALSE(QFileInfo::exists(Path("gone")));
}
