#pragma once

// A Qt list model reading a ListBox of the window models directly, so that a
// library of 32,767 rows is never copied into the view. Sync() tells the view
// what changed since the last sync: a new row count resets the view,
// otherwise the rows are repainted in place (the view keeps its scroll).

#include "core/form1.h"

#include <QAbstractListModel>

#include <functional>

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
  std::function<const ListBox*()> source_;
  int rows_ = 0;  // the row count the view was last told
};

}  // namespace wavecrest
