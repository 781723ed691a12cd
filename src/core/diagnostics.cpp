#include "core/diagnostics.h"

#include <cstdio>
#include <utility>

namespace wavecrest {
namespace {

DiagnosticSink& Sink() {
  static DiagnosticSink sink;
  return sink;
}

// C0 controls, DEL and the C1 controls (U+0080 to U+009F, two bytes in UTF-8).
std::string WithoutControls(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7f) continue;
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (byte == 0xc2 && next >= 0x80 && next <= 0x9f) {
      ++i;
      continue;
    }
    kept.push_back(text[i]);
  }
  return kept;
}

}  // namespace

void SetDiagnosticSink(DiagnosticSink sink) { Sink() = std::move(sink); }

void Diagnose(std::string_view note) {
  if (Sink()) Sink()(note);
}

bool Diagnosing() { return static_cast<bool>(Sink()); }

void DiagnoseToStandardError() {
  SetDiagnosticSink([](std::string_view note) {
    std::string line = "wavecrest: ";
    line.append(WithoutControls(note)).push_back('\n');
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
  });
}

}  // namespace wavecrest
