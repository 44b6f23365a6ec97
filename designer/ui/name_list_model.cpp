#include "designer/ui/name_list_model.h"

namespace scorvane::designer {

int NameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(names_.size()) ||
        (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return QString::fromStdString(names_[static_cast<size_t>(index.row())]);
}

void NameListModel::reset() {
    beginResetModel();
    endResetModel();
}

}  // namespace scorvane::designer
