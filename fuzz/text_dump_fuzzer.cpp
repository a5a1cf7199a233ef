// The reader of kaveldef's text dumps, CSV and JSON. Whatever it is given, it
// either names faults or gives entries; entries written as a string database
// read back as they were, and dumped again they read back the same.

#include <QBuffer>

#include "cli/text_dump.h"
#include "document/text_db.h"
#include "fuzz_support.h"

namespace {

void CheckSame(const texts_dump::ReadResult& a, const texts_dump::ReadResult& b) {
    FUZZ_CHECK(a.problems.empty() && b.problems.empty());
    FUZZ_CHECK(a.ids == b.ids && a.texts == b.texts);
    FUZZ_CHECK(a.headerBytes == b.headerBytes);
}

// The JSON read line by line, where it reads at all, gives what a JSON
// document gives: the same entries, or the same faults.
void CheckRoutesAgree(const QByteArray& bytes, const texts_dump::ReadResult& read) {
    const texts_dump::ReadResult any =
        texts_dump::ReadDump(bytes, dump::Format::Json, texts_dump::JsonRoute::AnyLayout);
    FUZZ_CHECK(read.ids == any.ids && read.texts == any.texts);
    FUZZ_CHECK(read.headerBytes == any.headerBytes);
    FUZZ_CHECK(read.problems.size() == any.problems.size());
    for (std::size_t i = 0; i < read.problems.size(); ++i) {
        FUZZ_CHECK(read.problems[i].Describe() == any.problems[i].Describe());
        FUZZ_CHECK(read.problems[i].record == any.problems[i].record);
    }
}

void Check(const QByteArray& bytes, dump::Format format) {
    const texts_dump::ReadResult read = texts_dump::ReadDump(bytes, format);
    if (format == dump::Format::Json) CheckRoutesAgree(bytes, read);
    FUZZ_CHECK(read.ids.size() == read.texts.size());
    if (!read.problems.empty()) return;
    for (const std::string_view text : read.texts) FUZZ_CHECK(text.find('\0') == std::string_view::npos);

    std::optional<QByteArray> file = read.Encode();
    FUZZ_CHECK(file.has_value());
    QBuffer device(&*file);
    FUZZ_CHECK(device.open(QIODevice::ReadOnly));
    TextDb db;
    FUZZ_CHECK(db.Read(device) == TextDb::ReadError::None);
    FUZZ_CHECK(db.count() == read.ids.size());
    for (std::uint32_t i = 0; i < db.count(); ++i) {
        FUZZ_CHECK(db.IdAt(i) == read.ids[i]);
        FUZZ_CHECK(db.WholeText(i) == read.texts[i]);
    }
    for (const dump::Format again : {dump::Format::Csv, dump::Format::Json})
        CheckSame(read, texts_dump::ReadDump(texts_dump::WriteDump(db, again), again));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    Check(bytes, dump::Format::Csv);
    Check(bytes, dump::Format::Json);
    return 0;
}
