#include "editing/record_field.h"

#include <bit>

namespace {

template <typename Value>
std::uint32_t Bits(Value value) {
    return std::bit_cast<std::uint32_t>(value);
}

template <typename Value>
void Assign(Value& target, std::uint32_t bits) {
    target = std::bit_cast<Value>(bits);
}

}  // namespace

std::uint32_t FieldBits(const MenuItemRecord& record, RecordField field) {
    switch (field) {
        case RecordField::Id:
            return Bits(record.id);
        case RecordField::PosX:
            return Bits(record.posX);
        case RecordField::PosY:
            return Bits(record.posY);
        case RecordField::ScaleX:
            return Bits(record.scaleX);
        case RecordField::ScaleY:
            return Bits(record.scaleY);
        case RecordField::TextId:
            return Bits(record.textId);
        case RecordField::Font:
            return record.font;
        case RecordField::Color:
            return record.color;
    }
    return 0;
}

void SetFieldBits(MenuItemRecord& record, RecordField field, std::uint32_t bits) {
    switch (field) {
        case RecordField::Id:
            return Assign(record.id, bits);
        case RecordField::PosX:
            return Assign(record.posX, bits);
        case RecordField::PosY:
            return Assign(record.posY, bits);
        case RecordField::ScaleX:
            return Assign(record.scaleX, bits);
        case RecordField::ScaleY:
            return Assign(record.scaleY, bits);
        case RecordField::TextId:
            return Assign(record.textId, bits);
        case RecordField::Font:
            return Assign(record.font, bits);
        case RecordField::Color:
            return Assign(record.color, bits);
    }
}

bool IsFloatField(RecordField field) {
    return field == RecordField::PosX || field == RecordField::PosY ||
           field == RecordField::ScaleX || field == RecordField::ScaleY;
}
