// Writes cut off by SIGKILL at random moments, hundreds of times: a save of
// the menu file, and a recovery copy. A child process writes in a loop and is
// killed; what the next start finds must be whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <random>

#include "base/file_save.h"
#include "document/document.h"
#include "document/menu_file.h"
#include "document/recovery_folder.h"
#include "support/files.h"
#include "support/records.h"

namespace {

// Starts `write` in a child process, which repeats it until killed at a
// random moment (writes take a few milliseconds each).
template <typename Write>
void KillWhileWriting(std::mt19937& random, Write write) {
    const pid_t child = ::fork();
    if (child == 0) {
        for (std::uint32_t round = 0;; ++round) write(round);
    }
    ::usleep(static_cast<useconds_t>(random() % 8000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

}  // namespace

TEST(KilledWrites, ASaveLeavesTheOldOrTheNewBytesAndTheNextOpenClearsUp) {
    Folder folder;
    const QString path = folder.Path("kavel.def");
    const QByteArray before(36 * 2000, 'o'), after(36 * 2001, 'n');
    ASSERT_TRUE(SaveFileAtomically(path, before));
    std::mt19937 random(24);
    int cutOff = 0;
    for (int round = 0; round < 200; ++round) {
        KillWhileWriting(random, [&](std::uint32_t at) {
            SaveFileAtomically(path, at % 2 == 0 ? after : before);
        });
        const QByteArray now = ReadBytes(path);
        ASSERT_TRUE(now == before || now == after) << "round " << round << ": " << now.size();
        const QString dir = QFileInfo(path).absolutePath();
        if (FilesIn(dir).size() > 1) ++cutOff;
        // Opening the file is the next start's first step.
        Document document;
        LoadRecords(document, DecodeMenuItems(now).items, {}, path, folder.Path("textdb.def"));
        ASSERT_EQ(FilesIn(dir).join(' ').toStdString(), "kavel.def") << round;
    }
    // Kills did land in the middle of saves.
    EXPECT_GT(cutOff, 0);
}

TEST(KilledWrites, TheNextStartFindsThePreviousRecoveryCopyOrNoneButNeverADamagedOne) {
    Folder state;
    const QString folder = state.Path("kavel-editor");
    std::mt19937 random(2024);
    int found = 0;
    for (int round = 0; round < 120; ++round) {
        KillWhileWriting(random, [&](std::uint32_t at) {
            static std::unique_ptr<RecoverySlot> slot = RecoverySlot::Create(folder);
            // Copy n holds n + 1 records, each with the id n.
            RecoveryCopy copy;
            copy.menuPath = "/kavel.def";
            copy.records.assign(at % 600 + 1, Rec("butt", 1, 2, 3, 4, static_cast<int>(at % 600)));
            WriteRecoveryFile(slot->path(), copy);
        });
        std::vector<std::unique_ptr<RecoverySlot>> left = ClaimLeftCopies(folder);
        ASSERT_LE(left.size(), 1u);
        for (const std::unique_ptr<RecoverySlot>& slot : left) {
            const RecoveryReadResult read = ReadRecoveryFile(slot->path());
            ASSERT_EQ(read.error, RecoveryReadError::None) << round;
            const std::size_t count = read.copy.records.size();
            for (const MenuItemRecord& record : read.copy.records)
                ASSERT_EQ(record.id + 1, static_cast<int>(count)) << round;
            slot->RemoveFile();
            ++found;
        }
        left.clear();
        // No new file of a cut-off write stays; a lock file cut off while its
        // editor made it (naming no one yet) is taken up once it is old.
        for (const QString& name : FilesIn(folder)) {
            ASSERT_TRUE(name.endsWith(".kavelrecovery.lock")) << name.toStdString();
            ASSERT_EQ(QFileInfo(QDir(folder).filePath(name)).size(), 0) << name.toStdString();
            QFile::remove(QDir(folder).filePath(name));
        }
    }
    EXPECT_GT(found, 0);
}
