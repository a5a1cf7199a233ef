// Undo and redo through the window, and the promise that no unsaved change
// is thrown away without the user's say.
#include <sys/stat.h>

#include <QAction>
#include <QWindow>

#include "window_fixture.h"

namespace {

const MenuItemRecord& Record(const TmainWin& window, std::size_t index) {
    return window.menuItems().at(index);
}

}  // namespace

TEST_F(WindowTest, UndoAndRedoActWhereverTheFocusIsAfterTheFieldsOwnTyping) {
    OpenSample();
    EXPECT_FALSE(window->mmMainUndo->isEnabled());
    EXPECT_EQ(window->mmMainUndo->text(), "&Undo");
    ClickRow(2);
    const float before = Record(*window, 2).posX;
    TypeAndLeave(window->edPosX, "12.5");
    EXPECT_EQ(window->mmMainUndo->text(), "&Undo X position");
    EXPECT_FALSE(window->mmMainRedo->isEnabled());

    // In the list.
    QTest::keyClick(window->lbMain, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Record(*window, 2).posX, before);
    EXPECT_EQ(window->mmMainRedo->text(), "&Redo X position");
    QTest::keyClick(window->lbMain, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Record(*window, 2).posX, 12.5f);
    EXPECT_EQ(window->edPosX->text(), "12.5");

    // In a field with typing of its own: first that typing goes, then the step.
    const QString shownY = window->edPosY->text();
    TypeInto(window->edPosY, "33");
    for (int press = 0; press < 4 && window->edPosY->text() != shownY; ++press) {
        QTest::keyClick(window->edPosY, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Record(*window, 2).posX, 12.5f);
    }
    EXPECT_EQ(window->edPosY->text(), shownY);
    QTest::keyClick(window->edPosY, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Record(*window, 2).posX, before);
    QTest::keyClick(window->edPosY, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Record(*window, 2).posX, 12.5f);

    // Undone steps select their record, and bring the count and labels back.
    const std::size_t count = window->menuItems().size();
    ClickRow(4);
    window->mmMainInsertClick();
    ClickRow(0);
    QTest::keyClick(window->lbMain, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->menuItems().size(), count);
    EXPECT_EQ(window->selectedIndex(), 4);
    EXPECT_EQ(window->lbMIcount2->text(), QString::number(count));
    platform.yesNoAnswers = {true};
    window->mmMainDeleteClick();
    QTest::keyClick(window->lbMain, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->selectedIndex(), 4);
    EXPECT_EQ(window->lbMain->model()->index(static_cast<int>(count) - 1, 0).data().toString(),
              QString::number(count - 1) + "   stop");
}

TEST_F(WindowTest, TheTitleMarksUnsavedChangesAndShowsPathsAsTheyAre) {
    const auto shown = [this] { return window->windowHandle()->title(); };
    EXPECT_EQ(shown(), "Kavel.def Editor v1.00");
    // "[*]" is Qt's place for a modified mark; in a path it is just text.
    ASSERT_TRUE(QDir(Path(".")).mkdir("a[*]b"));
    WriteBytes(Path("a[*]b/kavel.def"), SampleBytes("kavel.def"));
    WriteBytes(Path("a[*]b/textdb_en.def"), SampleBytes("textdb_en.def"));
    OpenFiles(Path("a[*]b/kavel.def"), Path("a[*]b/textdb_en.def"));
    const QString files =
        " [" + Path("a[*]b/kavel.def") + "] [" + Path("a[*]b/textdb_en.def") + "]";
    EXPECT_EQ(shown(), "Kavel.def Editor v1.00" + files);

    ClickRow(1);
    window->mmMainInsertClick();
    EXPECT_EQ(shown(), "Kavel.def Editor v1.00*" + files);
    window->mmMainUndoClick();
    EXPECT_EQ(shown(), "Kavel.def Editor v1.00" + files);
    window->mmMainRedoClick();
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(shown(), "Kavel.def Editor v1.00" + files);
}

TEST_F(WindowTest, UnsavedChangesAreSavedDiscardedOrKeptAsTheUserSays) {
    OpenSample();
    const QByteArray original = ReadBytes(Path("kavel.def"));
    ClickRow(2);
    TypeAndLeave(window->edPosX, "12.5");

    // Cancel keeps the window and the document; so does a new open.
    platform.saveChangesAnswers = {SaveAnswer::Cancel, SaveAnswer::Cancel};
    EXPECT_FALSE(window->close());
    platform.openAnswers = {Path("kavel.def"), Path("textdb_en.def")};
    window->mmMainOpenClick();
    EXPECT_EQ(platform.saveQuestions.size(), 2);
    EXPECT_EQ(platform.saveQuestions[0],
              "Kavel.def Editor: Save changes to the menu definition file?");
    EXPECT_EQ(platform.openRequests.size(), 2u);  // only the first open's two dialogs
    EXPECT_EQ(Record(*window, 2).posX, 12.5f);

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

TEST_F(WindowTest, DiscardClosesWithoutWritingAndNothingIsAskedWithoutChanges) {
    OpenSample();
    ClickRow(2);
    TypeInto(window->edPosX, "1");
    platform.saveChangesAnswers = {SaveAnswer::Discard};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(platform.saveQuestions.size(), 1);
    EXPECT_EQ(ReadBytes(Path("kavel.def")), SampleBytes("kavel.def"));

    // Undone back to the loaded state, the document closes without a word.
    window->show();
    QApplication::setActiveWindow(window.get());
    OpenSample();
    ClickRow(2);
    TypeAndLeave(window->edPosX, "1");
    window->mmMainUndoClick();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(platform.saveQuestions.size(), 1);
}
