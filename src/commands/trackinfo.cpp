#include "commands/trackinfo.h"

#include "core/bot.h"
#include "core/control_characters.h"
#include "core/pause.h"
#include "core/reply.h"
#include "core/text.h"
#include "core/media_player.h"
#include "trackinfo/format.h"
#include "trackinfo/id3.h"
#include "trackinfo/mpeg_header.h"
#include "trackinfo/track_info.h"

namespace wavecrest {
namespace {

// The labels show the tag fields while the command runs, but the replies are
// built from a copy of its own: an id3 handled during one of the waits
// empties the labels when it ends, and must not blank this answer's later
// lines.
void ShowInLabels(Form1& form, const TagFields& tag) {
  form.lblArtist = tag.artist;
  form.lblTitle = tag.title;
  form.lblAlbum = tag.album;
  form.lblYear = tag.year;
  form.lblComment = tag.comment;
}

bool SongPlaying(Bot& bot) { return !bot.form1.lblSong.empty() && SongLoaded(bot.player); }

void Mp3Answer(Bot& bot, const TagFields& tag, const std::string& path) {
  SendReply(bot, "> artist: <b>" + tag.artist + "</b> - title: <b>" + tag.title + "</b> ");
  WaitSeconds(bot.loop, 1);
  const std::string length = FormatTime(bot.player, bot.loop);
  // A file that is gone has no size: that line is left out.
  if (const auto size = FormatSize(path)) {
    SendReply(bot, "> album: <b>" + tag.album + "</b> - length: <b>" + length + "</b> - size: <b>" + *size + "</b> ");
  }
  WaitSeconds(bot.loop, 1);
  const std::string bitRate = ReadBitRate(bot.player.FileName().value_or(""));
  SendReply(bot, "> year: <b>" + tag.year + "</b> - kbit: <b>" + bitRate + "</b> - comment: <b>" + tag.comment +
                     "</b> ");
}

void OtherAnswer(Bot& bot, const std::string& path) {
  SendReply(bot, "> file name: <b>" + bot.form1.lblSong + "</b> ");
  WaitSeconds(bot.loop, 1);
  const std::string length = FormatTime(bot.player, bot.loop);
  if (const auto size = FormatSize(path)) {
    SendReply(bot, "> file type: <b>" + bot.form1.lblExt + "</b> - length: <b>" + length + "</b> - size: <b>" +
                       *size + "</b> ");
  }
}

}  // namespace

std::string ShownTagField(const std::string& field) {
  std::string shown = PlainLine(TagFieldText(field));
  if (RemoveSpaces(shown).empty()) shown = kNoTag;
  return shown;
}

CommandResult Id3Command(Bot& bot, const std::string&) {
  if (!SongPlaying(bot)) return Answer(bot, "> no currently song is playing ");
  const std::string path = bot.form1.List3.SelectedText();
  const TagFields read = ReadTags(path, bot.tags);
  const TagFields tag{ShownTagField(read.artist), ShownTagField(read.title), ShownTagField(read.album),
                      ShownTagField(read.year), ShownTagField(read.comment)};
  ShowInLabels(bot.form1, tag);
  // Compared as stored: "MP3" in capitals is another type.
  if (bot.form1.lblExt == "mp3") {
    Mp3Answer(bot, tag, path);
  } else {
    OtherAnswer(bot, path);
  }
  ShowInLabels(bot.form1, TagFields{});
  return Answered();
}

}  // namespace wavecrest
