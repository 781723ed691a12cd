#pragma once

// The main window's state as plain data. The window is the model: its labels,
// text boxes and list boxes hold the settings, the modes and the lists, under
// the names the controls have. Views render this and hold nothing of their own.
//
// Nested event pumping means a command can run inside another command's pause:
// never keep a reference into these fields across a pump; read them afresh.

#include "core/settings_keys.h"

#include <string>
#include <vector>

namespace wavecrest {

// The version comes from the build (the project's version), so the caption,
// the banner and --version cannot disagree.
inline constexpr const char* kCaptionBase = "wavecrest system - " WAVECREST_VERSION;
inline constexpr const char* kSong2DesignText = "wavecrest system by quillon       ";

struct ListBox {
  std::vector<std::string> items;
  int listIndex = -1;  // the selected row; -1 when none
  std::string toolTipText;

  int ListCount() const { return static_cast<int>(items.size()); }
  bool HasRow(int row) const { return row >= 0 && row < ListCount(); }
  // A row's text; empty for a row the list does not have.
  std::string RowText(int row) const { return HasRow(row) ? items[static_cast<std::size_t>(row)] : std::string(); }
  // The selected row's text; empty when nothing is selected.
  std::string SelectedText() const { return RowText(listIndex); }
  void Clear() {
    items.clear();
    listIndex = -1;
  }
};

// A control's place on the window, in twips (15 twips to a pixel).
struct Twips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Twips&) const = default;
};

struct Form1 {
  // The window itself.
  std::string caption = kCaptionBase;
  bool visible = false;

  // Controls the member sees.
  ListBox List1;  // the command list, kept in sorted order
  ListBox List2;  // the library's display names
  bool Label1Visible = true;
  std::string Text1 = kScreenNamePlaceholder;  // change only through Bot::SetText1
  Twips Label1Place{230, 1560, 1455, 375};
  Twips Text1Place{1630, 1620, 1455, 315};
  Twips Picture1Place{3120, 1620, 1060, 315};
  std::string lblSong2 = kSong2DesignText;
  // The progress bar as the last Timer1 tick left it: the whole second and
  // the length it is drawn for, and the percent printed on it. The window
  // repaints Picture1 from these (DrawProgress).
  int Picture1Position = 0;
  double Picture1Duration = 0;
  int progressPercent = 0;

  // Controls that hold state and are never shown.
  ListBox List3;  // the library's full paths, sorted
  ListBox List4;  // library positions of the last search's matches
  std::string Trig;
  std::string lblFont, lblColor;
  std::string lblFrontAscii, lblFrontAsciiFont, lblFrontAsciiColor;
  std::string lblEndAscii, lblEndAsciiFont, lblEndAsciiColor;
  std::string lblHandle, lblLoad, lblDir, lblExt;
  std::string lblSi = "off";
  std::string lblSong, lblArtist, lblTitle, lblAlbum, lblYear, lblComment;
  std::string lblReason;
  std::string lblHour = "0";
  std::string lblMins = "0";
};

// Silent mode ("si"): plays and confirmations are not announced in the room.
inline bool SilentPlay(const Form1& form) { return form.lblSi == "on"; }

}  // namespace wavecrest
