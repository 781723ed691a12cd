#include "app/qt/form1_window.h"

#include "app/qt/form2_window.h"
#include "app/qt/qt_drawing_surface.h"
#include "app/widgets_app.h"
#include "commands/status.h"
#include "commands/wiring.h"
#include "commands/startup.h"
#include "library/matches.h"
#include "playback/now_playing.h"
#include "support/fakes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace wavecrest {
namespace {

using namespace wavecrest::testing;
using Lines = std::vector<std::string>;

// The whole system on fakes and virtual time, shown in the real windows.
struct WindowedBot {
  WindowedBot() {
    mainWindow.Attach(bot);
    matchesWindow.Attach(bot);
  }
  VirtualEventLoop loop;
  MemorySettings settings;
  RecordingChat chat;
  FakeScanner scanner;
  FakeMediaPlayer player;
  FakeInstanceLock instanceLock;
  PosixDirectoryReader directories;
  FakeTagReader tags;
  Form1Window mainWindow;
  Form2Window matchesWindow;
  Bot bot{Ports{loop, settings, chat, scanner, player, mainWindow, matchesWindow, instanceLock, directories, tags},
          CommandRoutines(), [] {}};

  void LoadLibrary(const Lines& names) {
    for (const std::string& name : names) {
      bot.form1.List3.items.push_back("/music/" + name + ".mp3");
      bot.form1.List2.items.push_back(name);
      player.durations["/music/" + name + ".mp3"] = 180;
    }
  }
};

Lines Rows(const QListView* view) {
  Lines rows;
  for (int i = 0; i < view->model()->rowCount(); ++i) {
    rows.push_back(view->model()->index(i, 0).data().toString().toStdString());
  }
  return rows;
}

void TypeInto(QWidget* box, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &press);
  }
}

void Backspace(QWidget* box) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QApplication::sendEvent(box, &press);
}

// A click (or double-click) on a row, as the mouse makes it.
void ClickRow(QListView* view, int row, bool twice) {
  const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
  QWidget* target = view->viewport();
  const QPointF global = target->mapToGlobal(QPointF(at));
  const auto send = [&](QEvent::Type type) {
    QMouseEvent event(type, QPointF(at), global, Qt::LeftButton, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
  };
  send(QEvent::MouseButtonPress);
  send(QEvent::MouseButtonRelease);
  if (!twice) return;
  send(QEvent::MouseButtonDblClick);
  send(QEvent::MouseButtonRelease);
}

TEST(Form1Window, RefreshShowsTheModel) {
  WindowedBot w;
  Form1& f = w.bot.form1;
  f.caption = "wavecrest system - 0.0.8 - wav";
  f.List1.items = {"adv [advertise this program]", "exit [close]"};
  w.LoadLibrary({"alpha", "beta", "gamma"});
  f.List2.listIndex = 1;
  f.List2.toolTipText = "beta";
  f.Text1 = "quillon";
  f.Label1Visible = false;
  f.Text1Place = Twips{1210, 1620, 1575, 315};
  f.Picture1Place = Twips{2840, 1620, 1330, 315};
  f.lblSong2 = "ystem by quillon       wavecrest s";
  f.visible = true;
  w.mainWindow.Refresh();

  const Form1Window& win = w.mainWindow;
  EXPECT_EQ(win.windowTitle(), "wavecrest system - 0.0.8 - wav");
  EXPECT_EQ(Rows(win.List1()), f.List1.items);
  EXPECT_EQ(Rows(win.List2()), (Lines{"alpha", "beta", "gamma"}));
  EXPECT_EQ(win.List2()->currentIndex().row(), 1);
  EXPECT_EQ(win.List2()->toolTip(), "beta");
  EXPECT_FALSE(win.List1()->currentIndex().isValid()) << "no command is selected";
  EXPECT_EQ(win.Text1()->text(), "quillon");
  EXPECT_TRUE(win.Label1()->isHidden());
  EXPECT_EQ(win.Text1()->geometry(), QRect(81, 108, 105, 21)) << "1210, 1620, 1575, 315 twips";
  EXPECT_EQ(win.Picture1()->geometry(), QRect(189, 108, 89, 21)) << "2840, 1620, 1330, 315 twips";
  EXPECT_EQ(win.lblSong2()->text(), "ystem by quillon       wavecrest s");
  EXPECT_TRUE(win.isVisible());

  // The model changes again; the window follows, and `coms` hides it.
  f.List2.items.pop_back();
  f.List3.items.pop_back();
  f.List2.listIndex = -1;
  f.visible = false;
  w.mainWindow.Refresh();
  EXPECT_EQ(Rows(win.List2()), (Lines{"alpha", "beta"}));
  EXPECT_FALSE(win.List2()->selectionModel()->hasSelection());
  EXPECT_FALSE(win.isVisible());
}

TEST(Form1Window, StartUpFillsTheWindowAndPlacesTheScreenName) {
  const struct {
    const char* stored;
    bool label1Shown;
    QRect text1;
  } cases[] = {
      {"", true, QRect(109, 108, 97, 21)},  // 1630, 1620, 1455, 315 twips
      {"quillon", false, QRect(81, 108, 105, 21)},
  };
  for (const auto& c : cases) {
    WindowedBot w;
    w.settings.WriteIni("settings", "screen name", c.stored);
    Form_Load(w.bot);
    const Form1Window& win = w.mainWindow;
    EXPECT_TRUE(win.isVisible()) << c.stored;
    EXPECT_EQ(win.windowTitle(), "wavecrest system - 0.0.8 - mp3") << c.stored;
    EXPECT_EQ(Rows(win.List1()), w.bot.form1.List1.items) << c.stored;
    EXPECT_GT(win.List1()->model()->rowCount(), 40) << c.stored;
    EXPECT_EQ(win.Label1()->isVisible(), c.label1Shown) << c.stored;
    EXPECT_EQ(win.Text1()->geometry(), c.text1) << c.stored;
  }
}

TEST(Form1Window, EveryEditOfTheScreenNameIsSavedAsTyped) {
  WindowedBot w;
  Form_Load(w.bot);
  QLineEdit* box = w.mainWindow.Text1();
  box->selectAll();
  Backspace(box);
  EXPECT_EQ(w.bot.form1.Text1, "");
  EXPECT_EQ(w.settings.ReadIni("settings", "screen name"), "");
  const struct {
    QString typed;
    std::string saved;
  } steps[] = {{"q", "q"}, {"ui", "qui"}, {"llon", "quillon"}};
  for (const auto& step : steps) {
    TypeInto(box, step.typed);
    EXPECT_EQ(w.bot.form1.Text1, step.saved);
    EXPECT_EQ(w.settings.ReadIni("settings", "screen name"), step.saved);
  }
  Backspace(box);
  EXPECT_EQ(w.settings.ReadIni("settings", "screen name"), "quillo");
}

TEST(Form1Window, LibraryClicksSelectAndDoubleClickPlays) {
  WindowedBot w;
  w.LoadLibrary({"alpha", "beta", "gamma"});
  w.mainWindow.Refresh();
  ClickRow(w.mainWindow.List2(), 2, false);
  EXPECT_EQ(w.bot.form1.List2.listIndex, 2);
  EXPECT_EQ(w.mainWindow.List2()->toolTip(), "gamma");
  EXPECT_TRUE(w.chat.lines.empty()) << "a click plays nothing";
  ClickRow(w.mainWindow.List2(), 1, true);
  EXPECT_EQ(w.player.fileName, "/music/beta.mp3");
  ASSERT_EQ(w.chat.lines.size(), 1u);
  EXPECT_NE(w.chat.lines[0].find("#2 - <b>beta</b>"), std::string::npos) << w.chat.lines[0];
}

TEST(Form1Window, ComsHidesAndShowsTheWholeWindow) {
  WindowedBot w;
  w.settings.WriteIni("settings", "screen name", "quillon");
  Form_Load(w.bot);
  ASSERT_TRUE(w.mainWindow.isVisible());
  ComsCommand(w.bot, "coms");
  EXPECT_FALSE(w.mainWindow.isVisible());
  ComsCommand(w.bot, "coms");
  EXPECT_TRUE(w.mainWindow.isVisible());
}

TEST(Form1Window, ComsWithoutAScreenNameAsksForItInAMessageBox) {
  WindowedBot w;
  Form_Load(w.bot);
  QString title, text;
  // The box is modal: look at it, then close it, from inside its own loop.
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    title = box->windowTitle();
    text = box->text();
    box->accept();
  });
  ComsCommand(w.bot, "coms");
  EXPECT_EQ(title, "Interface Error");
  EXPECT_EQ(text, "Please enter your current AOL Screen Name in the box below!");
  EXPECT_TRUE(w.mainWindow.isVisible()) << "the window stays";
}

// Presses a mouse button on `target` (a control of the window, or the window
// itself), moves the mouse by (dx, dy) and releases it.
QPoint DragBy(QWidget& window, QWidget* target, Qt::MouseButton button, QPoint dx) {
  const QPoint start = window.pos();
  const QPointF local(2, 2);
  const QPointF global = target->mapToGlobal(local);
  QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QMouseEvent move(QEvent::MouseMove, local + QPointF(dx), global + QPointF(dx), Qt::NoButton, button, Qt::NoModifier);
  QApplication::sendEvent(target, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, local + QPointF(dx), global + QPointF(dx), button, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(target, &release);
  return window.pos() - start;
}

TEST(Form1Window, AnyButtonOnTheBackgroundOrTheSongLineDrags) {
  WindowedBot w;
  Form_Load(w.bot);
  Form1Window& win = w.mainWindow;
  win.move(100, 100);
  const struct {
    const char* where;
    QWidget* target;
    Qt::MouseButton button;
    bool drags;
  } cases[] = {
      {"background, left button", &win, Qt::LeftButton, true},
      {"background, right button", &win, Qt::RightButton, true},
      {"background, middle button", &win, Qt::MiddleButton, true},
      {"song line", win.lblSong2(), Qt::LeftButton, true},
      {"song line, right button", win.lblSong2(), Qt::RightButton, true},
      {"screen-name prompt", win.Label1(), Qt::LeftButton, false},
      {"screen-name box", win.Text1(), Qt::LeftButton, false},
      {"progress bar", win.Picture1(), Qt::LeftButton, false},
  };
  for (const auto& c : cases) {
    const QPoint moved = DragBy(win, c.target, c.button, QPoint(30, 20));
    EXPECT_EQ(moved, c.drags ? QPoint(30, 20) : QPoint(0, 0)) << c.where;
  }
}

TEST(Form2Window, ShowsTheMatchesAndItsButtonsWork) {
  WindowedBot w;
  w.LoadLibrary({"intro", "song 1", "song 2", "song 3"});
  w.bot.form1.lblExt = "mp3";
  w.bot.form1.List4.items = {"1", "2", "3"};
  FillMatchesWindow(w.bot);
  Form2Window& win = w.matchesWindow;
  ASSERT_TRUE(win.isVisible());
  EXPECT_EQ(win.windowTitle(), "double-click to play mp3");
  EXPECT_EQ(Rows(win.List1()), (Lines{"song 1", "song 2", "song 3"}));
  EXPECT_TRUE(win.Command1()->isEnabled());
  EXPECT_FALSE(win.Command2()->isEnabled());
  EXPECT_EQ(win.Command1()->text(), "scroll list");
  EXPECT_EQ(win.Command2()->text(), "stop scroll");
  EXPECT_EQ(win.Command3()->text(), "exit");
  EXPECT_TRUE(win.Command1()->font().bold());
  EXPECT_EQ(win.Command1()->font().pointSize(), 9);

  // "stop scroll" pressed while the first row waits: no second row.
  w.chat.onSend = [&] {
    EXPECT_FALSE(win.Command1()->isEnabled()) << "no second scroll while one runs";
    if (win.Command2()->isEnabled()) win.Command2()->click();
  };
  win.Command1()->click();
  EXPECT_EQ(w.chat.lines.size(), 1u);
  EXPECT_TRUE(win.Command1()->isEnabled());
  EXPECT_FALSE(win.Command2()->isEnabled());

  // A whole scroll posts every row.
  w.chat.onSend = nullptr;
  w.chat.lines.clear();
  win.Command1()->click();
  ASSERT_EQ(w.chat.lines.size(), 3u);
  EXPECT_NE(w.chat.lines[2].find("> 3 - <b>song 3</b>"), std::string::npos) << w.chat.lines[2];

  // A click shows the row as the list's tooltip; a double-click plays and hides.
  ClickRow(win.List1(), 1, false);
  EXPECT_EQ(win.List1()->toolTip(), "song 2");
  w.chat.lines.clear();
  ClickRow(win.List1(), 1, true);
  EXPECT_EQ(w.player.fileName, "/music/song 2.mp3");
  EXPECT_FALSE(win.isVisible());
  ASSERT_FALSE(w.chat.lines.empty());
  EXPECT_NE(w.chat.lines[0].find("#3 - <b>song 2</b>"), std::string::npos) << w.chat.lines[0];

  // Shown again, then "exit" unloads it.
  FillMatchesWindow(w.bot);
  ASSERT_TRUE(win.isVisible());
  win.Command3()->click();
  EXPECT_FALSE(w.bot.form2.loaded);
  EXPECT_FALSE(win.isVisible());
}

double Luminance(QRgb p) {
  const auto linear = [](int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(qRed(p)) + 0.7152 * linear(qGreen(p)) + 0.0722 * linear(qBlue(p));
}

// How well a row's text stands out: the contrast ratio (1 to 21) between its
// commonest colour, the background, and the colour farthest from it.
double RowContrast(QListView* view, int row) {
  const QImage shot = view->viewport()->grab().toImage();
  const QRect rect = view->visualRect(view->model()->index(row, 0)) & shot.rect();
  std::map<QRgb, int> counts;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) ++counts[shot.pixel(x, y)];
  }
  const QRgb background = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                            return a.second < b.second;
                          })->first;
  double best = 1;
  for (const auto& [colour, count] : counts) {
    const double a = Luminance(colour), b = Luminance(background);
    best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
  }
  return best;
}

TEST(Form2Window, TheKeyboardMovesTheSelectionAndEnterPlaysItAsADoubleClickDoes) {
  const struct {
    std::vector<Qt::Key> keys;
    const char* played;  // nullptr: Enter with no row selected plays nothing
    const char* announced;
  } cases[] = {
      {{Qt::Key_Return}, nullptr, nullptr},
      {{Qt::Key_Down, Qt::Key_Return}, "/music/song 1.mp3", "#2 - <b>song 1</b>"},
      {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Enter}, "/music/song 2.mp3",
       "#3 - <b>song 2</b>"},
  };
  for (const auto& c : cases) {
    WindowedBot w;
    w.LoadLibrary({"intro", "song 1", "song 2", "song 3"});
    w.bot.form1.List4.items = {"1", "2", "3"};
    FillMatchesWindow(w.bot);
    Form2Window& win = w.matchesWindow;
    for (const Qt::Key key : c.keys) {
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // The selected row stands out of the red list, and so do the others.
        const int selected = win.List1()->currentIndex().row();
        for (int row = 0; row < 3; ++row) {
          EXPECT_GE(RowContrast(win.List1(), row), 4.5) << "row " << row << ", selected " << selected;
        }
        if (selected >= 0) {
          EXPECT_EQ(win.List1()->toolTip().toStdString(), w.bot.form2.List1.RowText(selected));
        }
      }
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(win.List1(), &press);
    }
    if (c.played == nullptr) {
      EXPECT_TRUE(w.player.fileName.empty());
      EXPECT_TRUE(w.chat.lines.empty());
      EXPECT_TRUE(win.isVisible());
      continue;
    }
    EXPECT_EQ(w.player.fileName, c.played);
    EXPECT_FALSE(win.isVisible());
    ASSERT_EQ(w.chat.lines.size(), 1u) << c.played << ": one announcement, no second play";
    EXPECT_NE(w.chat.lines[0].find(c.announced), std::string::npos) << w.chat.lines[0];
  }
}

// The colour of the bar along its bottom row, below the printed percent.
std::string BottomRow(const QImage& bar) {
  std::string row;
  for (int x = 0; x < bar.width(); ++x) {
    const QRgb p = bar.pixel(x, bar.height() - 2);
    row += p == qRgb(255, 0, 0) ? 'r' : p == qRgb(0, 0, 0) ? 'k' : '?';
  }
  return row;
}

// Printed text is smoothed: its strokes are white or nearly so.
bool HasWhite(const QImage& bar) {
  for (int y = 0; y < bar.height(); ++y) {
    for (int x = 0; x < bar.width(); ++x) {
      const QRgb p = bar.pixel(x, y);
      if (qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200) return true;
    }
  }
  return false;
}

TEST(ProgressBar, PaintsRedThePlayedPartBlackAndThePercentInWhite) {
  // The bar is 1060 twips (71 pixels) wide; the black part ends 10 twips
  // short of the exact proportion.
  const struct {
    int position;
    double duration;
    int blackPixels;
  } cases[] = {
      {0, 0, 0},      // nothing loaded
      {30, 120, 17},  // 265 - 10 twips
      {120, 120, 70}, // 1060 - 10 twips
      {60, 120, 35},  // 530 - 10 twips
  };
  for (const auto& c : cases) {
    QtDrawingSurface surface(1060, 315);
    DrawProgress(surface, static_cast<std::int16_t>(c.position), c.duration);
    const QImage& bar = surface.Picture();
    ASSERT_EQ(bar.size(), QSize(71, 21));
    EXPECT_EQ(BottomRow(bar), std::string(static_cast<std::size_t>(c.blackPixels), 'k') +
                                  std::string(static_cast<std::size_t>(71 - c.blackPixels), 'r'))
        << c.position << "/" << c.duration;
    EXPECT_TRUE(HasWhite(bar)) << "the percent is printed, " << c.position;
  }
}

TEST(ProgressBar, TheWindowRepaintsItFromTheModel) {
  WindowedBot w;
  w.bot.form1.Picture1Position = 30;
  w.bot.form1.Picture1Duration = 120;
  w.mainWindow.Refresh();
  EXPECT_EQ(BottomRow(w.mainWindow.Picture1Drawing()).find('r'), 17u);
  // The screen-name layout widens the bar; the drawing follows.
  w.bot.form1.Picture1Place = Twips{2840, 1620, 1330, 315};
  w.mainWindow.Refresh();
  EXPECT_EQ(w.mainWindow.Picture1Drawing().width(), 89);
  EXPECT_EQ(BottomRow(w.mainWindow.Picture1Drawing()).find('r'), 21u);  // 332.5 → 332, less 10: 322 twips
}

TEST(SkinReader, ReadsColoursInsideAndNothingOutside) {
  for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_ARGB32}) {
    QImage picture(3, 2, format);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(2, 1, qRgb(0, 0, 0));
    picture.setPixel(0, 0, qRgb(255, 0, 128));
    const SkinReader pixel(picture);
    const struct {
      int x, y;
      Colour colour;
    } reads[] = {{0, 0, 0xFF0080u}, {1, 0, 0x010203u}, {2, 1, kTransparentBlack}, {-1, 0, kInvalidColour},
                 {3, 0, kInvalidColour}, {0, 2, kInvalidColour}, {0, -1, kInvalidColour}};
    for (const auto& r : reads) EXPECT_EQ(pixel(r.x, r.y), r.colour) << format << " " << r.x << "," << r.y;
  }
}

TEST(Skins, AreTheirWindowsSizeWithBlackOnlyOutsideTheOutline) {
  WindowedBot w;
  const struct {
    const QImage& skin;
    QSize size;
  } cases[] = {{w.mainWindow.Skin(), QSize(297, 257)}, {w.matchesWindow.Skin(), QSize(238, 168)}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.skin.size(), c.size);
    EXPECT_EQ(c.skin.pixel(0, 0), qRgb(0, 0, 0)) << "the corners are cut away";
    EXPECT_NE(c.skin.pixel(c.size.width() / 2, c.size.height() / 2), qRgb(0, 0, 0)) << "the middle is not";
  }
}

}  // namespace
}  // namespace wavecrest
