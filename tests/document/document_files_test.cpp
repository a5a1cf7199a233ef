#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include "base/file_open.h"
#include "base/file_save.h"
#include "document/document_loader.h"
#include "support/bytes.h"

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

TEST(DocumentFiles, OnlyRegularFilesOpenAndNothingBlocks) {
    QTemporaryDir folder;
    const QString regular = folder.filePath("kavel.def");
    Write(regular, QByteArray(36, 'x'));
    QFile file;
    EXPECT_TRUE(OpenRegularFileForReading(regular, file));
    EXPECT_EQ(file.readAll().size(), 36);

    const QString fifo = folder.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, folder.path(), folder.filePath("missing"),
                                QStringLiteral("/dev/zero"), QString()}) {
        QFile other;
        EXPECT_FALSE(OpenRegularFileForReading(path, other)) << path.toStdString();
    }
}

TEST(DocumentFiles, SavingReplacesTheFileOrLeavesItAlone) {
    QTemporaryDir folder;
    const QString path = folder.filePath("kavel.def");
    Write(path, "old");
    EXPECT_TRUE(SaveFileAtomically(path, "new bytes"));
    EXPECT_EQ(Read(path), "new bytes");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);  // no temporary left

    // Read-only files, devices, folders and paths in missing folders refuse.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    EXPECT_FALSE(SaveFileAtomically(path, "lost"));
    EXPECT_EQ(Read(path), "new bytes");
    EXPECT_FALSE(SaveFileAtomically("/dev/full", "lost"));
    EXPECT_FALSE(SaveFileAtomically(folder.path(), "lost"));
    EXPECT_FALSE(SaveFileAtomically(folder.filePath("gone/kavel.def"), "lost"));
}

TEST(DocumentFiles, LoaderReportsTheFailingStageAndKeepsNothingHalfRead) {
    QByteArray menu(72, '\0');
    QByteArray strings;
    AppendU32(strings, 0);
    QBuffer menuBuffer(&menu);
    QBuffer stringBuffer(&strings);
    menuBuffer.open(QIODevice::ReadOnly);
    stringBuffer.open(QIODevice::ReadOnly);
    std::vector<LoadedDocument::Stage> stages;
    const LoadedDocument loaded =
        LoadDocumentStreams(menuBuffer, stringBuffer, [&](auto stage) { stages.push_back(stage); });
    EXPECT_EQ(loaded.failure, LoadedDocument::Failure::None);
    EXPECT_EQ(loaded.menuItems.size(), 2u);
    EXPECT_EQ(stages.size(), 2u);

    QByteArray empty;
    QBuffer emptyBuffer(&empty);
    emptyBuffer.open(QIODevice::ReadOnly);
    stages.clear();
    const LoadedDocument refused = LoadDocumentStreams(
        emptyBuffer, stringBuffer, [&](auto stage) { stages.push_back(stage); });
    EXPECT_EQ(refused.failure, LoadedDocument::Failure::NoMenuItems);
    EXPECT_EQ(stages.size(), 1u);  // the string database is not read
}
