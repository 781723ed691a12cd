#include "host/irc/people.h"

#include "host/irc/message.h"

#include <algorithm>

namespace wavecrest::irc {

namespace {

// The prefixes a server puts before a nick for its channel modes.
constexpr std::string_view kModePrefixes = "@+%&~!";

std::string_view BareNick(std::string_view entry) {
  while (!entry.empty() && kModePrefixes.find(entry.front()) != std::string_view::npos) entry.remove_prefix(1);
  return entry.substr(0, std::min(entry.find('!'), entry.size()));
}

}  // namespace

void ChannelPeople::AddNamesReply(std::string_view names) {
  while (!names.empty()) {
    const std::size_t end = std::min(names.find(' '), names.size());
    const std::string_view nick = BareNick(names.substr(0, end));
    names.remove_prefix(std::min(end + 1, names.size()));
    const bool known = std::any_of(pending_.begin(), pending_.end(),
                                   [&](const std::string& other) { return SameNick(other, nick); });
    if (!nick.empty() && !known) pending_.emplace_back(nick);
  }
}

void ChannelPeople::EndNames() {
  nicks_ = std::move(pending_);
  pending_.clear();
}

bool ChannelPeople::Add(std::string_view nick) {
  if (nick.empty()) return false;
  const bool known = std::any_of(nicks_.begin(), nicks_.end(),
                                 [&](const std::string& other) { return SameNick(other, nick); });
  if (known) return false;
  nicks_.emplace_back(nick);
  return true;
}

bool ChannelPeople::Remove(std::string_view nick) {
  const auto it = std::find_if(nicks_.begin(), nicks_.end(),
                               [&](const std::string& other) { return SameNick(other, nick); });
  if (it == nicks_.end()) return false;
  nicks_.erase(it);
  return true;
}

bool ChannelPeople::Rename(std::string_view from, std::string_view to) {
  const auto it = std::find_if(nicks_.begin(), nicks_.end(),
                               [&](const std::string& other) { return SameNick(other, from); });
  if (it == nicks_.end() || *it == to) return false;
  *it = std::string(to);
  return true;
}

void ChannelPeople::Clear() {
  nicks_.clear();
  pending_.clear();
}

}  // namespace wavecrest::irc
