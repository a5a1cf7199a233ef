// Applying a language file, against the plain model of text_model.h: lines 1
// to 44 set their texts, line 45 counts the type box rows that follow, and the
// 17 lines after the rows set the rest. The count is capped in memory, not in
// the lines consumed.

#include <QBuffer>

#include "base/code_page.h"
#include "base/conversion_error.h"
#include "base/line_reader.h"
#include "base/number_text.h"
#include "config/language_texts.h"
#include "fuzz_support.h"
#include "text_model.h"

namespace {

QString Expected(const TextModel& model, std::int64_t line, const QString& builtIn) {
    const std::optional<QByteArray> shown = model.Shown(line);
    return shown ? FromCodePage(*shown) : builtIn;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray file = FuzzBytes(data, size);
    const TextModel model(file);
    QBuffer device(&file);
    FUZZ_CHECK(device.open(QIODevice::ReadOnly));
    LineReader reader(device);
    const LanguageTexts builtIn;
    LanguageTexts texts;

    const QString countText = Expected(model, 44, QStringLiteral("0"));
    std::optional<std::int32_t> count;
    try {
        count = ParseIntegerText(countText);
    } catch (const ConversionError&) {
    }
    try {
        ApplyLanguageFile(reader, texts);
        FUZZ_CHECK(count.has_value());
    } catch (const ConversionError& error) {
        FUZZ_CHECK(!count.has_value());
        FUZZ_CHECK(error.message() ==
                   QStringLiteral("'%1' is not a valid integer value").arg(countText));
    }

    // Lines 1 to 44 stand either way.
    FUZZ_CHECK(texts.languageName == Expected(model, 0, builtIn.languageName));
    FUZZ_CHECK(texts.unableToOpenFile == Expected(model, 17, builtIn.unableToOpenFile));
    FUZZ_CHECK(texts.typeCaption == Expected(model, 43, builtIn.typeCaption));
    if (!count) {
        FUZZ_CHECK(texts.typeEntries == builtIn.typeEntries);
        FUZZ_CHECK(texts.positionHeading == builtIn.positionHeading);
        return 0;
    }

    const std::int64_t rows = std::max(*count, 0);
    FUZZ_CHECK(texts.typeEntries.size() ==
               static_cast<std::size_t>(std::min<std::int64_t>(rows, kMaxTypeEntries)));
    // Rows from their lines; the rows past the end of the file are empty.
    for (std::size_t i = 0; i < texts.typeEntries.size(); ++i) {
        const std::int64_t line = 45 + static_cast<std::int64_t>(i);
        if (line < static_cast<std::int64_t>(model.lines.size())) {
            FUZZ_CHECK(texts.typeEntries[i] == Expected(model, line, {}));
        } else {
            FUZZ_CHECK(texts.typeEntries[i].isEmpty());
        }
    }
    const std::int64_t after = 45 + rows;
    FUZZ_CHECK(texts.positionHeading == Expected(model, after, builtIn.positionHeading));
    FUZZ_CHECK(texts.allFilesLabel == Expected(model, after + 13, builtIn.allFilesLabel));
    FUZZ_CHECK(texts.helpFileName == Expected(model, after + 16, builtIn.helpFileName));
    return 0;
}
