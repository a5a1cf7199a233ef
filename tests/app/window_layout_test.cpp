// Laying out whole screens through the window: several records selected in
// the list and the preview, the panel and the commands on all of them, the
// Arrange menu, and copy and paste through the clipboard. The selection's
// rules, the commands' bytes and the arithmetic are tested in editing/.
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUndoStack>

#include "app/arrange_menu.h"
#include "app/text_line.h"
#include "app/preview_panel.h"
#include "dump/record_transfer.h"
#include "editing/record_selection.h"
#include "preview/placement.h"
#include "window_fixture.h"

namespace {

// In the sample, record 1 is a captioned window at (250, 110) whose
// buttons 2 to 6 stand at (280, 172 + 40 k), 240 x 30, on the screen.
class LayoutTest : public WindowTest {
  protected:
    PreviewPanel& Panel() { return *window->pnMap; }
    QWidget* View() { return Panel().viewport(); }
    QPoint At(double x, double y) {
        const QSize size = Panel().drawnSize();
        return Panel().view().ToArea(
            QPoint(preview::MapX(x, size.width()), preview::MapY(y, size.height())));
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = {}) {
        QTest::mousePress(View(), Qt::LeftButton, keys, from);
        QTest::mouseEvent(QTest::MouseMove, View(), Qt::NoButton, keys, from + (to - from) / 2);
        QTest::mouseEvent(QTest::MouseMove, View(), Qt::NoButton, keys, to);
        QTest::mouseRelease(View(), Qt::LeftButton, keys, to);
    }
    std::vector<RowRange> Selected() { return window->selection().rows().ranges(); }
    QUndoStack& History() { return window->document().history(); }
};

}  // namespace

TEST_F(LayoutTest, TheListSelectsSeveralAndThePanelSetsAFieldOnAllOfThemAsOneStep) {
    OpenSample();
    ClickRow(2);
    ClickRow(4, Qt::ShiftModifier);
    ClickRow(6, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{2, 5}, {6, 7}}));
    EXPECT_EQ(window->selectedIndex(), 6);
    window->lbMain->setFocus();
    QTest::keyClick(window->lbMain, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{6, 8}}));
    ClickRow(2);
    QTest::keyClick(window->lbMain, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(window->lbMain, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(window->lbMain, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{2, 6}}));

    // The buttons 2 to 5 agree in X (30) and differ in Y and text.
    EXPECT_EQ(window->edPosX->text(), "30");
    EXPECT_EQ(window->edPosY->text(), "");
    EXPECT_EQ(window->cbType->currentText(), "butt");
    EXPECT_EQ(window->textLine->field()->text(), "");
    EXPECT_EQ(window->textLine->field()->placeholderText(), "(several)");
    EXPECT_TRUE(window->textLine->field()->isReadOnly());
    TypeAndLeave(window->edPosX, "45");
    // An empty field left without typing changes nothing.
    window->edPosY->setFocus();
    QTest::keyClick(window->edPosY, Qt::Key_Tab);
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
    for (const std::size_t row : {2, 3, 4, 5}) EXPECT_EQ(Record(row).posX, 45.0f) << row;
    EXPECT_EQ(Record(6).posX, 30.0f);
    EXPECT_EQ(History().count(), 1);
    EXPECT_EQ(History().undoText(), "X position");
    TypeAndLeave(window->edPosY, "7");
    window->cbType->setFocus(Qt::MouseFocusReason);
    window->cbType->lineEdit()->selectAll();
    QTest::keyClicks(window->cbType, "stxt");
    QTest::keyClick(window->cbType, Qt::Key_Tab);
    EXPECT_EQ(window->lbMain->model()->index(5, 0).data().toString(), "5   stxt");
    EXPECT_EQ(History().count(), 3);
    window->mmMainUndoClick();
    window->mmMainUndoClick();
    EXPECT_EQ(Record(3).posY, 60.0f);
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{2, 6}}));

    // Ctrl+A: every record in the list, the text in a field.
    window->lbMain->setFocus();
    QTest::keyClick(window->lbMain, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{0, 71}}));
    ClickRow(3);
    window->edPosX->setFocus();
    QTest::keyClick(window->edPosX, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window->edPosX->selectedText(), "45");
    EXPECT_EQ(window->selection().count(), 1u);
}

TEST_F(LayoutTest, ThePreviewSelectsByCtrlClickBandAndCtrlAAndDragsTheGroup) {
    OpenSample();
    ClickRow(2);
    QTest::mouseClick(View(), Qt::LeftButton, Qt::ControlModifier, At(400, 267));
    QTest::mouseClick(View(), Qt::LeftButton, Qt::ShiftModifier, At(400, 307));
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{2, 3}, {4, 6}}));
    EXPECT_EQ(Panel().marks().selected.size(), 2u);
    QTest::mouseClick(View(), Qt::LeftButton, Qt::ControlModifier, At(400, 267));
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{2, 3}, {5, 6}}));

    // A band from empty space touches buttons 3 and 4; from the window's own
    // box with Shift it adds button 6.
    Drag(At(200, 220), At(300, 260));
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{3, 5}}));
    Drag(At(260, 330), At(300, 340), Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{3, 5}, {6, 7}}));
    EXPECT_EQ(window->selectedIndex(), 3);

    // The group moves by the same units in one step; Escape calls it off.
    const double dx = preview::UnitsX(20, Panel().drawnSize().width());
    Drag(At(400, 227), At(400, 227) + QPoint(20, 0), Qt::AltModifier);
    for (const std::size_t row : {3, 4, 6}) EXPECT_EQ(Record(row).posX, 30 + dx) << row;
    EXPECT_EQ(Record(5).posX, 30.0f);
    EXPECT_EQ(History().undoText(), "Move elements");
    QTest::mousePress(View(), Qt::LeftButton, {}, At(400, 267));
    QTest::mouseEvent(QTest::MouseMove, View(), Qt::NoButton, {}, At(400, 267) + QPoint(0, 30));
    QTest::keyClick(&Panel(), Qt::Key_Escape);
    QTest::mouseRelease(View(), Qt::LeftButton, {}, At(400, 267) + QPoint(0, 30));
    EXPECT_EQ(Record(4).posY, 100.0f);
    EXPECT_EQ(History().count(), 1);
    // Arrows nudge the selection, one step a run.
    QTest::keyClick(&Panel(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&Panel(), Qt::Key_Left);
    EXPECT_EQ(Record(6).posY, 190.0f);
    EXPECT_EQ(Record(3).posX, 29 + dx);
    EXPECT_EQ(History().count(), 2);

    // Ctrl+A in the preview: every element of the screen shown.
    QTest::keyClick(&Panel(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{2, 11}}));
    // With its window, the elements move along with it, not twice.
    ClickRow(1, Qt::ControlModifier);
    QTest::keyClick(&Panel(), Qt::Key_Right);
    EXPECT_EQ(Record(1).posX, 251.0f);
    EXPECT_EQ(Record(2).posX, 30.0f);
}

TEST_F(LayoutTest, ArrangeEntriesAlignDistributeAndSizeOrSayWhyTheyCannot) {
    OpenSample();
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    EXPECT_EQ(bar.at(3), window->arrangeMenu->menu()->menuAction());
    EXPECT_EQ(bar.at(3)->text(), "&Arrange");
    QAction* left = window->arrangeMenu->Action(arrange::Arrangement::AlignLeft);
    QAction* distribute = window->arrangeMenu->Action(arrange::Arrangement::DistributeVertically);
    QAction* sameWidth = window->arrangeMenu->Action(arrange::Arrangement::SameWidth);
    ClickRow(3);
    EXPECT_FALSE(left->isEnabled());
    EXPECT_EQ(left->toolTip(), "Select two or more elements of one screen.");
    ClickRow(12, Qt::ControlModifier);
    EXPECT_EQ(left->toolTip(), "The selection holds records of different screens.");
    ClickRow(12, Qt::ControlModifier);
    ClickRow(1, Qt::ControlModifier);
    EXPECT_EQ(left->toolTip(), "The selection holds a window together with its own elements.");
    EXPECT_FALSE(distribute->isEnabled());

    // Buttons 2, 3 and 7 (at y 20, 60 and 250, 30 high): distributed, 3
    // goes to the middle of the room between the others.
    ClickRow(2);
    ClickRow(3, Qt::ControlModifier);
    ClickRow(7, Qt::ControlModifier);
    ASSERT_TRUE(distribute->isEnabled());
    distribute->trigger();
    EXPECT_EQ(Record(3).posY, 135.0f);
    EXPECT_EQ(History().undoText(), "Distribute Vertically");
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{2, 4}, {7, 8}}));
    // Same width as the current record, and left edges to the leftmost.
    ClickRow(7);
    TypeAndLeave(window->edScaleX, "100");
    TypeAndLeave(window->edPosX, "10");
    ClickRow(2, Qt::ControlModifier);
    ClickRow(3, Qt::ControlModifier);
    ClickRow(7, Qt::ControlModifier);
    ClickRow(7, Qt::ControlModifier);  // current again, as it was clicked last
    EXPECT_EQ(window->selectedIndex(), 7);
    sameWidth->trigger();
    left->trigger();
    for (const std::size_t row : {2, 3}) {
        EXPECT_EQ(Record(row).scaleX, 100.0f) << row;
        EXPECT_EQ(Record(row).posX, 10.0f) << row;
    }
    EXPECT_EQ(History().undoText(), "Align Left Edges");
    window->mmMainUndoClick();
    EXPECT_EQ(Record(2).posX, 30.0f);
}

TEST_F(LayoutTest, DeleteAsksOnceDuplicateCopiesAfterTheLastAndEachIsOneStep) {
    OpenSample();
    ClickRow(3);
    ClickRow(5, Qt::ShiftModifier);
    ClickRow(8, Qt::ControlModifier);
    window->mmMainInsertClick();
    EXPECT_EQ(window->lbMIcount2->text(), "75");
    EXPECT_EQ(Record(9).id, 102);
    EXPECT_EQ(Record(12).id, 107);
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{9, 13}}));
    EXPECT_EQ(window->selectedIndex(), 12);
    EXPECT_EQ(History().undoText(), "Duplicate items");

    platform.yesNoAnswers = {true};
    window->mmMainDeleteClick();
    EXPECT_EQ(platform.questions, QStringList{"Kavel.def Editor: Delete 4 menu items?"});
    EXPECT_EQ(window->lbMIcount2->text(), "71");
    EXPECT_EQ(window->selectedIndex(), 8);
    EXPECT_EQ(window->lbStatus2->text(), "4 menu items deleted.");
    window->mmMainUndoClick();
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{9, 13}}));

    // All of them would leave none.
    window->lbMain->setFocus();
    QTest::keyClick(window->lbMain, Qt::Key_A, Qt::ControlModifier);
    window->mmMainDeleteClick();
    EXPECT_EQ(platform.messageBoxes, QStringList{"Kavel.def Editor: Menu item must be at least 1!"});
    EXPECT_EQ(platform.questions.size(), 1);
}

TEST_F(LayoutTest, CopyAndPasteGoThroughTheClipboardAsRecordsAndAsTheTextOfADump) {
    OpenSample();
    const MenuItemRecord loadingScreen = Record(29);  // winc, 800 x 600
    QClipboard* clipboard = QGuiApplication::clipboard();
    EXPECT_FALSE(window->mmMainPaste->isEnabled());
    ClickRow(2);
    ClickRow(4, Qt::ControlModifier);
    window->mmMainCopyClick();
    EXPECT_TRUE(window->mmMainPaste->isEnabled());
    const std::vector<MenuItemRecord> copied = {Record(2), Record(4)};
    EXPECT_EQ(clipboard->text().toUtf8(), dump::RecordsText(copied, nullptr));
    EXPECT_EQ(clipboard->mimeData()->data(dump::kRecordsMimeType), EncodeMenuItems(copied));

    // Several records are inserted after the current one and selected.
    ClickRow(10);
    window->mmMainPasteClick();
    EXPECT_EQ(Record(11).id, 101);
    EXPECT_EQ(Record(12).id, 103);
    EXPECT_EQ(Selected(), (std::vector<RowRange>{{11, 13}}));
    EXPECT_EQ(History().undoText(), "Paste items");

    // Text from another program: one record overwrites each selected one.
    QByteArray text = dump::RecordsText({loadingScreen}, nullptr);
    clipboard->setText(QString::fromUtf8(text));
    ClickRow(5);
    ClickRow(6, Qt::ControlModifier);
    window->mmMainPasteClick();
    EXPECT_EQ(EncodeMenuItems({Record(5), Record(6)}),
              EncodeMenuItems({loadingScreen, loadingScreen}));
    EXPECT_EQ(History().count(), 2);

    // Text that is no dump is refused with its place, and nothing changes.
    text.replace(",800,", ",8OO,");
    clipboard->setText(QString::fromUtf8(text));
    window->mmMainPasteClick();
    Settle();
    EXPECT_EQ(platform.errorBoxes,
              QStringList{"Kavel.def Editor: The clipboard's text is not a dump of menu items: "
                          "line 2, field scaleX: '8OO' is not a valid floating point value."});
    EXPECT_EQ(History().count(), 2);
    // Paste follows the clipboard: an image is nothing to paste, and then
    // the records copied here are pasted.
    clipboard->setImage(QImage(2, 2, QImage::Format_RGB32));
    EXPECT_TRUE(window->mmMainPaste->isEnabled());
    window->mmMainPasteClick();
    EXPECT_EQ(History().undoText(), "Paste items");
}
