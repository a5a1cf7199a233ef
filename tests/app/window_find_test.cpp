#include <QAction>

#include "app/find_bar.h"
#include "window_fixture.h"

namespace {

class FindTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenSample();
    }

    QString Count() const { return window->findBar->countLabel()->text(); }
    QLineEdit* FindField() const { return window->findBar->field(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        Settle();
    }
    void Find(const QString& text) {
        FindField()->selectAll();
        QTest::keyClicks(FindField(), text);
        Settle();
    }
};

}  // namespace

// The sample's texts holding "opt": records 5 and 11 (Options), 28 (End of
// options) and 67 (Host options).
TEST_F(FindTest, TheBarWalksTheMatchesFromTheSelectedRecordAndCountsThem) {
    ClickRow(12);
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(window->findBar->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), FindField());

    Find("OPT");
    EXPECT_EQ(window->selectedIndex(), 28);
    EXPECT_EQ(Count(), "3 of 4");
    EXPECT_EQ(window->edTextdb->text(), "1028");  // the panel follows
    Key(Qt::Key_F3);
    EXPECT_EQ(window->selectedIndex(), 67);
    Key(Qt::Key_Return);
    EXPECT_EQ(window->selectedIndex(), 5);  // wrapped
    EXPECT_EQ(Count(), "1 of 4");
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(window->selectedIndex(), 67);
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(window->selectedIndex(), 28);

    Find("optx");
    EXPECT_EQ(window->selectedIndex(), 28);
    EXPECT_EQ(Count(), "no match");
    EXPECT_EQ(window->findBar->countLabel()->foregroundRole(), QPalette::BrightText);
    EXPECT_EQ(window->findBar->countLabel()->palette().color(QPalette::BrightText),
              QColor(255, 0, 0));

    // A type code as shown, case kept; from the record selected at the
    // opening on, wrapping to the first.
    Find("butt");
    EXPECT_EQ(window->selectedIndex(), 2);
    EXPECT_EQ(Count(), "1 of 5");
    Find("BUTT");
    EXPECT_EQ(Count(), "no match");
    // A whole number: an id (records 29 and 34) or a text id.
    Find("300");
    EXPECT_EQ(window->selectedIndex(), 29);
    EXPECT_EQ(Count(), "1 of 2");
    Find("1040");
    EXPECT_EQ(window->selectedIndex(), 40);
    ClickRow(3);
    EXPECT_EQ(Count(), "? of 1");
    // Del edits the text sought, it deletes no record.
    FindField()->setFocus();
    FindField()->setCursorPosition(0);
    Key(Qt::Key_Delete);
    EXPECT_EQ(FindField()->text(), "040");
    EXPECT_TRUE(platform.questions.isEmpty());

    Key(Qt::Key_Escape);
    EXPECT_FALSE(window->findBar->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), window->lbMain);
}

TEST_F(FindTest, GoingToAMatchCommitsTheFieldBeingEditedAndTheCountFollowsEdits) {
    Key(Qt::Key_F, Qt::ControlModifier);
    Find("options");
    ASSERT_EQ(window->selectedIndex(), 5);
    // Typed into a field and not left: F3 takes it over first, as a click
    // on another row would. Record 5's text becomes "New Game".
    TypeInto(window->edTextdb, "1002");
    Key(Qt::Key_F3);
    EXPECT_EQ(window->menuItems()[5].textId, 1002);
    EXPECT_EQ(window->selectedIndex(), 11);
    EXPECT_EQ(Count(), "1 of 3");
    // Undo selects record 5 again, a match once more.
    window->mmMainUndoClick();
    Settle();
    EXPECT_EQ(Count(), "1 of 4");
}

TEST_F(FindTest, GoToSelectsARecordByIndexAndRefusesOneOutOfRange) {
    platform.textAnswers = {"30"};
    Key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(platform.textPrompts, QStringList{"Go to record: Record index (0 to 70):"});
    EXPECT_EQ(window->selectedIndex(), 30);
    EXPECT_EQ(window->edTextdb->text(), "1030");

    for (const char* wrong : {"71", "-1", "x"}) {
        platform.textAnswers = {wrong};
        window->mmMainGoToClick();
        EXPECT_EQ(platform.messageBoxes.takeFirst(),
                  QStringLiteral("Kavel.def Editor: There is no record %1: the records run "
                                 "from 0 to 70.")
                      .arg(wrong));
        EXPECT_EQ(window->selectedIndex(), 30);
    }
}

TEST_F(FindTest, TheTextLineShowsTheRecordsTextOrNone) {
    // Record 0: "Brenmoor front end 1.00", wider than the line.
    const QString elided = window->lbTextValue->text();
    EXPECT_TRUE(elided.endsWith(QChar(0x2026))) << elided.toStdString();
    EXPECT_TRUE(QStringLiteral("Brenmoor front end 1.00").startsWith(elided.chopped(1)));
    EXPECT_TRUE(window->lbTextValue->toolTip().contains("Brenmoor front end 1.00"));
    EXPECT_EQ(window->lbText->text(), "Text:");

    ClickRow(5);
    EXPECT_EQ(window->lbTextValue->text(), "Options");
    TypeInto(window->edTextdb, "4242");
    QTest::keyClick(window->edTextdb, Qt::Key_Tab);
    EXPECT_EQ(window->lbTextValue->text(), "(none)");
    EXPECT_EQ(window->lbTextValue->foregroundRole(), QPalette::PlaceholderText);
    EXPECT_EQ(window->lbTextValue->palette().color(QPalette::PlaceholderText), QColor(Qt::gray));
}
