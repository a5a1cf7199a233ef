#pragma once

#include <QAbstractListModel>

class Document;
class RowRanges;
struct MenuItemRecord;

// The record list's rows: "index, three blanks, shown type code", computed
// when the view asks, so that a list of a million records costs nothing until
// it is drawn. The model follows the document's own announcements row by row;
// many records inserted or removed at once in one run are rows inserted or
// removed, in scattered runs a change of the layout (the rows a view keeps,
// such as its current one, follow their records), which costs one pass
// where a removal per run would cost a pass per run.
class RecordListModel : public QAbstractListModel {
  public:
    explicit RecordListModel(const Document& document, QObject* parent = nullptr);

    static QString Label(std::size_t index, const MenuItemRecord& record);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    void BeginMany(const RowRanges& rows, bool insert);
    void EndMany(const RowRanges& rows, bool insert);

    const Document& document_;
};
