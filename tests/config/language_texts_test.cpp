#include "config/language_texts.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "config/line_reader.h"
#include "document/type_code.h"
#include "editing/conversion_error.h"

namespace {

struct Reader {
    explicit Reader(QByteArray content) : bytes(std::move(content)), buffer(&bytes) {
        buffer.open(QIODevice::ReadOnly);
    }
    QByteArray bytes;
    QBuffer buffer;
    LineReader reader{buffer};
};

QByteArray JoinLines(const QList<QByteArray>& lines) {
    QByteArray file;
    for (const QByteArray& line : lines) file += line + '\n';
    return file;
}

// Lines 1 to 44, each naming its number.
QList<QByteArray> NumberedHead() {
    QList<QByteArray> lines;
    for (int i = 1; i <= 44; ++i) lines.append("line " + QByteArray::number(i));
    return lines;
}

QByteArray RepositoryFile(const char* relative) {
    const QDir root(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../.."));
    QFile file(root.filePath(QString::fromLatin1(relative)));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

LanguageTexts Applied(const QByteArray& file) {
    LanguageTexts texts;
    Reader r(file);
    ApplyLanguageFile(r.reader, texts);
    return texts;
}

}  // namespace

TEST(LanguageFile, SixteenLinesTranslateMenusAndCaptionsAndKeepTheMessages) {
    QList<QByteArray> lines;
    for (int i = 1; i <= 16; ++i) lines.append("t" + QByteArray::number(i));
    const LanguageTexts texts = Applied(JoinLines(lines));

    LanguageTexts expected;
    QString* translated[] = {&expected.languageName,
                             &expected.fileMenu,
                             &expected.editMenu,
                             &expected.helpMenu,
                             &expected.openAction,
                             &expected.saveAction,
                             &expected.saveAsAction,
                             &expected.exitAction,
                             &expected.copyItemAction,
                             &expected.pasteItemAction,
                             &expected.duplicateItemAction,
                             &expected.deleteItemAction,
                             &expected.helpAction,
                             &expected.itemsCountCaption,
                             &expected.stateCaption,
                             &expected.languageCaption};
    for (int i = 0; i < 16; ++i) *translated[i] = QStringLiteral("t%1").arg(i + 1);
    expected.typeEntries.clear();  // the count falls back to "0"
    EXPECT_TRUE(texts == expected);
    EXPECT_EQ(texts.helpAction, "t13");
    EXPECT_EQ(texts.CreditLine(), "Made by the Kavel.def Editor team");
    EXPECT_TRUE(texts.typeEntries.empty());
}

TEST(LanguageFile, EmptyLinesKeepTextsAndSuffixesAreAddedOnce) {
    QList<QByteArray> lines = NumberedHead();
    lines[1] = "";                    // File menu
    lines[16] = "Erstellt von \xE4";  // credits, Windows-1252
    lines.append("1");
    lines.append("wint - Fenster");
    for (int i = 46; i <= 62; ++i) lines.append("");
    lines[59] = "Alle Dateien";  // menu file filter
    lines[61] = "textdb_de.def";

    const LanguageTexts texts = Applied(JoinLines(lines));
    EXPECT_EQ(texts.fileMenu, "&File");
    EXPECT_EQ(texts.CreditLine(), QString::fromUtf8("Erstellt von ä the Kavel.def Editor team"));
    EXPECT_EQ(texts.typeCaption, "line 44");
    EXPECT_EQ(texts.typeEntries, std::vector<QString>{"wint - Fenster"});
    EXPECT_EQ(texts.positionHeading, "Position");
    EXPECT_EQ(texts.MenuFileFilter(), "Alle Dateien|*.*|kavel.def|*.def");
    EXPECT_EQ(texts.StringsFileFilter(), "All Files|*.*|textdb_xx.def|*.def");
    EXPECT_EQ(texts.stringsFileName, "textdb_de.def");
    EXPECT_EQ(texts.helpFileName, "readme_en.txt");
}

TEST(LanguageFile, TheCountDecidesWhereTheCaptionsAfterTheRowsStart) {
    const auto withCount = [](const QByteArray& count, const QList<QByteArray>& rest) {
        QList<QByteArray> lines = NumberedHead();
        lines.append(count);
        lines.append(rest);
        return Applied(JoinLines(lines));
    };

    for (const char* none : {"0", "-3"}) {
        const LanguageTexts texts = withCount(none, {"Lage", "A:"});
        EXPECT_TRUE(texts.typeEntries.empty()) << none;
        EXPECT_EQ(texts.positionHeading, "Lage") << none;
        EXPECT_EQ(texts.positionXCaption, "A:") << none;
        EXPECT_EQ(texts.positionYCaption, "Y:") << none;
    }

    const LanguageTexts three = withCount("$3", {"a", "", "c", "Lage"});
    EXPECT_EQ(three.typeEntries, (std::vector<QString>{"a", "", "c"}));
    EXPECT_EQ(three.positionHeading, "Lage");

    // Rows past the end of the file are empty entries.
    const LanguageTexts cut = withCount("4", {"a"});
    EXPECT_EQ(cut.typeEntries, (std::vector<QString>{"a", "", "", ""}));
    EXPECT_EQ(cut.positionHeading, "Position");

    // A file ending before the count leaves the type box empty.
    QList<QByteArray> shortFile = NumberedHead().mid(0, 30);
    const LanguageTexts texts = Applied(JoinLines(shortFile));
    EXPECT_TRUE(texts.typeEntries.empty());
    EXPECT_EQ(texts.deletedItem, "Menu item deleted.");
}

TEST(LanguageFile, ACountThatIsNoIntegerStopsAfterTheLinesBeforeIt) {
    QList<QByteArray> lines = NumberedHead();
    lines.append("12a");
    lines.append("row");
    lines.append("Lage");
    Reader r(JoinLines(lines));
    LanguageTexts texts;
    try {
        ApplyLanguageFile(r.reader, texts);
        FAIL() << "no ConversionError";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.message(), "'12a' is not a valid integer value");
    }
    EXPECT_EQ(texts.languageName, "line 1");
    EXPECT_EQ(texts.typeCaption, "line 44");
    EXPECT_EQ(texts.typeEntries, LanguageTexts::BuiltInTypeEntries());
    EXPECT_EQ(texts.positionHeading, "Position");
    EXPECT_EQ(r.reader.ReadLine("F"), "row");  // nothing after the count was read
}

TEST(LanguageFile, HugeCountsKeepAtMostTheCapAndStillFindTheCaptions) {
    QList<QByteArray> lines = NumberedHead();
    lines.append("2147483647");
    lines.append("first");
    const LanguageTexts endless = Applied(JoinLines(lines));
    ASSERT_EQ(endless.typeEntries.size(), static_cast<std::size_t>(kMaxTypeEntries));
    EXPECT_EQ(endless.typeEntries.front(), "first");
    EXPECT_EQ(endless.typeEntries.back(), "");
    EXPECT_EQ(endless.positionHeading, "Position");

    lines = NumberedHead();
    const int count = kMaxTypeEntries + 3;
    lines.append(QByteArray::number(count));
    for (int i = 0; i < count; ++i) lines.append("row " + QByteArray::number(i));
    lines.append("Lage");
    const LanguageTexts capped = Applied(JoinLines(lines));
    ASSERT_EQ(capped.typeEntries.size(), static_cast<std::size_t>(kMaxTypeEntries));
    EXPECT_EQ(capped.typeEntries.back(), "row " + QString::number(kMaxTypeEntries - 1));
    EXPECT_EQ(capped.positionHeading, "Lage");
}

TEST(FileDialogNameFilters, PairsLabelsWithTheirPatterns) {
    EXPECT_EQ(FileDialogNameFilters(LanguageTexts().MenuFileFilter()),
              (QStringList{"All Files (*)", "kavel.def (*.def)"}));
    EXPECT_EQ(FileDialogNameFilters("Bilder|*.bmp; *.jpg|Leer||Rest"),
              (QStringList{"Bilder (*.bmp *.jpg)"}));
}

TEST(ShippedLanguages, EnglishIsTheBuiltInTextsAndGermanIsComplete) {
    Reader list(RepositoryFile("lang/langList.txt"));
    const auto entries = list.reader.ReadListEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], "lang/English.txt");
    EXPECT_EQ(entries[1], "lang/German.txt");

    const QByteArray english = RepositoryFile("lang/English.txt");
    EXPECT_EQ(english.count('\n'), 114);
    EXPECT_TRUE(english.endsWith('\n'));
    EXPECT_FALSE(english.contains('\r'));
    EXPECT_TRUE(Applied(english) == LanguageTexts());

    const QByteArray germanFile = RepositoryFile("lang/German.txt");
    EXPECT_EQ(germanFile.count('\n'), 114);
    const LanguageTexts german = Applied(germanFile);
    ASSERT_EQ(german.typeEntries.size(), type_code::kCatalogue.size());
    for (std::size_t i = 0; i < type_code::kCatalogue.size(); ++i) {
        const QString builtIn = QString::fromLatin1(type_code::kCatalogue[i]);
        const QString row = german.typeEntries[i];
        EXPECT_EQ(row.left(4), builtIn.left(4)) << i;
        EXPECT_EQ(row.isEmpty(), builtIn.isEmpty()) << i;
        if (!builtIn.isEmpty()) {
            EXPECT_NE(row, builtIn) << i;
        }
    }
    EXPECT_EQ(german.fileMenu, "&Datei");
    EXPECT_EQ(german.initializing, "Initialisiere...");
    EXPECT_EQ(german.deleteItemAction, QString::fromUtf8("Eintrag &löschen"));
    EXPECT_EQ(german.helpFileName, "readme_en.txt");
    EXPECT_EQ(german.creditLead, "Erstellt von");
    for (const QString* menu : {&german.fileMenu, &german.editMenu, &german.helpMenu}) {
        EXPECT_EQ(menu->count(u'&'), 1) << menu->toStdString();
    }
}
