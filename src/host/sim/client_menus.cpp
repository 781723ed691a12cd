#include "host/sim/client_menus.h"

#include "host/client_version.h"

namespace wavecrest::sim {
namespace {

using Entries = std::vector<MenuEntrySpec>;

MenuEntrySpec Item(std::string text) { return MenuEntrySpec{std::move(text), {}}; }
MenuEntrySpec Separator() { return MenuEntrySpec{}; }
MenuEntrySpec Popup(std::string text, Entries children) { return MenuEntrySpec{std::move(text), std::move(children)}; }

// Every version's File menu: the document entries, the version's own
// entries between two separators, then printing and leaving.
MenuSpec FileMenu(const Entries& ownEntries) {
  Entries entries{Item("&New"), Item("&Open..."), Item("&Save"), Item("Save &As..."), Separator()};
  entries.insert(entries.end(), ownEntries.begin(), ownEntries.end());
  entries.insert(entries.end(), {Separator(), Item("&Print..."), Item("E&xit")});
  return {"&File", std::move(entries)};
}

MenuEntrySpec DownloadManager() {
  return Popup("&Download Manager", {Item("Show Files to Download"), Item("Show Files Downloaded")});
}

MenuSpec EditMenu() {
  return {"&Edit",
          {Item("&Undo\tCtrl+Z"), Separator(), Item("Cu&t\tCtrl+X"), Item("&Copy\tCtrl+C"), Item("&Paste\tCtrl+V"),
           Item("Select &All\tCtrl+A"), Separator(), Item("&Find in Top Window...")}};
}

// The first clients kept their session log in the File menu and their
// member tools in a Members menu.
std::vector<MenuSpec> Bar25() {
  return {
      FileMenu({Item("Logging...")}),
      EditMenu(),
      {"&Go To", {Item("&Lobby"), Item("&Network News"), Item("&Keyword...")}},
      {"&Mail", {Item("&Compose Mail"), Item("&Read New Mail"), Item("Check Mail You've &Sent")}},
      {"&Members", {Item("Send Instant Message"), Item("Get a Member's &Profile"), Item("Member &Directory")}},
      {"&Window", {Item("&Cascade"), Item("&Tile"), Item("Close &All")}},
      {"&Help", {Item("&Contents"), Item("&About America Online")}},
  };
}

// 3.0 moved the log to a Log Manager and spelled out its message entry.
std::vector<MenuSpec> Bar30() {
  return {
      FileMenu({Item("&Log Manager"), DownloadManager()}),
      EditMenu(),
      {"&Go To", {Item("&Sign Off"), Item("&Keyword..."), Item("&Favorite Places")}},
      {"&Mail", {Item("&Compose Mail"), Item("&Read New Mail"), Item("Check Mail You've &Sent")}},
      {"&Members",
       {Item("Send an Instant Message"), Item("Get a Member's &Profile"), Item("Member &Directory"),
        Item("&Buddy List")}},
      {"&Window", {Item("&Cascade"), Item("&Tile"), Item("Close &All")}},
      {"&Help", {Item("&Offline Help"), Item("&About America Online")}},
  };
}

// From 4.0 on, the member tools live in the toolbar; the menu bar keeps the
// window chores and a Help menu that names the release.
std::vector<MenuSpec> BarFrom40(const std::string& whatsNew, Entries extraHelp) {
  Entries help{Item("&Offline Help"), Item("Member &Services Online Help"), Separator(), Item(whatsNew)};
  help.insert(help.end(), extraHelp.begin(), extraHelp.end());
  help.push_back(Separator());
  help.push_back(Item("&About America Online"));
  return {
      FileMenu({Item("Open Picture &Gallery..."), DownloadManager()}),
      EditMenu(),
      {"&Window",
       {Item("&Cascade"), Item("&Tile"), Item("&Arrange Icons"), Item("Close &All Except Front"),
        Item("&Remember Window Size and Position")}},
      {"&Sign Off", {Item("&Sign Off"), Item("&Switch Screen Name")}},
      {"&Help", std::move(help)},
  };
}

}  // namespace

const std::vector<std::string>& KnownClientVersions() {
  static const std::vector<std::string> versions = [] {
    std::vector<std::string> texts;
    for (const ClientVersion& v : kClientVersions) texts.emplace_back(v.text);
    return texts;
  }();
  return versions;
}

bool IsKnownClientVersion(std::string_view version) { return FindClientVersion(version).has_value(); }

bool UsesReadOnlyTranscript(std::string_view version) { return RoomLayoutOf(version) == RoomLayout::From7; }

std::vector<MenuSpec> ClientMenuBar(std::string_view version) {
  if (version == "2.5") return Bar25();
  if (version == "3.0") return Bar30();
  if (version == "9.0") {
    return BarFrom40("What's New in AOL 9.0", {Item("AOL 9.0 Optimized Features"), Item("AOL &Help Community")});
  }
  if (!IsKnownClientVersion(version)) return {};
  return BarFrom40("What's New in AOL " + std::string(version), {});
}

}  // namespace wavecrest::sim
