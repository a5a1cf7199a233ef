#include "editing/text_edits.h"

#include <gtest/gtest.h>

#include <QDir>
#include <limits>

#include "document/menu_file.h"
#include "editing/record_edits.h"
#include "support/files.h"
#include "support/records.h"

namespace {

// Records with these text ids, and a database with the texts 10 "Ten" and
// 20 "Twenty", saved as `folder`'s kavel.def and textdb.def.
void Load(Document& document, const Folder& folder, const std::vector<int>& textIds,
          std::vector<std::pair<int, std::string>> texts = {{10, "Ten"}, {20, "Twenty"}}) {
    std::vector<MenuItemRecord> records;
    for (const int textId : textIds) records.push_back(Rec("butt", 0, 0, 1, 1, 0, textId));
    LoadRecords(document, records, TextDbOf(texts), folder.Path("kavel.def"),
                folder.Path("textdb.def"));
}

std::string TextOf(const Document& document, std::int32_t textId) {
    return std::string(document.textDb().FindText(textId).value_or("(none)"));
}

}  // namespace

TEST(TextEdits, EachStepChangesTextsAndRecordsAndUndoesWhole) {
    Folder folder;
    Document document;
    Load(document, folder, {10, 10, 30, 20});
    EXPECT_EQ(editing::CountTextUsers(document, 10), 2u);

    // The text of the entry the record's textId finds, for every record of it.
    ASSERT_TRUE(editing::SetRecordText(document, 1, "Zehn", "Text", "Add text"));
    EXPECT_EQ(TextOf(document, 10), "Zehn");
    EXPECT_FALSE(editing::SetRecordText(document, 0, "Zehn", "Text", "Add text"));
    // No entry for 30: one is added after the last; nothing typed adds none.
    EXPECT_FALSE(editing::SetRecordText(document, 2, "", "Text", "Add text"));
    ASSERT_TRUE(editing::SetRecordText(document, 2, "Thirty", "Text", "Add text"));
    EXPECT_EQ(document.textDb().count(), 3u);
    EXPECT_EQ(document.textDb().IdAt(2), 30);
    // A text of its own, one above the largest id, in one step.
    ASSERT_TRUE(editing::NewText(document, 3, "Own", "New text"));
    EXPECT_EQ(document.record(3).textId, 31);
    EXPECT_EQ(TextOf(document, 31), "Own");
    EXPECT_EQ(TextOf(document, 20), "Twenty");
    EXPECT_EQ(document.history().undoText(), "New text");

    EXPECT_EQ(editing::Undo(document)->select, 3u);
    EXPECT_EQ(document.record(3).textId, 20);
    EXPECT_EQ(document.textDb().count(), 3u);
    EXPECT_EQ(editing::Undo(document)->select, 2u);
    EXPECT_EQ(TextOf(document, 30), "(none)");
    editing::Undo(document);
    EXPECT_FALSE(document.isModified());
    // Undone to the file as read, the database writes its bytes again.
    EXPECT_EQ(document.EncodeTextDb(), TextDbOf({{10, "Ten"}, {20, "Twenty"}}).Encode());
    for (int step = 0; step < 3; ++step) editing::Redo(document);
    EXPECT_EQ(TextOf(document, 31), "Own");
    EXPECT_EQ(document.record(3).textId, 31);

    // No id above the largest is left.
    Load(document, folder, {1}, {{std::numeric_limits<std::int32_t>::max(), "Last"}});
    EXPECT_FALSE(editing::NewText(document, 0, "More", "New text"));
    EXPECT_EQ(document.history().count(), 0);
}

// Each file is modified while a step that changes it lies between its saved
// point and now; a failed save of one leaves the other saved.
TEST(TextEdits, EachFileKeepsItsOwnUnsavedStateAndASaveFailsFileByFile) {
    Folder folder;
    Document document;
    Load(document, folder, {10, 20});
    const auto states = [&document] {
        return std::pair{document.menuFileModified(), document.textDbModified()};
    };
    editing::SetRecordText(document, 0, "Zehn", "Text", "Add text");
    EXPECT_EQ(states(), std::pair(false, true));
    editing::SetField(document, 1, RecordField::Id, 7, "ID");
    EXPECT_EQ(states(), std::pair(true, true));
    editing::Undo(document);
    EXPECT_EQ(states(), std::pair(false, true));

    // The string database cannot be written (a folder in its place): the
    // menu file is saved all the same, the database stays modified.
    ASSERT_TRUE(QDir(folder.Path(".")).mkdir("textdb.def"));
    Document::SaveOutcome saved = document.SaveTo(folder.Path("kavel.def"));
    EXPECT_TRUE(saved.menuFileSaved && saved.textDbFailed && !saved.ok());
    EXPECT_EQ(states(), std::pair(false, true));
    ASSERT_TRUE(QDir(folder.Path(".")).rmdir("textdb.def"));
    // The menu file cannot be written: the database is.
    saved = document.SaveTo(folder.Path("no folder/kavel.def"));
    EXPECT_TRUE(!saved.menuFileSaved && saved.textDbWritten);
    EXPECT_EQ(TextDbRead(ReadBytes(folder.Path("textdb.def"))).FindText(10), "Zehn");
    EXPECT_EQ(states(), std::pair(false, false));

    // Undone past its saved point, and that point dropped by a new step: the
    // database stays modified until it is saved again.
    editing::Undo(document);
    EXPECT_EQ(states(), std::pair(false, true));
    editing::SetField(document, 1, RecordField::Id, 8, "ID");
    EXPECT_EQ(states(), std::pair(true, true));
    editing::SetRecordText(document, 0, "Zehn", "Text", "Add text");
    editing::Undo(document);
    editing::Redo(document);
    EXPECT_TRUE(document.textDbModified());
    ASSERT_TRUE(document.SaveTo(folder.Path("kavel.def")).ok());
    EXPECT_EQ(states(), std::pair(false, false));

    // Kept over a database changed on disk: modified until the next save.
    document.MarkTextDbModified();
    EXPECT_EQ(states(), std::pair(false, true));
    // Another database in its place drops the steps that changed texts (they
    // name its entries) and keeps the menu file's state.
    editing::SetField(document, 1, RecordField::Id, 9, "ID");
    document.ReplaceTextDb(TextDbOf({{10, "Dix"}}));
    EXPECT_EQ(states(), std::pair(true, false));
    EXPECT_EQ(document.history().count(), 0);
    EXPECT_EQ(document.record(1).id, 9);
    // Read again from the file, or another document opened, the records are
    // unmodified, though no step was left to clear.
    document.ReplaceRecords({Rec("butt", 0, 0, 1, 1, 0, 10)}, folder.Path("kavel.def"));
    EXPECT_EQ(states(), std::pair(false, false));
    editing::SetRecordText(document, 0, "Ten", "Text", "Add text");
    editing::SetField(document, 0, RecordField::Id, 9, "ID");
    document.ReplaceTextDb(TextDbOf({{10, "Dix"}}));
    Load(document, folder, {10});
    EXPECT_EQ(states(), std::pair(false, false));
}
