#include "config/language_texts.h"

#include <gtest/gtest.h>


#include "base/conversion_error.h"
#include "document/type_code.h"
#include "support/files.h"
#include "support/line_file.h"

namespace {

QByteArray Lines(const QList<QByteArray>& lines) {
    return lines.isEmpty() ? QByteArray() : lines.join('\n') + '\n';
}

QList<QByteArray> Numbered(int first, int last) {
    QList<QByteArray> lines;
    for (int i = first; i <= last; ++i) lines.append("line " + QByteArray::number(i));
    return lines;
}

QByteArray RepositoryFile(const char* relative) {
    return ReadBytes(QStringLiteral(KAVEL_SOURCE_DIR "/") + QString::fromLatin1(relative));
}

LanguageTexts Applied(QByteArray bytes, LanguageTexts texts = {}) {
    LineFile file(std::move(bytes));
    ApplyLanguageFile(file.reader, texts);
    return texts;
}

}  // namespace

// Empty lines keep the built-in texts, as the fuzz target's replay checks on
// its seeds of empty lines.
TEST(LanguageFile, TextsAreInWindows1252) {
    QList<QByteArray> lines = Numbered(1, 44) + QList<QByteArray>{"1", "wint - Fenster"};
    lines[16] = "Erstellt von \xE4";
    const LanguageTexts texts = Applied(Lines(lines));
    EXPECT_EQ(texts.creditLead, QString::fromUtf8("Erstellt von ä"));
    EXPECT_EQ(texts.typeEntries, std::vector<QString>{"wint - Fenster"});
}

// The credit line has a line of its own (line 110 without type rows); a
// file from before it words only the lead, which keeps the English suffix.
TEST(LanguageFile, TheWholeCreditLineHasItsOwnLineAndLine17StillLeadsIt) {
    QList<QByteArray> lines = Numbered(1, 44) + QList<QByteArray>{"0"} + Numbered(46, 109);
    lines[16] = "Erstellt von";
    EXPECT_EQ(Applied(Lines(lines)).CreditLine(), "Erstellt von the Kavel team");
    EXPECT_EQ(Applied(Lines(lines << "Erstellt vom Kavel-Team")).CreditLine(),
              "Erstellt vom Kavel-Team");
    EXPECT_FALSE(Applied(RepositoryFile("lang/German.txt")).CreditLine().contains("the"));
}

TEST(LanguageFile, TheCountDecidesWhereTheCaptionsAfterTheRowsStart) {
    const auto withCount = [](const QByteArray& count, const QList<QByteArray>& rest) {
        return Applied(Lines(Numbered(1, 44) + QList<QByteArray>{count} + rest));
    };
    for (const char* none : {"0", "-3"}) {
        const LanguageTexts texts = withCount(none, {"Lage", "A:"});
        EXPECT_TRUE(texts.typeEntries.empty()) << none;
        EXPECT_EQ(texts.positionHeading + texts.positionXCaption + texts.positionYCaption,
                  "LageA:Y:")
            << none;
    }
    const LanguageTexts three = withCount("$3", {"a", "", "c", "Lage"});
    EXPECT_EQ(three.typeEntries, (std::vector<QString>{"a", "", "c"}));
    EXPECT_EQ(three.positionHeading, "Lage");
    // Rows past the end of the file are empty entries, as the fuzz target's
    // replay checks (fuzz/corpus/language_file/huge_count.txt).

    // A file ending before the count empties the type box.
    EXPECT_TRUE(Applied(Lines(Numbered(1, 30))).typeEntries.empty());
}

TEST(LanguageFile, ACountThatIsNoIntegerStopsAfterTheLinesBeforeIt) {
    LineFile file(Lines(Numbered(1, 44) + QList<QByteArray>{"12a", "row", "Lage"}));
    LanguageTexts texts;
    EXPECT_THROW(ApplyLanguageFile(file.reader, texts), ConversionError);
    EXPECT_EQ(texts.typeCaption, "line 44");
    EXPECT_EQ(texts.typeEntries, LanguageTexts::BuiltInTypeEntries());
    EXPECT_EQ(texts.positionHeading, "Position");
    EXPECT_EQ(file.reader.ReadLine("F"), "row");  // nothing after the count was read
}

// A count of 2147483647 rows in a short file is kept to the cap by the fuzz
// target's replay (fuzz/corpus/language_file/huge_count.txt); here the rows
// beyond the cap are read past all the same.
TEST(LanguageFile, HugeCountsKeepAtMostTheCapAndStillFindTheCaptions) {
    const int count = kMaxTypeEntries + 3;
    const LanguageTexts capped =
        Applied(Lines(Numbered(1, 44) + QList<QByteArray>{QByteArray::number(count)} +
                      Numbered(0, count - 1) + QList<QByteArray>{"Lage"}));
    ASSERT_EQ(capped.typeEntries.size(), static_cast<std::size_t>(kMaxTypeEntries));
    EXPECT_EQ(capped.typeEntries.back(), "line " + QString::number(kMaxTypeEntries - 1));
    EXPECT_EQ(capped.positionHeading, "Lage");
}

TEST(FileDialogNameFilters, PairsLabelsWithTheirPatterns) {
    EXPECT_EQ(FileDialogNameFilters("Alle|*.*|Bilder|*.bmp; *.jpg|Leer||Rest"),
              (QStringList{"Alle (*)", "Bilder (*.bmp *.jpg)"}));
}

TEST(ShippedLanguages, EveryListedOneIsCompleteAndEnglishIsTheBuiltInTexts) {
    const std::vector<QByteArray> names =
        LineFile(RepositoryFile("lang/langList.txt")).reader.ReadListEntries();
    EXPECT_EQ(names.size(), 2u);
    for (const QByteArray& name : names) {
        const QByteArray file = RepositoryFile(name.constData());
        EXPECT_EQ(file.count('\n'), 228) << name.constData();
        // Every row of the type box, translated or not, keeps its code.
        const LanguageTexts texts = Applied(file);
        ASSERT_EQ(texts.typeEntries.size(), type_code::kCatalogue.size()) << name.constData();
        for (std::size_t i = 0; i < texts.typeEntries.size(); ++i) {
            EXPECT_EQ(texts.typeEntries[i].left(4),
                      QString::fromLatin1(type_code::kCatalogue[i]).left(4))
                << name.constData() << " row " << i;
        }
    }
    EXPECT_TRUE(Applied(RepositoryFile("lang/English.txt")) == LanguageTexts());
}
