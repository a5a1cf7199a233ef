#include <sys/resource.h>
#include <sys/stat.h>

#include <QAction>
#include <QElapsedTimer>
#include <functional>

#include "document/file_watch.h"
#include "window_fixture.h"

namespace {

class WatchTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenSample();
        sample = SampleBytes("kavel.def");
    }

    // Runs the window until `done` holds, for at most five seconds.
    static bool Eventually(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > 5000) return false;
            QTest::qWait(20);
        }
        return true;
    }

    bool StatusBecomes(const QString& text) {
        return Eventually([&] { return window->lbStatus2->text() == text; });
    }

    // The window has looked at the menu file once more after its quiet period.
    bool MenuFileLookedAt(const QString& path) {
        WatchedFile* watch = nullptr;
        for (WatchedFile* each : window->findChildren<WatchedFile*>()) {
            if (each->path() == path) watch = each;
        }
        if (watch == nullptr) return false;
        const int looks = watch->looks();
        return Eventually([&] { return watch->looks() > looks; });
    }

    // As `kaveldef build` and version control put a file in place.
    void ReplaceByRename(const QString& path, const QByteArray& bytes) {
        WriteBytes(path + ".new", bytes);
        ASSERT_EQ(::rename(QFile::encodeName(path + ".new").constData(),
                           QFile::encodeName(path).constData()),
                  0);
    }

    // The bytes with record `index`'s id set to `id`.
    static QByteArray WithId(QByteArray bytes, int index, std::uint32_t id) {
        for (int b = 0; b < 4; ++b)
            bytes[index * kMenuItemRecordSize + b] = static_cast<char>((id >> (8 * b)) & 0xFF);
        return bytes;
    }

    QString Reloaded() const {
        return "Reloaded the menu definition file: [" + Path("kavel.def") + "].";
    }

    QByteArray sample;
};

}  // namespace

TEST_F(WatchTest, AnUnmodifiedDocumentFollowsItsFileKeepingTheSelectedIndex) {
    ClickRow(40);
    // Rewritten in place, thirty records left: the selection goes to the last.
    WriteBytes(Path("kavel.def"), WithId(sample, 3, 777).left(30 * kMenuItemRecordSize));
    ASSERT_TRUE(StatusBecomes(Reloaded()));
    EXPECT_EQ(window->menuItems().size(), 30u);
    EXPECT_EQ(window->menuItems()[3].id, 777);
    EXPECT_EQ(window->selectedIndex(), 29);
    EXPECT_EQ(window->lbMIcount2->text(), "30");

    // Replaced by a rename: the selection stays, and the reload is no step
    // that can be undone.
    ClickRow(20);
    window->lbStatus2->clear();
    ReplaceByRename(Path("kavel.def"), sample);
    ASSERT_TRUE(StatusBecomes(Reloaded()));
    EXPECT_EQ(window->menuItems().size(), 71u);
    EXPECT_EQ(window->selectedIndex(), 20);
    EXPECT_FALSE(window->mmMainUndo->isEnabled());
    EXPECT_TRUE(platform.questions.isEmpty());
}

TEST_F(WatchTest, AReloadDeepInALongListShowsTheSelectedRow) {
    // More rows than the list lays out in one step.
    QByteArray records(60'000 * kMenuItemRecordSize, '\0');
    WriteBytes(Path("long.def"), records);
    OpenFiles(Path("long.def"), Path("textdb_en.def"));
    platform.textAnswers = {"59000"};
    window->mmMainGoToClick();
    records[0] = 1;
    WriteBytes(Path("long.def"), records);
    ASSERT_TRUE(StatusBecomes("Reloaded the menu definition file: [" + Path("long.def") + "]."));
    EXPECT_EQ(window->selectedIndex(), 59000);
    QListView* list = window->lbMain;
    EXPECT_TRUE(Eventually([list] {
        return list->viewport()->rect().contains(list->visualRect(list->currentIndex()));
    }));
}

TEST_F(WatchTest, AModifiedDocumentAsksBeforeAReloadWithNoAsTheDefault) {
    ClickRow(5);
    TypeInto(window->edID, "555");
    QTest::keyClick(window->edID, Qt::Key_Tab);
    const QString question =
        "Kavel.def Editor: The menu definition file was changed on disk. Reload it and lose "
        "your changes?";

    // No: the records stay, and stay modified when every step is undone.
    platform.yesNoAnswers = {false};
    ReplaceByRename(Path("kavel.def"), WithId(sample, 6, 666));
    ASSERT_TRUE(
        StatusBecomes("Kept the changes; saving will write over [" + Path("kavel.def") + "]."));
    EXPECT_EQ(platform.questions, QStringList{question});
    EXPECT_EQ(platform.questionYesDefaults, std::vector<bool>{false});
    EXPECT_EQ(window->menuItems()[5].id, 555);
    EXPECT_EQ(window->menuItems()[6].id, 105);
    window->mmMainUndoClick();
    EXPECT_EQ(window->menuItems()[5].id, 104);
    EXPECT_TRUE(window->document().isModified());
    EXPECT_TRUE(window->windowTitle().startsWith("Kavel.def Editor v1.00* ["));

    // Yes: the file as it is now, and a history that starts there.
    platform.yesNoAnswers = {true};
    WriteBytes(Path("kavel.def"), WithId(WithId(sample, 6, 666), 7, 777));
    ASSERT_TRUE(StatusBecomes(Reloaded()));
    EXPECT_EQ(platform.questions.size(), 2);
    EXPECT_EQ(window->menuItems()[6].id, 666);
    EXPECT_EQ(window->menuItems()[7].id, 777);
    EXPECT_FALSE(window->document().isModified());
    EXPECT_FALSE(window->mmMainUndo->isEnabled());
}

TEST_F(WatchTest, TheEditorsOwnSavesAreNotChangesAndSaveAsFollowsTheNewFile) {
    TypeInto(window->edID, "9");
    QTest::keyClick(window->edID, Qt::Key_Tab);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(MenuFileLookedAt(Path("kavel.def")));
    EXPECT_EQ(window->lbStatus2->text(), "Saved document: [" + Path("kavel.def") + "].");
    EXPECT_TRUE(platform.questions.isEmpty());

    // After Save as, the file saved to is the one a later save would write
    // over: it is followed, the old one no longer.
    platform.saveAnswers = {Path("copy.def")};
    window->mmMainSaveAsClick();
    WriteBytes(Path("kavel.def"), sample);
    WriteBytes(Path("copy.def"), WithId(sample, 0, 12));
    ASSERT_TRUE(StatusBecomes("Reloaded the menu definition file: [" + Path("copy.def") + "]."));
    EXPECT_EQ(window->menuItems()[0].id, 12);
}

TEST_F(WatchTest, DamagedGoneOrOddFilesLeaveTheDocumentWholeWithoutAQuestion) {
    // Unsaved changes; a file that cannot take their place is not asked about.
    TypeInto(window->edID, "9");
    QTest::keyClick(window->edID, Qt::Key_Tab);
    const std::vector<MenuItemRecord> before = window->menuItems();
    // Cut to nothing: the load's own error, as an open of it would give.
    WriteBytes(Path("kavel.def"), QByteArray());
    ASSERT_TRUE(StatusBecomes("Error: unable to reallocate menu items array!"));
    EXPECT_EQ(EncodeMenuItems(window->menuItems()), EncodeMenuItems(before));

    ASSERT_TRUE(QFile::remove(Path("kavel.def")));
    ASSERT_TRUE(
        StatusBecomes("The menu definition file is gone from disk: [" + Path("kavel.def") + "]."));
    // A FIFO in its place is never opened for reading, which would block.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("kavel.def")).constData(), 0644), 0);
    ASSERT_TRUE(StatusBecomes("Error: unable to open file!"));
    EXPECT_EQ(EncodeMenuItems(window->menuItems()), EncodeMenuItems(before));
    // Four gigabytes (of a sparse file) are neither read nor held.
    ASSERT_TRUE(QFile::remove(Path("kavel.def")));
    {
        QFile huge(Path("kavel.def"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(4LL << 30));
    }
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    const long peakBefore = usage.ru_maxrss;
    ASSERT_TRUE(StatusBecomes("Error: unable to allocate menu items array!"));
    ::getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss - peakBefore, 64 * 1024);
    EXPECT_EQ(EncodeMenuItems(window->menuItems()), EncodeMenuItems(before));

    ASSERT_TRUE(QFile::remove(Path("textdb_en.def")));
    ASSERT_TRUE(
        StatusBecomes("The string database is gone from disk: [" + Path("textdb_en.def") + "]."));
    EXPECT_TRUE(window->lbTextValue->toolTip().contains("Brenmoor"));
    EXPECT_TRUE(platform.questions.isEmpty());
    EXPECT_TRUE(window->document().isModified());
}

TEST_F(WatchTest, AChangedStringDatabaseIsReloadedAndShownAndTheHistoryStays) {
    ClickRow(5);
    TypeInto(window->edPosX, "31");
    QTest::keyClick(window->edPosX, Qt::Key_Tab);
    QByteArray db = SampleBytes("textdb_en.def");
    const qsizetype at = db.indexOf("Options");
    ASSERT_GT(at, 0);
    db.replace(at, 7, "Choices");
    ReplaceByRename(Path("textdb_en.def"), db);
    ASSERT_TRUE(StatusBecomes("Reloaded the string database: [" + Path("textdb_en.def") + "]."));
    EXPECT_EQ(window->lbTextValue->text(), "Choices");
    EXPECT_TRUE(window->mmMainUndo->isEnabled());
    EXPECT_TRUE(platform.questions.isEmpty());
}
