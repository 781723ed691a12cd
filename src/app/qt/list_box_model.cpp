#include "app/qt/list_box_model.h"

namespace wavecrest {

ListBoxModel::ListBoxModel(std::function<const ListBox*()> source, QObject* parent)
    : QAbstractListModel(parent), source_(std::move(source)) {}

int ListBoxModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const ListBox* box = source_();
  if (box == nullptr || index.row() >= box->ListCount()) return {};
  return QString::fromStdString(box->items[static_cast<std::size_t>(index.row())]);
}

void ListBoxModel::Sync() {
  const ListBox* box = source_();
  const int rows = box == nullptr ? 0 : box->ListCount();
  if (rows != rows_) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
    return;
  }
  if (rows_ > 0) emit dataChanged(index(0), index(rows_ - 1), {Qt::DisplayRole});
}

}  // namespace wavecrest
