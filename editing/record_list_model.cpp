#include "editing/record_list_model.h"

#include <limits>

#include "config/code_page.h"
#include "document/type_code.h"

void RecordListModel::SetRecords(const std::vector<MenuItemRecord>* records) {
    beginResetModel();
    records_ = records;
    endResetModel();
}

QString RecordListModel::Label(std::size_t index, const MenuItemRecord& record) {
    return QString::number(index) + QStringLiteral("   ") + FromCodePage(type_code::Shown(record));
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || records_ == nullptr) return 0;
    const std::size_t size = records_->size();
    return size > static_cast<std::size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(size);
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || records_ == nullptr || !index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= records_->size()) return {};
    return Label(row, (*records_)[row]);
}
