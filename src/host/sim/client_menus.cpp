#include "host/sim/client_menus.h"

#include <algorithm>

namespace wavecrest::sim {
namespace {

using Entries = std::vector<MenuEntrySpec>;

MenuEntrySpec E(std::string text) { return MenuEntrySpec{std::move(text), {}}; }
MenuEntrySpec Sep() { return MenuEntrySpec{}; }
MenuEntrySpec Popup(std::string text, Entries children) { return MenuEntrySpec{std::move(text), std::move(children)}; }

MenuSpec EditMenu() {
  return {"&Edit",
          {E("&Undo\tCtrl+Z"), Sep(), E("Cu&t\tCtrl+X"), E("&Copy\tCtrl+C"), E("&Paste\tCtrl+V"),
           E("Select &All\tCtrl+A"), Sep(), E("&Find in Top Window...")}};
}

// The first clients kept their session log in the File menu and their
// member tools in a Members menu.
std::vector<MenuSpec> Bar25() {
  return {
      {"&File", {E("&New"), E("&Open..."), E("&Save"), E("Save &As..."), Sep(), E("Logging..."), Sep(),
                 E("&Print..."), E("E&xit")}},
      EditMenu(),
      {"&Go To", {E("&Lobby"), E("&Network News"), E("&Keyword...")}},
      {"&Mail", {E("&Compose Mail"), E("&Read New Mail"), E("Check Mail You've &Sent")}},
      {"&Members", {E("Send Instant Message"), E("Get a Member's &Profile"), E("Member &Directory")}},
      {"&Window", {E("&Cascade"), E("&Tile"), E("Close &All")}},
      {"&Help", {E("&Contents"), E("&About America Online")}},
  };
}

// 3.0 moved the log to a Log Manager and spelled out its message entry.
std::vector<MenuSpec> Bar30() {
  return {
      {"&File", {E("&New"), E("&Open..."), E("&Save"), E("Save &As..."), Sep(), E("&Log Manager"),
                 Popup("&Download Manager", {E("Show Files to Download"), E("Show Files Downloaded")}), Sep(),
                 E("&Print..."), E("E&xit")}},
      EditMenu(),
      {"&Go To", {E("&Sign Off"), E("&Keyword..."), E("&Favorite Places")}},
      {"&Mail", {E("&Compose Mail"), E("&Read New Mail"), E("Check Mail You've &Sent")}},
      {"&Members", {E("Send an Instant Message"), E("Get a Member's &Profile"), E("Member &Directory"),
                    E("&Buddy List")}},
      {"&Window", {E("&Cascade"), E("&Tile"), E("Close &All")}},
      {"&Help", {E("&Offline Help"), E("&About America Online")}},
  };
}

// From 4.0 on, the member tools live in the toolbar; the menu bar keeps the
// window chores and a Help menu that names the release.
std::vector<MenuSpec> BarFrom40(const std::string& whatsNew, Entries extraHelp) {
  Entries help{E("&Offline Help"), E("Member &Services Online Help"), Sep(), E(whatsNew)};
  help.insert(help.end(), extraHelp.begin(), extraHelp.end());
  help.push_back(Sep());
  help.push_back(E("&About America Online"));
  return {
      {"&File", {E("&New"), E("&Open..."), E("&Save"), E("Save &As..."), Sep(), E("Open Picture &Gallery..."),
                 Popup("&Download Manager", {E("Show Files to Download"), E("Show Files Downloaded")}), Sep(),
                 E("&Print..."), E("E&xit")}},
      EditMenu(),
      {"&Window", {E("&Cascade"), E("&Tile"), E("&Arrange Icons"), E("Close &All Except Front"),
                   E("&Remember Window Size and Position")}},
      {"&Sign Off", {E("&Sign Off"), E("&Switch Screen Name")}},
      {"&Help", std::move(help)},
  };
}

}  // namespace

const std::vector<std::string>& KnownClientVersions() {
  static const std::vector<std::string> versions{"9.0", "8.0", "7.0", "6.0", "5.0", "4.0", "3.0", "2.5"};
  return versions;
}

bool IsKnownClientVersion(std::string_view version) {
  const auto& known = KnownClientVersions();
  return std::find(known.begin(), known.end(), version) != known.end();
}

bool UsesReadOnlyTranscript(std::string_view version) {
  return version == "9.0" || version == "8.0" || version == "7.0";
}

std::vector<MenuSpec> ClientMenuBar(std::string_view version) {
  if (version == "2.5") return Bar25();
  if (version == "3.0") return Bar30();
  if (version == "9.0") {
    return BarFrom40("What's New in AOL 9.0", {E("AOL 9.0 Optimized Features"), E("AOL &Help Community")});
  }
  if (!IsKnownClientVersion(version)) return {};
  return BarFrom40("What's New in AOL " + std::string(version), {});
}

}  // namespace wavecrest::sim
