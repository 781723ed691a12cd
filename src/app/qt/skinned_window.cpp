#include "app/qt/skinned_window.h"

#include "app/qt/window_style.h"

#include <QMouseEvent>
#include <QPainter>

namespace wavecrest {

SkinnedWindow::SkinnedWindow(const char* skinResource, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), skin_(LoadSkin(skinResource)), chrome_(*this) {
  setFixedSize(skin_.size());
  // The skin covers every pixel: Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinnedWindow::Shape(const std::function<void()>& afterColumn) { chrome_.Load(skin_, afterColumn); }

void SkinnedWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), skin_);
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event) {
  if (!IsDragHandle(childAt(event->position().toPoint()))) return event->ignore();
  chrome_.StartDragAt(event->globalPosition().toPoint());
  event->accept();
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!chrome_.FollowMouse(event->globalPosition().toPoint())) event->ignore();
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (!chrome_.DraggingByHand()) return event->ignore();
  chrome_.EndDrag();
}

}  // namespace wavecrest
