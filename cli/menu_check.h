#pragma once

#include <QString>
#include <cstddef>
#include <vector>

#include "document/menu_item_record.h"

class TextDb;

// What a modder wants to hear about before shipping a menu definition file.
// None of it stops the game from reading the file; each is a likely mistake.
namespace menu_check {

struct Finding {
    std::size_t record = 0;
    QString message;

    // "record 12: ..."
    QString Describe() const;
};

// fileSize is the file's length in bytes; textDb, when given, is the string
// database the file's texts are looked up in. The findings come in record
// order.
//  - the last record is short (the file's length is not a multiple of 36);
//  - a textId the database does not hold;
//  - a window followed directly by another window or the end: no elements;
//  - a record that does not lie wholly on the 800 x 600 screen: an element of
//    a window placed from the window's corner (below the caption of wint,
//    frac and frmt), any other record from the screen's corner;
//  - a type code that is not in the type catalogue;
//  - an rcta record whose id is not 100, 101 or 102, or a pbrt record whose
//    id is not 300: it calls for no picture.
std::vector<Finding> CheckMenu(const std::vector<MenuItemRecord>& records, qint64 fileSize,
                               const TextDb* textDb);

}  // namespace menu_check
