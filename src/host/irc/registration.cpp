#include "host/irc/registration.h"

#include <algorithm>
#include <iterator>

namespace wavecrest::irc {

namespace {

// AUTHENTICATE carries at most 400 bytes of encoded data a line; a last
// line of exactly 400 is followed by "+".
constexpr std::size_t kAuthenticateChunk = 400;
// What one CAP REQ may hold, so the line stays within 512 bytes.
constexpr std::size_t kRequestBytes = 400;

const std::string& Param(const Message& message, std::size_t index) {
  static const std::string kEmpty;
  return index < message.params.size() ? message.params[index] : kEmpty;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find(' '), text.size());
    if (end > 0) words.emplace_back(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return words;
}

bool ListHas(std::string_view commaList, std::string_view item) {
  while (!commaList.empty()) {
    const std::size_t end = std::min(commaList.find(','), commaList.size());
    if (commaList.substr(0, end) == item) return true;
    commaList.remove_prefix(std::min(end + 1, commaList.size()));
  }
  return false;
}

bool Wanted(std::string_view capability) {
  return std::any_of(std::begin(kWantedCapabilities), std::end(kWantedCapabilities),
                     [&](const char* wanted) { return capability == wanted; });
}

const char* MechanismName(SaslMechanism mechanism) { return mechanism == SaslMechanism::kPlain ? "PLAIN" : "EXTERNAL"; }

}  // namespace

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (std::size_t k = 0; k < 4; ++k) out += k <= n ? kDigits[(group >> (18 - 6 * k)) & 0x3F] : '=';
  }
  return out;
}

Registration::Registration(SaslLogin login, LineSink& sink, double now)
    : login_(std::move(login)), sink_(&sink), startedAt_(now) {}

void Registration::Send(std::string_view command, const std::vector<std::string>& params) {
  if (sink_ != nullptr) sink_->SendLine(FormatLine(command, params));
}

bool Registration::LoginRequired() const { return login_.account.has_value(); }

void Registration::Fail(std::string reason) {
  if (state_ == State::kFailed) return;
  state_ = State::kFailed;
  failure_ = std::move(reason);
}

void Registration::End() {
  if (state_ != State::kNegotiating) return;
  state_ = State::kEnded;
  if (!capEndSent_ && !welcomed_) Send("CAP", {"END"});
  capEndSent_ = true;
}

void Registration::Open() { Send("CAP", {"LS", "302"}); }

void Registration::OnMessage(const Message& message) {
  if (state_ == State::kFailed) return;
  const std::string& command = message.command;
  if (command == "CAP") return OnCap(message);
  if (command == "AUTHENTICATE") return OnAuthenticate(message);
  if (command == "421" && Param(message, 1) == "CAP" && state_ == State::kNegotiating) {
    // A server without capabilities: it lets the client in on NICK and USER.
    if (LoginRequired()) return Fail("the server offers no SASL login (it knows no capabilities)");
    state_ = State::kEnded;
    capEndSent_ = true;
    return;
  }
  if (command.size() == 3 && command >= "900" && command <= "908") OnSaslNumeric(message);
}

// "CAP * LS * :a b=c" (more to come) … "CAP * LS :d"; ACK, NAK, NEW, DEL.
void Registration::OnCap(const Message& message) {
  const std::string& sub = Param(message, 1);
  const bool more = message.params.size() >= 4 && message.params[2] == "*";
  const std::string& list = message.params.empty() ? Param(message, 0) : message.params.back();
  if (sub == "LS" && !listComplete_) {
    for (const std::string& word : Words(list)) {
      const std::size_t equals = std::min(word.find('='), word.size());
      offered_[word.substr(0, equals)] = word.substr(std::min(equals + 1, word.size()));
    }
    if (!more) OnListComplete();
  } else if (sub == "ACK" || sub == "NAK") {
    OnAcknowledged(list, sub == "ACK");
  } else if (sub == "NEW") {
    std::vector<std::string> fresh;
    for (const std::string& word : Words(list)) {
      const std::string name = word.substr(0, std::min(word.find('='), word.size()));
      offered_[name] = word.substr(std::min(name.size() + 1, word.size()));
      if (Wanted(name) && name != "sasl" && !enabled_.contains(name)) fresh.push_back(name);
    }
    if (!fresh.empty()) Request(fresh);
  } else if (sub == "DEL") {
    for (const std::string& word : Words(list)) {
      enabled_.erase(word);
      offered_.erase(word);
    }
  }
}

void Registration::OnListComplete() {
  listComplete_ = true;
  if (state_ != State::kNegotiating) return;
  const auto sasl = offered_.find("sasl");
  const auto offers = [&](std::string_view name) {
    return sasl != offered_.end() && (sasl->second.empty() || ListHas(sasl->second, name));
  };
  if (login_.certificate && offers("EXTERNAL")) {
    mechanism_ = SaslMechanism::kExternal;
  } else if (login_.account && offers("PLAIN")) {
    mechanism_ = SaslMechanism::kPlain;
  } else if (login_.account) {
    return Fail(sasl == offered_.end() ? "the server offers no SASL login"
                                       : "the server offers no SASL PLAIN login (it offers " + sasl->second + ")");
  }
  std::vector<std::string> wanted;
  for (const auto& [name, value] : offered_) {
    if (Wanted(name) && (name != "sasl" || mechanism_ != SaslMechanism::kNone)) wanted.push_back(name);
  }
  if (wanted.empty()) return End();
  Request(wanted);
}

void Registration::Request(const std::vector<std::string>& capabilities) {
  std::string list;
  for (const std::string& name : capabilities) {
    if (!list.empty() && list.size() + 1 + name.size() > kRequestBytes) {
      Send("CAP", {"REQ", list});
      ++requestsOpen_;
      list.clear();
    }
    list += (list.empty() ? "" : " ") + name;
  }
  if (list.empty()) return;
  Send("CAP", {"REQ", list});
  ++requestsOpen_;
}

// A NAK refuses the whole request: each of a refused set is asked for again
// alone, so one the server will not give costs no other.
void Registration::OnAcknowledged(const std::string& list, bool acknowledged) {
  const std::vector<std::string> names = Words(list);
  if (acknowledged) {
    for (const std::string& name : names) {
      if (!name.empty() && name.front() == '-') {
        enabled_.erase(name.substr(1));
      } else {
        enabled_.insert(name);
      }
    }
  } else if (names.size() > 1) {
    for (const std::string& name : names) Request({name});
  }
  if (requestsOpen_ > 0) --requestsOpen_;
  if (requestsOpen_ == 0) AfterRequests();
}

void Registration::AfterRequests() {
  if (state_ != State::kNegotiating || authenticating_) return;
  if (mechanism_ != SaslMechanism::kNone && Enabled("sasl")) {
    authenticating_ = true;
    return Send("AUTHENTICATE", {MechanismName(mechanism_)});
  }
  if (LoginRequired()) return Fail("the server would not enable SASL");
  End();
}

std::string Registration::EncodedSecret() const {
  if (!login_.account) return {};
  return Base64(std::string("\0", 1) + *login_.account + std::string("\0", 1) + login_.password);
}

void Registration::OnAuthenticate(const Message& message) {
  if (!authenticating_ || Param(message, 0) != "+") return;
  if (mechanism_ == SaslMechanism::kExternal) return Send("AUTHENTICATE", {"+"});
  const std::string encoded = EncodedSecret();
  for (std::size_t at = 0; at < encoded.size(); at += kAuthenticateChunk) {
    Send("AUTHENTICATE", {encoded.substr(at, kAuthenticateChunk)});
  }
  if (encoded.size() % kAuthenticateChunk == 0) Send("AUTHENTICATE", {"+"});
}

void Registration::OnSaslNumeric(const Message& message) {
  const std::string& command = message.command;
  const std::string& text = message.params.empty() ? Param(message, 0) : message.params.back();
  if (command == "900") {
    account_ = Param(message, 2);
    return;
  }
  if (command == "901") return account_.reset();
  if (!authenticating_) return;
  const std::string as = mechanism_ == SaslMechanism::kPlain ? " as " + *login_.account : " by certificate";
  if (command == "903") {
    authenticating_ = false;
    return End();
  }
  if (command == "902" || command == "904" || command == "905" || command == "906") {
    authenticating_ = false;
    return Fail("the SASL " + std::string(MechanismName(mechanism_)) + " login" + as + " failed: " + text +
                " (" + command + ")");
  }
}

void Registration::OnWelcome() {
  welcomed_ = true;
  if (state_ != State::kNegotiating) return;
  if (mechanism_ != SaslMechanism::kNone || LoginRequired()) {
    return Fail("the server let the client in before the SASL login was done");
  }
  End();
}

void Registration::OnTick(double now) {
  if (state_ == State::kFailed || welcomed_) return;
  if (now - startedAt_ >= kRegistrationSeconds) {
    return Fail("the server did not let the client in within " + std::to_string(static_cast<int>(kRegistrationSeconds)) +
                " s");
  }
  if (state_ == State::kNegotiating && !listComplete_ && now - startedAt_ >= kCapListSeconds) {
    if (LoginRequired()) return Fail("the server did not finish its capability list within 15 s");
    listComplete_ = true;
    End();
  }
}

double Registration::NextDeadline() const {
  if (state_ == State::kFailed || welcomed_) return startedAt_ + 1e9;
  if (state_ == State::kNegotiating && !listComplete_) return startedAt_ + kCapListSeconds;
  return startedAt_ + kRegistrationSeconds;
}

}  // namespace wavecrest::irc
