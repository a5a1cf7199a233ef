#include "editing/record_list_model.h"

#include <limits>

#include "base/code_page.h"
#include "document/document.h"
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
