#pragma once

// The people in a channel, in the order the server gave them (NAMES) and
// then by join order, each with the services account the network says they
// are logged in to. Found by nick under the network's case mapping: every
// change costs the same whether the channel holds ten people or a hundred
// thousand. A server may send names for ever; at most kMaxPeople are kept.

#include "host/irc/case_mapping.h"

#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wavecrest::irc {

inline constexpr std::size_t kMaxPeople = 200000;

struct Person {
  std::string nick;
  std::optional<std::string> account;  // nullopt: not logged in, or not known
};

class ChannelPeople {
 public:
  explicit ChannelPeople(CaseMapping mapping = CaseMapping::kRfc1459) : mapping_(mapping) {}

  // The server's rules changed: names are found under `mapping` from now on.
  // Names that become one keep the first.
  void SetCaseMapping(CaseMapping mapping);

  // One RPL_NAMREPLY (353) entry: a nick, its mode prefixes already removed
  // ("nick!user@host" with userhost-in-names: the nick is taken).
  void AddName(std::string_view entry);
  // RPL_ENDOFNAMES (366): the gathered names replace the list. Accounts
  // known for a nick still listed are kept.
  void EndNames();

  // Each returns whether the list changed.
  bool Add(std::string_view nick, std::optional<std::string> account = std::nullopt);
  bool Remove(std::string_view nick);
  bool Rename(std::string_view from, std::string_view to);
  void Clear();

  // The account of a person in the list (nullopt for none, or not known).
  void SetAccount(std::string_view nick, std::optional<std::string> account);
  const Person* Find(std::string_view nick) const;

  std::size_t Count() const { return people_.order.size(); }
  std::vector<std::string> Nicks() const;

 private:
  // A list in order, and each nick's place in it by its folded form.
  struct Roster {
    std::list<Person> order;
    std::unordered_map<std::string, std::list<Person>::iterator> byName;
  };
  static bool Insert(Roster& roster, CaseMapping mapping, Person person);
  static void Rekey(Roster& roster, CaseMapping mapping);

  CaseMapping mapping_;
  Roster people_;
  Roster pending_;  // names gathered since the last 366
};

}  // namespace wavecrest::irc
