#include "app/panel_values.h"

#include <bit>

#include "base/code_page.h"
#include "base/number_text.h"
#include "document/document.h"
#include "document/type_code.h"
#include "editing/record_selection.h"

namespace {

constexpr RecordField kFields[] = {RecordField::Id,     RecordField::PosX,   RecordField::PosY,
                                   RecordField::ScaleX, RecordField::ScaleY, RecordField::TextId,
                                   RecordField::Font,   RecordField::Color};

}  // namespace

void PanelValues::Take(const Document& document, const RecordSelection& selection) {
    *this = PanelValues();
    if (selection.empty() || selection.rows().last() >= document.count()) return;
    several_ = selection.count() > 1;
    const MenuItemRecord& first = document.record(selection.rows().first());
    for (const RecordField field : kFields)
        bits_[static_cast<std::size_t>(field)] = FieldBits(first, field);
    type_ = SetTypeCommand::StoredOf(first);
    selection.rows().ForEach([&](std::size_t row) {
        const MenuItemRecord& record = document.record(row);
        for (const RecordField field : kFields) {
            std::optional<std::uint32_t>& bits = bits_[static_cast<std::size_t>(field)];
            if (bits && *bits != FieldBits(record, field)) bits.reset();
        }
        if (type_ && *type_ != SetTypeCommand::StoredOf(record)) type_.reset();
    });
}

std::optional<std::uint32_t> PanelValues::Bits(RecordField field) const {
    return bits_[static_cast<std::size_t>(field)];
}

QString PanelValues::Text(RecordField field, QChar decimalSeparator) const {
    const std::optional<std::uint32_t> bits = Bits(field);
    if (!bits) return {};
    switch (field) {
        case RecordField::Id:
        case RecordField::TextId:
            return IntegerDisplayText(std::bit_cast<std::int32_t>(*bits));
        case RecordField::Font:
        case RecordField::Color:
            return HexDisplayText(*bits);
        case RecordField::PosX:
        case RecordField::PosY:
        case RecordField::ScaleX:
        case RecordField::ScaleY:
            break;
    }
    return FloatDisplayText(std::bit_cast<float>(*bits), decimalSeparator);
}

QString PanelValues::TypeText() const {
    if (!type_) return {};
    MenuItemRecord record;
    std::copy(type_->begin(), type_->end(), record.type);
    return FromCodePage(type_code::Shown(record));
}
