#include "core/diagnostics.h"

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

void DiagnoseToStandardError() {
  SetDiagnosticSink([](std::string_view note) {
    std::string line = "wavecrest: ";
    line.append(note).push_back('\n');
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
  });
}

}  // namespace wavecrest
