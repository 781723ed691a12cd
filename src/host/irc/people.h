#pragma once

// The nicks in a channel, kept in the order the server gave them (NAMES)
// and then by join order. Nicks compare by the network's case mapping.

#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::irc {

class ChannelPeople {
 public:
  // One RPL_NAMREPLY (353) list: "@op +voiced plain" (several prefixes each
  // with multi-prefix, "nick!user@host" with userhost-in-names).
  void AddNamesReply(std::string_view names);
  // RPL_ENDOFNAMES (366): the gathered list replaces the current one.
  void EndNames();

  // Each returns whether the list changed.
  bool Add(std::string_view nick);
  bool Remove(std::string_view nick);
  bool Rename(std::string_view from, std::string_view to);
  void Clear();

  const std::vector<std::string>& Nicks() const { return nicks_; }

 private:
  std::vector<std::string> nicks_;
  std::vector<std::string> pending_;
};

}  // namespace wavecrest::irc
