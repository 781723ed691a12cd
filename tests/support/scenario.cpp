#include "support/scenario.h"

namespace wavecrest::testing {

std::string BodyOf(const std::string& line) {
  const std::string font = "<font face=\"";
  const std::size_t second = line.find(font, line.find(font) + 1);
  if (second == std::string::npos) return line;
  const std::size_t color = line.find("color=#", second);
  const std::size_t begin = line.find('>', color);
  const std::size_t end = line.rfind(font);
  if (begin == std::string::npos || end == std::string::npos || end < begin) return line;
  return line.substr(begin, end - begin);
}

Scenario::Scenario(RoomKind room, StreamCommands stream)
    : t(CommandRoutines(room, stream), stream == StreamCommands::With ? WithStream::Yes : WithStream::No) {
  Form1& f = t.bot.form1;
  f.Text1 = "Some Member";
  f.lblHandle = "dj";
  f.lblFrontAscii = ".·•×";
  f.lblEndAscii = "×•·.";
  f.lblFont = f.lblFrontAsciiFont = f.lblEndAsciiFont = "times new roman";
  f.lblColor = "000000";
  f.lblFrontAsciiColor = f.lblEndAsciiColor = "0000ff";
  f.lblLoad = "1";
  f.lblExt = "mp3";
  f.visible = true;
}

void Scenario::MemberSays(const std::string& text) { OtherSays(t.bot.form1.Text1, text); }

void Scenario::OtherSays(const std::string& speaker, const std::string& text) {
  DispatchChatLine(t.bot, speaker, text);
  t.loop.RunUntilIdle();
}

std::vector<std::string> Scenario::Bodies() const {
  std::vector<std::string> bodies;
  for (const auto& line : t.chat.lines) bodies.push_back(BodyOf(line));
  return bodies;
}

std::vector<std::string> Scenario::TakeBodies() {
  auto bodies = Bodies();
  t.chat.lines.clear();
  return bodies;
}

}  // namespace wavecrest::testing
