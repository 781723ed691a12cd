#pragma once

// The menu bars of the simulated client, one per client version: the menus
// and entries a member of that version would see, so that reading them tells
// the version just as it does with the real client.

#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::sim {

struct MenuEntrySpec {
  std::string text;                      // empty with no children: a separator
  std::vector<MenuEntrySpec> children;   // non-empty: the entry opens a drop-down
};

struct MenuSpec {
  std::string title;
  std::vector<MenuEntrySpec> entries;
};

// The client versions the simulation knows, newest first: "9.0" … "2.5".
const std::vector<std::string>& KnownClientVersions();
bool IsKnownClientVersion(std::string_view version);

// Whether a version uses the 7.0–9.0 chat room layout (a read-only
// transcript box before the entry box).
bool UsesReadOnlyTranscript(std::string_view version);

// The menu bar of a version, menus left to right; empty for an unknown one.
std::vector<MenuSpec> ClientMenuBar(std::string_view version);

}  // namespace wavecrest::sim
