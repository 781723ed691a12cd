#include "core/collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>

#include <algorithm>
#include <memory>
#include <numeric>

namespace wavecrest {
namespace {

icu::Collator* ListCollator() {
  static const std::unique_ptr<icu::Collator> collator = NewListCollator();
  return collator.get();
}

}  // namespace

std::unique_ptr<icu::Collator> NewListCollator() {
  // The C and POSIX locales ("C.UTF-8" on most servers) reach ICU as
  // en_US_POSIX, whose order puts every capital before every small letter:
  // not the case-insensitive order of a list box. They mean "no locale", so
  // they get the root order.
  icu::Locale locale = icu::Locale::getDefault();
  if (std::string_view(locale.getName()) == "en_US_POSIX") locale = icu::Locale::getRoot();
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(locale, status));
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    c.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
  }
  if (U_FAILURE(status)) c.reset();
  if (c) c->setStrength(icu::Collator::SECONDARY);
  return c;
}

std::string ListSortKey(std::string_view text) {
  std::string key;
  if (icu::Collator* collator = ListCollator()) {
    const icu::UnicodeString u =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    const int32_t length = collator->getSortKey(u, nullptr, 0);
    key.resize(static_cast<std::size_t>(length));
    collator->getSortKey(u, reinterpret_cast<uint8_t*>(key.data()), length);
    if (!key.empty() && key.back() == '\0') key.pop_back();
  }
  // The tie-break: the UTF-8 bytes order as code points do. A separator below
  // every key byte keeps "ab" + tie from mixing with longer keys.
  key.push_back('\0');
  key.append(text);
  return key;
}

void SortForListBox(std::vector<std::string>& texts) {
  std::vector<std::string> keys;
  keys.reserve(texts.size());
  for (const auto& t : texts) keys.push_back(ListSortKey(t));
  std::vector<std::size_t> order(texts.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  std::vector<std::string> sorted;
  sorted.reserve(texts.size());
  for (const std::size_t i : order) sorted.push_back(std::move(texts[i]));
  texts = std::move(sorted);
}

}  // namespace wavecrest
