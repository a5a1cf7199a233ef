#include "editing/record_list_model.h"

#include <limits>

#include "base/code_page.h"
#include "document/document.h"
#include "document/row_ranges.h"
#include "document/type_code.h"

RecordListModel::RecordListModel(const Document& document, QObject* parent)
    : QAbstractListModel(parent), document_(document) {
    connect(&document, &Document::aboutToReset, this, [this] { beginResetModel(); });
    connect(&document, &Document::reset, this, [this] { endResetModel(); });
    connect(&document, &Document::recordAboutToBeInserted, this,
            [this](int row) { beginInsertRows(QModelIndex(), row, row); });
    connect(&document, &Document::recordInserted, this, [this] { endInsertRows(); });
    connect(&document, &Document::recordAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows(QModelIndex(), row, row); });
    connect(&document, &Document::recordRemoved, this, [this] { endRemoveRows(); });
    connect(&document, &Document::recordChanged, this, [this](int row) {
        const QModelIndex changed = index(row);
        emit dataChanged(changed, changed, {Qt::DisplayRole});
    });
    connect(&document, &Document::recordsAboutToBeInserted, this,
            [this](const RowRanges& rows) { BeginMany(rows, true); });
    connect(&document, &Document::recordsInserted, this,
            [this](const RowRanges& rows) { EndMany(rows, true); });
    connect(&document, &Document::recordsAboutToBeRemoved, this,
            [this](const RowRanges& rows) { BeginMany(rows, false); });
    connect(&document, &Document::recordsRemoved, this,
            [this](const RowRanges& rows) { EndMany(rows, false); });
    connect(&document, &Document::recordsChanged, this, [this](const RowRanges& rows) {
        emit dataChanged(index(static_cast<int>(rows.first())),
                         index(static_cast<int>(rows.last())), {Qt::DisplayRole});
    });
}

void RecordListModel::BeginMany(const RowRanges& rows, bool insert) {
    if (rows.ranges().size() == 1) {
        const int first = static_cast<int>(rows.first());
        const int last = static_cast<int>(rows.last());
        if (insert) {
            beginInsertRows(QModelIndex(), first, last);
        } else {
            beginRemoveRows(QModelIndex(), first, last);
        }
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void RecordListModel::EndMany(const RowRanges& rows, bool insert) {
    if (rows.ranges().size() == 1) {
        if (insert) {
            endInsertRows();
        } else {
            endRemoveRows();
        }
        return;
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& kept : before) {
        const RowRanges row = RowRanges::Single(static_cast<std::size_t>(kept.row()));
        const RowRanges moved = insert ? row.AfterInsert(rows) : row.AfterRemove(rows);
        after.append(moved.empty() ? QModelIndex() : index(static_cast<int>(moved.first())));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString RecordListModel::Label(std::size_t index, const MenuItemRecord& record) {
    return QString::number(index) + QStringLiteral("   ") + FromCodePage(type_code::Shown(record));
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    const std::size_t size = document_.count();
    return size > static_cast<std::size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(size);
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= document_.count()) return {};
    return Label(row, document_.record(row));
}
