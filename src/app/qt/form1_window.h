#pragma once

// The main window on Qt Widgets: the skin as its background and outline, the
// command list, the screen-name prompt and box, the progress bar, the
// library and the scrolling now-playing text, each at its place in twips.
// It renders the Form1 model in Refresh() and forwards the member's actions;
// it keeps no state of its own beyond what Qt needs to draw.

#include "app/qt/marquee_label.h"
#include "app/qt/qt_drawing_surface.h"
#include "app/qt/skinned_window.h"
#include "core/views.h"

#include <QImage>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QLabel;
class QLineEdit;
class QListView;

namespace wavecrest {

class Bot;
class ListBoxModel;

class Form1Window final : public SkinnedWindow, public MainView {
  Q_OBJECT

 public:
  explicit Form1Window(QWidget* parent = nullptr);
  ~Form1Window() override;

  // The system the window shows and drives; until then it shows the design.
  void Attach(Bot& bot);
  // Puts the window on top and shapes it to its skin; `afterColumn` lets
  // pending events run while it shapes.
  void Load(const std::function<void()>& afterColumn = {});

  // MainView
  void Refresh() override;
  void RefreshNowPlaying() override;
  void MessageBox(std::string_view text, std::string_view title) override;
  void SetBusyPointer(bool busy) override;

  // The controls, for tests and the window's own layout.
  QListView* List1() const { return list1_; }
  QLabel* Label1() const { return label1_; }
  QLineEdit* Text1() const { return text1_; }
  QWidget* Picture1() const { return picture1_; }
  QListView* List2() const { return list2_; }
  MarqueeLabel* lblSong2() const { return lblSong2_; }
  const QImage& Picture1Drawing() const { return surface_->Picture(); }

 protected:
  // The background and the song line; the prompt label, like every other
  // control, is not a handle.
  bool IsDragHandle(const QWidget* child) const override;

 private:
  void Text1_Change(const QString& text);
  void RefreshProgress();

  // Runs a member's action on the attached system as a handler, counted.
  void Act(const std::function<void(Bot&)>& action);

  Bot* bot_ = nullptr;
  std::unique_ptr<QtDrawingSurface> surface_;
  ListBoxModel* list1Model_;
  ListBoxModel* list2Model_;
  QListView* list1_;
  QLabel* label1_;
  QLineEdit* text1_;
  QWidget* picture1_;
  QListView* list2_;
  MarqueeLabel* lblSong2_;
  bool busy_ = false;
  // What the progress bar shows now, so an unchanged one is not drawn again.
  std::optional<std::pair<int, double>> drawnProgress_;
};

}  // namespace wavecrest
