#include <QAction>
#include <QPushButton>
#include <QStyle>

#include "document/type_code.h"
#include "window_fixture.h"

namespace {

const MenuItemRecord& Record(const TmainWin& window, std::size_t index) {
    return window.menuItems().at(index);
}

}  // namespace

TEST_F(WindowTest, FieldsCommitWhenLeftWithTab) {
    OpenSample();
    ClickRow(2);
    TypeInto(window->edPosX, "12.5");
    QTest::keyClick(window->edPosX, Qt::Key_Tab);
    EXPECT_EQ(Record(*window, 2).posX, 12.5f);
    EXPECT_EQ(window->edPosX->text(), "12.5");

    TypeInto(window->edColor, "$ff");
    QTest::keyClick(window->edColor, Qt::Key_Tab);
    EXPECT_EQ(Record(*window, 2).color, 255u);
    EXPECT_EQ(window->edColor->text(), "0x000000FF");

    TypeInto(window->edID, "012");
    QTest::keyClick(window->edID, Qt::Key_Tab);
    EXPECT_EQ(Record(*window, 2).id, 12);
    EXPECT_EQ(window->edID->text(), "12");

    TypeInto(window->edScaleY, "0.1");
    QTest::keyClick(window->edScaleY, Qt::Key_Tab);
    EXPECT_EQ(window->edScaleY->text(), "0.100000001490116");
    // The list labels are untouched by these fields.
    EXPECT_EQ(window->lbMain->model()->index(2, 0).data().toString(), "2   butt");
}

TEST_F(WindowTest, ATypedValueLandsInItsRecordWhenAnotherRowIsClicked) {
    OpenSample();
    ClickRow(3);
    TypeInto(window->edTextdb, "4242");
    ClickRow(5);
    EXPECT_EQ(Record(*window, 3).textId, 4242);
    EXPECT_EQ(window->selectedIndex(), 5);
    EXPECT_NE(Record(*window, 5).textId, 4242);
}

TEST_F(WindowTest, ConversionErrorsGoToTheErrorBoxAndChangeNothing) {
    OpenSample();
    ClickRow(2);
    const MenuItemRecord before = Record(*window, 2);
    TypeInto(window->edID, "");
    QTest::keyClick(window->edID, Qt::Key_Tab);
    Settle();
    TypeInto(window->edPosY, "1,5");
    QTest::keyClick(window->edPosY, Qt::Key_Tab);
    Settle();
    EXPECT_EQ(window->edPosY->text(), "1,5");  // the bad text stays until a refresh
    TypeInto(window->edFont, "0x100000000");
    QTest::keyClick(window->edFont, Qt::Key_Tab);
    Settle();
    ASSERT_EQ(platform.errorBoxes.size(), 3);
    EXPECT_EQ(platform.errorBoxes[0], "Kavel.def Editor: '' is not a valid integer value.");
    EXPECT_EQ(platform.errorBoxes[1],
              "Kavel.def Editor: '1,5' is not a valid floating point value.");
    EXPECT_EQ(platform.errorBoxes[2],
              "Kavel.def Editor: '0x100000000' is not a valid integer value.");
    EXPECT_EQ(Record(*window, 2).id, before.id);
    EXPECT_EQ(Record(*window, 2).posY, before.posY);

    // Under a comma locale the same text is right.
    platform.separator = u',';
    TypeInto(window->edPosY, "1,5");
    QTest::keyClick(window->edPosY, Qt::Key_Tab);
    EXPECT_EQ(Record(*window, 2).posY, 1.5f);
    EXPECT_EQ(window->edPosY->text(), "1,5");
}

TEST_F(WindowTest, NoClickOrKeyLeavesTheListWithoutASelection) {
    OpenSample();
    ClickRow(3);
    QListView* list = window->lbMain;
    const QRect row = list->visualRect(list->model()->index(3, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
    EXPECT_EQ(window->selectedIndex(), 3);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(window->selectedIndex(), 3);
    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(window->selectedIndex(), 4);
    // So an edit still lands in a record.
    TypeAndLeave(window->edPosX, "50");
    EXPECT_EQ(Record(*window, 4).posX, 50.0f);
}

TEST_F(WindowTest, AltCommitsNothingUnderAStyleThatTakesTheFocusToTheMenuBar) {
    const QString style = QApplication::style()->name();
    QApplication::setStyle(QStringLiteral("windows"));
    OpenSample();
    ClickRow(2);
    const float before = Record(*window, 2).posX;
    TypeInto(window->edPosX, "abc");
    QTest::keyClick(window->edPosX, Qt::Key_Alt);
    Settle();
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
    EXPECT_EQ(Record(*window, 2).posX, before);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(window->edPosX->text(), "abc");
    QApplication::setStyle(style);
}

TEST_F(WindowTest, TheTypeBoxTakesFourCharactersAndRestoresWhenCleared) {
    OpenSample();
    ClickRow(2);
    window->cbType->setFocus(Qt::MouseFocusReason);
    window->cbType->setCurrentIndex(2);  // "wint - Window with caption"
    QTest::keyClick(window->cbType, Qt::Key_Tab);
    EXPECT_EQ(QByteArray(Record(*window, 2).type, 4), QByteArray("tniw"));
    EXPECT_EQ(window->lbMain->model()->index(2, 0).data().toString(), "2   wint");
    EXPECT_EQ(window->cbType->currentText(), "wint");

    window->cbType->setFocus(Qt::MouseFocusReason);
    window->cbType->clearEditText();
    QTest::keyClick(window->cbType, Qt::Key_Tab);
    EXPECT_EQ(window->cbType->currentText(), "wint");
    EXPECT_TRUE(type_code::IsWindow(Record(*window, 2)));
}

TEST_F(WindowTest, LeavingTheTypeBoxUnchangedKeepsAllFourStoredBytes) {
    QByteArray bytes = SampleBytes("kavel.def");
    bytes.replace(2 * kMenuItemRecordSize + 4, 4, QByteArray("\x41\x00\x62\x61", 4));
    WriteBytes(Path("odd.def"), bytes);
    WriteBytes(Path("textdb_en.def"), SampleBytes("textdb_en.def"));
    OpenFiles(Path("odd.def"), Path("textdb_en.def"));
    ClickRow(2);
    EXPECT_EQ(window->cbType->currentText(), "ab");
    window->cbType->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(window->cbType, Qt::Key_Tab);
    EXPECT_FALSE(window->document().isModified());
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadBytes(Path("odd.def")), bytes);
}

TEST_F(WindowTest, DuplicateAndDeleteKeepTheSelectionAndCountRules) {
    OpenSample();
    const std::size_t count = window->menuItems().size();
    ClickRow(4);
    window->edID->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(window->edID, Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(window->edID, Qt::Key_I, Qt::ControlModifier);
    ASSERT_EQ(window->menuItems().size(), count + 2);
    EXPECT_EQ(window->selectedIndex(), 6);
    EXPECT_EQ(window->lbStatus2->text(), "Inserted new menu item.");
    EXPECT_EQ(window->lbMIcount2->text(), QString::number(count + 2));
    EXPECT_EQ(Record(*window, 5).id, Record(*window, 4).id);
    EXPECT_EQ(Record(*window, 6).id, Record(*window, 4).id);
    EXPECT_EQ(window->lbMain->model()->index(static_cast<int>(count + 1), 0).data().toString(),
              QString::number(count + 1) + "   stop");

    // Del in a field asks to delete the record; No keeps everything.
    platform.yesNoAnswers = {false, true};
    window->edID->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(window->edID, Qt::Key_Delete);
    EXPECT_EQ(platform.questions.size(), 1);
    EXPECT_EQ(platform.questions[0], "Kavel.def Editor: Delete menu item?");
    EXPECT_EQ(window->menuItems().size(), count + 2);
    QTest::keyClick(window->edID, Qt::Key_Delete);
    EXPECT_EQ(window->menuItems().size(), count + 1);
    EXPECT_EQ(window->selectedIndex(), 5);
    EXPECT_EQ(window->lbStatus2->text(), "Menu item deleted.");

    // Deleting the first record selects the new first one.
    platform.yesNoAnswers = {true};
    ClickRow(0);
    window->mmMainDeleteClick();
    EXPECT_EQ(window->selectedIndex(), 0);
    EXPECT_EQ(window->cbType->currentText(), "wint");
}

TEST_F(WindowTest, DeleteRefusesTheLastRecord) {
    QByteArray one(36, '\0');
    WriteBytes(Path("one.def"), one);
    WriteBytes(Path("db.def"), QByteArray(8, '\0'));
    OpenFiles(Path("one.def"), Path("db.def"));
    window->mmMainDeleteClick();
    EXPECT_EQ(platform.messageBoxes,
              QStringList{"Kavel.def Editor: Menu item must be at least 1!"});
    EXPECT_TRUE(platform.questions.isEmpty());
    EXPECT_EQ(window->menuItems().size(), 1u);
}

TEST_F(WindowTest, CopyAndPasteOverwriteTheSelectedRecord) {
    OpenSample();
    // Paste does nothing before a Copy.
    ClickRow(3);
    const MenuItemRecord third = Record(*window, 3);
    QTest::keyClick(window->lbMain, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Record(*window, 3).id, third.id);
    EXPECT_FALSE(window->btPaste->isEnabled());

    ClickRow(1);
    QTest::keyClick(window->lbMain, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(window->mmMainPaste->isEnabled());
    EXPECT_TRUE(window->btPaste->isEnabled());
    ClickRow(3);
    QTest::mouseClick(window->btPaste, Qt::LeftButton);
    EXPECT_EQ(Record(*window, 3).id, Record(*window, 1).id);
    EXPECT_EQ(QByteArray(Record(*window, 3).type, 4), QByteArray(Record(*window, 1).type, 4));
    EXPECT_EQ(window->lbMain->model()->index(3, 0).data().toString(), "3   wint");
    EXPECT_EQ(window->selectedIndex(), 3);

    // The copy survives loading another document.
    OpenSample();
    EXPECT_TRUE(window->mmMainPaste->isEnabled());
    ClickRow(0);
    window->mmMainPasteClick();
    EXPECT_EQ(Record(*window, 0).id, Record(*window, 1).id);
}

TEST_F(WindowTest, ClickingAPanelButtonCommitsTheFieldFirst) {
    OpenSample();
    ClickRow(2);
    TypeInto(window->edPosX, "77");
    QTest::mouseClick(window->btCopy, Qt::LeftButton);
    EXPECT_EQ(Record(*window, 2).posX, 77.0f);
    // A shortcut commits nothing: the typed text is lost on the refresh.
    TypeInto(window->edPosX, "99");
    QTest::keyClick(window->edPosX, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(Record(*window, 3).posX, 77.0f);
    EXPECT_EQ(window->edPosX->text(), "77");
}
