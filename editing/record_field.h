#pragma once

#include <cstdint>

#include "document/menu_item_record.h"

// The eight 32-bit fields of a record that the property panel edits one at a
// time, and their stored bit patterns. Working on the bits keeps every value
// exact: a float's NaN payload or -0 is a pattern like any other.
enum class RecordField { Id, PosX, PosY, ScaleX, ScaleY, TextId, Font, Color };

std::uint32_t FieldBits(const MenuItemRecord& record, RecordField field);
void SetFieldBits(MenuItemRecord& record, RecordField field, std::uint32_t bits);

// Whether the field holds a float (shown and entered as a float text).
bool IsFloatField(RecordField field);
