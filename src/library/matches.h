#pragma once

// The matches window's actions on the Form2 model: filled by a search with
// several matches, it lets the member play one of them or post the whole
// list into the room, one row a second.
//
// Its rows stand for library positions (List4 of the main window, row for
// row). Three situations are settled here so that nothing plays or posts a
// row that no longer exists:
//  - a double-click with no row selected does nothing;
//  - closing the window ("exit", or the exit command) or filling it again
//    while a scroll runs ends that scroll before its next row: every fill
//    gives the window a new generation number, unloading sets it to 0, and
//    the scroll checks it after each wait;
//  - a double-click on a row whose List4 position no longer names a library
//    entry of that display name (the library was rebuilt under the window
//    by `ext`) plays nothing.

namespace wavecrest {

class Bot;

// Shows the window (loading it first when it is not loaded) and fills it
// from List4: caption "double-click to play " + extension, one row per
// match with the display name the library shows at that position. The
// library list's selection ends on the last match. A fill ends a running
// scroll and leaves the buttons idle.
void FillMatchesWindow(Bot& bot);

// A click in the window's list: its tooltip shows the row now selected.
void List1_Click(Bot& bot);
// A double-click plays the match of the selected row (and hides the window).
// Returns whether it started the row's song.
bool List1_DblClick(Bot& bot);
// "scroll list": posts the rows, numbered from 1, one a second, until the
// list ends or "stop scroll" is clicked. Returns when the scroll has ended.
void Command1_Click(Bot& bot);
// "stop scroll".
void Command2_Click(Bot& bot);
// "exit": unloads the window and its rows; List4 keeps its rows.
void Command3_Click(Bot& bot);

// Mouse actions on row `row` (0-based) of the window's list, as a front-end
// delivers them: a row that exists is selected, then the event runs. Nothing
// happens while the window is not shown. The double-click returns whether it
// started the row's song.
void ClickMatchesRow(Bot& bot, int row);
bool DoubleClickMatchesRow(Bot& bot, int row);

}  // namespace wavecrest
