#pragma once

// The matches window on Qt Widgets: its skin, the red list of matches and the
// three buttons. It renders the Form2 model in Refresh() and forwards clicks
// to the window's actions; it keeps no state of its own beyond whether the
// current load has been shaped.
//
// By keyboard: the arrow keys move the selection as clicks do (the tooltip
// follows), and Enter plays the selected row as a double-click does.

#include "app/qt/skinned_window.h"
#include "core/views.h"

#include <functional>

class QListView;
class QPushButton;

namespace wavecrest {

class Bot;
class ListBoxModel;

class Form2Window final : public SkinnedWindow, public MatchesView {
  Q_OBJECT

 public:
  explicit Form2Window(QWidget* parent = nullptr);

  void Attach(Bot& bot);

  // MatchesView
  void Refresh() override;

  QListView* List1() const { return list1_; }
  QPushButton* Command1() const { return command1_; }
  QPushButton* Command2() const { return command2_; }
  QPushButton* Command3() const { return command3_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* MakeButton(const char* text, const char* tip, int left, int width);

  // Runs a member's action on the attached system as a handler, counted.
  void Act(const std::function<void(Bot&)>& action);

  Bot* bot_ = nullptr;
  ListBoxModel* listModel_;
  QListView* list1_;
  QPushButton* command1_;
  QPushButton* command2_;
  QPushButton* command3_;
  bool shaped_ = false;  // this load has been put on top and shaped
};

}  // namespace wavecrest
