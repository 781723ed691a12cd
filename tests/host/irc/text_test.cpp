#include "host/irc/text.h"

#include <gtest/gtest.h>

namespace wavecrest::irc {
namespace {

TEST(IrcChatHtmlToIrc, TagsColoursAndEntities) {
  using namespace std::string_view_literals;
  const struct {
    std::string_view html;
    const char* irc;
  } cases[] = {
      {"<b>bold</b> <i>it</i> <u>under</u>", "\x02" "bold\x02 \x1Dit\x1D \x1Funder\x1F"},
      {"<B>x</B>", "\x02x\x02"},
      {"<b><i><u>all</u></i></b> off", "\x02\x1D\x1F" "all\x0F off"},
      {"</b></u></i>closers first", "closers first"},
      {"</b></u></i><font face=\"times new roman\" color=#0000ff>.\xE2\x80\xA2<font face=\"times new roman\" "
       "color=#000000> trigger: <b>none</b> <font face=\"times new roman\" color=#0000ff>\xE2\x80\xA2.",
       "\x03" "12.\xE2\x80\xA2\x03 trigger: \x02none\x02 \x03" "12\xE2\x80\xA2."},
      {"<font color=#ff0000>red</font> plain", "\x03" "04red\x03 plain"},
      {"<font face=\"a>b\" color=\"#0000FF\">blue</font>", "\x03" "12blue\x03"},
      {"<font color='#00ff00' face=x>g<font color=#000000>k</font>g</font>", "\x03" "09g\x03k\x03" "09g\x03"},
      {"<font color=#000000>black</font> <font color=#333333>near</font> <font color=#7f7f7f>grey</font>",
       "black near \x03" "14grey\x03"},
      {"<font color=#fe0102>a<font color=red>b</font></font>c", "\x03" "04ab\x03" "c"},
      {"<font color=#12345>x</font><font color=#gg0000>y</font>", "xy"},
      {"<font color=#ff0000>r</font>5", "\x03" "04r\x0F" "5"},
      {"<font color=#ff0000>r</font><b>,5</b>", "\x03" "04r\x03\x02,5\x02"},
      {"<b><font color=#0000ff>k</font>,1</b>", "\x03" "12\x02k\x03,1\x02"},
      {"<font color=#0000ff>,1</font>", "\x03" "12\x02\x02,1\x03"},
      {"&amp; &lt;b&gt; &quot;q&quot; a&nbsp;&nbsp;b &#233; &#x263A; &bogus; & x", "& <b> \"q\" a  b \xC3\xA9 \xE2\x98\xBA &bogus; & x"},
      {"file\r\nQUIT :bye\0x&#13;&#10;"sv, "file  QUIT :bye x  "},
      {"\x01" "DCC SEND x\x01 \x02tab\there", "DCC SEND x tab here"},
      {"a < b <3 <br>c<span class=x>d</span>", "a < b <3 cd"},
      {"<b unterminated", "<b unterminated"},
  };
  for (const auto& c : cases) EXPECT_EQ(ChatHtmlToIrc(c.html), c.irc) << c.html;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

TEST(IrcSplitText, PiecesFitCarryFormattingAndKeepCharactersWhole) {
  const struct {
    const char* text;
    std::size_t limit;
    std::vector<std::string> pieces;
  } cases[] = {
      {"short", 10, {"short"}},
      {"", 10, {""}},
      {"one two three four", 9, {"one two", "three", "four"}},
      {"\x02" "bold \x03" "04,01red text here", 12, {"\x02" "bold", "\x02" "\x03" "04,01red", "\x03" "04,01\x02text", "\x03" "04,01\x02here"}},
      {"\x1D" "abcdefghijkl", 8, {"\x1D" "abcdefg", "\x1D" "hijkl"}},
      {"\x03" "04aaaa ,5", 9, {"\x03" "04aaaa", "\x03" "04\x02\x02,5"}},
      {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 9, {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "\xC3\xA9"}},
      {"\x03" "04" "xxxxxxxxxx", 8, {"\x03" "04xxxxx", "\x03" "04xxxxx"}},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> pieces = SplitIrcText(c.text, c.limit);
    EXPECT_EQ(pieces, c.pieces) << c.text;
    std::string visible;
    for (const std::string& piece : pieces) {
      EXPECT_LE(piece.size(), c.limit) << c.text;
      EXPECT_TRUE(IsValidUtf8(piece)) << c.text;
      visible += StripFormatting(piece);
    }
    std::string expected = StripFormatting(c.text);
    std::erase(expected, ' ');
    std::erase(visible, ' ');
    EXPECT_EQ(visible, expected) << "text lost or doubled: " << c.text;
  }
}

TEST(IrcFormattingCodes, StrippedForTheScannerAndStyledForTheWindow) {
  const struct {
    const char* irc;
    const char* visible;
    const char* html;
  } cases[] = {
      {"\x02" "p\x02 echo", "p echo", "<b>p</b> echo"},
      {"\x03" "04,12red\x03 \x03" "5x", "red x", "<font color=\"#ff0000\">red</font> <font color=\"#7f0000\">x</font>"},
      {"\x03" "04,x", ",x", "<font color=\"#ff0000\">,x</font>"},
      {"\x03" "123", "3", "<font color=\"#0000fc\">3</font>"},
      {"\x04" "00FF00,000000g\x04" "zz", "gzz", "<font color=\"#00ff00\">g</font>zz"},
      {"\x1D\x1F" "iu\x0F" "<&>\"", "iu<&>\"", "<i><u>iu</u></i>&lt;&amp;&gt;&quot;"},
      {"\x16\x1E\x11m\x07\x1B[31m", "m\x07\x1B[31m", "m[31m"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StripFormatting(c.irc), c.visible) << c.irc;
    EXPECT_EQ(IrcToChatHtml(c.irc), c.html) << c.irc;
  }
  EXPECT_EQ(RemoveControls("a\x1B[2Jb\x7F\tc"), "a[2Jbc");
}

}  // namespace
}  // namespace wavecrest::irc
