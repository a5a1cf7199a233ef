#include "app/message_table.h"

LanguageTexts& MessageTable() {
    static LanguageTexts table;
    return table;
}

preview::PreviewColors& SkinColors() {
    static preview::PreviewColors colors;
    return colors;
}
