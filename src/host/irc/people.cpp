#include "host/irc/people.h"

#include <algorithm>

namespace wavecrest::irc {

bool ChannelPeople::Insert(Roster& roster, CaseMapping mapping, Person person) {
  if (person.nick.empty() || roster.order.size() >= kMaxPeople) return false;
  const auto [slot, added] = roster.byName.try_emplace(Fold(mapping, person.nick));
  if (!added) return false;
  slot->second = roster.order.insert(roster.order.end(), std::move(person));
  return true;
}

void ChannelPeople::Rekey(Roster& roster, CaseMapping mapping) {
  std::list<Person> order = std::move(roster.order);
  roster = Roster{};
  for (Person& person : order) Insert(roster, mapping, std::move(person));
}

void ChannelPeople::SetCaseMapping(CaseMapping mapping) {
  if (mapping == mapping_) return;
  mapping_ = mapping;
  Rekey(people_, mapping_);
  Rekey(pending_, mapping_);
}

void ChannelPeople::AddName(std::string_view entry) {
  const std::string_view nick = entry.substr(0, std::min(entry.find('!'), entry.size()));
  const Person* known = Find(nick);
  Insert(pending_, mapping_, Person{std::string(nick), known ? known->account : std::nullopt});
}

void ChannelPeople::EndNames() {
  people_ = std::move(pending_);
  pending_ = Roster{};
}

bool ChannelPeople::Add(std::string_view nick, std::optional<std::string> account) {
  return Insert(people_, mapping_, Person{std::string(nick), std::move(account)});
}

bool ChannelPeople::Remove(std::string_view nick) {
  const auto it = people_.byName.find(Fold(mapping_, nick));
  if (it == people_.byName.end()) return false;
  people_.order.erase(it->second);
  people_.byName.erase(it);
  return true;
}

bool ChannelPeople::Rename(std::string_view from, std::string_view to) {
  const auto it = people_.byName.find(Fold(mapping_, from));
  if (it == people_.byName.end() || it->second->nick == to || to.empty()) return false;
  const auto place = it->second;
  std::string key = Fold(mapping_, to);
  if (key != it->first) {
    // Someone the list already holds under the new name is stale: the
    // server would not have let the rename happen.
    if (const auto stale = people_.byName.find(key); stale != people_.byName.end()) {
      people_.order.erase(stale->second);
      people_.byName.erase(stale);
    }
    people_.byName.erase(Fold(mapping_, from));
    people_.byName.emplace(std::move(key), place);
  }
  place->nick = std::string(to);
  return true;
}

void ChannelPeople::Clear() {
  people_ = Roster{};
  pending_ = Roster{};
}

void ChannelPeople::SetAccount(std::string_view nick, std::optional<std::string> account) {
  const auto it = people_.byName.find(Fold(mapping_, nick));
  if (it != people_.byName.end()) it->second->account = std::move(account);
}

const Person* ChannelPeople::Find(std::string_view nick) const {
  const auto it = people_.byName.find(Fold(mapping_, nick));
  return it == people_.byName.end() ? nullptr : &*it->second;
}

std::vector<std::string> ChannelPeople::Nicks() const {
  std::vector<std::string> nicks;
  nicks.reserve(people_.order.size());
  for (const Person& person : people_.order) nicks.push_back(person.nick);
  return nicks;
}

}  // namespace wavecrest::irc
