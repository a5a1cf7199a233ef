#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// The comma-separated form of a dump: cells quoted where they need it (a
// comma, a quote, a line break, or blanks at either end), doubled quotes
// inside quoted cells, lines ended by LF or CR LF.
namespace csv {

QString Cell(const QString& text);
// The cells quoted where needed and joined by commas, without a line end.
QString Line(const QStringList& cells);
// A cell of UTF-8 bytes, quoted where needed, appended to `out`.
void AppendCell(std::string& out, std::string_view utf8);

// Reads the rows of a text in UTF-8 one at a time, for dumps of a million
// lines. Blank lines are left out.
class RowReader {
  public:
    explicit RowReader(std::string_view utf8) : text_(utf8) {}

    // The next row; false at the end of the text, or at a row that cannot be
    // read, which ends the text (error() says why).
    bool Next();
    int line() const { return rowLine_; }  // where the row starts, from 1
    std::size_t size() const { return size_; }
    // Valid until the next row is read.
    std::string_view cell(std::size_t index) const { return cells_[index]; }

    const QString& error() const { return error_; }
    int errorLine() const { return errorLine_; }

  private:
    bool Fail(int line, const char* reason);
    void Add(std::string_view cell) {
        if (size_ == cells_.size()) cells_.resize(2 * size_ + 4);
        cells_[size_++] = cell;
    }
    bool AtLineEnd(std::size_t at) const;
    void SkipLineEnd();

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int rowLine_ = 0;
    // The cells: views of the text, or of unquoted copies where a quote was
    // doubled, kept from row to row so that they keep their room.
    std::vector<std::string_view> cells_;
    std::deque<std::string> unquoted_;  // which keeps each in its place as it grows
    std::size_t size_ = 0;
    QString error_;
    int errorLine_ = 0;
};

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
