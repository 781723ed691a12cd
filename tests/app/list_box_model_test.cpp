#include "app/qt/list_box_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace wavecrest {
namespace {

using Rows = std::vector<std::string>;
using Range = std::pair<int, int>;  // first and last row repainted

struct SyncCase {
  const char* name;
  Rows before;
  std::function<void(ListBox&)> change;
  int resets;
  std::vector<Range> repainted;
};

TEST(ListBoxModel, SyncTellsTheViewOnlyWhatChanged) {
  const std::vector<SyncCase> cases = {
      {"unchanged", {"a", "b", "c"}, [](ListBox&) {}, 0, {}},
      {"empty and unchanged", {}, [](ListBox&) {}, 0, {}},
      {"selection only", {"a", "b"}, [](ListBox& box) { box.listIndex = 1; }, 0, {}},
      {"one row", {"a", "b", "c"}, [](ListBox& box) { box.items[1] = "B"; }, 0, {{1, 1}}},
      {"two runs",
       {"a", "b", "c", "d", "e"},
       [](ListBox& box) {
         box.items[0] = "A";
         box.items[2] = "C";
         box.items[3] = "D";
       },
       0,
       {{0, 0}, {2, 3}}},
      {"last row", {"a", "b", "c"}, [](ListBox& box) { box.items[2] = "z"; }, 0, {{2, 2}}},
      {"swapped rows", {"a", "b"}, [](ListBox& box) { std::swap(box.items[0], box.items[1]); }, 0, {{0, 1}}},
      {"row added", {"a"}, [](ListBox& box) { box.items.push_back("b"); }, 1, {}},
      {"cleared", {"a"}, [](ListBox& box) { box.Clear(); }, 1, {}},
  };
  for (const SyncCase& c : cases) {
    SCOPED_TRACE(c.name);
    ListBox box;
    box.items = c.before;
    ListBoxModel model([&box] { return &box; });
    model.Sync();
    ASSERT_EQ(model.rowCount(), static_cast<int>(c.before.size()));
    int resets = 0;
    std::vector<Range> repainted;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&repainted](const QModelIndex& first, const QModelIndex& last) {
                       repainted.emplace_back(first.row(), last.row());
                     });
    c.change(box);
    model.Sync();
    EXPECT_EQ(resets, c.resets);
    EXPECT_EQ(repainted, c.repainted);
    EXPECT_EQ(model.rowCount(), box.ListCount());
    for (int row = 0; row < box.ListCount(); ++row) {
      EXPECT_EQ(model.data(model.index(row), Qt::DisplayRole).toString().toStdString(), box.RowText(row));
    }
    // The next sync of the same list is silent again.
    repainted.clear();
    resets = 0;
    model.Sync();
    EXPECT_EQ(resets, 0);
    EXPECT_TRUE(repainted.empty());
  }
}

}  // namespace
}  // namespace wavecrest
