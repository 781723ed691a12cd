#include "core/reply.h"

#include "core/bot.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

Form1 StartLook() {
  Form1 form;
  form.lblFrontAsciiFont = "times new roman";
  form.lblFrontAsciiColor = "0000ff";
  form.lblFrontAscii = ".·•×";
  form.lblFont = "times new roman";
  form.lblColor = "000000";
  form.lblEndAsciiFont = "times new roman";
  form.lblEndAsciiColor = "0000ff";
  form.lblEndAscii = "×•·.";
  return form;
}

TEST(ComposeReply, StartLookIsByteExact) {
  EXPECT_EQ(ComposeReply(StartLook(), "> current trigger: <b>none</b> "),
            "</b></u></i><font face=\"times new roman\" color=#0000ff>.·•×<font face=\"times new roman\" "
            "color=#000000> current trigger: <b>none</b> <font face=\"times new roman\" color=#0000ff>×•·.");
}

TEST(ComposeReply, EachLabelLandsInItsOwnPlace) {
  const std::string body = "> x ";
  const std::string base = ComposeReply(StartLook(), body);
  Form1 form = StartLook();
  form.lblFrontAscii = "*~*";
  EXPECT_EQ(ComposeReply(form, body),
            "</b></u></i><font face=\"times new roman\" color=#0000ff>*~*<font face=\"times new roman\" "
            "color=#000000> x <font face=\"times new roman\" color=#0000ff>×•·.");

  form = StartLook();
  form.lblFrontAscii.clear();
  EXPECT_NE(ComposeReply(form, body).find("color=#0000ff><font face=\""), std::string::npos);

  // Values are not escaped or defaulted: an empty colour leaves "#" bare.
  form = StartLook();
  form.lblColor.clear();
  form.lblFont = "a\"b";
  EXPECT_NE(ComposeReply(form, body).find("<font face=\"a\"b\" color=#> x "), std::string::npos);
}

TEST(SendReply, ReadsTheLabelsAfreshEveryTime) {
  testing::TestBot t;
  t.bot.form1 = StartLook();
  SendReply(t.bot, "> one ");
  t.bot.form1.lblColor = "ff0000";
  SendReply(t.bot, "> two ");
  ASSERT_EQ(t.chat.lines.size(), 2u);
  EXPECT_NE(t.chat.lines[0].find("color=#000000> one "), std::string::npos);
  EXPECT_NE(t.chat.lines[1].find("color=#ff0000> two "), std::string::npos);
}

}  // namespace
}  // namespace wavecrest
