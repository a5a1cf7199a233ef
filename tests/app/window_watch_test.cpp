// The window's answers to its files changing on disk. How changes are told
// apart and when they are reported is tested in document/file_watch_test.cpp.
#include <sys/resource.h>
#include <sys/stat.h>

#include <QAction>
#include <QtEndian>

#include "app/text_line.h"
#include "document/file_watch.h"
#include "support/permissions.h"
#include "window_fixture.h"

namespace {

class WatchTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenSample();
    }

    bool StatusBecomes(const QString& text) {
        return Eventually([&] { return window->lbStatus2->text() == text; });
    }
    QString Reloaded(const QString& name = "kavel.def") const {
        return "Reloaded the menu definition file: [" + Path(name) + "].";
    }

    // The records given (the sample's by default) with record `index`'s id set to `id`.
    static QByteArray WithId(int index, std::uint32_t id,
                             QByteArray bytes = SampleBytes("kavel.def")) {
        qToLittleEndian(id, bytes.data() + index * kMenuItemRecordSize);
        return bytes;
    }
};

}  // namespace

// Rewritten shorter, the file takes the selection to its last record, which
// is deep in a list longer than the list lays out in one step: the row is
// brought into view once it is laid out.
TEST_F(WatchTest, AnUnmodifiedDocumentIsReloadedAndTheSelectedRowStaysInView) {
    const QByteArray records(60'000 * kMenuItemRecordSize, '\0');
    OpenSample(records);
    platform.textAnswers = {"59000"};
    window->mmMainGoToClick();
    WriteBytes(Path("kavel.def"), records.left(55'000 * kMenuItemRecordSize));
    ASSERT_TRUE(StatusBecomes(Reloaded()));
    // (The records and the count read are the random runs'.)
    EXPECT_EQ(window->selectedIndex(), 54'999);
    EXPECT_TRUE(platform.questions.isEmpty());
    QListView* list = window->lbMain;
    EXPECT_TRUE(Eventually([list] {
        return list->viewport()->rect().contains(list->visualRect(list->currentIndex()));
    }));
}

TEST_F(WatchTest, AModifiedDocumentAsksBeforeAReloadWithNoAsTheDefault) {
    ClickRow(5);
    TypeAndLeave(window->edID, "555");
    // Asked, with No the default; No keeps the changes.
    platform.yesNoAnswers = {false};
    WriteBytes(Path("kavel.def"), WithId(6, 666));
    ASSERT_TRUE(
        StatusBecomes("Kept the changes; saving will write over [" + Path("kavel.def") + "]."));
    EXPECT_EQ(platform.questions,
              QStringList{"Kavel.def Editor: The menu definition file was changed on disk. "
                          "Reload it and lose your changes?"});
    EXPECT_EQ(platform.questionYesDefaults, std::vector<bool>{false});
    // (What No and Yes do to the records, the history and the modified mark
    // is left to the random runs.) A changed string database is reloaded and
    // shown.
    QByteArray db = SampleBytes("textdb_en.def");
    db.replace(db.indexOf("Options"), 7, "Choices");
    WriteBytes(Path("textdb_en.def"), db);
    ASSERT_TRUE(StatusBecomes("Reloaded the string database: [" + Path("textdb_en.def") + "]."));
    EXPECT_EQ(window->textLine->field()->text(), "Choices");
}

TEST_F(WatchTest, OwnSavesAreNoChangesAndAFileThatCannotBeReadLeavesTheDocumentWhole) {
    TypeAndLeave(window->edID, "9");
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    // The file is looked at again after its quiet period, and found as saved.
    WatchedFile* watch = window->findChildren<WatchedFile*>().value(0);
    ASSERT_TRUE(watch != nullptr && watch->path() == Path("kavel.def"));
    const int looks = watch->looks();
    ASSERT_TRUE(Eventually([&] { return watch->looks() > looks; }));
    EXPECT_EQ(window->lbStatus2->text(), "Saved document: [" + Path("kavel.def") + "].");

    // After Save as, the file saved to is the one a later save would write
    // over: it is followed, the old one no longer.
    const QString copy = Path("copy.def");
    platform.saveAnswers = {copy};
    window->mmMainSaveAsClick();
    WriteBytes(Path("kavel.def"), SampleBytes("kavel.def"));
    WriteBytes(copy, WithId(0, 12));
    ASSERT_TRUE(StatusBecomes(Reloaded("copy.def")));  // (what it read: the random runs')

    // With unsaved changes: a file that cannot take their place is not asked about.
    TypeAndLeave(window->edID, "9");
    const QByteArray before = EncodeMenuItems(window->menuItems());
    const auto becomes = [&](const QString& status) {
        EXPECT_TRUE(StatusBecomes(status)) << status.toStdString();
        EXPECT_EQ(EncodeMenuItems(window->menuItems()), before);
    };
    // Cut to nothing: the load's own error, as an open of it would give.
    WriteBytes(copy, QByteArray());
    becomes("Error: the menu definition file is empty!");
    ASSERT_TRUE(QFile::remove(copy));
    becomes("The menu definition file is gone from disk: [" + copy + "].");
    // A FIFO in its place is never opened for reading, which would block.
    ASSERT_EQ(::mkfifo(QFile::encodeName(copy).constData(), 0644), 0);
    becomes("Error: unable to open file!");
    // Four gigabytes (of a sparse file) are neither read nor held.
    ASSERT_TRUE(QFile::remove(copy));
    QFile huge(copy);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(4LL << 30));
    huge.close();
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    const long peakBefore = usage.ru_maxrss;
    becomes("Error: unable to allocate menu items array!");
    ::getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss - peakBefore, 64 * 1024);
    ASSERT_TRUE(QFile::remove(Path("textdb_en.def")));
    becomes("The string database is gone from disk: [" + Path("textdb_en.def") + "].");
    EXPECT_TRUE(platform.questions.isEmpty());
    EXPECT_TRUE(window->document().isModified());
}

// Permissions taken away and given back, the bytes untouched: no change.
TEST_F(WatchTest, APermissionChangeAloneIsNoChangeOfTheFile) {
    const PermissionsObeyed obeyed;
    TypeAndLeave(window->edID, "555");
    const QByteArray path = QFile::encodeName(Path("kavel.def"));
    ASSERT_EQ(::chmod(path.constData(), 0), 0);
    ASSERT_TRUE(StatusBecomes("Error: unable to open file!"));
    ASSERT_EQ(::chmod(path.constData(), 0644), 0);
    ASSERT_TRUE(
        StatusBecomes("The menu definition file is back as it was: [" + Path("kavel.def") + "]."));
    EXPECT_TRUE(platform.questions.isEmpty());
    EXPECT_EQ(window->menuItems()[0].id, 555);
}

// While its file is gone, the window holds the document's only copy: it
// counts as unsaved until it is saved or the file is back as it was, and
// undoing back to the saved state still makes it saved then.
TEST_F(WatchTest, ADocumentWithoutItsFileIsUnsavedUntilSavedOrTheFileIsBack) {
    const auto marked = [this] { return window->windowTitle().contains("v1.00* ["); };
    const QString path = Path("kavel.def");
    const QString gone = "The menu definition file is gone from disk: [" + path + "].";
    const QByteArray saved = ReadBytes(path);
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(StatusBecomes(gone));
    EXPECT_TRUE(marked());  // and so asked about as any unsaved change

    TypeAndLeave(window->edID, "9");
    WriteBytes(path, saved);
    ASSERT_TRUE(StatusBecomes("The menu definition file is back as it was: [" + path + "]."));
    window->mmMainUndoClick();
    EXPECT_FALSE(marked());
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(StatusBecomes(gone));
    window->mmMainSaveClick();
    EXPECT_FALSE(marked());
    EXPECT_EQ(ReadBytes(path), saved);
}

// A string database emptied, or left with no entry, is most likely being
// written: the texts loaded stay.
TEST_F(WatchTest, AStringDatabaseLeftWithoutEntriesIsNotTaken) {
    ClickRow(5);
    const QString text = window->textLine->field()->text();
    ASSERT_NE(text, "(none)");
    const QString path = Path("textdb_en.def");
    for (const QByteArray& emptied : {QByteArray(), QByteArray("xyz")}) {
        WriteBytes(path, emptied);
        ASSERT_TRUE(
            StatusBecomes("Error: the string database holds no texts; the texts loaded are kept!"));
        EXPECT_EQ(window->textLine->field()->text(), text);
        WriteBytes(path, SampleBytes("textdb_en.def"));
        ASSERT_TRUE(StatusBecomes("The string database is back as it was: [" + path + "]."));
    }
}
