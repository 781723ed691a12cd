#include "commands/library.h"

#include "commands/status.h"
#include "core/bot.h"
#include "core/diagnostics.h"
#include "core/files.h"
#include "core/pause.h"
#include "core/reply.h"
#include "core/settings_keys.h"
#include "library/scan.h"

namespace wavecrest {

namespace {

constexpr const char* kCloseMatchesBody = "> make a selection, or close the matches window ";
constexpr const char* kSearchingBody = "> please wait while wavecr<u>e</u>st is searching... ";

std::string Count(const Bot& bot) { return std::to_string(bot.form1.List2.ListCount()); }

CommandResult CountReply(Bot& bot, const char* word) {
  return Answer(bot, "> currently there are <b>" + Count(bot) + "</b> " + word + " total ");
}

}  // namespace

CommandResult DirCommand(Bot& bot, const std::string& input) {
  if (bot.form2.visible) return Answer(bot, kCloseMatchesBody);
  // The argument arrives lower-cased; the directory is found whatever the
  // case of its names. A directory must be given with its trailing "/".
  const std::string onDisk = ResolvePathIgnoringCase(input);
  if (!FileExists(onDisk)) {
    Diagnose("dir " + input + " is invalid: " + WhyFileExistsFails(onDisk));
    return Answer(bot, "> directory <b>" + input + "</b> is invalid ");
  }
  SendReply(bot, kSearchingBody);
  bot.form1.lblDir = input;
  ScanLibrary(bot);
  bot.WriteSetting(SettingKey(Setting::Directory), bot.form1.lblDir);
  WaitSeconds(bot.loop, 1);
  return Answer(bot, "> directory <b>" + bot.form1.lblDir + "</b> set, total <b>" + Count(bot) + "</b> " +
                        bot.form1.lblExt + "s ");
}

CommandResult DirQueryCommand(Bot& bot, const std::string&) {
  if (bot.form1.lblDir.empty()) return Answer(bot, "> there is no directory set ");
  return Answer(bot, "> current directory: <b>" + bot.form1.lblDir + "</b> ");
}

CommandResult RefCommand(Bot& bot, const std::string&) {
  if (bot.form1.List3.ListCount() == 0) return Answer(bot, "> please select a directory ");
  if (bot.form2.visible) return Answer(bot, kCloseMatchesBody);
  SendReply(bot, "> please wait while wavecr<u>e</u>st is refreshing... ");
  ScanLibrary(bot);
  WaitSeconds(bot.loop, 1);
  return Answer(bot, "> refreshed <b>" + bot.form1.lblDir + "</b>, total <b>" + Count(bot) + "</b> " +
                        bot.form1.lblExt + "s ");
}

CommandResult ExtQueryCommand(Bot& bot, const std::string&) {
  return Answer(bot, "> current set file extension: <b>" + bot.form1.lblExt + "</b> ");
}

CommandResult ExtCommand(Bot& bot, const std::string& input) {
  if (input == bot.form1.lblExt) return Answer(bot, "> current file extension: <b>" + bot.form1.lblExt + "</b> ");
  if (input != "mp3" && input != "wav" && input != "wma") {
    return Answer(bot, "> invalid extension, must be <b>mp3</b>, <b>wav</b>, or <b>wma</b> ");
  }
  bot.form1.lblExt = input;
  bot.form1.caption = std::string(kCaptionBase) + " - " + bot.form1.lblExt;
  bot.mainView.Refresh();
  bot.WriteSetting(SettingKey(Setting::Extension), bot.form1.lblExt);
  SendReply(bot, kSearchingBody);
  // The command list names the current extension ("mp3s", "next song on mp3 list").
  BuildCommandList(bot);
  ScanLibrary(bot);
  WaitSeconds(bot.loop, 1);
  return Answer(bot, "> file extension <b>" + bot.form1.lblExt + "</b> set, total <b>" + Count(bot) + "</b> " +
                        bot.form1.lblExt + "s found ");
}

CommandResult Mp3sCommand(Bot& bot, const std::string&) { return CountReply(bot, "mp3s"); }
CommandResult WavsCommand(Bot& bot, const std::string&) { return CountReply(bot, "wavs"); }
CommandResult WmasCommand(Bot& bot, const std::string&) { return CountReply(bot, "wmas"); }

}  // namespace wavecrest
