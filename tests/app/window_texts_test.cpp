// Editing the records' texts through the window. How texts are stored and
// written, and each file's unsaved state, are tested in document/ and
// editing/; here the Text line, New Text, the title, saving and the questions.
#include <QAction>
#include <QLabel>

#include "app/text_line.h"
#include "support/records.h"
#include "window_fixture.h"

namespace {

class TextsTest : public WindowTest {
  protected:
    // Records 0 and 1 share text 10, record 2 has a text of 140 characters,
    // record 3's text id 30 has no entry; 40 is the largest id.
    void OpenTexts() {
        WriteBytes(Path("kavel.def"),
                   EncodeMenuItems({Rec("wint", 100, 100, 400, 300, 1, 10),
                                    Rec("butt", 10, 10, 100, 30, 2, 10),
                                    Rec("stxt", 10, 50, 100, 30, 3, 20),
                                    Rec("stxt", 10, 90, 100, 30, 4, 30)}));
        WriteBytes(Path("textdb_en.def"),
                   TextDbOf({{10, "Ten"}, {20, std::string(140, 'L')}, {40, "Forty"}})
                       .Encode()
                       .value());
        OpenFiles(Path("kavel.def"), Path("textdb_en.def"));
    }

    QLineEdit* text() const { return window->textLine->field(); }
    // Typed in place of what the field holds, characters beyond ASCII too
    // (key clicks know ASCII only).
    void TypeText(const QString& typed, Qt::Key end = Qt::Key_Tab) {
        text()->setFocus(Qt::MouseFocusReason);
        text()->selectAll();
        text()->insert(typed);
        if (end != Qt::Key_unknown) QTest::keyClick(text(), end);
    }
    QString note() const { return window->textLine->note()->text(); }
    TextDb SavedTextDb() const { return TextDbRead(ReadBytes(Path("textdb_en.def"))); }
};

}  // namespace

TEST_F(TextsTest, TheTextLineEditsSharedTextsAddsMissingOnesAndNewTextMakesOneOfItsOwn) {
    OpenTexts();
    ClickRow(1);
    // Said before any change: the text is not this record's alone.
    EXPECT_EQ(text()->text(), "Ten");
    EXPECT_EQ(note(), "used by 2 items");
    // Its copy shares the text too, and is counted at once.
    window->mmMainInsertClick();
    EXPECT_EQ(note(), "used by 3 items");
    window->mmMainUndo->trigger();
    ClickRow(1);
    EXPECT_EQ(note(), "used by 2 items");
    // After Color in the tab order.
    window->edColor->setFocus();
    QTest::keyClick(window->edColor, Qt::Key_Tab);
    EXPECT_TRUE(text()->hasFocus());
    TypeText("Zehn €");
    EXPECT_EQ(window->mmMainUndo->text(), "&Undo Text");

    // No entry for 30: typing adds one, Enter takes it over.
    ClickRow(3);
    EXPECT_EQ(text()->placeholderText(), "(none)");
    TypeText("Dreißig", Qt::Key_Return);
    EXPECT_EQ(window->mmMainUndo->text(), "&Undo Add text");

    // New Text by its key: the text is this record's own. (Its id, its bytes,
    // the title's marks and what a save writes are left to the random runs.)
    ClickRow(0);
    TypeInto(text(), "Eigener");
    QTest::keyClick(text(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(window->mmMainUndo->text(), "&Undo New text");
    EXPECT_EQ(note(), "");
    // A save of both files names both.
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->lbStatus2->text(),
              "Saved document: [" + Path("kavel.def") + "] [" + Path("textdb_en.def") + "].");
}

TEST_F(TextsTest, TextsTheDatabaseCannotHoldAreRefusedAndALongTextStaysWhole) {
    OpenTexts();
    ClickRow(2);
    // Shown cut, said so, and left whole when the field is left as it is.
    EXPECT_EQ(text()->text(), QString(99, u'L'));
    EXPECT_EQ(note(), "shown cut: 140 characters");
    TypeAndLeave(window->edID, "33");
    text()->setFocus();
    QTest::keyClick(text(), Qt::Key_Tab);
    window->mmMainSaveClick();
    EXPECT_EQ(SavedTextDb().WholeText(1), std::string(140, 'L'));

    TypeText("Ж and more");
    TypeAndLeave(text(), QString(100, u'x'));
    Settle();
    EXPECT_EQ(platform.errorBoxes,
              QStringList({"Kavel.def Editor: 'Ж' (U+0416) is not a character of the "
                           "Windows-1252 code page.",
                           "Kavel.def Editor: The text has 100 characters; a text holds at most "
                           "99."}));
    // (That nothing changed, and nothing counts as unsaved: the random runs'.)
    // Escape puts the text back.
    QTest::keyClick(text(), Qt::Key_Escape);
    EXPECT_EQ(text()->text(), QString(99, u'L'));
}

TEST_F(TextsTest, UnsavedTextsAreAskedAboutBeforeTheyCouldBeLost) {
    OpenTexts();
    ClickRow(0);
    TypeAndLeave(text(), "Zehn");
    // Closing names the file.
    window->close();
    EXPECT_EQ(platform.saveQuestions,
              QStringList{"Kavel.def Editor: Save changes to the string database?"});
    EXPECT_TRUE(window->isVisible());

    // Changed on disk: asked first, No the default; No keeps the texts.
    platform.yesNoAnswers = {false, true};
    QByteArray changed = ReadBytes(Path("textdb_en.def"));
    changed.replace("Forty", "Fifty");
    WriteBytes(Path("textdb_en.def"), changed);
    ASSERT_TRUE(Eventually([this] { return !platform.questions.isEmpty(); }));
    EXPECT_EQ(platform.questions.front(),
              "Kavel.def Editor: The string database was changed on disk. Reload it and lose "
              "your text changes?");
    EXPECT_TRUE(Eventually([this] {
        return window->lbStatus2->text() ==
               "Kept the text changes; saving will write over [" + Path("textdb_en.def") + "].";
    }));

    // A save that cannot write the database says which file failed and
    // keeps its changes.
    ASSERT_TRUE(QFile::remove(Path("textdb_en.def")));
    ASSERT_TRUE(QDir(Path(".")).mkdir("textdb_en.def"));
    TypeAndLeave(window->edID, "5");
    window->mmMainSaveClick();
    EXPECT_EQ(window->lbStatus2->text(),
              "Error: unable to save the string database [" + Path("textdb_en.def") + "]!");
    EXPECT_FALSE(window->document().menuFileModified());
    EXPECT_TRUE(window->document().textDbModified());
    platform.saveChangesAnswers = {SaveAnswer::Cancel};
    window->mmMainOpenClick();
    EXPECT_EQ(platform.saveQuestions.back(),
              "Kavel.def Editor: Save changes to the string database?");
    TypeInto(window->edID, "6");
    window->mmMainOpenClick();
    EXPECT_EQ(platform.saveQuestions.back(),
              "Kavel.def Editor: Save changes to the menu definition file and the string "
              "database?");
}
