#pragma once

// Starting a library entry. Every way of starting a song (the playback
// commands, a double-click in either list, the play-mode timers) runs the
// same sequence, PlayEntry: it loads the entry, makes it current, announces
// it unless silent mode is on, waits a second and then sets the now-playing
// text from the state it finds after the wait.

#include <string>

namespace wavecrest {

class Bot;
struct ListBox;

// Who starts the entry. Only the play-mode timers stop when the position
// names no entry, and only the matches window hides itself.
enum class CallerKind { Command, LibraryList, MatchesWindow, PlayModeTimer };

// Starts library position `p` (0-based) and announces it with `word`
// ("> next #" …): word + (p + 1) + " - <b>" + name + "</b> ".
//
// A position that names no entry selects nothing when it is -1 and leaves
// the selection alone otherwise; either way no file is opened and the song
// name comes out empty. A play-mode timer stops there; the other callers
// announce the empty name, as the member's action asked for something.
// Lets events run (the announcement, the one-second wait, the length).
// Returns whether the announcement was said (not in silent mode, nor when a
// play-mode timer stopped).
bool PlayEntry(Bot& bot, int p, const std::string& word, CallerKind kind);

// The position after the current entry of `library`: the first after the
// last, and the first when there is no current entry.
int NextPosition(const ListBox& library);

// A whole number from 0 to n - 1 (0 when n is 0 or less), drawn from a
// generator seeded afresh from the time of day on every call.
int RandomIndex(Bot& bot, int n);

// A click in the library list: its tooltip shows the name now selected.
// Nothing plays.
void List2_Click(Bot& bot);

// A double-click in the library list plays the entry selected in it.
void List2_DblClick(Bot& bot);

// Mouse actions on a library row (0-based), as a front-end delivers them: a
// row that exists is selected first, then the click event runs. A position
// past the rows is a click on the list's empty part: the selection stays as
// it was and the event still runs.
void ClickLibraryRow(Bot& bot, int row);
void DoubleClickLibraryRow(Bot& bot, int row);

// The announcement shape shared by PlayEntry and the playback confirmations.
std::string Announcement(const std::string& word, int n, const std::string& name);

}  // namespace wavecrest
