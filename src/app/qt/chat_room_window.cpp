#include "app/qt/chat_room_window.h"

#include "core/chat_html.h"
#include "core/control_characters.h"
#include "core/text.h"
#include "host/sim/simulated_client.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

namespace wavecrest {
namespace {

// The client's own filler in the entry box is not text the member typed: the
// prompt shows as a placeholder, the empty paragraph as nothing.
QString EntryText(const std::string& box) {
  if (box == sim::kChatInputPrompt || box == "\r\n") return QString();
  return QString::fromStdString(box);
}

// A run's text for the transcript: one line, escaped, its runs of spaces
// kept as the other outputs keep them.
QString RunText(const std::string& text) {
  QString escaped = QString::fromStdString(PlainLine(text)).toHtmlEscaped();
  return escaped.replace("  ", " &nbsp;");
}

// What the transcript shows of a line's chat HTML: the runs the system's one
// reader finds, written again as the few tags the transcript understands.
// Markup of any other kind in a line is never handed on.
QString ShownHtml(const std::string& chatHtml) {
  QString html;
  for (const StyledRun& run : ReadChatHtml(ToUtf8(chatHtml)).runs) {
    const Look& look = run.look;
    QString open, close;
    if (look.colour || !look.face.empty()) {
      open += "<font";
      if (!look.face.empty()) open += " face=\"" + QString::fromStdString(look.face).toHtmlEscaped() + "\"";
      if (look.colour) open += QString(" color=\"#%1\"").arg(*look.colour, 6, 16, QChar('0'));
      open += ">";
      close = "</font>";
    }
    if (look.bold) open += "<b>", close.prepend("</b>");
    if (look.italic) open += "<i>", close.prepend("</i>");
    if (look.underline) open += "<u>", close.prepend("</u>");
    html += open + RunText(run.text) + close;
  }
  return html;
}

}  // namespace

QString TranscriptHtml(const sim::RoomLine& line) {
  // A network line's text is plain; its styled form is HTML made from it.
  const QString text = ShownHtml(line.styled.empty() ? line.text : line.styled);
  const QString name = QString::fromStdString(WithoutControlCharacters(line.speaker));
  const QString speaker = "<b>" + name.toHtmlEscaped() + "</b>";
  switch (line.kind) {
    case RoomLineKind::kAction: return "* " + speaker + " " + text;
    case RoomLineKind::kNotice: return "-" + speaker + "- " + text;
    case RoomLineKind::kPrivateMessage: return "*" + speaker + "* " + text;
    case RoomLineKind::kPrivateNotice: return "-" + speaker + "- " + text;
    case RoomLineKind::kMessage: break;
  }
  return speaker + ": " + text;
}

ChatRoomWindow::ChatRoomWindow(sim::SimulatedClient& client, QWidget* parent)
    : QWidget(parent, Qt::Window), client_(client) {
  setWindowTitle(QString::fromStdString("chat room - " + client.MemberName()));
  transcript_ = new QTextBrowser(this);
  transcript_->setOpenLinks(false);
  people_ = new QListWidget(this);
  people_->setMaximumWidth(150);
  entry_ = new QLineEdit(this);
  entry_->setPlaceholderText(sim::kChatInputPrompt);

  auto* top = new QHBoxLayout;
  top->addWidget(transcript_, 1);
  top->addWidget(people_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(entry_);
  resize(560, 420);

  connect(entry_, &QLineEdit::textEdited, this, [this](const QString& text) { client_.MemberTypes(text.toStdString()); });
  connect(entry_, &QLineEdit::returnPressed, this, [this] {
    client_.MemberPressesEnter();
    Refresh();
  });
  for (const sim::RoomLine& line : client_.Transcript()) AppendLine(line);
  client_.SetOnLineSaid([this](const sim::RoomLine& line) {
    AppendLine(line);
    // The system puts the member's text back right after its line is said.
    QTimer::singleShot(0, this, &ChatRoomWindow::Refresh);
  });
  // The client tells of every change to its entry box and people; the window
  // looks again once control is back in the event loop.
  client_.SetOnRoomChanged([this] { QTimer::singleShot(0, this, &ChatRoomWindow::Refresh); });
  Refresh();
}

ChatRoomWindow::~ChatRoomWindow() {
  client_.SetOnLineSaid({});
  client_.SetOnRoomChanged({});
}

void ChatRoomWindow::AppendLine(const sim::RoomLine& line) { transcript_->append(TranscriptHtml(line)); }

void ChatRoomWindow::Refresh() {
  const std::vector<std::string> people = client_.People();
  if (people_->count() != static_cast<int>(people.size())) {
    people_->clear();
    for (const std::string& name : people) people_->addItem(QString::fromStdString(name));
  }
  const QString box = EntryText(client_.EntryBoxText());
  if (entry_->text() != box) entry_->setText(box);
}

void ChatRoomWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (onClosed) onClosed();
}

}  // namespace wavecrest
