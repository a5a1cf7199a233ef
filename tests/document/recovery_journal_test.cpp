#include "document/recovery_journal.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "document/document.h"
#include "document/menu_file.h"
#include "document/recovery_folder.h"
#include "editing/record_edits.h"
#include "support/files.h"
#include "support/records.h"

namespace {

using std::chrono::milliseconds;

class JournalTest : public ::testing::Test {
  protected:
    void Open(std::size_t records) {
        std::vector<MenuItemRecord> items(records, Rec("butt", 10, 20, 30, 40));
        for (std::size_t i = 0; i < records; ++i) items[i].id = static_cast<std::int32_t>(i);
        ASSERT_TRUE(WriteBytes(menuPath, EncodeMenuItems(items)));
        ASSERT_TRUE(WriteBytes(textDbPath, QByteArray(8, '\0')));
        LoadRecords(document, items, {}, menuPath, textDbPath);
    }
    void Edit(std::size_t index, std::int32_t id) {
        editing::SetField(document, index, RecordField::Id, static_cast<std::uint32_t>(id), "ID");
    }
    std::unique_ptr<RecoveryJournal> Journal(milliseconds delay) {
        return std::make_unique<RecoveryJournal>(document, folder, delay);
    }
    QStringList Copies() const {
        return QDir(folder).entryList({QStringLiteral("*.kavelrecovery")}, QDir::Files);
    }
    // The one copy on disk holds the document as it is now.
    bool CopyHoldsTheDocument(const RecoveryJournal& journal) const {
        const RecoveryReadResult read = ReadRecoveryFile(journal.copyPath());
        return !journal.writing() && Copies().size() == 1 &&
               read.error == RecoveryReadError::None &&
               EncodeMenuItems(read.copy.records) == EncodeMenuItems(document.records());
    }

    QTemporaryDir files;
    QString menuPath = files.filePath("kavel.def");
    QString textDbPath = files.filePath("textdb_en.def");
    QString folder = files.filePath("state/kavel-editor");
    Document document;
};

}  // namespace

TEST_F(JournalTest, ACopyExistsExactlyWhileTheDocumentHasUnsavedChanges) {
    Open(3);
    const FileStamp loaded = FileStamp::Of(menuPath);
    auto journal = Journal(milliseconds(20));
    QTest::qWait(100);
    EXPECT_TRUE(Copies().isEmpty());

    Edit(1, 77);
    ASSERT_TRUE(QTest::qWaitFor([&] { return CopyHoldsTheDocument(*journal); }, 10000));
    const RecoveryCopy copy = ReadRecoveryFile(journal->copyPath()).copy;
    EXPECT_EQ(copy.menuPath, menuPath);
    EXPECT_EQ(copy.textDbPath, textDbPath);
    EXPECT_EQ(copy.menuStamp, loaded);
    EXPECT_EQ(copy.textDbStamp, FileStamp::Of(textDbPath));

    editing::Undo(document);  // back where it was saved: nothing to keep
    EXPECT_TRUE(Copies().isEmpty());
    editing::Redo(document);
    ASSERT_TRUE(QTest::qWaitFor([&] { return CopyHoldsTheDocument(*journal); }, 10000));
    ASSERT_TRUE(document.SaveTo(menuPath).ok());
    EXPECT_TRUE(Copies().isEmpty());
    // The file as saved is the one the next copy tells changes from.
    Edit(2, 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return CopyHoldsTheDocument(*journal); }, 10000));
    EXPECT_EQ(ReadRecoveryFile(journal->copyPath()).copy.menuStamp, FileStamp::Of(menuPath));
    document.Close();
    EXPECT_TRUE(Copies().isEmpty());

    // Changes kept over a file another program changed are unsaved too.
    Open(2);
    document.MarkModified();
    EXPECT_TRUE(QTest::qWaitFor([&] { return CopyHoldsTheDocument(*journal); }, 10000));
}

TEST_F(JournalTest, ChangesWhileACopyIsTakenReachItAndChangesThatKeepComingDoNotPutItOff) {
    Open(100'000);  // copied in several slices between events
    auto journal = Journal(std::chrono::hours(1));
    Edit(0, 1);
    journal->StartCopy();  // the first slice is copied at once
    Edit(99'999, 3);       // not copied yet
    Edit(0, 2);            // copied already: copied again
    ASSERT_TRUE(QTest::qWaitFor([&] { return CopyHoldsTheDocument(*journal); }, 10000));
    journal->StartCopy();
    editing::Duplicate(document, 5, "Duplicate");  // starts the copy over
    ASSERT_TRUE(QTest::qWaitFor([&] { return CopyHoldsTheDocument(*journal); }, 10000));

    // Due at most the delay after the first change, however many follow.
    Edit(6, 60);
    ASSERT_TRUE(journal->dueIn());
    const auto due = *journal->dueIn();
    QTest::qWait(50);
    Edit(7, 70);
    ASSERT_TRUE(journal->dueIn());
    EXPECT_LE(*journal->dueIn(), due - milliseconds(50));
}

TEST_F(JournalTest, WritesWhatIsUnsavedWhenTheProgramEndsAndSaysWhenItCannot) {
    Open(4);
    std::optional<QByteArray> texts = QByteArray("changed texts");
    auto journal = Journal(std::chrono::hours(1));
    journal->unsavedTextDb = [&] { return texts; };
    Edit(3, 9);
    // Told to end: written at once, and left as it is from then on.
    ASSERT_TRUE(journal->WriteNowAndKeep());
    EXPECT_TRUE(CopyHoldsTheDocument(*journal));
    EXPECT_EQ(ReadRecoveryFile(journal->copyPath()).copy.textDbBytes, texts);
    const QString kept = journal->copyPath();
    Edit(3, 10);
    document.Close();
    journal.reset();
    EXPECT_EQ(Copies(), QStringList{QFileInfo(kept).fileName()});
    ASSERT_TRUE(QFile::remove(kept));

    // Ended without a word (the window closed by the toolkit): the changes
    // not yet written are written; after a close, nothing is.
    Open(4);
    journal = Journal(std::chrono::hours(1));
    Edit(2, 8);
    journal.reset();
    ASSERT_EQ(Copies().size(), 1);
    QFile::remove(QDir(folder).filePath(Copies().at(0)));
    journal = Journal(std::chrono::hours(1));
    Edit(2, 9);
    document.Close();
    journal.reset();
    EXPECT_TRUE(Copies().isEmpty());

    // A folder that cannot be made: said once, however often it is tried.
    ASSERT_TRUE(WriteBytes(files.filePath("state-file"), "not a folder"));
    Open(4);
    journal = std::make_unique<RecoveryJournal>(document, files.filePath("state-file/x"),
                                                milliseconds(10));
    QSignalSpy failed(journal.get(), &RecoveryJournal::copyFailed);
    Edit(1, 100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == 1; }, 10000));
    Edit(1, 200);
    QTest::qWait(100);
    EXPECT_EQ(failed.size(), 1);
    document.Close();
}
