#include "app/console/state_json.h"

#include "core/bot.h"
#include "core/control_characters.h"
#include "core/text.h"

#include <cstdio>
#include <vector>

namespace wavecrest {
namespace {

class JsonObject {
 public:
  JsonObject& Add(std::string_view key, std::string_view raw) {
    text_ += (text_.size() > 1 ? "," : "") + JsonString(key) + ":" + std::string(raw);
    return *this;
  }
  JsonObject& Text(std::string_view key, std::string_view value) { return Add(key, JsonString(value)); }
  JsonObject& Bool(std::string_view key, bool value) { return Add(key, value ? "true" : "false"); }
  JsonObject& Int(std::string_view key, long long value) { return Add(key, std::to_string(value)); }
  std::string Done() const { return text_ + "}"; }

 private:
  std::string text_ = "{";
};

std::string ListJson(const ListBox& list) {
  std::string items = "[";
  for (std::size_t i = 0; i < list.items.size(); ++i) items += (i ? "," : "") + JsonString(list.items[i]);
  items += "]";
  return JsonObject().Add("items", items).Int("listIndex", list.listIndex).Text("toolTipText", list.toolTipText).Done();
}

std::string PlaceJson(const Twips& place) {
  return JsonObject()
      .Int("left", place.left)
      .Int("top", place.top)
      .Int("width", place.width)
      .Int("height", place.height)
      .Done();
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  const std::string utf8 = ToUtf8(text);
  for (std::size_t i = 0; i < utf8.size();) {
    const char ch = utf8[i];
    // Every control character is escaped: DEL and the C1 ones are legal in
    // JSON strings but drive a terminal; escaped, they read back the same.
    if (const std::size_t control = ControlLength(utf8, i)) {
      const auto code = static_cast<unsigned char>(utf8[i + control - 1]);
      if (ch == '\n') {
        out += "\\n";
      } else if (ch == '\r') {
        out += "\\r";
      } else if (ch == '\t') {
        out += "\\t";
      } else {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(code));
        out += escaped;
      }
      i += control;
      continue;
    }
    if (ch == '"' || ch == '\\') out.push_back('\\');
    out.push_back(ch);
    ++i;
  }
  return out + "\"";
}

std::string StateJson(const Bot& bot) {
  const Form1& mainWindow = bot.form1;
  const Form2& matchesWindow = bot.form2;
  const std::string timers = JsonObject()
                                 .Bool("Timer1", bot.Timer1->Enabled())
                                 .Bool("tmrIdle", bot.tmrIdle->Enabled())
                                 .Bool("tmrCon", bot.tmrCon->Enabled())
                                 .Bool("tmrOrder", bot.tmrOrder->Enabled())
                                 .Bool("tmrRep", bot.tmrRep->Enabled())
                                 .Done();
  const std::string form1Json = JsonObject()
                                    .Text("caption", mainWindow.caption)
                                    .Bool("visible", mainWindow.visible)
                                    .Add("List1", ListJson(mainWindow.List1))
                                    .Add("List2", ListJson(mainWindow.List2))
                                    .Add("List3", ListJson(mainWindow.List3))
                                    .Add("List4", ListJson(mainWindow.List4))
                                    .Bool("Label1Visible", mainWindow.Label1Visible)
                                    .Text("Text1", mainWindow.Text1)
                                    .Add("Text1Place", PlaceJson(mainWindow.Text1Place))
                                    .Add("Picture1Place", PlaceJson(mainWindow.Picture1Place))
                                    .Text("lblSong2", mainWindow.lblSong2)
                                    .Int("progressPercent", mainWindow.progressPercent)
                                    .Text("Trig", mainWindow.Trig)
                                    .Text("lblFont", mainWindow.lblFont)
                                    .Text("lblColor", mainWindow.lblColor)
                                    .Text("lblFrontAscii", mainWindow.lblFrontAscii)
                                    .Text("lblFrontAsciiFont", mainWindow.lblFrontAsciiFont)
                                    .Text("lblFrontAsciiColor", mainWindow.lblFrontAsciiColor)
                                    .Text("lblEndAscii", mainWindow.lblEndAscii)
                                    .Text("lblEndAsciiFont", mainWindow.lblEndAsciiFont)
                                    .Text("lblEndAsciiColor", mainWindow.lblEndAsciiColor)
                                    .Text("lblHandle", mainWindow.lblHandle)
                                    .Text("lblLoad", mainWindow.lblLoad)
                                    .Text("lblDir", mainWindow.lblDir)
                                    .Text("lblExt", mainWindow.lblExt)
                                    .Text("lblSi", mainWindow.lblSi)
                                    .Text("lblSong", mainWindow.lblSong)
                                    .Text("lblReason", mainWindow.lblReason)
                                    .Text("lblHour", mainWindow.lblHour)
                                    .Text("lblMins", mainWindow.lblMins)
                                    .Add("timers", timers)
                                    .Done();
  const std::string form2Json = JsonObject()
                                    .Bool("loaded", matchesWindow.loaded)
                                    .Bool("visible", matchesWindow.visible)
                                    .Text("caption", matchesWindow.caption)
                                    .Add("List1", ListJson(matchesWindow.List1))
                                    .Bool("Command1Enabled", matchesWindow.Command1Enabled)
                                    .Bool("Command2Enabled", matchesWindow.Command2Enabled)
                                    .Done();
  return JsonObject().Add("Form1", form1Json).Add("Form2", form2Json).Done();
}

}  // namespace wavecrest
