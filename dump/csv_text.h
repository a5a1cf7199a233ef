#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The comma-separated form of a dump: cells quoted where they need it (a
// comma, a quote, a line break, or blanks at either end), doubled quotes
// inside quoted cells, lines ended by LF or CR LF.
namespace csv {

QString Cell(const QString& text);
// The cells quoted where needed and joined by commas, without a line end.
QString Line(const QStringList& cells);

struct Row {
    int line = 0;  // where the row starts, from 1
    QStringList cells;
};

struct Table {
    std::vector<Row> rows;  // blank lines are left out
    // A row that could not be read ends the table; its line and the reason.
    int errorLine = 0;
    QString error;
};

Table Parse(const QString& text);

}  // namespace csv
