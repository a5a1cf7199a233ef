#pragma once

#include <QByteArray>
#include <array>
#include <string_view>

#include "document/menu_item_record.h"

// Type codes are four characters stored in reverse of their shown order:
// `wint` is stored as the bytes "tniw".
namespace type_code {

// The program's own codes, in stored form.
inline constexpr std::string_view kWindowCaption = "tniw";       // wint
inline constexpr std::string_view kWindowNoCaption = "dniw";     // wind
inline constexpr std::string_view kWindowTransparent = "cniw";   // winc
inline constexpr std::string_view kRaceWindow = "carf";          // frac
inline constexpr std::string_view kRaceWindow2 = "tmrf";         // frmt
inline constexpr std::string_view kScrollBar = "lrcs";           // scrl
inline constexpr std::string_view kLoadingPicture = "atcr";      // rcta
inline constexpr std::string_view kLoadingProgressBar = "trbp";  // pbrt

// The held type text: the stored bytes up to the first NUL.
std::string_view HeldText(const MenuItemRecord& record);

// True when the held type text equals the stored form exactly (case-sensitive).
bool Is(const MenuItemRecord& record, std::string_view storedForm);

// The shown form: the fourth, third, second and first stored byte, ending at
// the first NUL in that order.
QByteArray Shown(const MenuItemRecord& record);

// Sets the stored bytes from a shown text: its first four characters in
// reverse; a text of fewer than four characters is padded with zero bytes.
void SetFromShown(MenuItemRecord& record, const QByteArray& shown);

bool IsWindow(const MenuItemRecord& record);
// Windows with a caption (`wint`, `frac`, `frmt`) place their contents lower.
bool HasCaption(const MenuItemRecord& record);

// The built-in rows of the type box, in order; empty rows separate groups.
inline constexpr int kCatalogueRows = 52;
extern const std::array<const char*, kCatalogueRows> kCatalogue;

}  // namespace type_code
