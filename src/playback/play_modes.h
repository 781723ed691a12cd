#pragma once

// The play-mode timers: once a second each enabled mode asks the player
// whether the song has played to its end (position exactly equal to length)
// and, when it has, starts what comes next. A read that fails counts as an
// end.
//
// With nothing loaded the player answers position -1 and length 0, which
// differ: switching a mode on with nothing loaded starts nothing, and the
// mode waits for a song started by other means to play to its end. A stopped
// song rewinds and keeps its length, so a stop is not taken for an end either.

namespace wavecrest {

class Bot;

// Whether the song has ended as the modes see it.
bool SongEnded(Bot& bot);

// Continuous play: a random entry, which may be the one that just ended.
void tmrCon_Timer(Bot& bot);
// Order play: the entry after the current one; the first after the last,
// and the first when there is no current entry.
void tmrOrder_Timer(Bot& bot);
// Repeat play: the current entry again; nothing when there is none.
void tmrRep_Timer(Bot& bot);

}  // namespace wavecrest
