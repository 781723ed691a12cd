#include "commands/command_table.h"

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
    {".trig?", Exact, None, Never, nullptr},
    {"exit", Exact, None, Prefixed, nullptr},
    {"adv", Exact, None, Prefixed, nullptr},
    {"r", Exact, None, Prefixed, nullptr},
    {"dir", Argument, None, Prefixed, nullptr},
    {"dir?", Exact, None, Prefixed, nullptr},
    {"coms", Exact, None, Prefixed, nullptr},
    {"con", Exact, None, Prefixed, nullptr},
    {"eacolor", Argument, SixCharacters, Prefixed, nullptr},
    {"eafont", Argument, None, Prefixed, nullptr},
    {"eascii", Argument, None, Prefixed, nullptr},
    {"facolor", Argument, SixCharacters, Prefixed, nullptr},
    {"fafont", Argument, None, Prefixed, nullptr},
    {"fascii", Argument, None, Prefixed, nullptr},
    {"fcolor", Argument, SixCharacters, Prefixed, nullptr},
    {"font", Argument, None, Prefixed, nullptr},
    {"handle", Argument, None, Prefixed, nullptr},
    {"mute", Exact, None, Prefixed, nullptr},
    {"p", Argument, None, Prefixed, nullptr},
    {"pause", Exact, None, Prefixed, nullptr},
    {"ref", Exact, None, Prefixed, nullptr},
    {"rep", Exact, None, Prefixed, nullptr},
    {"song", Exact, None, Prefixed, nullptr},
    {"stop", Exact, None, Prefixed, nullptr},
    {"mp3s", Exact, ExtIsMp3, Prefixed, nullptr},
    {"wavs", Exact, ExtIsWav, Prefixed, nullptr},
    {"wmas", Exact, ExtIsWma, Prefixed, nullptr},
    {"vol", WholeLine, None, Prefixed, nullptr},
    {"vol?", Exact, None, Prefixed, nullptr},
    {"skip", WholeLine, None, Prefixed, nullptr},
    {"next", Exact, None, Prefixed, nullptr},
    {"prev", Exact, None, Prefixed, nullptr},
    {"idle", Argument, None, Prefixed, nullptr},
    {"idleoff", Exact, None, Prefixed, nullptr},
    {"order", Exact, None, Prefixed, nullptr},
    {"id3", Exact, None, Prefixed, nullptr},
    {"trig", Argument, None, Prefixed, nullptr},
    {"ext?", Exact, None, Prefixed, nullptr},
    {"ext", Argument, None, Prefixed, nullptr},
    {"si?", Exact, None, Prefixed, nullptr},
    {"si", Exact, None, Prefixed, nullptr},
    {"mode?", Exact, None, Prefixed, nullptr},
    {"date?", Exact, None, Prefixed, nullptr},
    {"time?", Exact, None, Prefixed, nullptr},
}};

}  // namespace

std::span<const CommandEntry> CommandTable() { return kCommandTable; }

}  // namespace wavecrest
