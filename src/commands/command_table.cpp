#include "commands/command_table.h"

#include "commands/appearance.h"
#include "commands/idle.h"
#include "commands/library.h"
#include "commands/status.h"

#include <array>

namespace wavecrest {
namespace {

using enum MatchForm;
using enum ExtraCondition;
using enum TriggerUse;

// Plain data, in dispatch order. All keys differ, so the order only fixes the
// order of the comparisons. A null handler is a word the system knows but
// that nothing answers yet.
constexpr std::array<CommandEntry, 44> kCommandTable{{
    {".trig?", Exact, None, Never, &TrigQueryCommand},
    {"exit", Exact, None, Prefixed, &ExitCommand},
    {"adv", Exact, None, Prefixed, &AdvCommand},
    {"r", Exact, None, Prefixed, nullptr},
    {"dir", Argument, None, Prefixed, &DirCommand},
    {"dir?", Exact, None, Prefixed, &DirQueryCommand},
    {"coms", Exact, None, Prefixed, &ComsCommand},
    {"con", Exact, None, Prefixed, nullptr},
    {"eacolor", Argument, SixCharacters, Prefixed, &EacolorCommand},
    {"eafont", Argument, None, Prefixed, &EafontCommand},
    {"eascii", Argument, None, Prefixed, &EasciiCommand},
    {"facolor", Argument, SixCharacters, Prefixed, &FacolorCommand},
    {"fafont", Argument, None, Prefixed, &FafontCommand},
    {"fascii", Argument, None, Prefixed, &FasciiCommand},
    {"fcolor", Argument, SixCharacters, Prefixed, &FcolorCommand},
    {"font", Argument, None, Prefixed, &FontCommand},
    {"handle", Argument, None, Prefixed, &HandleCommand},
    {"mute", Exact, None, Prefixed, nullptr},
    {"p", Argument, None, Prefixed, nullptr},
    {"pause", Exact, None, Prefixed, nullptr},
    {"ref", Exact, None, Prefixed, &RefCommand},
    {"rep", Exact, None, Prefixed, nullptr},
    {"song", Exact, None, Prefixed, nullptr},
    {"stop", Exact, None, Prefixed, nullptr},
    {"mp3s", Exact, ExtIsMp3, Prefixed, &Mp3sCommand},
    {"wavs", Exact, ExtIsWav, Prefixed, &WavsCommand},
    {"wmas", Exact, ExtIsWma, Prefixed, &WmasCommand},
    {"vol", WholeLine, None, Prefixed, nullptr},
    {"vol?", Exact, None, Prefixed, nullptr},
    {"skip", WholeLine, None, Prefixed, nullptr},
    {"next", Exact, None, Prefixed, nullptr},
    {"prev", Exact, None, Prefixed, nullptr},
    {"idle", Argument, None, Prefixed, &IdleCommand},
    {"idleoff", Exact, None, Prefixed, &IdleoffCommand},
    {"order", Exact, None, Prefixed, nullptr},
    {"id3", Exact, None, Prefixed, nullptr},
    {"trig", Argument, None, Prefixed, &TrigCommand},
    {"ext?", Exact, None, Prefixed, &ExtQueryCommand},
    {"ext", Argument, None, Prefixed, &ExtCommand},
    {"si?", Exact, None, Prefixed, nullptr},
    {"si", Exact, None, Prefixed, nullptr},
    {"mode?", Exact, None, Prefixed, nullptr},
    {"date?", Exact, None, Prefixed, &DateQueryCommand},
    {"time?", Exact, None, Prefixed, &TimeQueryCommand},
}};

}  // namespace

std::span<const CommandEntry> CommandTable() { return kCommandTable; }

}  // namespace wavecrest
