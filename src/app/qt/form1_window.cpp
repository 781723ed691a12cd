#include "app/qt/form1_window.h"

#include "app/qt/list_box_model.h"
#include "app/qt/window_style.h"
#include "core/bot.h"
#include "playback/now_playing.h"
#include "playback/play_entry.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPainter>

namespace wavecrest {
namespace {

// The picture box: shows whatever the progress bar's surface holds.
class PictureBox final : public QWidget {
 public:
  PictureBox(QWidget* parent, std::function<const QImage&()> picture)
      : QWidget(parent), picture_(std::move(picture)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture_());
  }

 private:
  std::function<const QImage&()> picture_;
};

}  // namespace

Form1Window::Form1Window(QWidget* parent)
    : SkinnedWindow(":/skins/main.png", parent),
      surface_(std::make_unique<QtDrawingSurface>(Form1().Picture1Place.width, Form1().Picture1Place.height)) {
  setWindowTitle(kCaptionBase);

  list1Model_ = new ListBoxModel([this] { return bot_ ? &bot_->form1.List1 : nullptr; }, this);
  list2Model_ = new ListBoxModel([this] { return bot_ ? &bot_->form1.List2 : nullptr; }, this);
  list1_ = MakeListView(this, list1Model_, ListLook::Library);
  list2_ = MakeListView(this, list2Model_, ListLook::Library);
  label1_ = new QLabel("enter current aol screen name:", this);
  text1_ = new QLineEdit(QString::fromStdString(kScreenNamePlaceholder), this);
  picture1_ = new PictureBox(this, [this]() -> const QImage& { return surface_->Picture(); });
  lblSong2_ = new MarqueeLabel(QString::fromStdString(kSong2DesignText), Skin(), this);
  StylePromptLabel(label1_);
  StyleTextBox(text1_);

  const Form1 design;
  list1_->setGeometry(Pixels(Twips{190, 600, 3975, 705}));
  label1_->setGeometry(Pixels(design.Label1Place));
  text1_->setGeometry(Pixels(design.Text1Place));
  picture1_->setGeometry(Pixels(design.Picture1Place));
  list2_->setGeometry(Pixels(Twips{190, 1960, 3975, 930}));
  lblSong2_->setGeometry(Pixels(Twips{240, 3270, 3975, 270}));

  connect(text1_, &QLineEdit::textEdited, this, &Form1Window::Text1_Change);
  connect(list2_, &QListView::clicked, this, [this](const QModelIndex& index) {
    Act([&index](Bot& bot) { ClickLibraryRow(bot, index.row()); });
  });
  connect(list2_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    Act([&index](Bot& bot) { DoubleClickLibraryRow(bot, index.row()); });
  });
}

Form1Window::~Form1Window() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void Form1Window::Attach(Bot& bot) {
  bot_ = &bot;
  Refresh();
}

void Form1Window::Act(const std::function<void(Bot&)>& action) {
  if (bot_ == nullptr) return;
  Bot& bot = *bot_;
  bot.RunCounted([&bot, &action] { action(bot); });
}

void Form1Window::Load(const std::function<void()>& afterColumn) { Shape(afterColumn); }

void Form1Window::Text1_Change(const QString& text) {
  // Every edit is saved at once, as the member types it.
  if (bot_) bot_->SetText1(text.toStdString());
}

void Form1Window::RefreshProgress() {
  const Form1& form = bot_->form1;
  if (surface_->Width() != form.Picture1Place.width || surface_->Height() != form.Picture1Place.height) {
    surface_ = std::make_unique<QtDrawingSurface>(form.Picture1Place.width, form.Picture1Place.height);
    drawnProgress_.reset();
  }
  // The now-playing display refreshes twice a second; most ticks change
  // nothing the bar shows, and a repaint of the same picture is wasted work.
  const std::pair<int, double> progress{form.Picture1Position, form.Picture1Duration};
  if (drawnProgress_ == progress) return;
  drawnProgress_ = progress;
  DrawProgress(*surface_, static_cast<std::int16_t>(form.Picture1Position), form.Picture1Duration);
  picture1_->update();
}

void Form1Window::Refresh() {
  if (bot_ == nullptr) return;
  const Form1& form = bot_->form1;
  setWindowTitle(QString::fromStdString(form.caption));
  list1Model_->Sync();
  list2Model_->Sync();
  ShowSelection(list1_, form.List1);
  ShowSelection(list2_, form.List2);
  list1_->setToolTip(QString::fromStdString(form.List1.toolTipText));
  list2_->setToolTip(QString::fromStdString(form.List2.toolTipText));
  label1_->setVisible(form.Label1Visible);
  label1_->setGeometry(Pixels(form.Label1Place));
  text1_->setGeometry(Pixels(form.Text1Place));
  picture1_->setGeometry(Pixels(form.Picture1Place));
  const QString text1 = QString::fromStdString(form.Text1);
  if (text1_->text() != text1) {
    text1_->setText(text1);
    text1_->setCursorPosition(0);
  }
  lblSong2_->setText(QString::fromStdString(form.lblSong2));
  RefreshProgress();
  if (isVisible() != form.visible) setVisible(form.visible);
}

// Twice a second at rest: the library's 32,767 rows are not looked at.
void Form1Window::RefreshNowPlaying() {
  if (bot_ == nullptr) return;
  lblSong2_->setText(QString::fromStdString(bot_->form1.lblSong2));
  RefreshProgress();
}

void Form1Window::MessageBox(std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok,
                  isVisible() ? this : nullptr);
  box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  box.exec();
}

void Form1Window::SetBusyPointer(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

bool Form1Window::IsDragHandle(const QWidget* child) const { return child == nullptr || child == lblSong2_; }

}  // namespace wavecrest
