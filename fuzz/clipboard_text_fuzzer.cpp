// The clipboard's text as Paste reads it: a dump in CSV or JSON (told by its
// content) from any program. Any text is read or refused without a crash;
// records read from it are written as Copy puts them on the clipboard and
// read back to the same bytes, and the program's own type gives them back
// exactly as well.

#include "document/menu_file.h"
#include "dump/record_transfer.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text = FuzzBytes(data, size);
    const dump::ReadResult read = dump::RecordsFromText(text);
    // Refused, with a reason each (the records read besides count for
    // nothing then); or records.
    FUZZ_CHECK(!read.problems.empty() || !read.records.empty());
    for (const dump::Problem& problem : read.problems) FUZZ_CHECK(!problem.reason.isEmpty());
    if (!read.problems.empty()) return 0;

    const QByteArray bytes = EncodeMenuItems(read.records);
    const dump::ReadResult again = dump::RecordsFromText(dump::RecordsText(read.records, nullptr));
    FUZZ_CHECK(again.problems.empty());
    FUZZ_CHECK(EncodeMenuItems(again.records) == bytes);
    const std::optional<std::vector<MenuItemRecord>> own =
        dump::RecordsFromBytes(dump::RecordsBytes(read.records));
    FUZZ_CHECK(own && EncodeMenuItems(*own) == bytes);
    return 0;
}
