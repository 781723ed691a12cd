#include "commands/command_table.h"

#include "commands/appearance.h"
#include "commands/idle.h"
#include "commands/library.h"
#include "commands/modes.h"
#include "commands/playback.h"
#include "commands/status.h"
#include "commands/trackinfo.h"

#include <array>

namespace wavecrest {
namespace {

using enum MatchForm;
using enum ExtraCondition;
using enum TriggerUse;

// Plain data, in dispatch order. All keys differ, so the order only fixes the
// order of the comparisons.
constexpr std::array<CommandEntry, 44> kCommandTable{{
    {".trig?", Exact, None, Never, &TrigQueryCommand},
    {"exit", Exact, None, Prefixed, &ExitCommand},
    {"adv", Exact, None, Prefixed, &AdvCommand},
    {"r", Exact, None, Prefixed, &RCommand},
    {"dir", Argument, None, Prefixed, &DirCommand},
    {"dir?", Exact, None, Prefixed, &DirQueryCommand},
    {"coms", Exact, None, Prefixed, &ComsCommand},
    {"con", Exact, None, Prefixed, &ConCommand},
    {"eacolor", Argument, SixCharacters, Prefixed, &EacolorCommand},
    {"eafont", Argument, None, Prefixed, &EafontCommand},
    {"eascii", Argument, None, Prefixed, &EasciiCommand},
    {"facolor", Argument, SixCharacters, Prefixed, &FacolorCommand},
    {"fafont", Argument, None, Prefixed, &FafontCommand},
    {"fascii", Argument, None, Prefixed, &FasciiCommand},
    {"fcolor", Argument, SixCharacters, Prefixed, &FcolorCommand},
    {"font", Argument, None, Prefixed, &FontCommand},
    {"handle", Argument, None, Prefixed, &HandleCommand},
    {"mute", Exact, None, Prefixed, &MuteCommand},
    {"p", Argument, None, Prefixed, &PCommand},
    {"pause", Exact, None, Prefixed, &PauseCommand},
    {"ref", Exact, None, Prefixed, &RefCommand},
    {"rep", Exact, None, Prefixed, &RepCommand},
    {"song", Exact, None, Prefixed, &SongCommand},
    {"stop", Exact, None, Prefixed, &StopCommand},
    {"mp3s", Exact, ExtIsMp3, Prefixed, &Mp3sCommand},
    {"wavs", Exact, ExtIsWav, Prefixed, &WavsCommand},
    {"wmas", Exact, ExtIsWma, Prefixed, &WmasCommand},
    {"vol", WholeLine, None, Prefixed, &VolCommand},
    {"vol?", Exact, None, Prefixed, &VolQueryCommand},
    {"skip", WholeLine, None, Prefixed, &SkipCommand},
    {"next", Exact, None, Prefixed, &NextCommand},
    {"prev", Exact, None, Prefixed, &PrevCommand},
    {"idle", Argument, None, Prefixed, &IdleCommand},
    {"idleoff", Exact, None, Prefixed, &IdleoffCommand},
    {"order", Exact, None, Prefixed, &OrderCommand},
    {"id3", Exact, None, Prefixed, &Id3Command},
    {"trig", Argument, None, Prefixed, &TrigCommand},
    {"ext?", Exact, None, Prefixed, &ExtQueryCommand},
    {"ext", Argument, None, Prefixed, &ExtCommand},
    {"si?", Exact, None, Prefixed, &SiQueryCommand},
    {"si", Exact, None, Prefixed, &SiCommand},
    {"mode?", Exact, None, Prefixed, &ModeQueryCommand},
    {"date?", Exact, None, Prefixed, &DateQueryCommand},
    {"time?", Exact, None, Prefixed, &TimeQueryCommand},
}};

}  // namespace

std::span<const CommandEntry> CommandTable() { return kCommandTable; }

}  // namespace wavecrest
