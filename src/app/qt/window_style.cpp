#include "app/qt/window_style.h"

#include "app/qt/twips.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

namespace wavecrest {

QRect Pixels(const Twips& place) {
  return QRect(TwipsToPixels(place.left), TwipsToPixels(place.top), TwipsToPixels(place.width),
               TwipsToPixels(place.height));
}

QImage LoadSkin(const char* resource) {
  QImage skin(QString::fromLatin1(resource));
  return skin.convertToFormat(QImage::Format_RGB32);
}

QListView* MakeListView(QWidget* parent, QAbstractItemModel* model, ListLook look) {
  auto* view = new QListView(parent);
  view->setModel(model);
  view->setUniformItemSizes(true);  // a library of 32,767 rows lays out at once
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setFrameShape(QFrame::NoFrame);
  QFont font = view->font();
  font.setPixelSize(11);
  view->setFont(font);
  view->setStyleSheet(look == ListLook::Matches
                          ? "QListView { background: rgb(255, 0, 0); color: black; }"
                            "QListView::item:selected { background: rgb(0, 0, 128); color: white; }"
                          : "QListView { background: rgb(232, 246, 251); color: rgb(10, 30, 70); }"
                            "QListView::item:selected { background: rgb(20, 90, 130); color: white; }");
  return view;
}

QFont LabelFont(QFont font) {
  font.setPixelSize(11);
  return font;
}

QColor LabelTextColour() { return QColor(214, 240, 248); }

void StylePromptLabel(QLabel* label) {
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::NoTextInteraction);
  label->setWordWrap(true);
  label->setFont(LabelFont(label->font()));
  label->setStyleSheet(QStringLiteral("QLabel { color: %1; background: transparent; }").arg(LabelTextColour().name()));
}

void StyleTextBox(QLineEdit* box) {
  QFont font = box->font();
  font.setPixelSize(11);
  box->setFont(font);
  box->setFrame(false);
  box->setStyleSheet("QLineEdit { background: rgb(232, 246, 251); color: rgb(10, 30, 70); }");
}

void ShowSelection(QListView* view, const ListBox& box) {
  QAbstractItemModel* model = view->model();
  const QModelIndex want =
      box.listIndex >= 0 && box.listIndex < model->rowCount() ? model->index(box.listIndex, 0) : QModelIndex();
  if (view->currentIndex() == want && (want.isValid() || !view->selectionModel()->hasSelection())) return;
  if (!want.isValid()) {
    view->selectionModel()->clear();
    return;
  }
  view->setCurrentIndex(want);
  view->scrollTo(want);
}

QFont ButtonFont() {
  QFont font("Times New Roman");
  font.setPointSize(9);
  font.setBold(true);
  return font;
}

}  // namespace wavecrest
