// Undo and redo through the window, and the promise that no unsaved change
// is thrown away without the user's say.
#include <sys/stat.h>

#include <QAction>
#include <QWindow>

#include "window_fixture.h"

TEST_F(WindowTest, UndoAndRedoActWhereverTheFocusIsAndTheTitleMarksUnsavedChanges) {
    // (The title with no document is the X11 test's.)
    const auto shown = [this] { return window->windowHandle()->title(); };
    // "[*]" is Qt's place for a modified mark; in a path it is just text.
    ASSERT_TRUE(QDir(Path(".")).mkdir("a[*]b"));
    WriteBytes(Path("a[*]b/kavel.def"), SampleBytes("kavel.def"));
    WriteBytes(Path("a[*]b/textdb_en.def"), SampleBytes("textdb_en.def"));
    OpenFiles(Path("a[*]b/kavel.def"), Path("a[*]b/textdb_en.def"));
    // The "*" of unsaved changes stands after the version and after the
    // bracket of the file that has them.
    const QString title = "Kavel.def Editor v1.00%1 [" + Path("a[*]b/kavel.def") + "]%1 [" +
                          Path("a[*]b/textdb_en.def") + "]";

    ClickRow(2);
    const float before = Record(2).posX;
    TypeAndLeave(window->edPosX, "12.5");
    EXPECT_EQ(window->mmMainUndo->text(), "&Undo X position");
    EXPECT_EQ(shown(), title.arg("*"));
    // In the list.
    QTest::keyClick(window->lbMain, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Record(2).posX, before);
    EXPECT_EQ(window->mmMainRedo->text(), "&Redo X position");
    EXPECT_EQ(window->lbStatus2->text(), "Undone: X position.");
    EXPECT_EQ(shown(), title.arg(""));
    QTest::keyClick(window->lbMain, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Record(2).posX, 12.5f);
    EXPECT_EQ(window->lbStatus2->text(), "Redone: X position.");

    // In a field with typing of its own: first that typing goes, then the step.
    const QString shownY = window->edPosY->text();
    TypeInto(window->edPosY, "33");
    for (int press = 0; press < 4 && window->edPosY->text() != shownY; ++press) {
        QTest::keyClick(window->edPosY, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Record(2).posX, 12.5f);
    }
    EXPECT_EQ(window->edPosY->text(), shownY);
    QTest::keyClick(window->edPosY, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Record(2).posX, before);
    QTest::keyClick(window->edPosY, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Record(2).posX, 12.5f);
}

// Closing and opening another document ask the same question.
TEST_F(WindowTest, UnsavedChangesAreSavedDiscardedOrKeptAsTheUserSays) {
    OpenSample();
    const QByteArray original = ReadBytes(Path("kavel.def"));
    ClickRow(2);
    TypeAndLeave(window->edPosX, "12.5");
    platform.saveChangesAnswers = {SaveAnswer::Cancel, SaveAnswer::Cancel, SaveAnswer::Discard};
    EXPECT_FALSE(window->close());
    window->mmMainOpenClick();
    EXPECT_EQ(platform.openRequests.size(), 2u);
    window->mmMainOpenClick();  // Discard goes on to the dialog, writing nothing
    EXPECT_EQ(platform.openRequests.size(), 3u);
    EXPECT_EQ(ReadBytes(Path("kavel.def")), original);
    EXPECT_EQ(platform.saveQuestions,
              QStringList(3, "Kavel.def Editor: Save changes to the menu definition file?"));

    // A save that fails cancels the close.
    ASSERT_EQ(::chmod(QFile::encodeName(Path("kavel.def")).constData(), 0444), 0);
    platform.saveChangesAnswers = {SaveAnswer::Save};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(window->lbStatus2->text(), "Error: unable to save file!");
    ASSERT_EQ(::chmod(QFile::encodeName(Path("kavel.def")).constData(), 0644), 0);
    EXPECT_EQ(ReadBytes(Path("kavel.def")), original);

    // Text typed and not yet taken counts: Save takes it first, and a text
    // that is no number cancels the close with its error.
    TypeInto(window->edPosY, "abc");
    platform.saveChangesAnswers = {SaveAnswer::Save};
    EXPECT_FALSE(window->close());
    Settle();
    EXPECT_EQ(platform.errorBoxes,
              QStringList{"Kavel.def Editor: 'abc' is not a valid floating point value."});
    EXPECT_EQ(ReadBytes(Path("kavel.def")), original);
    TypeInto(window->edPosY, "44");
    platform.saveChangesAnswers = {SaveAnswer::Save};
    EXPECT_TRUE(window->close());
    const auto saved = DecodeMenuItems(ReadBytes(Path("kavel.def"))).items;
    EXPECT_EQ(saved.at(2).posX, 12.5f);
    EXPECT_EQ(saved.at(2).posY, 44.0f);
}
