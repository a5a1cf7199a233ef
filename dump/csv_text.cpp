#include "dump/csv_text.h"

namespace csv {

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

Table Parse(const QString& text) {
    Table table;
    const qsizetype length = text.size();
    qsizetype pos = 0;
    int line = 1;
    const auto atLineEnd = [&](qsizetype at) {
        return at >= length || text[at] == u'\n' ||
               (text[at] == u'\r' && at + 1 < length && text[at + 1] == u'\n');
    };
    const auto skipLineEnd = [&] {
        if (pos < length && text[pos] == u'\r') ++pos;
        if (pos < length && text[pos] == u'\n') ++pos;
        ++line;
    };

    while (pos < length) {
        if (atLineEnd(pos)) {  // a blank line
            skipLineEnd();
            continue;
        }
        Row row;
        row.line = line;
        while (true) {
            QString cell;
            if (pos < length && text[pos] == u'"') {
                ++pos;
                while (true) {
                    if (pos >= length) {
                        table.errorLine = row.line;
                        table.error = QStringLiteral("a quoted cell is not closed");
                        return table;
                    }
                    const QChar c = text[pos++];
                    if (c == u'"') {
                        if (pos < length && text[pos] == u'"') {
                            cell += u'"';
                            ++pos;
                            continue;
                        }
                        break;
                    }
                    if (c == u'\n') ++line;
                    cell += c;
                }
                if (!atLineEnd(pos) && text[pos] != u',') {
                    table.errorLine = line;
                    table.error = QStringLiteral("a quoted cell is followed by more than a comma");
                    return table;
                }
            } else {
                while (!atLineEnd(pos) && text[pos] != u',') {
                    if (text[pos] == u'"') {
                        table.errorLine = line;
                        table.error = QStringLiteral("a quote inside a cell that is not quoted");
                        return table;
                    }
                    cell += text[pos++];
                }
            }
            row.cells.append(cell);
            if (pos < length && text[pos] == u',') {
                ++pos;
                continue;
            }
            break;
        }
        table.rows.push_back(std::move(row));
        if (pos < length) skipLineEnd();
    }
    return table;
}

}  // namespace csv
