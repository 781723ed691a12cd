#pragma once

// What the two skinned windows share: twips to pixels, the skin pictures,
// the look of their lists and labels, and showing a list box's selection.

#include "core/form1.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

class QAbstractItemModel;
class QLabel;
class QLineEdit;
class QListView;
class QWidget;

namespace wavecrest {

// A place in twips as screen pixels, rounded to whole pixels.
QRect Pixels(const Twips& place);

// A skin from the built-in resources, as 24-bit colour.
QImage LoadSkin(const char* resource);

enum class ListLook { Library, Matches };
QListView* MakeListView(QWidget* parent, QAbstractItemModel* model, ListLook look);

// The labels' text: 11-pixel type in pale blue, on the skin.
QFont LabelFont(QFont font);
QColor LabelTextColour();
// The screen-name prompt: a word-wrapped label in the labels' look.
void StylePromptLabel(QLabel* label);
void StyleTextBox(QLineEdit* box);

// Selects and shows the list box's selected row, or nothing; changes the
// view only when it shows something else, so the member's scrolling stays.
void ShowSelection(QListView* view, const ListBox& box);

// The font of the windows' buttons and progress text: Times New Roman, or a
// metric-compatible face standing in for it.
QFont ButtonFont();

}  // namespace wavecrest
