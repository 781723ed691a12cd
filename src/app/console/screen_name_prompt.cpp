#include "app/console/screen_name_prompt.h"

#include "core/control_characters.h"
#include "core/diagnostics.h"
#include "core/dispatcher.h"
#include "core/form1.h"

#include <cstdio>
#include <string>

namespace wavecrest {
namespace {

void Show(const Form1& form, std::string_view member) {
  const std::string text = "enter current aol screen name: the box holds \"" + WithoutControlCharacters(form.Text1) +
                           "\", and only lines from that screen name are obeyed; answer with /screenname NAME (you "
                           "are \"" + WithoutControlCharacters(member) + "\")\n";
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace

void ScreenNamePrompt::AtStart(const Form1& form, std::string_view member) {
  if (form.Label1Visible) Show(form, member);
}

void ScreenNamePrompt::BeforeMemberLine(const Form1& form, std::string_view member, std::string_view line) {
  if (IsScreenNameInBox(form, member)) return;
  Diagnose("no answer to \"" + std::string(line) + "\": you are \"" + std::string(member) +
           "\", not the screen name in the box (\"" + form.Text1 + "\"); /screenname NAME sets it");
  if (shownForALine_) return;
  shownForALine_ = true;
  Show(form, member);
}

}  // namespace wavecrest
