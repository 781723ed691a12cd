#pragma once

// Finding the chat client's chat room and its entry box, and telling the
// client's version from its menu bar.
//
// Every routine is stateless: it searches the client's windows afresh from
// its frame on each call and keeps no handle, so a room that is closed and
// reopened, or a client restarted, is simply found again next time. None
// fails loudly: a missing window gives 0, an unreadable menu gives "9.0".

#include "host/host_windows.h"

#include <string>

namespace wavecrest {

// The window classes of the client, matched exactly.
inline constexpr const char* kClassFrame = "AOL Frame25";
inline constexpr const char* kClassMdi = "MDIClient";
inline constexpr const char* kClassChild = "AOL Child";
inline constexpr const char* kClassRichText = "RICHCNTL";
inline constexpr const char* kClassRichTextReadOnly = "RICHCNTLREADONLY";
inline constexpr const char* kClassListBox = "_AOL_Listbox";
inline constexpr const char* kClassIcon = "_AOL_Icon";
inline constexpr const char* kClassStatic = "_AOL_Static";

// The first inner window of the client that has a rich-text box, a list
// box, an icon and a static text among its children; 0 when none does.
WindowHandle FindChatRoom(HostWindows& host);

// The room's entry box in the layout of clients before 7.0: the room's
// second "RICHCNTL" child (the first is the transcript). 0 when none.
WindowHandle FindChatInput(HostWindows& host);

// The room's entry box in the 7.0–9.0 layout: the first "RICHCNTL" child
// after the read-only transcript box. 0 when none.
WindowHandle FindChatInput7(HostWindows& host);

// The text of a window: empty for window 0 or an empty box.
std::string GetControlText(HostWindows& host, WindowHandle window);

// The running client's version, read from its menu entries: "9.0", "8.0",
// "7.0", "6.0", "5.0", "4.0", "3.0" or "2.5"; "9.0" when nothing is
// recognised (no client, no menu bar, no matching entry). Never empty.
std::string AolVersion(HostWindows& host);

}  // namespace wavecrest
