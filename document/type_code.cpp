#include "document/type_code.h"

#include <cstring>

namespace type_code {

std::string_view HeldText(const MenuItemRecord& record) {
    return std::string_view(record.type, ::strnlen(record.type, 4));
}

bool Is(const MenuItemRecord& record, std::string_view storedForm) {
    return HeldText(record) == storedForm;
}

QByteArray Shown(const MenuItemRecord& record) {
    QByteArray shown;
    for (int i = 3; i >= 0 && record.type[i] != '\0'; --i) shown.append(record.type[i]);
    return shown;
}

void SetFromShown(MenuItemRecord& record, const QByteArray& shown) {
    for (int i = 0; i < 4; ++i) {
        const int from = 3 - i;
        record.type[i] = from < shown.size() ? shown.at(from) : '\0';
    }
    record.type[4] = '\0';
}

bool IsWindow(const MenuItemRecord& record) {
    const std::string_view held = HeldText(record);
    return held == kWindowCaption || held == kWindowNoCaption || held == kWindowTransparent ||
           held == kRaceWindow || held == kRaceWindow2;
}

bool HasCaption(const MenuItemRecord& record) {
    const std::string_view held = HeldText(record);
    return held == kWindowCaption || held == kRaceWindow || held == kRaceWindow2;
}

const std::array<const char*, kCatalogueRows> kCatalogue = {
    "vers - Version of file",
    "",
    "wint - Window with caption",
    "wind - Window without caption",
    "winc - Transparent window without caption",
    "frac - Race blue transparent window",
    "frmt - Race blue transparent window 2",
    "view - View",
    "gate - Hideable window section",
    "orez - Obstruct the window",
    "stop - End of window",
    "",
    "stxt - String label, align to left",
    "ctxt - String label, align to center",
    "rtxt - String label, align to right",
    "item - String button, align to center",
    "iten - Track string value button",
    "butl - String button, align to left",
    "butt - String button, align to center",
    "butr - String button, align to right",
    "butw - String white button, align to right",
    "seli - String button, gray background on hover, align to left",
    "rari - Championship lockable string button",
    "ntxt - Race stats - driver's number",
    "mtxt - Race stats - driver's name",
    "htxt - Race stats - driver's lap time",
    "",
    "edit - Input edit field, align to center",
    "edtl - Input edit chat field, align to center",
    "ednu - Gray input edit field, black border, align to left",
    "vidc - Control key input",
    "comb - Combo box",
    "",
    "list - List",
    "swnd - Items list",
    "lstc - Cars List",
    "memi - Car garage list",
    "",
    "rect - 1px rectangle border",
    "line - 1px line",
    "rctf - Color overlay",
    "pull - Green rectangle, on hover is yellow",
    "",
    "scrl - Scroll / track bar",
    "trib - Scroll arrow",
    "",
    "rctf - Save game picture",
    "rctt - Picture",
    "rcta - Loading overlay picture",
    "pbrt - Loading progress bar",
    "",
    "netp - Network player with table",
};

}  // namespace type_code
