#include "document/document_loader.h"

#include <gtest/gtest.h>

#include <QBuffer>

TEST(LoadDocumentStreams, ReportsTheFailingStageAndReadsNoFurther) {
    QByteArray menu(72, '\0'), empty, strings(4, '\0');  // a database of no entries
    QBuffer menuFile(&menu), emptyFile(&empty), stringsFile(&strings);
    for (QBuffer* file : {&menuFile, &emptyFile, &stringsFile}) file->open(QIODevice::ReadOnly);
    std::vector<LoadedDocument::Stage> stages;
    const auto note = [&stages](LoadedDocument::Stage stage) { stages.push_back(stage); };

    const LoadedDocument loaded = LoadDocumentStreams(menuFile, stringsFile, note);
    EXPECT_EQ(loaded.failure, LoadedDocument::Failure::None);
    EXPECT_EQ(loaded.menuItems.size(), 2u);
    EXPECT_EQ(stages.size(), 2u);

    stages.clear();
    EXPECT_EQ(LoadDocumentStreams(emptyFile, stringsFile, note).failure,
              LoadedDocument::Failure::NoMenuItems);
    EXPECT_EQ(stages.size(), 1u);  // the string database is not read
}

// Read again after a change, a string database of no entry is refused; opened
// with its menu file, it is taken.
TEST(ReloadStreams, AStringDatabaseOfNoEntryIsRefusedOnlyWhenReadAgain) {
    for (QByteArray strings : {QByteArray(), QByteArray("xyz")}) {
        QByteArray menu(36, '\0');
        QBuffer menuFile(&menu), stringsFile(&strings);
        menuFile.open(QIODevice::ReadOnly);
        stringsFile.open(QIODevice::ReadOnly);
        EXPECT_EQ(ReloadTextDbStream(stringsFile).failure, LoadedDocument::Failure::NoStrings);
        stringsFile.seek(0);
        EXPECT_EQ(LoadDocumentStreams(menuFile, stringsFile, {}).failure,
                  LoadedDocument::Failure::None);
    }
}
