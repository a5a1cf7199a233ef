#include "config/language_texts.h"

#include <QLatin1String>
#include <algorithm>
#include <array>

#include "base/code_page.h"
#include "base/line_reader.h"
#include "base/number_text.h"
#include "document/menu_item_record.h"
#include "document/type_code.h"

namespace {

using Text = QString LanguageTexts::*;

// Lines 1 to 44, in file order.
constexpr std::array<Text, 44> kLinesBeforeTypes = {
    &LanguageTexts::languageName,
    &LanguageTexts::fileMenu,
    &LanguageTexts::editMenu,
    &LanguageTexts::helpMenu,
    &LanguageTexts::openAction,
    &LanguageTexts::saveAction,
    &LanguageTexts::saveAsAction,
    &LanguageTexts::exitAction,
    &LanguageTexts::copyItemAction,
    &LanguageTexts::pasteItemAction,
    &LanguageTexts::duplicateItemAction,
    &LanguageTexts::deleteItemAction,
    &LanguageTexts::helpAction,
    &LanguageTexts::itemsCountCaption,
    &LanguageTexts::stateCaption,
    &LanguageTexts::languageCaption,
    &LanguageTexts::creditLead,
    &LanguageTexts::unableToOpenFile,
    &LanguageTexts::unableToAllocateItems,
    &LanguageTexts::unableToReallocateItems,
    &LanguageTexts::unableToAllocateStrings,
    &LanguageTexts::unableToSaveFile,
    &LanguageTexts::selectLanguage,
    &LanguageTexts::unableToInsertItem,
    &LanguageTexts::atLeastOneItem,
    &LanguageTexts::unableToDeleteItem,
    &LanguageTexts::initializing,
    &LanguageTexts::readingItems,
    &LanguageTexts::readingStrings,
    &LanguageTexts::loadedDocuments,
    &LanguageTexts::documentsEnd,
    &LanguageTexts::savingItems,
    &LanguageTexts::savedDocument,
    &LanguageTexts::insertingItem,
    &LanguageTexts::insertedItem,
    &LanguageTexts::confirmDelete,
    &LanguageTexts::deletingItem,
    &LanguageTexts::deletedItem,
    &LanguageTexts::defaultLanguage,
    &LanguageTexts::menuItemHeading,
    &LanguageTexts::copyButtonHint,
    &LanguageTexts::pasteButtonHint,
    &LanguageTexts::idCaption,
    &LanguageTexts::typeCaption,
};

// Lines 46+N to 62+N, after the N type box rows.
constexpr std::array<Text, 17> kLinesAfterTypes = {
    &LanguageTexts::positionHeading,      &LanguageTexts::positionXCaption,
    &LanguageTexts::positionYCaption,     &LanguageTexts::scaleHeading,
    &LanguageTexts::scaleXCaption,        &LanguageTexts::scaleYCaption,
    &LanguageTexts::attributesHeading,    &LanguageTexts::textIdCaption,
    &LanguageTexts::fontColorCaption,     &LanguageTexts::colorCaption,
    &LanguageTexts::openMenuFileTitle,    &LanguageTexts::openStringsFileTitle,
    &LanguageTexts::saveMenuFileTitle,    &LanguageTexts::allFilesLabel,
    &LanguageTexts::stringsAllFilesLabel, &LanguageTexts::stringsFileName,
    &LanguageTexts::helpFileName,
};

// Lines 63+N on, added later; older language files end before them.
constexpr auto kLinesAfterHelpFile = std::to_array<Text>({
    &LanguageTexts::undoAction,
    &LanguageTexts::redoAction,
    &LanguageTexts::undoStepAction,
    &LanguageTexts::redoStepAction,
    &LanguageTexts::idStep,
    &LanguageTexts::positionXStep,
    &LanguageTexts::positionYStep,
    &LanguageTexts::scaleXStep,
    &LanguageTexts::scaleYStep,
    &LanguageTexts::textIdStep,
    &LanguageTexts::fontColorStep,
    &LanguageTexts::colorStep,
    &LanguageTexts::typeStep,
    &LanguageTexts::duplicateStep,
    &LanguageTexts::deleteStep,
    &LanguageTexts::pasteStep,
    &LanguageTexts::moveStep,
    &LanguageTexts::resizeStep,
    &LanguageTexts::saveChangesQuestion,
    &LanguageTexts::findAction,
    &LanguageTexts::findNextAction,
    &LanguageTexts::findPreviousAction,
    &LanguageTexts::goToAction,
    &LanguageTexts::findMatchCount,
    &LanguageTexts::findNoMatch,
    &LanguageTexts::goToTitle,
    &LanguageTexts::goToPrompt,
    &LanguageTexts::goToOutOfRange,
    &LanguageTexts::textCaption,
    &LanguageTexts::noText,
    &LanguageTexts::reloadQuestion,
    &LanguageTexts::menuFileReloaded,
    &LanguageTexts::menuFileKept,
    &LanguageTexts::textDbReloaded,
    &LanguageTexts::menuFileGone,
    &LanguageTexts::textDbGone,
    &LanguageTexts::unableToSaveOverTextDb,
    &LanguageTexts::toolkitLanguage,
    &LanguageTexts::undoneStatus,
    &LanguageTexts::redoneStatus,
    &LanguageTexts::typeCharacterRefused,
    &LanguageTexts::menuFileBack,
    &LanguageTexts::textDbBack,
    &LanguageTexts::recordFinding,
    &LanguageTexts::shortLastRecord,
    &LanguageTexts::menuFileEmpty,
    &LanguageTexts::textDbEmpty,
    &LanguageTexts::creditLine,
    &LanguageTexts::newTextAction,
    &LanguageTexts::textStep,
    &LanguageTexts::addTextStep,
    &LanguageTexts::newTextStep,
    &LanguageTexts::textUsers,
    &LanguageTexts::textCut,
    &LanguageTexts::textOutsideCodePage,
    &LanguageTexts::textTooLong,
    &LanguageTexts::noFreeTextId,
    &LanguageTexts::saveTextDbQuestion,
    &LanguageTexts::saveBothQuestion,
    &LanguageTexts::menuFileNotSaved,
    &LanguageTexts::textDbNotSaved,
    &LanguageTexts::textDbReloadQuestion,
    &LanguageTexts::textDbKept,
    &LanguageTexts::viewMenu,
    &LanguageTexts::elementsAloneAction,
    &LanguageTexts::arrangeMenu,
    &LanguageTexts::alignLeftAction,
    &LanguageTexts::alignRightAction,
    &LanguageTexts::alignTopAction,
    &LanguageTexts::alignBottomAction,
    &LanguageTexts::alignHorizontalCentersAction,
    &LanguageTexts::alignVerticalCentersAction,
    &LanguageTexts::distributeHorizontallyAction,
    &LanguageTexts::distributeVerticallyAction,
    &LanguageTexts::sameWidthAction,
    &LanguageTexts::sameHeightAction,
    &LanguageTexts::arrangeTooFew,
    &LanguageTexts::distributeTooFew,
    &LanguageTexts::arrangeMixedScreens,
    &LanguageTexts::arrangeWindowWithElements,
    &LanguageTexts::confirmDeleteSeveral,
    &LanguageTexts::deletedItems,
    &LanguageTexts::insertedItems,
    &LanguageTexts::severalValues,
    &LanguageTexts::deleteSeveralStep,
    &LanguageTexts::duplicateSeveralStep,
    &LanguageTexts::pasteSeveralStep,
    &LanguageTexts::moveSeveralStep,
    &LanguageTexts::clipboardNotDump,
    &LanguageTexts::recoveryQuestion,
    &LanguageTexts::recoveryFileChanged,
    &LanguageTexts::recoverButton,
    &LanguageTexts::discardButton,
    &LanguageTexts::laterButton,
    &LanguageTexts::recoveryFileRefused,
    &LanguageTexts::recoveredStatus,
    &LanguageTexts::recoveryNotWritten,
    &LanguageTexts::zoomInAction,
    &LanguageTexts::zoomOutAction,
    &LanguageTexts::fitToWindowAction,
    &LanguageTexts::actualSizeAction,
    &LanguageTexts::resolutionMenu,
    &LanguageTexts::fitResolution,
    &LanguageTexts::customResolution,
    &LanguageTexts::showGridAction,
    &LanguageTexts::gridSizeMenu,
    &LanguageTexts::gridUnits,
    &LanguageTexts::resolutionRange,
    &LanguageTexts::resolutionWidth,
    &LanguageTexts::resolutionHeight,
    &LanguageTexts::zoomStatus,
    &LanguageTexts::pointerPlace,
    &LanguageTexts::pointerInWindow,
    &LanguageTexts::draftSize,
});

// An empty line, or one past the end of the file, keeps the current text.
// True when the line gave a text.
bool ReadText(LineReader& reader, QString& text) {
    const auto line = reader.ReadLine();
    if (line) text = FromCodePage(*line);
    return line.has_value();
}

void ReadTypeEntries(LineReader& reader, std::int32_t count, std::vector<QString>& entries) {
    if (count <= 0) return;
    const auto kept = static_cast<std::size_t>(std::min(count, kMaxTypeEntries));
    entries.reserve(kept);
    for (std::int32_t i = 0; i < count; ++i) {
        if (reader.lastChar() == LineReader::kEndOfFile) {
            // Every row from here on would read as empty: add them unread.
            entries.resize(kept);
            return;
        }
        const QByteArray line = reader.ReadLine(QByteArray());
        if (entries.size() < kept) entries.push_back(FromCodePage(line));
    }
}

}  // namespace

QString LanguageTexts::ShortLastRecordText(int heldBytes) const {
    return shortLastRecord.arg(heldBytes).arg(kMenuItemRecordSize);
}

QString LanguageTexts::RecordFindingText(std::size_t record, const QString& finding) const {
    return recordFinding.arg(QString::number(record), finding);
}

QString LanguageTexts::ShortLastRecordFinding(std::size_t record, int heldBytes) const {
    return RecordFindingText(record, ShortLastRecordText(heldBytes));
}

QString LanguageTexts::MenuFileFilter() const {
    return allFilesLabel + QLatin1String(kMenuFileFilterTail);
}

QString LanguageTexts::StringsFileFilter() const {
    return stringsAllFilesLabel + QLatin1String(kStringsFileFilterTail);
}

std::vector<QString> LanguageTexts::BuiltInTypeEntries() {
    std::vector<QString> entries;
    entries.reserve(type_code::kCatalogue.size());
    for (const char* row : type_code::kCatalogue) entries.push_back(QString::fromLatin1(row));
    return entries;
}

void ApplyLanguageFile(LineReader& reader, LanguageTexts& texts) {
    // Line 17 words the credit line's lead, which files written before the
    // whole line had a line of its own (near the end) follow with a fixed
    // suffix. A whole line read later takes its place.
    for (const Text text : kLinesBeforeTypes) {
        if (ReadText(reader, texts.*text) && text == &LanguageTexts::creditLead)
            texts.creditLine = texts.creditLead + QLatin1String(LanguageTexts::kCreditSuffix);
    }

    const QString countText = FromCodePage(reader.ReadLine(QByteArrayLiteral("0")));
    const std::int32_t count = ParseIntegerText(countText);
    texts.typeEntries.clear();
    ReadTypeEntries(reader, count, texts.typeEntries);

    for (const Text text : kLinesAfterTypes) ReadText(reader, texts.*text);
    for (const Text text : kLinesAfterHelpFile) ReadText(reader, texts.*text);
}

QStringList FileDialogNameFilters(const QString& filter) {
    QStringList nameFilters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            if (trimmed.isEmpty()) continue;
            patterns.append(trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
        }
        if (patterns.isEmpty()) continue;
        nameFilters.append(parts[i] + QLatin1String(" (") + patterns.join(u' ') + QLatin1Char(')'));
    }
    return nameFilters;
}
