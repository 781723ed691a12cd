#include "core/diagnostics.h"

#include "core/control_characters.h"

#include <cstdio>
#include <utility>

namespace wavecrest {
namespace {

DiagnosticSink& Sink() {
  static DiagnosticSink sink;
  return sink;
}

}  // namespace

void SetDiagnosticSink(DiagnosticSink sink) { Sink() = std::move(sink); }

void Diagnose(std::string_view note) {
  if (Sink()) Sink()(note);
}

bool Diagnosing() { return static_cast<bool>(Sink()); }

void DiagnoseToStandardError() {
  SetDiagnosticSink([](std::string_view note) {
    // Notes name files and quote chat text: nothing of it reaches the
    // terminal raw.
    std::string line = "wavecrest: ";
    line.append(EscapeControls(note)).push_back('\n');
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
  });
}

}  // namespace wavecrest
