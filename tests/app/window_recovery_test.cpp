#include <QDir>

#include "document/recovery_folder.h"
#include "window_fixture.h"

namespace {

// The unsaved changes an editor that was killed left behind: the sample
// with record 2 doubled and record 0 given the id 4242.
class RecoveryTest : public WindowTest {
  protected:
    void PrepareFolder() override {
        WriteBytes(Path("kavel.def"), SampleBytes("kavel.def"));
        WriteBytes(Path("textdb_en.def"), SampleBytes("textdb_en.def"));
    }

    QByteArray ChangedBytes() const {
        QByteArray bytes = SampleBytes("kavel.def");
        bytes.insert(2 * 36, bytes.mid(2 * 36, 36));
        bytes.replace(0, 4, QByteArray("\x92\x10\0\0", 4));
        return bytes;
    }

    // A file left as a killed editor leaves it: written `age` seconds ago,
    // its lock let go.
    QString LeaveCopy(const QByteArray& records, const QString& menuPath, int age = 0) {
        RecoveryCopy copy;
        copy.writtenMs = QDateTime(QDate(2026, 3, 1), QTime(14, 5, 9)).toMSecsSinceEpoch();
        copy.menuPath = menuPath;
        copy.menuStamp = FileStamp::Of(menuPath);
        copy.textDbPath = Path("textdb_en.def");
        copy.records = DecodeMenuItems(records).items;
        const std::unique_ptr<RecoverySlot> slot = RecoverySlot::Create(RecoveryFolder());
        EXPECT_TRUE(slot && WriteRecoveryFile(slot->path(), copy));
        QFile file(slot->path());
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                         QFileDevice::FileModificationTime);
        return file.fileName();
    }

    QStringList Left() const {
        return QDir(RecoveryFolder()).entryList({"*.kavelrecovery*"}, QDir::Files, QDir::Name);
    }
};

class RecoveryAtStartTest : public RecoveryTest {
  protected:
    void PrepareFolder() override {
        RecoveryTest::PrepareFolder();
        WriteBytes(Path("other.def"), SampleBytes("kavel.def").left(72));
        LeaveCopy(ChangedBytes(), Path("kavel.def"), 30);
        later = LeaveCopy(SampleBytes("kavel.def").left(36), Path("other.def"), 20);
        damaged = LeaveCopy(SampleBytes("kavel.def"), Path("kavel.def"));
        QByteArray bytes = ReadBytes(damaged);
        bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 1);
        WriteBytes(damaged, bytes);
        platform.recoverAnswers = {RecoverAnswer::Recover, RecoverAnswer::Later};
    }
    QString later, damaged;
};

}  // namespace

TEST_F(RecoveryAtStartTest, LeftChangesAreOfferedOneByOneAndRecoveredByteForByte) {
    Settle();
    // The damaged file is refused and set aside; the other two are asked
    // about, the oldest first.
    ASSERT_EQ(platform.messageBoxes.size(), 1);
    EXPECT_TRUE(platform.messageBoxes[0].contains("[" + damaged + "] is damaged"));
    EXPECT_EQ(platform.recoverQuestions,
              QStringList({"Kavel.def Editor: Unsaved changes to [" + Path("kavel.def") +
                               "] from [2026-03-01 14:05:09] were found. Recover them?",
                           "Kavel.def Editor: Unsaved changes to [" + Path("other.def") +
                               "] from [2026-03-01 14:05:09] were found. Recover them?"}));

    // Recovered: unsaved, byte for byte. (Saved where it belongs: the X11
    // test, x11_window_test.sh.)
    EXPECT_EQ(EncodeMenuItems(window->menuItems()), ChangedBytes());
    EXPECT_TRUE(window->document().isModified());  // and so marked in the title
    EXPECT_EQ(window->lbStatus2->text(), "Recovered the unsaved changes to [" + Path("kavel.def") +
                                             "]; Save writes them there.");
    // Its file is this editor's own now, and Save removes it.
    window->mmMainSaveClick();
    QStringList left = {QFileInfo(later).fileName(), QFileInfo(damaged).fileName() + ".damaged"};
    left.sort();
    EXPECT_EQ(Left(), left);

    // Kept for later: not asked about again in this run, even when opened.
    OpenFiles(Path("other.def"), Path("textdb_en.def"));
    EXPECT_EQ(platform.recoverQuestions.size(), 2);
    EXPECT_EQ(window->menuItemCount(), 2u);
}

TEST_F(RecoveryTest, OpeningADocumentOffersItsLeftChangesSayingWhenTheFileChangedSince) {
    // An editor killed while this one ran, with the file changed after.
    const QString left = LeaveCopy(ChangedBytes(), Path("kavel.def"));
    QByteArray newer = SampleBytes("kavel.def");
    newer[0] = 9;
    WriteBytes(Path("kavel.def"), newer);
    platform.recoverAnswers = {RecoverAnswer::Discard};
    OpenFiles(Path("kavel.def"), Path("textdb_en.def"));
    ASSERT_EQ(platform.recoverQuestions.size(), 1);
    EXPECT_TRUE(platform.recoverQuestions[0].endsWith(
        "Recover them?\n\nThe file has been changed on disk since then."));
    // Discarded: gone, and the document as the file holds it.
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_EQ(EncodeMenuItems(window->menuItems()), newer);
    EXPECT_FALSE(window->document().isModified());
}
