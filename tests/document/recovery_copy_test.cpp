#include "document/recovery_copy.h"

#include <gtest/gtest.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include "document/menu_file.h"
#include "document/recovery_folder.h"
#include "support/files.h"
#include "support/records.h"

namespace {

RecoveryCopy SampleCopy() {
    RecoveryCopy copy;
    copy.writtenMs = 1'767'225'600'123;
    copy.menuPath = QString::fromUtf8("/home/modder/Spiele [neu]/kavel ü.def");
    copy.menuStamp = {true, 72, 1'767'225'000'123'456'789};
    copy.textDbPath = QStringLiteral("/home/modder/textdb_en.def");
    copy.records = {Rec("wint", 100, 80, 600, 440, 7, 1), Rec("butt", -0.0f, 1e-45f, 3e38f, 2)};
    copy.records[1].type[1] = '\0';  // a NUL inside a code, and the bytes after it
    std::memcpy(&copy.records[1].scaleY, "\x45\x23\xC1\x7F", 4);  // a NaN payload
    return copy;
}

// A process that has ended: its number names no one until it is used again.
qint64 EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

void Age(const QString& path, int seconds) {
    const timeval times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(path).constData(), times), 0);
}

}  // namespace

TEST(RecoveryCopy, KeepsEveryByteAndRefusesWhatIsCutDamagedOrForeign) {
    RecoveryCopy copy = SampleCopy();
    for (const bool withTexts : {false, true}) {
        if (withTexts) copy.textDbBytes = QByteArray("\x01\0\0\0texts\0\xE9", 12);
        const QByteArray file = EncodeRecoveryCopy(copy);
        const RecoveryReadResult read = DecodeRecoveryCopy(file);
        ASSERT_EQ(read.error, RecoveryReadError::None);
        EXPECT_EQ(EncodeMenuItems(read.copy.records), EncodeMenuItems(copy.records));
        EXPECT_EQ(read.copy.writtenMs, copy.writtenMs);
        EXPECT_EQ(read.copy.menuPath, copy.menuPath);
        EXPECT_EQ(read.copy.menuStamp, copy.menuStamp);
        EXPECT_EQ(read.copy.textDbPath, copy.textDbPath);
        EXPECT_EQ(read.copy.textDbStamp, copy.textDbStamp);
        EXPECT_EQ(read.copy.textDbBytes, copy.textDbBytes);

        // Never a copy in part: every shorter file and every changed byte.
        for (qsizetype size = 0; size < file.size(); ++size)
            ASSERT_NE(DecodeRecoveryCopy(file.left(size)).error, RecoveryReadError::None) << size;
        for (qsizetype at = 0; at < file.size(); ++at) {
            QByteArray changed = file;
            changed[at] = static_cast<char>(changed[at] ^ 0x10);
            ASSERT_NE(DecodeRecoveryCopy(changed).error, RecoveryReadError::None) << at;
        }
        EXPECT_EQ(DecodeRecoveryCopy(file + '\0').error, RecoveryReadError::Damaged);
        QByteArray newer = file;
        newer[8] = 2;
        EXPECT_EQ(DecodeRecoveryCopy(newer).error, RecoveryReadError::NewerVersion);
    }
    EXPECT_EQ(DecodeRecoveryCopy("Kavel.def Editor settings").error, RecoveryReadError::Foreign);
    copy.records.clear();  // no document is without records
    EXPECT_EQ(DecodeRecoveryCopy(EncodeRecoveryCopy(copy)).error, RecoveryReadError::Damaged);
}

TEST(RecoverySlot, OnlyFilesWhoseEditorIsGoneAreClaimedTheOldestFirst) {
    QTemporaryDir state;
    const QString folder = state.filePath("deep/kavel-editor");
    const std::unique_ptr<RecoverySlot> mine = RecoverySlot::Create(folder);
    ASSERT_TRUE(mine);
    EXPECT_FALSE(QFile::permissions(folder).testAnyFlags(QFile::ReadOther | QFile::ReadGroup));
    ASSERT_TRUE(WriteRecoveryFile(mine->path(), SampleCopy()));
    // Held by a running editor, however old its lock: never taken.
    Age(mine->path() + ".lock", 3600);

    // Two left behind, by an editor that ended and one whose lock file was
    // cut off while made; a third whose lock was cut off just now.
    const auto leave = [&](const QString& name, const QByteArray& lock, int age) {
        const QString path = QDir(folder).filePath(name + ".kavelrecovery");
        EXPECT_TRUE(WriteRecoveryFile(path, SampleCopy()));
        EXPECT_TRUE(WriteBytes(path + ".lock", lock));
        Age(path, age);
        Age(path + ".lock", age);
        return path;
    };
    const QString ended = leave("ended",
                                QByteArray::number(EndedProcess()) + "\nkavel-editor\n" +
                                    QSysInfo::machineHostName().toUtf8() + "\n",
                                60);
    const QString unfinished = leave("unfinished", "", 120);
    leave("fresh", "", 0);
    // Writes of copies cut off by a kill.
    const QString cutOff = QDir(folder).filePath(".x.kavelrecovery.kavel-save-" +
                                                 QString::number(EndedProcess()) + "-abc");
    ASSERT_TRUE(WriteBytes(cutOff, "half"));

    std::vector<std::unique_ptr<RecoverySlot>> claimed = ClaimLeftCopies(folder);
    ASSERT_EQ(claimed.size(), 2u);
    EXPECT_EQ(claimed[0]->path(), unfinished);
    EXPECT_EQ(claimed[1]->path(), ended);
    EXPECT_FALSE(QFile::exists(cutOff));
    // Claimed, they are this editor's: no other claims them meanwhile.
    EXPECT_FALSE(RecoverySlot::Claim(ended));
    EXPECT_FALSE(RecoverySlot::Claim(mine->path()));

    // Set aside under a name never offered again, its bytes kept.
    const QByteArray bytes = ReadBytes(ended);
    const QString aside = claimed[1]->SetAside();
    EXPECT_EQ(ReadBytes(aside), bytes);
    claimed[0]->RemoveFile();
    claimed.clear();
    EXPECT_TRUE(ClaimLeftCopies(folder).empty());
    EXPECT_EQ(QDir(folder).entryList({"*.kavelrecovery"}, QDir::Files).size(), 2);  // mine, fresh
}
