#include "app/console/state_json.h"

#include "core/bot.h"
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

std::string List(const ListBox& list) {
  std::string items = "[";
  for (std::size_t i = 0; i < list.items.size(); ++i) items += (i ? "," : "") + JsonString(list.items[i]);
  items += "]";
  return JsonObject().Add("items", items).Int("listIndex", list.listIndex).Text("toolTipText", list.toolTipText).Done();
}

std::string Place(const Twips& t) {
  return JsonObject().Int("left", t.left).Int("top", t.top).Int("width", t.width).Int("height", t.height).Done();
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char ch : ToUtf8(text)) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out.push_back(ch);
        }
    }
  }
  return out + "\"";
}

std::string StateJson(Bot& bot) {
  const Form1& f = bot.form1;
  const Form2& m = bot.form2;
  const std::string timers = JsonObject()
                                 .Bool("Timer1", bot.Timer1->Enabled())
                                 .Bool("tmrIdle", bot.tmrIdle->Enabled())
                                 .Bool("tmrCon", bot.tmrCon->Enabled())
                                 .Bool("tmrOrder", bot.tmrOrder->Enabled())
                                 .Bool("tmrRep", bot.tmrRep->Enabled())
                                 .Done();
  const std::string form1 = JsonObject()
                                .Text("caption", f.caption)
                                .Bool("visible", f.visible)
                                .Add("List1", List(f.List1))
                                .Add("List2", List(f.List2))
                                .Add("List3", List(f.List3))
                                .Add("List4", List(f.List4))
                                .Bool("Label1Visible", f.Label1Visible)
                                .Text("Text1", f.Text1)
                                .Add("Text1Place", Place(f.Text1Place))
                                .Add("Picture1Place", Place(f.Picture1Place))
                                .Text("lblSong2", f.lblSong2)
                                .Int("progressPercent", f.progressPercent)
                                .Text("Trig", f.Trig)
                                .Text("lblFont", f.lblFont)
                                .Text("lblColor", f.lblColor)
                                .Text("lblFrontAscii", f.lblFrontAscii)
                                .Text("lblFrontAsciiFont", f.lblFrontAsciiFont)
                                .Text("lblFrontAsciiColor", f.lblFrontAsciiColor)
                                .Text("lblEndAscii", f.lblEndAscii)
                                .Text("lblEndAsciiFont", f.lblEndAsciiFont)
                                .Text("lblEndAsciiColor", f.lblEndAsciiColor)
                                .Text("lblHandle", f.lblHandle)
                                .Text("lblLoad", f.lblLoad)
                                .Text("lblDir", f.lblDir)
                                .Text("lblExt", f.lblExt)
                                .Text("lblSi", f.lblSi)
                                .Text("lblSong", f.lblSong)
                                .Text("lblReason", f.lblReason)
                                .Text("lblHour", f.lblHour)
                                .Text("lblMins", f.lblMins)
                                .Add("timers", timers)
                                .Done();
  const std::string form2 = JsonObject()
                                .Bool("loaded", m.loaded)
                                .Bool("visible", m.visible)
                                .Text("caption", m.caption)
                                .Add("List1", List(m.List1))
                                .Bool("Command1Enabled", m.Command1Enabled)
                                .Bool("Command2Enabled", m.Command2Enabled)
                                .Done();
  return JsonObject().Add("Form1", form1).Add("Form2", form2).Done();
}

}  // namespace wavecrest
