#include "app/qt/form2_window.h"

#include "app/qt/list_box_model.h"
#include "app/qt/window_style.h"
#include "core/bot.h"
#include "library/matches.h"

#include <QKeyEvent>
#include <QListView>
#include <QPushButton>

namespace wavecrest {

Form2Window::Form2Window(QWidget* parent) : SkinnedWindow(":/skins/matches.png", parent) {
  setWindowTitle(QString::fromStdString(Form2().caption));

  listModel_ = new ListBoxModel([this] { return bot_ ? &bot_->form2.List1 : nullptr; }, this);
  list1_ = MakeListView(this, listModel_, ListLook::Matches);
  list1_->setGeometry(Pixels(Twips{150, 600, 3255, 1380}));
  command1_ = MakeButton("scroll list", "post the matches in the room, one a second", 160, 1095);
  command2_ = MakeButton("stop scroll", "stop posting the matches", 1320, 1095);
  command3_ = MakeButton("exit", "close the matches window", 2520, 855);

  connect(list1_, &QListView::clicked, this, [this](const QModelIndex& index) {
    Act([&index](Bot& bot) { ClickMatchesRow(bot, index.row()); });
  });
  connect(list1_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    Act([&index](Bot& bot) { DoubleClickMatchesRow(bot, index.row()); });
  });
  // A row reached by the arrow keys is a click on it, as in any list box;
  // the selection Refresh shows is already the model's and clicks nothing.
  connect(list1_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
    if (bot_ && index.isValid() && index.row() != bot_->form2.List1.listIndex) {
      Act([&index](Bot& bot) { ClickMatchesRow(bot, index.row()); });
    }
  });
  list1_->installEventFilter(this);
  connect(command1_, &QPushButton::clicked, this, [this] {
    Act(Command1_Click);
  });
  connect(command2_, &QPushButton::clicked, this, [this] {
    Act(Command2_Click);
  });
  connect(command3_, &QPushButton::clicked, this, [this] {
    Act(Command3_Click);
  });
}

QPushButton* Form2Window::MakeButton(const char* text, const char* tip, int left, int width) {
  auto* button = new QPushButton(text, this);
  button->setFont(ButtonFont());
  button->setToolTip(tip);
  button->setGeometry(Pixels(Twips{left, 2080, width, 255}));
  return button;
}

bool Form2Window::eventFilter(QObject* watched, QEvent* event) {
  if (watched != list1_ || event->type() != QEvent::KeyPress) return SkinnedWindow::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return SkinnedWindow::eventFilter(watched, event);
  // Taken here: the view would otherwise report it as an activation too.
  const QModelIndex current = list1_->currentIndex();
  if (current.isValid()) Act([&current](Bot& bot) { DoubleClickMatchesRow(bot, current.row()); });
  return true;
}

void Form2Window::Act(const std::function<void(Bot&)>& action) {
  if (bot_ == nullptr) return;
  Bot& bot = *bot_;
  bot.RunCounted([&bot, &action] { action(bot); });
}

void Form2Window::Attach(Bot& bot) {
  bot_ = &bot;
  Refresh();
}

void Form2Window::Refresh() {
  if (bot_ == nullptr) return;
  const Form2& form = bot_->form2;
  if (!form.loaded) {
    // Unloaded: the next load is put on top and shaped anew.
    shaped_ = false;
    hide();
    return;
  }
  if (!shaped_) {
    // Shaping reads the skin, not the screen, and takes well under a
    // millisecond, so it lets no events run here: Refresh is called from
    // inside the window's routines, which do not expect to be re-entered.
    Shape();
    shaped_ = true;
  }
  setWindowTitle(QString::fromStdString(form.caption));
  listModel_->Sync();
  ShowSelection(list1_, form.List1);
  list1_->setToolTip(QString::fromStdString(form.List1.toolTipText));
  command1_->setEnabled(form.Command1Enabled);
  command2_->setEnabled(form.Command2Enabled);
  if (isVisible() != form.visible) setVisible(form.visible);
}

}  // namespace wavecrest
