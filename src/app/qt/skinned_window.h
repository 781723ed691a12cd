#pragma once

// What the main window and the matches window share: a frameless top-level
// window that is its skin. The picture is its background and its size; its
// black is cut away when the window is shaped; the member drags the window by
// the places the window names as handles, with either mouse button.

#include "app/qt/qt_window_chrome.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace wavecrest {

class SkinnedWindow : public QWidget {
 public:
  const QImage& Skin() const { return skin_; }

 protected:
  // `skinResource` names a picture in the built-in resources.
  SkinnedWindow(const char* skinResource, QWidget* parent);

  // Puts the window on top and cuts it to its skin; `afterColumn` lets
  // pending events run while it shapes.
  void Shape(const std::function<void()>& afterColumn = {});

  // Whether a press on `child` (nullptr: the window's own surface) starts a
  // drag. Controls take their presses themselves unless named here.
  virtual bool IsDragHandle(const QWidget* child) const { return child == nullptr; }

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage skin_;
  QtWindowChrome chrome_;
};

}  // namespace wavecrest
