#include "app/qt/chat_room_window.h"

#include "app/widgets_app.h"
#include "host/chat_send.h"
#include "host/sim/simulated_client.h"
#include "support/virtual_event_loop.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using wavecrest::testing::VirtualEventLoop;

void TypeInto(QWidget* box, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &press);
  }
}

void PressEnter(QWidget* box) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QApplication::sendEvent(box, &press);
}

// The character format the transcript shows `word` in.
QTextCharFormat FormatOf(const QTextBrowser* transcript, const QString& word) {
  const QTextCursor found = transcript->document()->find(word);
  EXPECT_FALSE(found.isNull()) << word.toStdString();
  QTextCursor inside(transcript->document());
  inside.setPosition(found.selectionStart() + 1);
  return inside.charFormat();
}

TEST(ChatRoomWindow, RendersEachLinesChatHtml) {
  VirtualEventLoop loop;
  sim::SimulatedClient client(loop, "9.0", "member");
  client.Start([](const Speaker&, const std::string&) {});
  ChatRoomWindow room(client);
  const struct {
    const char* html;
    const char* word;
    bool bold, italic, underline;
    QColor colour;
    const char* face;  // nullptr: not set by the line
  } cases[] = {
      {"<font face=\"arial\" color=\"#0000ff\">blueword</font>", "blueword", false, false, false, QColor(0, 0, 255),
       "arial"},
      {"<b>boldword</b>", "boldword", true, false, false, QColor(), nullptr},
      {"<i>italicword</i>", "italicword", false, true, false, QColor(), nullptr},
      {"wavecr<u>underword</u>st", "underword", false, false, true, QColor(), nullptr},
      {"<font color=\"#ff0000\"><b><i>allword</i></b></font>", "allword", true, true, false, QColor(255, 0, 0),
       nullptr},
  };
  for (const auto& c : cases) client.OtherSays("bob", c.html);
  loop.RunUntilIdle();
  for (const auto& c : cases) {
    const QTextCharFormat f = FormatOf(room.Transcript(), c.word);
    EXPECT_EQ(f.fontWeight() >= QFont::Bold, c.bold) << c.html;
    EXPECT_EQ(f.fontItalic(), c.italic) << c.html;
    EXPECT_EQ(f.fontUnderline(), c.underline) << c.html;
    if (c.colour.isValid()) {
      EXPECT_EQ(f.foreground().color(), c.colour) << c.html;
    }
    if (c.face != nullptr) {
      EXPECT_TRUE(f.fontFamilies().toStringList().contains(c.face)) << c.html;
    }
  }
  // A speaker's name is text, never markup; a line's unclosed tag ends with it.
  client.OtherSays("<i>eve</i>", "<b>open");
  client.OtherSays("carol", "plainword");
  loop.RunUntilIdle();
  EXPECT_TRUE(room.Transcript()->toPlainText().contains("<i>eve</i>: open"));
  EXPECT_LT(FormatOf(room.Transcript(), "plainword").fontWeight(), static_cast<int>(QFont::Bold));
  QCoreApplication::processEvents();  // the window looks at the client again after each line
  QStringList people;
  for (int i = 0; i < room.People()->count(); ++i) people << room.People()->item(i)->text();
  EXPECT_EQ(people, (QStringList{"member", "bob", "<i>eve</i>", "carol"}));
}

TEST(ChatRoomWindow, TheEntryBoxIsTheClientsOwn) {
  const struct {
    const char* version;
    QString afterEnter;
  } cases[] = {{"9.0", ""}, {"8.0", ""}, {"6.0", ""}};
  for (const auto& c : cases) {
    VirtualEventLoop loop;
    sim::SimulatedClient client(loop, c.version, "member");
    ChatRoomWindow room(client);
    QLineEdit* box = room.EntryBox();
    TypeInto(box, "hello room");
    EXPECT_EQ(client.EntryBoxText(), "hello room") << c.version;
    PressEnter(box);
    ASSERT_FALSE(client.Transcript().empty()) << c.version;
    EXPECT_EQ(client.Transcript().back().text, "hello room") << c.version;
    EXPECT_EQ(box->text(), c.afterEnter) << "the client's filler is not shown as text, " << c.version;
    // What the client's box holds shows in the window.
    client.MemberTypes("from elsewhere");
    room.Refresh();
    EXPECT_EQ(box->text(), "from elsewhere") << c.version;
    // The client tells the window of its changes: no look is asked for.
    client.MemberTypes("told, not looked for");
    client.OtherSays("dave", "hi");
    QCoreApplication::processEvents();
    EXPECT_EQ(box->text(), "told, not looked for") << c.version;
    EXPECT_EQ(room.People()->count(), 2) << c.version;
  }
}

TEST(ChatRoomWindow, AHalfTypedLineIsSavedAndPutBackAroundTheSystemsLine) {
  VirtualEventLoop loop;
  sim::SimulatedClient client(loop, "9.0", "member");
  HostChatClient chat(client, loop);
  ChatRoomWindow room(client);
  TypeInto(room.EntryBox(), "half a thou");
  chat.ChatSend("<b>now playing</b>");
  loop.RunUntilIdle();
  QCoreApplication::processEvents();
  EXPECT_TRUE(room.Transcript()->toPlainText().contains("member: now playing"));
  EXPECT_EQ(room.EntryBox()->text(), "half a thou");
  EXPECT_EQ(client.EntryBoxText(), "half a thou");
}

}  // namespace
}  // namespace wavecrest
