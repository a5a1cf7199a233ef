// The property panel and the record commands through the window. What the
// texts of numbers may be, and how each command changes the records, is
// tested in base/ and editing/; here a field's text reaches its record.
#include <QAbstractItemView>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QUndoStack>
#include <QWindow>

#include "window_fixture.h"

TEST_F(WindowTest, AFieldCommitsWhenTheFocusLeavesItAndAnErrorChangesNothing) {
    OpenSample();
    ClickRow(2);
    TypeAndLeave(window->edColor, "$ff");
    TypeAndLeave(window->edID, "012");
    // Shown again as the record now holds them.
    EXPECT_EQ(window->edColor->text(), "0x000000FF");
    EXPECT_EQ(window->edID->text(), "12");

    // A click on another row, or on a panel button, takes the typed text first.
    TypeInto(window->edTextdb, "4242");
    ClickRow(3);
    EXPECT_EQ(Record(2).textId, 4242);
    EXPECT_EQ(window->selectedIndex(), 3);
    TypeInto(window->edPosX, "77");
    QTest::mouseClick(window->btCopy, Qt::LeftButton);
    EXPECT_EQ(Record(3).posX, 77.0f);
    // A shortcut commits nothing: the typed text is lost on the refresh.
    TypeInto(window->edPosX, "99");
    QTest::keyClick(window->edPosX, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(Record(4).posX, 77.0f);
    EXPECT_EQ(window->edPosX->text(), "77");

    const int steps = window->document().history().count();
    TypeAndLeave(window->edPosY, "1,5");
    Settle();
    EXPECT_EQ(platform.errorBoxes,
              QStringList{"Kavel.def Editor: '1,5' is not a valid floating point value."});
    EXPECT_EQ(window->document().history().count(), steps);
    // Under a comma locale the same text is right, and shown so.
    platform.separator = u',';
    TypeAndLeave(window->edPosY, "1,5");
    EXPECT_EQ(Record(4).posY, 1.5f);
    EXPECT_EQ(window->edPosY->text(), "1,5");
    EXPECT_EQ(window->edPosY->toolTip(), "");
    // A value too long for its field shows whole when pointed at.
    TypeAndLeave(window->edPosY, "1e30");
    EXPECT_EQ(window->edPosY->text(), "1,00000001504747E30");
    EXPECT_EQ(window->edPosY->toolTip(), window->edPosY->text());
}

// Enter takes a field's text over and stays in the field; Escape puts the
// stored value back. The type box's rows show whole.
TEST_F(WindowTest, EnterCommitsAFieldInPlaceAndEscapeTakesTheTypingBack) {
    OpenSample();
    ClickRow(2);
    QUndoStack& history = window->document().history();
    TypeInto(window->edPosX, "77");
    QTest::keyClick(window->edPosX, Qt::Key_Return);
    EXPECT_EQ(history.count(), 1);
    EXPECT_TRUE(window->edPosX->hasFocus());
    EXPECT_EQ(window->edPosX->selectedText(), "77");

    // Typing not yet taken over marks the title as unsaved work does.
    const auto marked = [this] { return window->windowHandle()->title().contains("*"); };
    window->mmMainSaveClick();
    EXPECT_FALSE(marked());
    QTest::keyClicks(window->edPosX, "88");
    EXPECT_TRUE(marked());
    QTest::keyClick(window->edPosX, Qt::Key_Escape);
    EXPECT_FALSE(marked());
    EXPECT_EQ(window->edPosX->text(), "77");
    QTest::keyClick(window->edPosX, Qt::Key_Tab);
    EXPECT_EQ(Record(2).posX, 77.0f);
    EXPECT_EQ(history.count(), 1);

    window->cbType->setFocus(Qt::TabFocusReason);
    window->cbType->lineEdit()->selectAll();
    QTest::keyClicks(window->cbType, "stxt");
    QTest::keyClick(window->cbType, Qt::Key_Escape);
    EXPECT_EQ(window->cbType->currentText(), "butt");
    window->cbType->lineEdit()->selectAll();
    QTest::keyClicks(window->cbType, "stxt");
    // Taken over (the random runs see the record change), the focus kept.
    QTest::keyClick(window->cbType, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(window->cbType->hasFocus());

    // Opening its own list, by the arrow, takes nothing over.
    ClickRow(3);
    window->cbType->setFocus(Qt::MouseFocusReason);
    window->cbType->lineEdit()->selectAll();
    QTest::keyClicks(window->cbType, "zz");
    {
        QStyleOptionComboBox option;
        option.initFrom(window->cbType);
        option.editable = true;
        const QRect arrow = window->cbType->style()->subControlRect(
            QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, window->cbType);
        QTest::mouseClick(window->cbType, Qt::LeftButton, {}, arrow.center());
    }
    EXPECT_TRUE(window->cbType->view()->isVisible());
    EXPECT_EQ(window->lbMain->model()->index(3, 0).data().toString(), "3   butt");
    window->cbType->hidePopup();
    QTest::keyClick(window->cbType, Qt::Key_Escape);
    EXPECT_EQ(window->cbType->currentText(), "butt");

    // Its drop-down list shows every description whole.
    window->cbType->showPopup();
    QAbstractItemView* rows = window->cbType->view();
    const int margin = rows->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, rows);
    for (int row = 0; row < window->cbType->count(); ++row) {
        EXPECT_LE(QFontMetricsF(rows->font()).horizontalAdvance(window->cbType->itemText(row)),
                  rows->viewport()->width() - 2 * (margin + 1))
            << row;
    }
    window->cbType->hidePopup();
}

// Under a style that takes the focus to the menu bar when Alt is pressed.
// Record 2's type is stored as "A\0ba": shown "ab", it cannot be typed back.
TEST_F(WindowTest, ARowIsAlwaysSelectedAltCommitsNothingAndTheTypeBoxKeepsStoredBytes) {
    const QString style = QApplication::style()->name();
    QApplication::setStyle(QStringLiteral("windows"));
    QByteArray bytes = SampleBytes("kavel.def");
    bytes.replace(2 * kMenuItemRecordSize + 4, 4, QByteArray("\x41\x00\x62\x61", 4));
    OpenSample(bytes);
    // Ctrl+Down takes the selection along. (Ctrl+click and Ctrl+Space on the
    // one row selected are in the random runs.)
    ClickRow(3);
    QTest::keyClick(window->lbMain, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(window->selectedIndex(), 4);

    // The type box takes four characters, or shows the stored type again.
    ClickRow(2);
    EXPECT_EQ(window->cbType->currentText(), "ab");
    const auto leaveTypeBox = [this](const std::function<void()>& edit) {
        window->cbType->setFocus(Qt::MouseFocusReason);
        edit();
        QTest::keyClick(window->cbType, Qt::Key_Tab);
    };
    leaveTypeBox([] {});
    EXPECT_FALSE(window->document().isModified());
    leaveTypeBox([this] { window->cbType->setCurrentIndex(2); });  // "wint - Window with caption"
    EXPECT_EQ(QByteArray(Record(2).type, 4), QByteArray("tniw"));
    EXPECT_EQ(window->cbType->currentText(), "wint");
    leaveTypeBox([this] { window->cbType->clearEditText(); });
    EXPECT_EQ(window->cbType->currentText(), "wint");
    EXPECT_EQ(window->document().history().count(), 1);

    TypeInto(window->edPosX, "abc");
    QTest::keyClick(window->edPosX, Qt::Key_Alt);
    Settle();
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(window->edPosX->text(), "abc");
    QApplication::setStyle(style);
}

// A type code is single bytes of the code page: a character it lacks is
// refused by name in the error box, and nothing changes. The list opens at
// the row of the code; an empty row between the groups chooses no code, so
// the box shows the record's again.
TEST_F(WindowTest, TheTypeBoxRefusesWhatACodeCannotHoldAndItsListKnowsTheCode) {
    OpenSample();
    ClickRow(3);
    TypeBox* box = window->cbType;
    box->setFocus(Qt::MouseFocusReason);
    box->lineEdit()->selectAll();
    // As an input method hands over what a keyboard cannot.
    for (const QChar c : QString::fromUtf8("\u03A9\u597D"))
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), {});
    QTest::keyClick(box, Qt::Key_Tab);
    Settle();
    EXPECT_EQ(platform.errorBoxes,
              QStringList{QString::fromUtf8("Kavel.def Editor: A type code cannot hold '\u03A9': "
                                            "it is not a Windows-1252 character.")});
    EXPECT_EQ(QByteArray(Record(3).type, 4), "ttub");
    EXPECT_EQ(window->document().history().count(), 0);

    ClickRow(2);  // butt
    box->showPopup();
    QAbstractItemView* rows = box->view();
    EXPECT_TRUE(rows->currentIndex().data().toString().startsWith("butt - "));
    const QModelIndex empty = rows->model()->index(box->findText(QString()), 0);
    rows->scrollTo(empty);
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualRect(empty).center());
    EXPECT_EQ(box->currentText(), "butt");
}

// Which records the commands change and select is left to the random runs;
// here their keys, their buttons and what the status line says.
TEST_F(WindowTest, RecordCommandsAnswerTheirKeysAndButtonsAndSayWhatTheyDid) {
    OpenSample();
    ClickRow(4);
    QTest::keyClick(window->edID, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(window->selectedIndex(), 5);
    EXPECT_EQ(window->lbStatus2->text(), "Inserted new menu item.");
    // Del in a field asks to delete the record.
    platform.yesNoAnswers = {true};
    QTest::keyClick(window->edID, Qt::Key_Delete);
    EXPECT_EQ(platform.questions, QStringList{"Kavel.def Editor: Delete menu item?"});
    EXPECT_EQ(window->lbStatus2->text(), "Menu item deleted.");

    // Paste's button is enabled once there is a copy.
    EXPECT_FALSE(window->btPaste->isEnabled());
    ClickRow(0);
    QTest::keyClick(window->lbMain, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(window->btPaste->isEnabled());
    ClickRow(3);
    QTest::mouseClick(window->btPaste, Qt::LeftButton);
    EXPECT_EQ(EncodeMenuItems({Record(3)}), EncodeMenuItems({Record(0)}));

    // The copy outlives the document.
    const std::int32_t copied = Record(0).id;
    platform.saveChangesAnswers = {SaveAnswer::Discard};
    OpenSample(QByteArray(kMenuItemRecordSize, '\0'));
    QTest::keyClick(window->lbMain, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Record(0).id, copied);
}
