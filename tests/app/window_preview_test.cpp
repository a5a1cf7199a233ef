#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QUndoStack>
#include <cmath>

#include "app/arrange_menu.h"
#include "app/preview_panel.h"
#include "app/view_menu.h"
#include "app/view_status.h"
#include "app/view_options.h"
#include "document/type_code.h"
#include "preview/hit_test.h"
#include "preview/placement.h"
#include "preview/preview_image.h"
#include "preview/preview_look.h"
#include "window_fixture.h"

namespace {

// In the sample, record 1 is a captioned window at (250, 110), 300 x 380, so
// its elements stand at (250 + x, 152 + y); element 3 is a button at
// (30, 60), 240 x 30: 280..520 x 212..242 on the screen. Hit testing and the
// arithmetic of drags are tested in preview/placement_test.cpp.
class PreviewTest : public WindowTest {
  protected:
    PreviewPanel& Panel() { return *window->pnMap; }
    // Where the pointer's events go.
    QWidget* View() { return Panel().viewport(); }
    QSize Size() { return Panel().drawnSize(); }

    // The pixel of a point of the virtual screen, in the viewport.
    QPoint At(double x, double y) {
        return Panel().view().ToArea(
            QPoint(preview::MapX(x, Size().width()), preview::MapY(y, Size().height())));
    }
    double UnitsX(int pixels) { return preview::UnitsX(pixels, Size().width()); }
    double UnitsY(int pixels) { return preview::UnitsY(pixels, Size().height()); }

    void Press(QPoint at) { QTest::mousePress(View(), Qt::LeftButton, {}, at); }
    void MoveTo(QPoint at, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseEvent(QTest::MouseMove, View(), Qt::NoButton, keys, at);
    }
    void Release(QPoint at, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseRelease(View(), Qt::LeftButton, keys, at);
    }
    void Drag(QPoint from, QPoint by) {
        Press(from);
        MoveTo(from + by);
        Release(from + by);
    }
    Qt::CursorShape CursorOver(QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, View()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(View(), &move);
        return View()->cursor().shape();
    }
    QUndoStack& History() { return window->document().history(); }
};

}  // namespace

TEST_F(PreviewTest, APressSelectsInPlaceADragMovesByWholeUnitsAndAClickCommitsTheFieldFirst) {
    OpenSample();
    ClickRow(1);
    const QImage screen = Panel().Snapshot();
    const QPoint from = At(400, 227);
    Drag(from, {2, -2});  // less than three pixels: a click
    EXPECT_EQ(window->selectedIndex(), 3);
    EXPECT_EQ(History().count(), 0);
    // The window's screen is drawn as it was. (Its marks are the random runs'.)
    EXPECT_EQ(Panel().Snapshot(), screen);

    // A press on another element selects it before the drag, and the panel
    // follows it on its way.
    Press(At(400, 267));
    EXPECT_EQ(window->selectedIndex(), 4);
    for (int step = 1; step <= 20; ++step)
        MoveTo(At(400, 267) + QPoint(step * 7 % 61, step * 3 % 37), Qt::AltModifier);
    MoveTo(At(400, 267) + QPoint(50, 30), Qt::AltModifier);
    EXPECT_EQ(window->edPosX->text(), QString::number(30 + UnitsX(50)));
    Release(At(400, 267) + QPoint(50, 30), Qt::AltModifier);
    EXPECT_EQ(History().undoText(), "Move element");
    window->mmMainUndoClick();
    EXPECT_EQ(Panel().Snapshot(), screen);

    // Dragging the window takes its elements along; Escape puts it back.
    Press(At(300, 130));
    EXPECT_EQ(window->selectedIndex(), 1);
    MoveTo(At(300, 130) + QPoint(40, 40));
    EXPECT_NE(Panel().Snapshot(), screen);
    QTest::keyClick(&Panel(), Qt::Key_Escape);
    MoveTo(At(300, 130) + QPoint(60, 40));
    Release(At(300, 130) + QPoint(60, 40));
    EXPECT_EQ(Record(1).posX, 250.0f);
    EXPECT_EQ(Panel().Snapshot(), screen);
    EXPECT_EQ(History().index(), 0);

    // A click takes the typed field over first, then selects the record on top.
    // 525 is right of element 3 until the typed X moves the window 10 units.
    TypeInto(window->edPosX, "260");
    QTest::mouseClick(View(), Qt::LeftButton, {}, At(525, 227));
    EXPECT_TRUE(Panel().hasFocus());
    EXPECT_EQ(Record(1).posX, 260.0f);
    EXPECT_EQ(window->selectedIndex(), 3);
    EXPECT_EQ(window->edPosX->text(), "30");

    // A double click goes on to the X field of the record it selected.
    QTest::mouseClick(View(), Qt::LeftButton, {}, At(510, 267));
    QTest::mouseDClick(View(), Qt::LeftButton, {}, At(510, 267));
    QTest::mouseRelease(View(), Qt::LeftButton, {}, At(510, 267));
    EXPECT_EQ(window->selectedIndex(), 4);
    EXPECT_TRUE(window->edPosX->hasFocus());
    EXPECT_EQ(History().count(), 1);
    // The window closes (TearDown) with the preview focused: the preview's
    // last events reach nothing of it already gone.
    Panel().setFocus(Qt::MouseFocusReason);
}

// View > "Show elements by themselves" brings back the former drawing: an
// element drawn alone at its own place. The choice is kept for the next
// start. (Selecting and dragging so is left to the random runs.)
TEST_F(PreviewTest, ElementsByThemselvesDrawTheSelectedRecordAloneAndAreRemembered) {
    OpenSample();
    QAction* alone = window->viewOptions->elementsAloneAction();
    ASSERT_EQ(window->menuBar()->actions().at(2), window->mmMainView->menuAction());
    EXPECT_TRUE(alone->isCheckable());
    EXPECT_FALSE(alone->isChecked());
    ClickRow(3);  // drawn in its window: the pixel test below
    alone->trigger();
    EXPECT_EQ(Panel().Snapshot(), preview::RenderPreviewImage(window->menuItems(), 3,
                                                               window->textDb(), Size(), {}));

    // The next window starts with the choice made.
    window.reset();
    window = std::make_unique<TmainWin>(platform);
    EXPECT_TRUE(window->viewOptions->elementsAloneAction()->isChecked());
}

// The View menu once through the window: a game resolution shown fitted and
// at its size, the zoom's keys and its status, a custom size outside the
// game's range refused, a resize followed; the resolution and the grid kept
// for the next start. (What each zoom and size draws is the preview's test.)
TEST_F(PreviewTest, TheViewMenuShowsResolutionsAndZoomsFollowsResizesAndIsRemembered) {
    OpenSample();
    const std::vector<QAction*>& entries = window->viewMenu->resolutions();
    ASSERT_EQ(entries.size(), 8u);
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_TRUE(entries[i]->text().startsWith(QStringLiteral("&%1 ").arg(i + 1))) << i;
    entries[6]->trigger();
    EXPECT_TRUE(entries[6]->isChecked());
    EXPECT_NEAR(Size().width() * 1080.0 / Size().height(), 1920.0, 4.0);
    QTest::keyClick(window.get(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(Size(), QSize(1920, 1080));
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(Size(), QSize(2880, 1620));
    EXPECT_EQ(window->viewStatus->zoomLabel()->text(), "Zoom 150 %");

    platform.sizeAnswers = {QSize(7681, 600), QSize(1000, 700)};
    entries.back()->trigger();
    EXPECT_EQ(platform.errorBoxes, QStringList(QStringLiteral(
        "Kavel.def Editor: The game resolution must be 320 to 7680 pixels wide and 200 to 4320 "
        "pixels high.")));
    EXPECT_TRUE(entries[6]->isChecked());
    entries.back()->trigger();
    EXPECT_TRUE(entries.back()->isChecked());
    EXPECT_NEAR(Size().width() * 700.0 / Size().height(), 1000.0, 4.0);
    window->viewMenu->showGrid()->trigger();

    const QSize fitted = Size();
    window->resize(window->size() - QSize(150, 100));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Size().width() < fitted.width(); }));

    window.reset();
    window = std::make_unique<TmainWin>(platform);
    EXPECT_TRUE(window->viewMenu->resolutions().back()->isChecked());
    EXPECT_EQ(Panel().view().choice().resolution, QSize(1000, 700));
    EXPECT_TRUE(window->viewMenu->showGrid()->isChecked());
}

// What handles and keys do to the records is left to the random runs; an
// element of infinite width is not in them.
TEST_F(PreviewTest, ThePointerShowsWhatAPressTakesHoldOfAndAnEndlessElementStaysPut) {
    OpenSample();
    ClickRow(3);  // in its window: 280..520 x 212..242
    const QPoint corner = Panel().view().ToArea(Panel().marks().box.value().bottomRight());
    EXPECT_EQ(CursorOver(corner), Qt::SizeFDiagCursor);
    EXPECT_EQ(CursorOver(At(350, 227)), Qt::SizeAllCursor);
    EXPECT_EQ(CursorOver(At(100, 200)), Qt::ArrowCursor);

    Drag(corner, {20, 10});
    EXPECT_EQ(History().undoText(), "Resize element");

    // An element whose width is infinite covers the rest of its row: it can
    // be selected there, but neither dragged nor nudged.
    std::vector<MenuItemRecord> records(2);
    type_code::SetFromShown(records[0], "wind");
    SetGeometry(records[0], {0, 0, 800, 600});
    type_code::SetFromShown(records[1], "butt");
    SetGeometry(records[1], {100, 100, INFINITY, 50});
    platform.saveChangesAnswers = {SaveAnswer::Discard};
    OpenSample(EncodeMenuItems(records));
    Drag(At(700, 120), {30, 30});
    EXPECT_EQ(window->selectedIndex(), 1);
    EXPECT_FALSE(Panel().marks().handles);
    QTest::keyClick(&Panel(), Qt::Key_Right);
    EXPECT_EQ(Record(1).posX, 100.0f);
    EXPECT_EQ(History().count(), 0);
}

// The marks lie above the preview's picture, which stays the one that
// `kaveldef render --in-window` makes of the same records: at rest, with
// several selected, and while a group is dragged.
TEST_F(PreviewTest, ThePreviewEqualsTheHeadlessRenderOutsideTheMarks) {
    OpenSample();
    ClickRow(4);
    std::vector<MenuItemRecord> records = window->menuItems();
    const auto compare = [&](const char* when) {
        SCOPED_TRACE(when);
        const QImage shown = View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage rendered = preview::RenderPreviewImage(
            records, preview::ShownFor(records, 4, true), window->textDb(), Size(), {});
        ASSERT_EQ(shown.size(), rendered.size());
        const QRegion marks = Panel().MarksRegion();
        int outside = 0, inside = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x)
                (marks.contains(QPoint(x, y)) ? inside : outside) +=
                    shown.pixel(x, y) != rendered.pixel(x, y);
        }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(inside, 0);
    };
    compare("at rest");
    QTest::mouseClick(View(), Qt::LeftButton, Qt::ControlModifier, At(400, 227));
    ASSERT_EQ(Panel().marks().selected.size(), 1u);
    compare("two selected");
    Press(At(400, 227));
    MoveTo(At(400, 227) + QPoint(33, 21), Qt::AltModifier);
    for (const std::size_t moved : {3, 4}) {
        records[moved].posX += static_cast<float>(UnitsX(33));
        records[moved].posY += static_cast<float>(UnitsY(21));
    }
    compare("dragging");
    Release(At(400, 227) + QPoint(33, 21), Qt::AltModifier);
    EXPECT_EQ(History().undoText(), "Move elements");
}

// A right click in the list or the preview selects what it points at, as a
// left click does, and offers the record commands there.
TEST_F(PreviewTest, ARightClickOffersTheRecordCommandsForWhatItPointsAt) {
    OpenSample();
    const auto rightClick = [](QWidget* widget, QPoint at) {
        QTest::mousePress(widget, Qt::RightButton, {}, at);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &menu);
        QTest::mouseRelease(widget, Qt::RightButton, {}, at);
    };
    QListView* list = window->lbMain;
    rightClick(list->viewport(), list->visualRect(list->model()->index(4, 0)).center());
    EXPECT_EQ(window->selectedIndex(), 4);
    ASSERT_TRUE(window->pmRecord->isVisible());
    window->pmRecord->hide();

    ClickRow(1);
    rightClick(View(), At(400, 227));  // element 3
    EXPECT_EQ(window->selectedIndex(), 3);
    ASSERT_TRUE(window->pmPreview->isVisible());
    QAction* duplicate = window->pmPreview->actions().at(6);
    EXPECT_EQ(duplicate, window->mmMainInsert);
    // The Arrange menu is there too.
    EXPECT_EQ(window->pmPreview->actions().last(), window->arrangeMenu->menu()->menuAction());
    window->pmPreview->hide();
}
