#pragma once

#include <QString>
#include <cstddef>
#include <utility>
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

// A string database and the name it is told by (its path as given).
struct NamedTextDb {
    QString name;
    const TextDb* textDb = nullptr;
};

// fileSize is the file's length in bytes; textDbs are the string databases
// the file's texts are looked up in (none, one, or one per language). The
// findings come in record order.
//  - the last record is short (the file's length is not a multiple of 36);
//  - a textId a database does not hold (with several, which ones);
//  - a window followed directly by another window or the end: no elements;
//  - a record that does not lie wholly on the 800 x 600 screen: an element of
//    a window placed from the window's corner (below the caption of wint,
//    frac and frmt), any other record from the screen's corner;
//  - a type code that is not in the type catalogue;
//  - an rcta record whose id is not 100, 101 or 102, or a pbrt record whose
//    id is not 300: it calls for no picture.
std::vector<Finding> CheckMenu(const std::vector<MenuItemRecord>& records, qint64 fileSize,
                               const std::vector<NamedTextDb>& textDbs);
// The same with one string database or none.
inline std::vector<Finding> CheckMenu(const std::vector<MenuItemRecord>& records,
                                      qint64 fileSize, const TextDb* textDb) {
    std::vector<NamedTextDb> textDbs;
    if (textDb) textDbs.push_back({QString(), textDb});
    return CheckMenu(records, fileSize, textDbs);
}

// The identifiers that one database holds and another lacks, database by
// database and in ascending order of identifier within each:
// "textdb_de.def: text id 1050 is missing (held by textdb_en.def)".
std::vector<QString> CompareTextDbs(const std::vector<NamedTextDb>& textDbs);

}  // namespace menu_check
