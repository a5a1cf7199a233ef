#include "document/file_watch.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "support/files.h"

namespace {

using std::chrono::milliseconds;

// As build tools and version control put a file in place.
void ReplaceByRename(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(WriteBytes(path + ".new", bytes));
    ASSERT_EQ(
        ::rename(QFile::encodeName(path + ".new").constData(), QFile::encodeName(path).constData()),
        0);
}

class WatchedFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = folder.filePath("kavel.def");
        ASSERT_TRUE(WriteBytes(path, "first"));
        watch.Watch(path, FileFingerprint::OfPath(path));
        QObject::connect(&watch, &WatchedFile::changed, [this] {
            ++changes;
            sizeAtChange = QFile(path).size();
        });
        QObject::connect(&watch, &WatchedFile::removed, [this] { ++removals; });
        QObject::connect(&watch, &WatchedFile::restored, [this] { ++restorals; });
    }

    // The next change is reported; the program then holds the file as it is.
    void ExpectChange() {
        const int before = changes;
        ASSERT_TRUE(QTest::qWaitFor([&] { return changes > before; }));
        watch.SetKnown(FileFingerprint::OfPath(path));
    }

    // The file is looked at after its quiet period and found as known.
    void ExpectNoChange() {
        const int looks = watch.looks();
        const int before = changes;
        ASSERT_TRUE(QTest::qWaitFor([&] { return watch.looks() > looks; }));
        EXPECT_EQ(changes, before);
    }

    QTemporaryDir folder;
    QString path;
    WatchedFile watch{milliseconds(300)};
    int changes = 0;
    int removals = 0;
    int restorals = 0;
    qint64 sizeAtChange = -1;
};

}  // namespace

TEST_F(WatchedFileTest, RewritesRenamesAndRemovalsAreReportedButNotTheSameBytes) {
    ASSERT_TRUE(WriteBytes(path, "second"));
    ExpectChange();
    // Bytes as known, written again (a save, a checkout of the same version).
    ASSERT_TRUE(WriteBytes(path, "second"));
    ExpectNoChange();
    ReplaceByRename(path, "third");
    ExpectChange();
    // The file renamed into place is followed in its turn.
    ASSERT_TRUE(WriteBytes(path, "fourth"));
    ExpectChange();

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return removals == 1; }));
    // Back as it was: said so, and no change. Back otherwise: a change.
    ASSERT_TRUE(WriteBytes(path, "fourth"));
    ExpectNoChange();
    EXPECT_EQ(restorals, 1);
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return removals == 2; }));
    ReplaceByRename(path, "fifth");
    ExpectChange();
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(removals, 2);
    EXPECT_EQ(restorals, 1);
}

TEST_F(WatchedFileTest, AFileWrittenInPiecesIsReportedOnceWhenQuiet) {
    // Ten pieces 20 ms apart, each well within the 300 ms quiet period.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    int pieces = 0;
    QTimer writer;
    QObject::connect(&writer, &QTimer::timeout, [&] {
        file.write(QByteArray(100, 'x'));
        file.flush();
        if (++pieces == 10) writer.stop();
    });
    writer.start(20);
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes > 0; }));
    EXPECT_EQ(pieces, 10);
    EXPECT_EQ(sizeAtChange, 1000);
    EXPECT_EQ(watch.looks(), 1);
}

TEST(FileFingerprint, TellsContentsApartWhateverTheirTimes) {
    QTemporaryDir folder;
    const QString path = folder.filePath("a");
    ASSERT_TRUE(WriteBytes(path, QByteArray(3 << 20, 'a')));
    const FileFingerprint first = FileFingerprint::OfPath(path);
    EXPECT_EQ(first.size, 3 << 20);
    // One byte changed in the last of several pieces read.
    QByteArray changed(3 << 20, 'a');
    changed[(3 << 20) - 1] = 'b';
    ASSERT_TRUE(WriteBytes(path, changed));
    EXPECT_NE(FileFingerprint::OfPath(path), first);
    ASSERT_TRUE(WriteBytes(path, QByteArray(3 << 20, 'a')));
    EXPECT_EQ(FileFingerprint::OfPath(path), first);

    // Too large to be read through, a file stands by its size, modification
    // time and identity: its mode is none of them.
    QFile large(folder.filePath("large"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) &&
                large.resize(FileFingerprint::kWholeContentLimit + 1));
    const FileFingerprint before = FileFingerprint::OfPath(large.fileName());
    ASSERT_TRUE(large.setPermissions(QFile::ReadOwner));
    EXPECT_EQ(FileFingerprint::OfPath(large.fileName()), before);
    ASSERT_TRUE(large.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                  QFileDevice::FileModificationTime));
    EXPECT_NE(FileFingerprint::OfPath(large.fileName()), before);
}
