#include "editing/record_search.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <random>

#include "base/code_page.h"
#include "document/type_code.h"
#include "editing/record_edits.h"
#include "editing/text_edits.h"
#include "support/records.h"

namespace {

// Characters that fold in every way the code page allows: ASCII letters,
// S and Z with caron (0x8A/0x9A, 0x8E/0x9E), Y with diaeresis (0x9F/0xFF),
// the micro sign that folds to Greek mu, sharp s, A with diaeresis.
constexpr char kLetters[] = "aAbBsS zZ19-\x8A\x9A\x8E\x9E\x9F\xFF\xB5\xDF\xC4\xE4";
const QByteArray kAlphabet(kLetters, sizeof(kLetters) - 1);
const char* const kTypes[] = {"butt", "BUTT", "wint", "ab", "a", "", "S\x9A"};

QByteArray RandomText(std::mt19937& random, std::size_t maxLength) {
    QByteArray text;
    for (std::size_t n = random() % (maxLength + 1); n > 0; --n)
        text.append(kAlphabet.at(static_cast<qsizetype>(random() % kAlphabet.size())));
    return text;
}

// A database of entries with identifiers from -2 to 20, some twice, some
// missing, and some with the first entry's text.
TextDb RandomTextDb(std::mt19937& random) {
    std::vector<std::pair<int, std::string>> entries(random() % 30);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].first = static_cast<int>(random() % 23) - 2;
        const bool shared = i > 0 && random() % 5 == 0;
        entries[i].second = shared ? entries[0].second : RandomText(random, 12).toStdString();
    }
    return TextDbOf(entries);
}

MenuItemRecord RandomRecord(std::mt19937& random) {
    MenuItemRecord record;
    record.id = static_cast<std::int32_t>(random() % 25) - 3;
    type_code::SetFromShown(record, kTypes[random() % std::size(kTypes)]);
    record.textId = static_cast<std::int32_t>(random() % 26) - 3;
    return record;
}

void Load(Document& document, std::mt19937& random, std::size_t records) {
    std::vector<MenuItemRecord> items;
    for (std::size_t i = 0; i < records; ++i) items.push_back(RandomRecord(random));
    LoadRecords(document, std::move(items), RandomTextDb(random));
}

// The rules read the plain way: every record, its text decoded and folded by Qt.
std::vector<std::uint32_t> PlainScan(const Document& document, const QString& typed) {
    std::vector<std::uint32_t> found;
    if (typed.isEmpty()) return found;
    static const QRegularExpression wholeNumber(QStringLiteral("^-?[0-9]+$"));
    bool isNumber = false;
    const int number = wholeNumber.match(typed).hasMatch() ? typed.toInt(&isNumber) : 0;
    for (std::size_t i = 0; i < document.count(); ++i) {
        const MenuItemRecord& record = document.record(i);
        const auto text = document.textDb().FindText(record.textId);
        if ((text && FromCodePage(*text).toCaseFolded().contains(typed.toCaseFolded())) ||
            FromCodePage(type_code::Shown(record)) == typed ||
            (isNumber && (record.id == number || record.textId == number))) {
            found.push_back(static_cast<std::uint32_t>(i));
        }
    }
    return found;
}

// A text typed by a user: part of a record's text in another case, a type
// code, a number, or characters of their own (Greek mu, a capital sharp s).
QString RandomQuery(std::mt19937& random, const Document& document) {
    const MenuItemRecord& record = document.record(random() % document.count());
    switch (random() % 5) {
        case 0:
        case 1: {
            const auto text = document.textDb().FindText(record.textId);
            QString part = FromCodePage(text.value_or(""));
            part = part.mid(random() % (part.size() + 1), 1 + random() % 4);
            return random() % 2 ? part.toUpper() : part.toLower();
        }
        case 2:
            return FromCodePage(type_code::Shown(record));
        case 3:
            return QString::number(random() % 2 ? record.id : record.textId);
        default: {
            const QString extra[] = {QStringLiteral("\u03BC"), QStringLiteral("\u039C"),
                                     QStringLiteral("\u1E9E"), QStringLiteral("SS"),
                                     QStringLiteral("-"),      QStringLiteral("007"),
                                     QStringLiteral("\u00FF"), QStringLiteral("\u0178")};
            return extra[random() % std::size(extra)] + FromCodePage(RandomText(random, 1));
        }
    }
}

void ExpectSameAsPlainScan(RecordSearch& search, const Document& document, std::mt19937& random) {
    while (!search.Work(std::chrono::milliseconds(0))) {
    }
    const std::vector<std::uint32_t> plain = PlainScan(document, search.query());
    ASSERT_EQ(search.matches(), plain) << search.query().toStdString();
    // The walk, with wrapping at both ends.
    const std::size_t from = random() % document.count();
    const auto firstAbove = std::upper_bound(plain.begin(), plain.end(), from);
    const auto firstAtOrAbove = std::lower_bound(plain.begin(), plain.end(), from);
    if (plain.empty()) {
        EXPECT_FALSE(search.After(from) || search.Before(from) || search.AtOrAfter(from));
        return;
    }
    EXPECT_EQ(search.After(from), firstAbove == plain.end() ? plain.front() : *firstAbove);
    EXPECT_EQ(search.AtOrAfter(from),
              firstAtOrAbove == plain.end() ? plain.front() : *firstAtOrAbove);
    EXPECT_EQ(search.Before(from),
              firstAtOrAbove == plain.begin() ? plain.back() : *(firstAtOrAbove - 1));
    const bool isMatch = firstAtOrAbove != plain.end() && *firstAtOrAbove == from;
    EXPECT_EQ(search.PositionOf(from),
              isMatch ? std::optional<std::size_t>(firstAtOrAbove - plain.begin()) : std::nullopt);
}

}  // namespace

// Random documents and databases, queries typed one character at a time and
// at once, and edits between them: the search finds exactly what a scan of
// every record does.
TEST(RecordSearch, FindsWhatAPlainScanFindsWhileTheDocumentChanges) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Document document;
        Load(document, random, 1 + random() % 60);
        RecordSearch search(document);
        for (int round = 0; round < 40; ++round) {
            const QString query = RandomQuery(random, document);
            if (random() % 2) {
                for (qsizetype typed = 1; typed < query.size(); ++typed) {
                    search.SetQuery(query.left(typed));
                    ExpectSameAsPlainScan(search, document, random);
                }
            }
            search.SetQuery(query);
            ExpectSameAsPlainScan(search, document, random);

            const std::size_t index = random() % document.count();
            const std::string text = RandomText(random, 12).toStdString();
            switch (random() % 9) {
                case 0:
                    editing::SetField(document, index, RecordField::TextId,
                                      static_cast<std::uint32_t>(RandomRecord(random).textId), "t");
                    break;
                case 1:
                    editing::Duplicate(document, index, "duplicate");
                    break;
                case 2:
                    editing::Delete(document, index, "delete");
                    break;
                case 3:
                    editing::Paste(document, index, RandomRecord(random), "paste");
                    break;
                case 4:
                    editing::Undo(document);
                    break;
                case 5:  // a text shared or not, or added for an id without one
                    editing::SetRecordText(document, index, text, "text", "add text");
                    break;
                case 6:
                    editing::NewText(document, index, text, "new text");
                    break;
                case 7: {  // several records at once, in one run or apart
                    const std::size_t other = random() % document.count();
                    RowRanges rows = RowRanges::Span(other, std::min(document.count(), other + 3));
                    rows.Add(index, index + 1);
                    (random() % 2 ? editing::DuplicateSelected : editing::DeleteSelected)(
                        document, {rows, index}, "several");
                    break;
                }
                default:
                    if (random() % 4 == 0) document.ReplaceTextDb(RandomTextDb(random));
                    if (random() % 8 == 0) Load(document, random, 1 + random() % 60);
                    break;
            }
            ExpectSameAsPlainScan(search, document, random);
        }
    }
}

// A document large enough that the table of texts is built in several steps,
// changed between the steps before and after the point the build reached.
TEST(RecordSearch, ChangesDuringAStepwiseBuildAreFollowed) {
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Document document;
        Load(document, random, 20'000);
        RecordSearch search(document);
        search.SetQuery(QStringLiteral("s"));
        int steps = 0;
        // Records come and go on both sides of the point the build reached.
        while (!search.Work(std::chrono::milliseconds(0))) {
            ++steps;
            editing::Duplicate(document, random() % 100, "duplicate");
            editing::Delete(document, random() % 100, "delete");
            editing::Delete(document, random() % 100, "delete");
            editing::Delete(document, document.count() - 1 - random() % 100, "delete");
            editing::SetField(document, random() % document.count(), RecordField::TextId,
                              static_cast<std::uint32_t>(random() % 20), "t");
        }
        EXPECT_GE(steps, 3);
        ExpectSameAsPlainScan(search, document, random);
    }
}
