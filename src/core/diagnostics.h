#pragma once

// What was skipped and why, for the person running the program. Nothing
// about a failure is ever said in the chat room, so a song that did not play,
// a directory the scan could not read or a setting that was not kept would
// otherwise go unexplained; with --verbose these notes go to standard error.
// Silent until a sink is set.
//
// One sink for the whole process: the places that report are spread over the
// program (scan, player, settings file) and the choice is made once, at start.
// UI thread only.

#include <functional>
#include <string>
#include <string_view>

namespace wavecrest {

using DiagnosticSink = std::function<void(std::string_view note)>;

// Replaces the sink; an empty one silences the notes again.
void SetDiagnosticSink(DiagnosticSink sink);

// Passes one note (a whole sentence, no line end) to the sink, if any.
void Diagnose(std::string_view note);

// Whether a sink is set (--verbose): a note that costs work to compose, on a
// path taken for every line of the room, is composed only then.
bool Diagnosing();

// The sink --verbose sets: each note as one line "wavecrest: NOTE" on
// standard error, its control characters escaped (EscapeControls), so that
// nothing quoted from chat lines or file names can drive the terminal.
void DiagnoseToStandardError();

}  // namespace wavecrest
