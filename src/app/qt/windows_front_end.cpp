#include "app/qt/windows_front_end.h"

#include "app/app_system.h"
#include "app/mpris/mpris_service.h"
#include "app/qt/chat_room_window.h"
#include "app/qt/form1_window.h"
#include "app/qt/form2_window.h"

#include <QApplication>
#include <QIcon>

#include <chrono>

namespace wavecrest {

int RunWindows(int argc, char** argv, const ProgramOptions& options) {
  QApplication app(argc, argv);
  // The main window may be hidden by `coms`; the program ends by `exit` or
  // with the chat room, not when no window is left on screen.
  QApplication::setQuitOnLastWindowClosed(false);
  // The same picture as the desktop entry's, for task bars and window lists.
  QApplication::setWindowIcon(QIcon(":/wavecrest.png"));
  Form1Window mainWindow;
  Form2Window matchesWindow;
  AppSystem system(options, mainWindow, matchesWindow);
  Bot& bot = system.bot;
  mainWindow.Attach(bot);
  matchesWindow.Attach(bot);
  mainWindow.move(40, 40);
  matchesWindow.move(40, 380);

  ChatRoomWindow room(system.client);
  room.move(380, 40);
  room.onClosed = [&bot] {
    bot.End();
    QApplication::exit(0);
  };
  room.show();

  // On top and shaped before start-up fills it; pending events run between
  // the columns, as they always have.
  mainWindow.Load([&system] { system.loop.PumpOnce(std::chrono::milliseconds(0)); });
  const MprisHooks hooks{[&mainWindow] {
    mainWindow.raise();
    mainWindow.activateWindow();
  }};
  return system.Run(hooks, [] {});
}

}  // namespace wavecrest
