#include "dump/csv_text.h"

#include <array>

namespace csv {

namespace {

// The rule of Cell, on UTF-8 bytes. Blanks at either end would be lost to a
// reader that trims cells.
bool IsSpace(std::string_view character) {
    if (character.size() == 1) return QChar::isSpace(static_cast<unsigned char>(character[0]));
    const QString decoded =
        QString::fromUtf8(character.data(), static_cast<qsizetype>(character.size()));
    return !decoded.isEmpty() && decoded.front().isSpace();
}

bool NeedsQuotes(std::string_view utf8) {
    if (utf8.empty()) return false;
    if (utf8.find_first_of(",\"\n\r") != std::string_view::npos) return true;
    // The first and the last character, each of up to four bytes.
    std::size_t last = utf8.size() - 1;
    while (last > 0 && (static_cast<unsigned char>(utf8[last]) & 0xC0) == 0x80) --last;
    std::size_t firstEnd = 1;
    while (firstEnd < utf8.size() && (static_cast<unsigned char>(utf8[firstEnd]) & 0xC0) == 0x80)
        ++firstEnd;
    return IsSpace(utf8.substr(0, firstEnd)) || IsSpace(utf8.substr(last));
}

}  // namespace

void AppendCell(std::string& out, std::string_view utf8) {
    if (!NeedsQuotes(utf8)) {
        out.append(utf8);
        return;
    }
    out.push_back('"');
    for (const char c : utf8) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

QString Cell(const QString& text) {
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
                       text.contains(u'\r') ||
                       (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote) return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString Line(const QStringList& cells) {
    QStringList quoted;
    quoted.reserve(cells.size());
    for (const QString& cell : cells) quoted.append(Cell(cell));
    return quoted.join(u',');
}

bool RowReader::Fail(int line, const char* reason) {
    errorLine_ = line;
    error_ = QString::fromLatin1(reason);
    pos_ = text_.size();
    return false;
}

bool RowReader::AtLineEnd(std::size_t at) const {
    return at >= text_.size() || text_[at] == '\n' ||
           (text_[at] == '\r' && at + 1 < text_.size() && text_[at + 1] == '\n');
}

void RowReader::SkipLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    ++line_;
}

bool RowReader::Next() {
    const std::size_t length = text_.size();
    while (pos_ < length && AtLineEnd(pos_)) SkipLineEnd();  // blank lines
    if (pos_ >= length) return false;
    rowLine_ = line_;
    size_ = 0;
    std::size_t unquoted = 0;
    while (true) {
        if (text_[pos_] == '"') {
            ++pos_;
            const std::size_t start = pos_;
            bool doubled = false;
            while (true) {
                const std::size_t quote = text_.find('"', pos_);
                if (quote == std::string_view::npos) return Fail(rowLine_, "a quoted cell is not closed");
                pos_ = quote + 1;
                if (pos_ < length && text_[pos_] == '"') {
                    doubled = true;
                    ++pos_;
                    continue;
                }
                break;
            }
            const std::string_view inside = text_.substr(start, pos_ - 1 - start);
            for (const char c : inside) line_ += c == '\n';
            if (doubled) {
                // The copy without the doubled quotes.
                if (unquoted == unquoted_.size()) unquoted_.emplace_back();
                std::string& copy = unquoted_[unquoted++];
                copy.clear();
                for (std::size_t i = 0; i < inside.size(); ++i) {
                    copy.push_back(inside[i]);
                    if (inside[i] == '"') ++i;
                }
                Add(copy);
            } else {
                Add(inside);
            }
            if (!AtLineEnd(pos_) && text_[pos_] != ',')
                return Fail(line_, "a quoted cell is followed by more than a comma");
        } else {
            const std::size_t start = pos_;
            // Only a comma, a quote or a line end stop the cell.
            static constexpr auto kStops = [] {
                std::array<bool, 256> stops{};
                for (const unsigned char c : {',', '"', '\n', '\r'}) stops[c] = true;
                return stops;
            }();
            const char* const data = text_.data();
            std::size_t at = pos_;
            while (true) {
                while (at < length && !kStops[static_cast<unsigned char>(data[at])]) ++at;
                // A carriage return not before a line feed is the cell's own.
                if (at < length && data[at] == '\r' && !AtLineEnd(at)) {
                    ++at;
                    continue;
                }
                break;
            }
            pos_ = at;
            if (pos_ < length && text_[pos_] == '"')
                return Fail(line_, "a quote inside a cell that is not quoted");
            Add(text_.substr(start, pos_ - start));
        }
        if (pos_ < length && text_[pos_] == ',') {
            ++pos_;
            if (pos_ < length) continue;
            // A comma at the very end is followed by one more, empty cell.
            Add({});
        }
        break;
    }
    if (pos_ < length) SkipLineEnd();
    return true;
}

Table Parse(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    RowReader reader(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    Table table;
    while (reader.Next()) {
        Row row;
        row.line = reader.line();
        for (std::size_t i = 0; i < reader.size(); ++i) {
            const std::string_view cell = reader.cell(i);
            row.cells.append(QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size())));
        }
        table.rows.push_back(std::move(row));
    }
    table.error = reader.error();
    table.errorLine = reader.errorLine();
    return table;
}

}  // namespace csv
