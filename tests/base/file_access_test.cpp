#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include "base/file_open.h"
#include "base/file_save.h"
#include "support/files.h"

TEST(OpenRegularFile, RefusesEveryOtherKindAtOnce) {
    // A FIFO without a writer would block the open for ever: the process is
    // ended if the refusal does not come within 20 seconds.
    ::alarm(20);
    QTemporaryDir folder;
    const QString regular = folder.filePath("kavel.def"), fifo = folder.filePath("fifo");
    ASSERT_TRUE(SaveFileAtomically(regular, QByteArray(36, 'x')));
    QFile file;
    ASSERT_TRUE(OpenRegularFileForReading(regular, file));
    EXPECT_EQ(file.readAll().size(), 36);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, folder.path(), folder.filePath("missing"),
                                QStringLiteral("/dev/zero"), QString()}) {
        QFile other;
        EXPECT_FALSE(OpenRegularFileForReading(path, other)) << path.toStdString();
    }
    ::alarm(0);
}

TEST(SaveFileAtomically, ReplacesTheFileOrLeavesItAsItWas) {
    QTemporaryDir folder;
    const QString path = folder.filePath("kavel.def");
    ASSERT_TRUE(SaveFileAtomically(path, "old"));
    EXPECT_TRUE(SaveFileAtomically(path, "new bytes"));
    EXPECT_EQ(ReadBytes(path), "new bytes");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);  // no temporary left

    // Read-only files (even for root), other kinds of file, folders and paths
    // in missing folders are refused. The other kind is a FIFO of its own, not
    // a device: a save that took a device's place would replace it for good.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    const QString fifo = folder.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& refused :
         {path, fifo, folder.path(), folder.filePath("gone/kavel.def"), QString()}) {
        EXPECT_FALSE(SaveFileAtomically(refused, "lost")) << refused.toStdString();
    }
    EXPECT_EQ(ReadBytes(path), "new bytes");
}

TEST(IsSameExistingFile, FollowsLinksAndOtherNamesButNotEqualBytes) {
    QTemporaryDir folder;
    const QString file = folder.filePath("textdb_en.def"), twin = folder.filePath("twin.def");
    ASSERT_TRUE(SaveFileAtomically(file, "texts"));
    ASSERT_TRUE(SaveFileAtomically(twin, "texts"));
    ASSERT_TRUE(QFile::link(file, folder.filePath("symlink.def")));
    ASSERT_EQ(::link(QFile::encodeName(file).constData(),
                     QFile::encodeName(folder.filePath("hardlink.def")).constData()),
              0);
    for (const QString& name : {folder.filePath("symlink.def"), folder.filePath("hardlink.def"),
                                folder.path() + "/./textdb_en.def"})
        EXPECT_TRUE(IsSameExistingFile(name, file)) << name.toStdString();
    EXPECT_FALSE(IsSameExistingFile(twin, file));
    EXPECT_FALSE(IsSameExistingFile(folder.filePath("missing"), folder.filePath("missing")));
}

TEST(SaveFileAtomically, KeepsLinksAndPermissionsAndClearsOnlyWhatDeadSavesLeft) {
    Folder folder;
    const QString path = folder.Write("kavel.def", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(path, folder.Path("link.def")));
    ASSERT_TRUE(SaveFileAtomically(folder.Path("link.def"), "through the link"));
    EXPECT_TRUE(QFileInfo(folder.Path("link.def")).isSymLink());
    EXPECT_EQ(ReadBytes(path), "through the link");
    EXPECT_EQ(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                            QFile::WriteUser | QFile::ReadGroup);

    // What a save killed halfway leaves goes; a running save's file, the
    // user's own files and another file's leftovers stay.
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const QString dead = QString(".kavel.def.kavel-save-%1-x1").arg(ended);
    const QStringList kept = {QString(".kavel.def.kavel-save-%1-x2").arg(::getpid()),
                              ".kavel.def.kavel-save-me-x3", "kavel.def.kavel-save-1-x4",
                              QString(".other.def.kavel-save-%1-x5").arg(ended), "kavel.def.bak"};
    for (const QString& name : kept + QStringList{dead}) folder.Write(name, "x");
    RemoveStaleSaveTemporaries(QFileInfo(path).absolutePath(), "kavel.def");
    EXPECT_FALSE(QFile::exists(folder.Path(dead)));
    for (const QString& name : kept)
        EXPECT_TRUE(QFile::exists(folder.Path(name))) << name.toStdString();
    RemoveStaleSaveTemporaries(QFileInfo(path).absolutePath());
    EXPECT_FALSE(QFile::exists(folder.Path(kept[3])));
}
