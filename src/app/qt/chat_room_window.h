#pragma once

// The simulated chat client's room on screen: the transcript with each
// line's chat HTML rendered (faces, colours, bold, italic, underline), the
// people in the room, and the member's entry box. The entry box is the
// client's own: what the member types goes into it, Enter says it, and when
// the system types a reply it saves the member's half-typed text and puts
// it back, which shows here.

#include <QWidget>

#include <functional>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace wavecrest {
namespace sim {
class SimulatedClient;
struct RoomLine;
}  // namespace sim

// A line of the room as the transcript shows it: the speaker in bold (as
// plain text), a colon, and the line's chat HTML as the system's one reader
// reads it (faces, colours, bold, italic, underline; nothing else).
QString TranscriptHtml(const sim::RoomLine& line);

class ChatRoomWindow final : public QWidget {
  Q_OBJECT

 public:
  // Takes over the client's line-said report. The client must outlive the
  // window.
  explicit ChatRoomWindow(sim::SimulatedClient& client, QWidget* parent = nullptr);
  ~ChatRoomWindow() override;

  // Brings the people and the entry box up to date with the client.
  void Refresh();

  // Runs when the member closes the window.
  std::function<void()> onClosed;

  QTextBrowser* Transcript() const { return transcript_; }
  QListWidget* People() const { return people_; }
  QLineEdit* EntryBox() const { return entry_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void AppendLine(const sim::RoomLine& line);

  sim::SimulatedClient& client_;
  QTextBrowser* transcript_;
  QListWidget* people_;
  QLineEdit* entry_;
};

}  // namespace wavecrest
