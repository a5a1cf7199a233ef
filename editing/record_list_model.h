#pragma once

#include <QAbstractListModel>

class Document;
struct MenuItemRecord;

// The record list's rows: "index, three blanks, shown type code", computed
// when the view asks, so that a list of a million records costs nothing until
// it is drawn. The model follows the document's own announcements row by row.
class RecordListModel : public QAbstractListModel {
  public:
    explicit RecordListModel(const Document& document, QObject* parent = nullptr);

    static QString Label(std::size_t index, const MenuItemRecord& record);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    const Document& document_;
};
