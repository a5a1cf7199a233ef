#include "dump/dump_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>
#include <cmath>

#include "dump/csv_text.h"
#include "dump/json_text.h"

namespace dump {

namespace {

constexpr const char* kFormatName = "kaveldef dump";
constexpr int kFormatVersion = 1;

bool IsNumberField(Field field) {
    return field == Field::Index || field == Field::Id || field == Field::TextId ||
           field == Field::StoredBytes;
}

QString FieldName(Field field) {
    const std::string_view name = NameOf(field);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

int StoredBytesOf(std::size_t index, std::size_t count, qint64 fileSize) {
    const qint64 rest = fileSize % kMenuItemRecordSize;
    return index + 1 == count && rest != 0 ? static_cast<int>(rest) : kMenuItemRecordSize;
}

QByteArray WriteJson(const std::vector<MenuItemRecord>& records, qint64 fileSize,
                     const DumpOptions& options) {
    QByteArray out;
    out += "{\n";
    out += "\"format\": " + json::String(QString::fromLatin1(kFormatName)) + ",\n";
    out += "\"version\": " + QByteArray::number(kFormatVersion) + ",\n";
    out += "\"fileSize\": " + QByteArray::number(fileSize) + ",\n";
    out += QByteArray("\"shortLastRecord\": ") +
           (fileSize % kMenuItemRecordSize != 0 ? "true" : "false") + ",\n";
    out += "\"records\": [\n";
    for (std::size_t i = 0; i < records.size(); ++i) {
        const FieldTexts texts =
            DumpRecord(records[i], i, StoredBytesOf(i, records.size(), fileSize), options);
        QByteArray line = "{";
        bool first = true;
        for (std::size_t f = 0; f < kFieldCount; ++f) {
            const std::optional<QString>& text = texts[f];
            if (!text) continue;
            if (!first) line += ", ";
            first = false;
            line += json::String(FieldName(static_cast<Field>(f))) + ": ";
            line += IsNumberField(static_cast<Field>(f)) ? text->toLatin1() : json::String(*text);
        }
        line += i + 1 < records.size() ? "},\n" : "}\n";
        out += line;
    }
    out += "]\n}\n";
    return out;
}

QByteArray WriteCsv(const std::vector<MenuItemRecord>& records, qint64 fileSize,
                    const DumpOptions& options) {
    QStringList header;
    for (std::size_t f = 0; f < kFieldCount; ++f) header.append(FieldName(static_cast<Field>(f)));
    QByteArray out = csv::Line(header).toUtf8() + '\n';
    for (std::size_t i = 0; i < records.size(); ++i) {
        const FieldTexts texts =
            DumpRecord(records[i], i, StoredBytesOf(i, records.size(), fileSize), options);
        QStringList cells;
        for (const std::optional<QString>& text : texts) cells.append(text.value_or(QString()));
        out += csv::Line(cells).toUtf8() + '\n';
    }
    return out;
}

QByteArray WithoutByteOrderMark(const QByteArray& bytes) {
    return bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
}

void AddRecord(ReadResult& result, const FieldTexts& texts, bool oneLine, int line, int record) {
    ReadRecord read = RecordFromTexts(texts, oneLine);
    for (const FieldError& error : read.errors) {
        result.problems.push_back({line, record, FieldName(error.field), error.reason});
    }
    if (read.errors.empty()) result.records.push_back(read.record);
}

// --- CSV ---------------------------------------------------------------------

ReadResult ReadCsv(const QByteArray& bytes) {
    ReadResult result;
    const csv::Table table = csv::Parse(QString::fromUtf8(bytes));
    if (table.rows.empty() && table.error.isEmpty()) {
        result.problems.push_back({1, -1, {}, QStringLiteral("the dump holds no header line")});
        return result;
    }

    std::vector<std::optional<Field>> columns;
    std::array<bool, kFieldCount> named{};
    if (!table.rows.empty()) {
        const csv::Row& header = table.rows.front();
        for (const QString& name : header.cells) {
            const std::optional<Field> field = FieldNamed(name.trimmed());
            if (!field) {
                result.problems.push_back(
                    {header.line, -1, name, QStringLiteral("is not a column of a dump")});
            } else if (named[static_cast<std::size_t>(*field)]) {
                result.problems.push_back(
                    {header.line, -1, name, QStringLiteral("is named twice")});
            } else {
                named[static_cast<std::size_t>(*field)] = true;
            }
            columns.push_back(field);
        }
        const auto need = [&](Field field, Field alternative) {
            if (named[static_cast<std::size_t>(field)] ||
                named[static_cast<std::size_t>(alternative)])
                return;
            result.problems.push_back({header.line, -1, FieldName(field),
                                       field == alternative
                                           ? QStringLiteral("the column is missing")
                                           : QStringLiteral("the column is missing (and so is %1)")
                                                 .arg(FieldName(alternative))});
        };
        need(Field::Id, Field::Id);
        need(Field::Type, Field::TypeBytes);
        need(Field::PosX, Field::PosXBits);
        need(Field::PosY, Field::PosYBits);
        need(Field::ScaleX, Field::ScaleXBits);
        need(Field::ScaleY, Field::ScaleYBits);
        need(Field::TextId, Field::TextId);
        need(Field::Font, Field::Font);
        need(Field::Color, Field::Color);
        if (!result.problems.empty()) return result;
    }

    for (std::size_t r = 1; r < table.rows.size(); ++r) {
        const csv::Row& row = table.rows[r];
        if (row.cells.size() > static_cast<qsizetype>(columns.size())) {
            result.problems.push_back(
                {row.line,
                 -1,
                 {},
                 QStringLiteral("%1 cells where the header names %2 (is a comma not quoted?)")
                     .arg(row.cells.size())
                     .arg(columns.size())});
            continue;
        }
        FieldTexts texts;
        for (qsizetype c = 0; c < row.cells.size(); ++c) {
            if (const std::optional<Field> field = columns[static_cast<std::size_t>(c)]) {
                At(texts, *field) = row.cells[c];
            }
        }
        AddRecord(result, texts, true, row.line, static_cast<int>(r - 1));
    }
    if (!table.error.isEmpty()) result.problems.push_back({table.errorLine, -1, {}, table.error});
    return result;
}

// --- JSON --------------------------------------------------------------------

ReadResult ReadJson(const QByteArray& bytes) {
    ReadResult result;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        result.problems.push_back({json::LineAt(bytes, error.offset), -1, {}, error.errorString()});
        return result;
    }
    QJsonArray records;
    if (document.isArray()) {
        records = document.array();
    } else if (document.object().value(QLatin1String("records")).isArray()) {
        records = document.object().value(QLatin1String("records")).toArray();
    } else {
        result.problems.push_back(
            {1, -1, {}, QStringLiteral("the dump holds no \"records\" array")});
        return result;
    }
    const std::vector<int> lines = json::ObjectLines(bytes);
    const bool linesKnown = lines.size() == static_cast<std::size_t>(records.size());

    for (qsizetype r = 0; r < records.size(); ++r) {
        const int line = linesKnown ? lines[static_cast<std::size_t>(r)] : 0;
        const int index = static_cast<int>(r);
        if (!records[r].isObject()) {
            result.problems.push_back(
                {line, index, {}, QStringLiteral("a record must be an object")});
            continue;
        }
        const QJsonObject object = records[r].toObject();
        FieldTexts texts;
        bool usable = true;
        for (auto it = object.begin(); it != object.end(); ++it) {
            const std::optional<Field> field = FieldNamed(it.key());
            if (!field) {
                result.problems.push_back(
                    {line, index, it.key(), QStringLiteral("is not a field of a record")});
                usable = false;
                continue;
            }
            const QJsonValue value = it.value();
            if (value.isString()) {
                At(texts, *field) = value.toString();
            } else if (value.isDouble()) {
                const double number = value.toDouble();
                At(texts, *field) = std::trunc(number) == number && std::fabs(number) < 9.0e15
                                        ? QString::number(static_cast<qint64>(number))
                                        : QString::number(number, 'g', 17);
            } else if (!value.isNull()) {
                result.problems.push_back(
                    {line, index, it.key(), QStringLiteral("expected a number or a text")});
                usable = false;
            }
        }
        if (usable) AddRecord(result, texts, false, line, index);
    }
    return result;
}

}  // namespace

QString Problem::Describe() const {
    QString where =
        line > 0 ? QStringLiteral("line %1").arg(line) : QStringLiteral("record %1").arg(record);
    if (!field.isEmpty()) where += QStringLiteral(", field ") + field;
    return where + QStringLiteral(": ") + reason;
}

QByteArray WriteDump(const std::vector<MenuItemRecord>& records, qint64 fileSize, Format format,
                     const TextDb* textDb) {
    DumpOptions options;
    options.textDb = textDb;
    options.oneLine = format == Format::Csv;
    return format == Format::Csv ? WriteCsv(records, fileSize, options)
                                 : WriteJson(records, fileSize, options);
}

ReadResult ReadDump(const QByteArray& bytes, Format format) {
    const QByteArray text = WithoutByteOrderMark(bytes);
    return format == Format::Csv ? ReadCsv(text) : ReadJson(text);
}

Format DetectFormat(const QString& fileName, const QByteArray& bytes) {
    if (fileName.endsWith(QLatin1String(".json"), Qt::CaseInsensitive)) return Format::Json;
    if (fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) return Format::Csv;
    for (const char c : WithoutByteOrderMark(bytes)) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        return c == '{' || c == '[' ? Format::Json : Format::Csv;
    }
    return Format::Csv;
}

}  // namespace dump
