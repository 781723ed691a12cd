#include "core/chat_html.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wavecrest {
namespace {

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

Look Plain() { return {}; }

Look Styled(bool bold, bool italic, bool underline) {
  Look look;
  look.bold = bold;
  look.italic = italic;
  look.underline = underline;
  return look;
}

Look Bold() { return Styled(true, false, false); }

Look Coloured(std::uint32_t rgb, std::string face = "") {
  Look look;
  look.colour = rgb;
  look.face = std::move(face);
  return look;
}

TEST(ReadChatHtml, RunsOfTextInOneLook) {
  const struct {
    const char* html;
    std::vector<StyledRun> runs;
    Look end;
  } cases[] = {
      {"plain", {{Plain(), "plain"}}, Plain()},
      {"<b>bold</b> after", {{Bold(), "bold"}, {Plain(), " after"}}, Plain()},
      {"<B>open", {{Bold(), "open"}}, Bold()},
      {"<i><u>iu</u></i>", {{Styled(false, true, true), "iu"}}, Plain()},
      {"<b><b>x</b>y</b>z", {{Bold(), "xy"}, {Plain(), "z"}}, Plain()},
      {"</b></u></i>closers first", {{Plain(), "closers first"}}, Plain()},
      {"a<span class=x>b</span><br>c<!-- note -->", {{Plain(), "abc"}}, Plain()},
      // Each <font> is pushed and popped: the enclosing colour comes back.
      {"<font color=#ff0000>r<font color=#00ff00>g</font>r</font>p",
       {{Coloured(kRed), "r"}, {Coloured(kGreen), "g"}, {Coloured(kRed), "r"}, {Plain(), "p"}},
       Plain()},
      {"<font color=#fe0000 face=arial>a<font color=red>b<font face=''>c</font></font></font>",
       {{Coloured(0xFE0000, "arial"), "abc"}},
       Plain()},
      {"<font color=#12345>x</font><font color=#gg0000>y", {{Plain(), "xy"}}, Plain()},
      // Quotes hide '>' and take any order.
      {"<font face=\"a>b\" color=\"#0000FF\">blue</font>", {{Coloured(kBlue, "a>b"), "blue"}}, Plain()},
      {"<font color='#00ff00' face=x>g", {{Coloured(kGreen, "x"), "g"}}, Coloured(kGreen, "x")},
      {"<b>x</b><font color=#ff0000>", {{Bold(), "x"}}, Coloured(kRed)},
      // A '<' that opens no tag, or a tag that never ends, is text.
      {"a < b <3 <b unterminated", {{Plain(), "a < b <3 <b unterminated"}}, Plain()},
      {"&amp; &lt;b&gt; &quot;q&quot; &apos;a&nbsp;&nbsp;b &#233; &#x263A; &bogus; & x",
       {{Plain(), "& <b> \"q\" 'a  b \xC3\xA9 \xE2\x98\xBA &bogus; & x"}},
       Plain()},
      // Control characters are the outputs' business: passed on, decoded ones too.
      {"a\x01<b>\r\n</b>&#27;&#155;", {{Plain(), "a\x01"}, {Bold(), "\r\n"}, {Plain(), "\x1b\xC2\x9B"}}, Plain()},
  };
  for (const auto& c : cases) {
    const StyledText read = ReadChatHtml(c.html);
    EXPECT_EQ(read.runs, c.runs) << c.html;
    EXPECT_EQ(read.end, c.end) << c.html;
  }
}

}  // namespace
}  // namespace wavecrest
