#pragma once

#include "core/command_result.h"
#include "core/form1.h"

#include <string>
#include <string_view>

namespace wavecrest {

class Bot;

// How every reply begins: it closes what a member's line may have left open.
// A line of the room that begins so is the system's own.
inline constexpr std::string_view kReplyStart = "</b></u></i>";

// One chat line in the member's look: the front decoration and the body's
// font, the body (which begins with "> " and closes the open font tag), then
// the end decoration. Reads the eight appearance labels afresh every call.
std::string ComposeReply(const Form1& form, std::string_view body);

// Composes `body` and says it in the room through the chat client.
void SendReply(Bot& bot, std::string_view body);

// A handler's last reply: says it, and the line counts as answered.
CommandResult Answer(Bot& bot, std::string_view body);

}  // namespace wavecrest
