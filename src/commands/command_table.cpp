#include "commands/command_table.h"

#include "commands/appearance.h"
#include "commands/idle.h"
#include "commands/library.h"
#include "commands/listen.h"
#include "commands/matches_words.h"
#include "commands/modes.h"
#include "commands/playback.h"
#include "commands/status.h"
#include "commands/trackinfo.h"
#include "core/text.h"

#include <algorithm>
#include <array>

namespace wavecrest {
namespace {

using enum MatchForm;
using enum ExtraCondition;
using enum TriggerUse;

// Plain data, in dispatch order. All keys differ, so the order only fixes the
// order of the comparisons. The three count words share the one line that
// names the current extension, whichever it is.
constexpr std::array<CommandEntry, 44> kCommandTable{{
    {".trig?", Exact, None, Never, &TrigQueryCommand, ".trig? [default command to get trigger]"},
    {"exit", Exact, None, Prefixed, &ExitCommand, "exit [exit wavecrest system]"},
    {"adv", Exact, None, Prefixed, &AdvCommand, "adv [advertise this program]"},
    {"r", Exact, None, Prefixed, &RCommand, "r [play a song at random]"},
    {"dir", Argument, None, Prefixed, &DirCommand, "dir x [set directory, x as path]"},
    {"dir?", Exact, None, Prefixed, &DirQueryCommand, "dir? [get current set directory]"},
    {"coms", Exact, None, Prefixed, &ComsCommand, "coms [hide/view command list and/or {ext}s list]"},
    {"con", Exact, None, Prefixed, &ConCommand, "con [turn continuous play on/off]"},
    {"eacolor", Argument, SixCharacters, Prefixed, &EacolorCommand,
     "eacolor x [ set end ascii color, x as 6 hex digits]"},
    {"eafont", Argument, None, Prefixed, &EafontCommand, "eafont x [set end ascii font type, x as font type]"},
    {"eascii", Argument, None, Prefixed, &EasciiCommand, "eascii x [ set end ascii, x as ascii]"},
    {"facolor", Argument, SixCharacters, Prefixed, &FacolorCommand,
     "facolor x [ set front ascii color, x as 6 hex digits]"},
    {"fafont", Argument, None, Prefixed, &FafontCommand, "fafont x [set front ascii font type, x as font type]"},
    {"fascii", Argument, None, Prefixed, &FasciiCommand, "fascii x [set font ascii, x as ascii]"},
    {"fcolor", Argument, SixCharacters, Prefixed, &FcolorCommand, "fcolor x [set font color, x as 6 hex digits]"},
    {"font", Argument, None, Prefixed, &FontCommand, "font x [set font type, x as font type]"},
    {"handle", Argument, None, Prefixed, &HandleCommand, "handle x [set your handle, x as handle]"},
    {"mute", Exact, None, Prefixed, &MuteCommand, "mute [mute/unmute current song]"},
    {"p", Argument, None, Prefixed, &PCommand, "p x [play a song, x as string]"},
    {"pause", Exact, None, Prefixed, &PauseCommand, "pause [pause/unpause current song]"},
    {"ref", Exact, None, Prefixed, &RefCommand, "ref [refresh {ext} list]"},
    {"rep", Exact, None, Prefixed, &RepCommand, "rep [turn repeat play on/off]"},
    {"song", Exact, None, Prefixed, &SongCommand, "song [get current song playing]"},
    {"stop", Exact, None, Prefixed, &StopCommand, "stop [stop current song playing]"},
    {"mp3s", Exact, ExtIsMp3, Prefixed, &Mp3sCommand, "{ext}s [get total {ext} count from directory]"},
    {"wavs", Exact, ExtIsWav, Prefixed, &WavsCommand, "{ext}s [get total {ext} count from directory]"},
    {"wmas", Exact, ExtIsWma, Prefixed, &WmasCommand, "{ext}s [get total {ext} count from directory]"},
    {"vol", WholeLine, None, Prefixed, &VolCommand, "vol x [set volume, x as integer 1-100]"},
    {"vol?", Exact, None, Prefixed, &VolQueryCommand, "vol? [get current set volume]"},
    {"skip", WholeLine, None, Prefixed, &SkipCommand, "skip x [skip current song to x, x as seconds]"},
    {"next", Exact, None, Prefixed, &NextCommand, "next [play next song on {ext} list]"},
    {"prev", Exact, None, Prefixed, &PrevCommand, "prev [play previous song on {ext} list]"},
    {"idle", Argument, None, Prefixed, &IdleCommand, "idle x [turn idle on, x as reason]"},
    {"idleoff", Exact, None, Prefixed, &IdleoffCommand, "idleoff [turn idle off]"},
    {"order", Exact, None, Prefixed, &OrderCommand, "order [turn order play on/off]"},
    {"id3", Exact, None, Prefixed, &Id3Command, "id3 [get id3_v1 tag/{ext} infos]"},
    {"trig", Argument, None, Prefixed, &TrigCommand, "trig x [set x as trigger, 'none' to remove]"},
    {"ext?", Exact, None, Prefixed, &ExtQueryCommand, "ext? [get current set file extension]"},
    {"ext", Argument, None, Prefixed, &ExtCommand, "ext x [set file extension, x as 'mp3, wav, or wma'"},
    {"si?", Exact, None, Prefixed, &SiQueryCommand, "si? [get current silent mp3 play is on or off]"},
    {"si", Exact, None, Prefixed, &SiCommand, "si [turn silent mp3 play on/off]"},
    {"mode?", Exact, None, Prefixed, &ModeQueryCommand, "mode? [get current media modes]"},
    {"date?", Exact, None, Prefixed, &DateQueryCommand, "date? [get current date]"},
    {"time?", Exact, None, Prefixed, &TimeQueryCommand, "time? [get current time]"},
}};

// Plain data too: the words a run adds after the table's, on a network (where
// nobody can click the matches window) and when it streams.
constexpr std::array<CommandEntry, 2> kNetworkWords{{
    {"matches", Exact, None, Prefixed, &MatchesCommand, "matches [post the matches list]"},
    {"pick", Argument, None, Prefixed, &PickCommand, "pick x [play match x of the matches list]"},
}};
constexpr std::array<CommandEntry, 1> kStreamWords{{
    {"listen", Exact, None, Prefixed, &ListenCommand, "listen [get where to listen and how many listen]"},
}};

template <std::size_t N, std::size_t M>
constexpr std::array<CommandEntry, N + M> Joined(const std::array<CommandEntry, N>& first,
                                                 const std::array<CommandEntry, M>& then) {
  std::array<CommandEntry, N + M> table{};
  std::copy(first.begin(), first.end(), table.begin());
  std::copy(then.begin(), then.end(), table.begin() + N);
  return table;
}

constexpr auto kNetworkCommandTable = Joined(kCommandTable, kNetworkWords);
constexpr auto kStreamingCommandTable = Joined(kCommandTable, kStreamWords);
constexpr auto kNetworkStreamingCommandTable = Joined(kNetworkCommandTable, kStreamWords);

}  // namespace

std::span<const CommandEntry> CommandTable(RoomKind room, StreamCommands stream) {
  const bool streams = stream == StreamCommands::With;
  if (room == RoomKind::kNetwork) return streams ? std::span<const CommandEntry>(kNetworkStreamingCommandTable)
                                                 : std::span<const CommandEntry>(kNetworkCommandTable);
  return streams ? std::span<const CommandEntry>(kStreamingCommandTable) : std::span<const CommandEntry>(kCommandTable);
}

std::string CommandListLine(const CommandEntry& entry, std::string_view trigger, std::string_view extension) {
  const std::string line = ReplaceAll(entry.help, kExtensionMark, extension);
  return entry.trigger == TriggerUse::Never ? line : std::string(trigger) + line;
}

}  // namespace wavecrest
