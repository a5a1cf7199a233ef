#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/document.h"

// The changes a user makes to the texts of a document's records, each pushed
// onto its history as one step named `stepName`. Texts are the bytes the
// string database holds (Windows-1252, no NUL); the callers check what a
// user typed before.
namespace editing {

// Gives the record's text, the first entry with its textId, these bytes; when
// no entry has its textId, adds one with it after the last entry. False, and
// no step, when that changes nothing (the same bytes, or no entry and no
// bytes) or the database has no room for another entry.
bool SetRecordText(Document& document, std::size_t record, const std::string& text,
                   const QString& setStepName, const QString& addStepName);

// Gives the record a new textId, one above the largest identifier of the
// database (1 when it has none), and adds an entry with it and these bytes.
// False, and no step, when no identifier lies above the largest or the
// database has no room for another entry.
bool NewText(Document& document, std::size_t record, const std::string& text,
             const QString& stepName);

// How many records have this textId.
std::size_t CountTextUsers(const Document& document, std::int32_t textId);

}  // namespace editing
