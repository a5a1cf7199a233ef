#pragma once

#include <QAbstractListModel>
#include <vector>

#include "document/menu_item_record.h"

// The record list's rows: "index, three blanks, shown type code", computed
// when the view asks, so that a list of a million records costs nothing until
// it is drawn. The model reads the records it is given; the owner tells it
// about changes.
class RecordListModel : public QAbstractListModel {
  public:
    explicit RecordListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // Shows a new array (or none).
    void SetRecords(const std::vector<MenuItemRecord>* records);

    // Announce changes made to the array.
    void BeginInsert(int row) { beginInsertRows(QModelIndex(), row, row); }
    void EndInsert() { endInsertRows(); }
    void BeginRemove(int row) { beginRemoveRows(QModelIndex(), row, row); }
    void EndRemove() { endRemoveRows(); }

    static QString Label(std::size_t index, const MenuItemRecord& record);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    const std::vector<MenuItemRecord>* records_ = nullptr;
};
