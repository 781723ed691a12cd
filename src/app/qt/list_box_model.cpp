#include "app/qt/list_box_model.h"

#include <string_view>

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

namespace {

std::size_t RowHash(const std::string& text) { return std::hash<std::string_view>{}(text); }

}  // namespace

void ListBoxModel::Sync() {
  const ListBox* box = source_();
  const int rows = box == nullptr ? 0 : box->ListCount();
  if (rows != rows_) {
    beginResetModel();
    rows_ = rows;
    rowHashes_.clear();
    if (box != nullptr) {
      rowHashes_.reserve(box->items.size());
      for (const std::string& item : box->items) rowHashes_.push_back(RowHash(item));
    }
    endResetModel();
    return;
  }
  if (box != nullptr) RepaintChangedRows(*box);
}

// One dataChanged per run of consecutive changed rows, none when nothing changed.
void ListBoxModel::RepaintChangedRows(const ListBox& box) {
  int runStart = -1;
  for (int row = 0; row <= rows_; ++row) {
    bool changed = false;
    if (row < rows_) {
      const std::size_t hash = RowHash(box.items[static_cast<std::size_t>(row)]);
      std::size_t& seen = rowHashes_[static_cast<std::size_t>(row)];
      changed = hash != seen;
      seen = hash;
    }
    if (changed && runStart < 0) runStart = row;
    if (changed || runStart < 0) continue;
    emit dataChanged(index(runStart), index(row - 1), {Qt::DisplayRole});
    runStart = -1;
  }
}

}  // namespace wavecrest
