// The find bar, Go to and the Text line. Which records match what is typed
// is the search's own test (editing/record_search_test.cpp).
#include <QAction>

#include "app/find_bar.h"
#include "app/text_line.h"
#include "window_fixture.h"

// The sample's texts holding "opt": records 5 and 11 (Options), 28 (End of
// options) and 67 (Host options).
TEST_F(WindowTest, TheFindBarGoToAndTheTextLine) {
    const auto count = [this] { return window->findBar->countLabel()->text(); };
    QLineEdit* field = window->findBar->field();
    const auto key = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        Settle();
    };
    const auto find = [field](const QString& text) {
        field->selectAll();
        QTest::keyClicks(field, text);
        Settle();
    };
    OpenSample();
    // Record 0: "Brenmoor front end 1.00", wider than the Text line, shows
    // whole when pointed at.
    QLineEdit* text = window->textLine->field();
    EXPECT_EQ(text->text(), "Brenmoor front end 1.00");
    EXPECT_TRUE(text->toolTip().contains("Brenmoor front end 1.00"));

    ClickRow(12);
    key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(window->findBar->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), field);
    find("OPT");
    EXPECT_EQ(window->selectedIndex(), 28);
    EXPECT_EQ(count(), "3 of 4");
    EXPECT_EQ(window->edTextdb->text(), "1028");  // the panel follows
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> walk[] = {
        {Qt::Key_F3, {}, 67},
        {Qt::Key_Return, {}, 5},  // wrapped
        {Qt::Key_Return, Qt::ShiftModifier, 67},
        {Qt::Key_F3, Qt::ShiftModifier, 28}};
    for (const auto& [pressed, modifiers, row] : walk) {
        key(pressed, modifiers);
        EXPECT_EQ(window->selectedIndex(), row) << pressed;
    }
    ClickRow(3);
    EXPECT_EQ(count(), "? of 4");
    find("optx");
    EXPECT_EQ(window->selectedIndex(), 28);  // "opt" from row 12, where the bar opened
    EXPECT_EQ(count(), "no match");
    EXPECT_EQ(window->findBar->countLabel()->foregroundRole(), QPalette::BrightText);
    EXPECT_EQ(window->findBar->countLabel()->palette().color(QPalette::BrightText),
              QColor(255, 0, 0));
    // Del edits the text sought, it deletes no record.
    field->setFocus();
    field->setCursorPosition(0);
    key(Qt::Key_Delete);
    EXPECT_EQ(field->text(), "ptx");
    EXPECT_TRUE(platform.questions.isEmpty());
    key(Qt::Key_Escape);
    EXPECT_FALSE(window->findBar->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), window->lbMain);

    // Typed into a field and not left: F3 takes it over first, as a click on
    // another row would. Record 5's text becomes "New Game".
    ClickRow(0);
    key(Qt::Key_F, Qt::ControlModifier);
    find("options");
    ASSERT_EQ(window->selectedIndex(), 5);
    TypeInto(window->edTextdb, "1002");
    key(Qt::Key_F3);
    EXPECT_EQ(Record(5).textId, 1002);
    EXPECT_EQ(window->selectedIndex(), 11);
    EXPECT_EQ(count(), "1 of 3");
    window->mmMainUndoClick();  // selects record 5 again, a match once more
    Settle();
    EXPECT_EQ(count(), "1 of 4");
    EXPECT_EQ(text->text(), "Options");
    TypeAndLeave(window->edTextdb, "4242");
    EXPECT_EQ(text->text(), "");
    EXPECT_EQ(text->placeholderText(), "(none)");
    EXPECT_EQ(text->palette().color(QPalette::PlaceholderText), QColor(Qt::gray));

    // Go to, by the record's index; it takes a typed field over first too.
    platform.textAnswers = {"30"};
    TypeInto(window->edTextdb, "1003");
    key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(platform.textPrompts.front(), "Go to record: Record index (0 to 70):");
    EXPECT_EQ(Record(5).textId, 1003);
    EXPECT_EQ(window->selectedIndex(), 30);
    EXPECT_EQ(window->edTextdb->text(), "1030");

    // A refused index is explained and offered again; OK on an empty box
    // then goes nowhere, without a message.
    platform.textAnswers = {"71", " x ", "  "};
    window->mmMainGoToClick();
    EXPECT_EQ(
        platform.messageBoxes,
        QStringList({"Kavel.def Editor: There is no record 71: the records run from 0 to 70.",
                     "Kavel.def Editor: There is no record x: the records run from 0 to 70."}));
    EXPECT_EQ(platform.textInitials, QStringList({"", "", "71", "x"}));
    EXPECT_EQ(window->selectedIndex(), 30);
}
