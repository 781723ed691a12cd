#pragma once

// A Qt list model reading a ListBox of the window models directly, so that a
// library of 32,767 rows is never copied into the view. Sync() tells the view
// what changed since the last sync: a new row count resets the view,
// otherwise only the rows whose text changed are repainted in place (the view
// keeps its scroll), and a list that did not change costs the view nothing.
// A hash per row is kept instead of a copy of the rows.

#include "core/form1.h"

#include <QAbstractListModel>

#include <cstddef>
#include <functional>
#include <vector>

namespace wavecrest {

class ListBoxModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  // `source` is asked for the list box afresh on every call: the model's
  // owner may move, and nested events may change it between calls.
  explicit ListBoxModel(std::function<const ListBox*()> source, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void Sync();

 private:
  void RepaintChangedRows(const ListBox& box);

  std::function<const ListBox*()> source_;
  int rows_ = 0;                         // the row count the view was last told
  std::vector<std::size_t> rowHashes_;   // each row's text as the view last saw it
};

}  // namespace wavecrest
