// Laying out whole screens through the window: what the panel shows of
// several records, the Arrange menu's place and why its entries are
// disabled, and the clipboard's contents. Which records the list, the preview
// and the commands select and change is left to the random runs
// (window_soak_test.cpp), which check it after every step; the selection's
// rules, the commands' bytes and the arithmetic are tested in editing/.
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUndoStack>

#include "app/arrange_menu.h"
#include "app/text_line.h"
#include "dump/record_transfer.h"
#include "editing/record_selection.h"
#include "window_fixture.h"

// In the sample, record 1 is a captioned window whose buttons 2 to 6 agree
// in X (30) and differ in Y and text.
TEST_F(WindowTest, ThePanelShowsWhatSeveralAgreeInAndADeleteOfSeveralSaysHowMany) {
    OpenSample();
    ClickRow(2);
    ClickRow(5, Qt::ShiftModifier);
    EXPECT_EQ(window->edPosX->text(), "30");
    EXPECT_EQ(window->edPosY->text(), "");
    EXPECT_EQ(window->cbType->currentText(), "butt");
    EXPECT_EQ(window->textLine->field()->text(), "");
    EXPECT_EQ(window->textLine->field()->placeholderText(), "(several)");
    EXPECT_TRUE(window->textLine->field()->isReadOnly());
    // Ctrl+A in a field selects its text, not every record.
    window->edPosX->setFocus();
    QTest::keyClick(window->edPosX, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window->edPosX->selectedText(), "30");
    EXPECT_EQ(window->selection().count(), 4u);

    platform.yesNoAnswers = {true};
    window->mmMainDeleteClick();
    EXPECT_EQ(window->lbStatus2->text(), "4 menu items deleted.");
}

TEST_F(WindowTest, ArrangeEntriesSitInTheMenuBarAndSayWhyTheyCannot) {
    OpenSample();
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    EXPECT_EQ(bar.at(3), window->arrangeMenu->menu()->menuAction());
    EXPECT_EQ(bar.at(3)->text(), "&Arrange");
    QAction* left = window->arrangeMenu->Action(arrange::Arrangement::AlignLeft);
    QAction* distribute = window->arrangeMenu->Action(arrange::Arrangement::DistributeVertically);
    ClickRow(3);
    EXPECT_EQ(left->toolTip(), "Select two or more elements of one screen.");
    ClickRow(12, Qt::ControlModifier);
    EXPECT_EQ(left->toolTip(), "The selection holds records of different screens.");
    ClickRow(12, Qt::ControlModifier);
    ClickRow(1, Qt::ControlModifier);
    EXPECT_EQ(left->toolTip(), "The selection holds a window together with its own elements.");

    // Each entry is one step under its own name.
    ClickRow(2);
    ClickRow(3, Qt::ControlModifier);
    ClickRow(7, Qt::ControlModifier);
    QUndoStack& history = window->document().history();
    distribute->trigger();
    EXPECT_EQ(history.undoText(), "Distribute Vertically");
    window->arrangeMenu->Action(arrange::Arrangement::AlignTop)->trigger();
    EXPECT_EQ(history.undoText(), "Align Top Edges");
}

TEST_F(WindowTest, CopyPutsRecordsAndTheirDumpOnTheClipboardAndAFaultyDumpIsRefusedByPlace) {
    OpenSample();
    const MenuItemRecord loadingScreen = Record(29);  // winc, 800 x 600
    QClipboard* clipboard = QGuiApplication::clipboard();
    ClickRow(2);
    ClickRow(4, Qt::ControlModifier);
    window->mmMainCopyClick();
    const std::vector<MenuItemRecord> copied = {Record(2), Record(4)};
    EXPECT_EQ(clipboard->text().toUtf8(), dump::RecordsText(copied, nullptr));
    EXPECT_EQ(clipboard->mimeData()->data(dump::kRecordsMimeType), EncodeMenuItems(copied));

    // Text that is no dump is refused with its place, and nothing changes.
    QByteArray text = dump::RecordsText({loadingScreen}, nullptr);
    text.replace(",800,", ",8OO,");
    clipboard->setText(QString::fromUtf8(text));
    window->mmMainPasteClick();
    Settle();
    EXPECT_EQ(platform.errorBoxes,
              QStringList{"Kavel.def Editor: The clipboard's text is not a dump of menu items: "
                          "line 2, field scaleX: '8OO' is not a valid floating point value."});
    QUndoStack& history = window->document().history();
    EXPECT_EQ(history.count(), 0);
    // Paste follows the clipboard: an image is nothing to paste, and then
    // the records copied here are pasted.
    clipboard->setImage(QImage(2, 2, QImage::Format_RGB32));
    EXPECT_TRUE(window->mmMainPaste->isEnabled());
    window->mmMainPasteClick();
    EXPECT_EQ(history.undoText(), "Paste items");
}
