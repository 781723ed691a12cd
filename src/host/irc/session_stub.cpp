// Placeholder bodies so the declarations link; replaced by the real ones.
#include "host/irc/session.h"

namespace wavecrest::irc {
Session::Session(SessionConfig config, SessionListener& listener)
    : config_(std::move(config)), listener_(listener), nick_(config_.nick) {}
void Session::OnConnected(double) {}
void Session::OnLineReceived(std::string_view, double) {}
void Session::OnDisconnected(double) {}
SessionAction Session::OnTick(double) { return SessionAction::kNone; }
double Session::NextWakeup(double) const { return kIdleWakeupSeconds; }
double Session::ReconnectDelay() { return reconnectBackoff_.NextDelay(); }
std::uint64_t Session::Say(std::string_view, double) { return 0; }
std::uint64_t Session::LinesSent() const { return linesSent_; }
bool Session::Joined() const { return joined_; }
const std::string& Session::Nick() const { return nick_; }
void Session::Quit(const std::string&, double) {}
}  // namespace wavecrest::irc
