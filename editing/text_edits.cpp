#include "editing/text_edits.h"

#include <algorithm>
#include <limits>

#include "editing/add_text_command.h"
#include "editing/new_text_command.h"
#include "editing/set_text_command.h"

namespace editing {

namespace {

bool HasRoomForAnEntry(const Document& document) {
    return document.textDb().count() < std::numeric_limits<std::uint32_t>::max();
}

}  // namespace

bool SetRecordText(Document& document, std::size_t record, const std::string& text,
                   const QString& setStepName, const QString& addStepName) {
    const std::int32_t textId = document.record(record).textId;
    if (const std::optional<std::uint32_t> entry = document.textDb().FirstIndexOf(textId)) {
        if (document.textDb().WholeText(*entry) == text) return false;
        document.history().push(new SetTextCommand(document, *entry, text, setStepName, record));
        return true;
    }
    if (text.empty() || !HasRoomForAnEntry(document)) return false;
    document.history().push(new AddTextCommand(document, textId, text, addStepName, record));
    return true;
}

bool NewText(Document& document, std::size_t record, const std::string& text,
             const QString& stepName) {
    const std::optional<std::int32_t> largest = document.textDb().LargestId();
    if (largest == std::numeric_limits<std::int32_t>::max() || !HasRoomForAnEntry(document))
        return false;
    const std::int32_t id = largest ? *largest + 1 : 1;
    document.history().push(new NewTextCommand(document, record, id, text, stepName));
    return true;
}

std::size_t CountTextUsers(const Document& document, std::int32_t textId) {
    const std::vector<MenuItemRecord>& records = document.records();
    return static_cast<std::size_t>(
        std::count_if(records.begin(), records.end(),
                      [textId](const MenuItemRecord& record) { return record.textId == textId; }));
}

}  // namespace editing
