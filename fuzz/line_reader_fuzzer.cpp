// The text line reader against the plain model of text_model.h. The first
// input byte chooses between reading lines and reading a language list.

#include <QBuffer>

#include "base/line_reader.h"
#include "fuzz_support.h"
#include "text_model.h"

namespace {

void CheckLines(const TextModel& model, LineReader& reader) {
    for (std::size_t i = 0; i < model.lines.size(); ++i) {
        FUZZ_CHECK(reader.ReadLine() == model.Shown(static_cast<std::int64_t>(i)));
    }
    // The last character read: the last line's line feed, or the end.
    if (!model.lines.empty()) {
        FUZZ_CHECK(reader.lastChar() == (model.lastEnded ? '\n' : LineReader::kEndOfFile));
    }
    // Past the end, every line is empty and the fallback stands for it.
    for (int i = 0; i < 3; ++i) FUZZ_CHECK(reader.ReadLine(QByteArrayLiteral("F")) == "F");
    FUZZ_CHECK(reader.lastChar() == LineReader::kEndOfFile);
}

// Every non-empty line that ends in a line feed, up to the first line of more
// than 128 characters.
void CheckList(const TextModel& model, LineReader& reader) {
    std::vector<QByteArray> expected;
    for (std::size_t i = 0; i < model.lines.size(); ++i) {
        const QByteArray& line = model.lines[i];
        if (line.size() > LineReader::kMaxLineLength) break;
        if (i + 1 == model.lines.size() && !model.lastEnded) break;
        if (!line.isEmpty()) expected.push_back(*TextModel::ShownLine(line));
    }
    FUZZ_CHECK(reader.ReadListEntries() == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool list = (data[0] & 1) != 0;
    QByteArray file = FuzzBytes(data + 1, size - 1);
    const TextModel model(file);
    QBuffer device(&file);
    FUZZ_CHECK(device.open(QIODevice::ReadOnly));
    LineReader reader(device);
    if (list) {
        CheckList(model, reader);
    } else {
        CheckLines(model, reader);
    }
    return 0;
}
