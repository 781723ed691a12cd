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

void CountReply(Bot& bot, const char* word) {
  SendReply(bot, "> currently there are <b>" + Count(bot) + "</b> " + word + " total ");
}

}  // namespace

void DirCommand(Bot& bot, const std::string& input) {
  if (bot.form2.visible) {
    SendReply(bot, kCloseMatchesBody);
    return;
  }
  // The argument arrives lower-cased; the directory is found whatever the
  // case of its names. A directory must be given with its trailing "/".
  const std::string onDisk = ResolvePathIgnoringCase(input);
  if (!FileExists(onDisk)) {
    Diagnose("dir " + input + " is invalid: " + WhyFileExistsFails(onDisk));
    SendReply(bot, "> directory <b>" + input + "</b> is invalid ");
    return;
  }
  SendReply(bot, kSearchingBody);
  bot.form1.lblDir = input;
  ScanLibrary(bot);
  bot.WriteSetting(SettingKey(Setting::Directory), bot.form1.lblDir);
  WaitSeconds(bot.loop, 1);
  SendReply(bot, "> directory <b>" + bot.form1.lblDir + "</b> set, total <b>" + Count(bot) + "</b> " +
                     bot.form1.lblExt + "s ");
}

void DirQueryCommand(Bot& bot, const std::string&) {
  if (bot.form1.lblDir.empty()) {
    SendReply(bot, "> there is no directory set ");
    return;
  }
  SendReply(bot, "> current directory: <b>" + bot.form1.lblDir + "</b> ");
}

void RefCommand(Bot& bot, const std::string&) {
  if (bot.form1.List3.ListCount() == 0) {
    SendReply(bot, "> please select a directory ");
    return;
  }
  if (bot.form2.visible) {
    SendReply(bot, kCloseMatchesBody);
    return;
  }
  SendReply(bot, "> please wait while wavecr<u>e</u>st is refreshing... ");
  ScanLibrary(bot);
  WaitSeconds(bot.loop, 1);
  SendReply(bot, "> refreshed <b>" + bot.form1.lblDir + "</b>, total <b>" + Count(bot) + "</b> " +
                     bot.form1.lblExt + "s ");
}

void ExtQueryCommand(Bot& bot, const std::string&) {
  SendReply(bot, "> current set file extension: <b>" + bot.form1.lblExt + "</b> ");
}

void ExtCommand(Bot& bot, const std::string& input) {
  if (input == bot.form1.lblExt) {
    SendReply(bot, "> current file extension: <b>" + bot.form1.lblExt + "</b> ");
    return;
  }
  if (input != "mp3" && input != "wav" && input != "wma") {
    SendReply(bot, "> invalid extension, must be <b>mp3</b>, <b>wav</b>, or <b>wma</b> ");
    return;
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
  SendReply(bot, "> file extension <b>" + bot.form1.lblExt + "</b> set, total <b>" + Count(bot) + "</b> " +
                     bot.form1.lblExt + "s found ");
}

void Mp3sCommand(Bot& bot, const std::string&) { CountReply(bot, "mp3s"); }
void WavsCommand(Bot& bot, const std::string&) { CountReply(bot, "wavs"); }
void WmasCommand(Bot& bot, const std::string&) { CountReply(bot, "wmas"); }

}  // namespace wavecrest
