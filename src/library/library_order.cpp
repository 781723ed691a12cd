#include "library/library_order.h"

#include "core/collation.h"
#include "library/entry_names.h"

#include <unicode/coll.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <string_view>
#include <utility>

namespace wavecrest {
namespace {

// keepGoing is asked once per this many keys.
constexpr std::size_t kKeysPerCheck = 64;

// Length of the longest prefix all paths share that ends with "/".
template <typename Paths>
std::size_t SharedDirectoryLength(const Paths& paths, std::size_t count) {
  if (count == 0) return 0;
  const std::string_view first = paths[0];
  std::size_t common = first.size();
  for (std::size_t i = 1; i < count; ++i) {
    const std::string_view path = paths[i];
    const std::size_t limit = std::min(common, path.size());
    std::size_t n = 0;
    while (n < limit && first[n] == path[n]) ++n;
    common = n;
  }
  const std::size_t slash = first.substr(0, common).rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// Collation keys of paths in list-box order: the collator the list boxes
// use (the user's locale, root when it has none; letters and accents count,
// case does not), one collation pass per key into reused buffers. Paths are
// tens of thousands, so the cost per key is what the scan's speed hangs on.
class PathKeys {
 public:
  PathKeys() : collator_(NewListCollator()) {}

  // Appends the key of `text` (no terminating NUL) to `out`; nothing when no
  // collator could be made (the code-point tie-break then orders alone).
  void Append(std::string_view text, std::string& out) {
    if (!collator_) return;
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    utf16_.resize(text.size() + 1);
    u_strFromUTF8WithSub(utf16_.data(), static_cast<int32_t>(utf16_.size()), &length, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return;
    int32_t needed = collator_->getSortKey(utf16_.data(), length, bytes_.data(), static_cast<int32_t>(bytes_.size()));
    if (needed > static_cast<int32_t>(bytes_.size())) {
      bytes_.resize(static_cast<std::size_t>(needed) * 2);
      needed = collator_->getSortKey(utf16_.data(), length, bytes_.data(), static_cast<int32_t>(bytes_.size()));
    }
    if (needed > 0 && bytes_[static_cast<std::size_t>(needed) - 1] == 0) --needed;
    out.append(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::size_t>(needed));
  }

 private:
  std::unique_ptr<icu::Collator> collator_;
  std::vector<UChar> utf16_;
  std::vector<uint8_t> bytes_ = std::vector<uint8_t>(512);
};

// The positions of `count` paths in list-box order; nullopt when abandoned.
template <typename Paths>
std::optional<std::vector<std::uint32_t>> ListBoxOrder(const Paths& paths, std::size_t count,
                                                       const KeepGoing& keepGoing) {
  // Every path begins with the same directory text. Two texts that share a
  // prefix ending in "/" collate as their remainders do, so only the
  // remainders are keyed: far less collation work and memory.
  const std::size_t prefix = SharedDirectoryLength(paths, count);
  const auto remainder = [&paths, prefix](std::size_t i) { return std::string_view(paths[i]).substr(prefix); };

  // The keys side by side in one block; ties are broken by the remainders'
  // code points, so the order is total.
  PathKeys keyer;
  std::string keys;
  // Reserved once at twice the text: a key of these collation levels is
  // about as long as its UTF-8 text, and growing would copy the block.
  std::size_t remainderBytes = 0;
  for (std::size_t i = 0; i < count; ++i) remainderBytes += remainder(i).size();
  keys.reserve(remainderBytes * 2);
  std::vector<std::uint32_t> ends;
  ends.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (i % kKeysPerCheck == 0 && keepGoing && !keepGoing()) return std::nullopt;
    keyer.Append(remainder(i), keys);
    ends.push_back(static_cast<std::uint32_t>(keys.size()));
  }
  const auto keyOf = [&keys, &ends](std::uint32_t i) {
    const std::size_t begin = i == 0 ? 0 : ends[i - 1];
    return std::string_view(keys).substr(begin, ends[i] - begin);
  };
  std::vector<std::uint32_t> order(count);
  std::iota(order.begin(), order.end(), std::uint32_t{0});
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    const int byKey = keyOf(a).compare(keyOf(b));
    return byKey != 0 ? byKey < 0 : remainder(a) < remainder(b);
  });
  return order;
}

}  // namespace

std::optional<Library> SortLibrary(std::vector<std::string> found, const std::string& extension,
                                   const KeepGoing& keepGoing) {
  const std::optional<std::vector<std::uint32_t>> order = ListBoxOrder(found, found.size(), keepGoing);
  if (!order) return std::nullopt;
  Library library;
  library.paths.reserve(found.size());
  library.names.reserve(found.size());
  for (const std::uint32_t i : *order) {
    library.names.push_back(DisplayName(found[i], extension));
    library.paths.push_back(std::move(found[i]));
  }
  return library;
}

std::optional<SortedFiles> SortFiles(FoundFiles found, const KeepGoing& keepGoing) {
  std::optional<std::vector<std::uint32_t>> order = ListBoxOrder(found, found.Count(), keepGoing);
  if (!order) return std::nullopt;
  return SortedFiles{std::move(found), std::move(*order)};
}

Library MakeLibrary(const SortedFiles& sorted, const std::string& extension) {
  Library library;
  library.paths.reserve(sorted.order.size());
  library.names.reserve(sorted.order.size());
  for (const std::uint32_t i : sorted.order) {
    const std::string_view path = sorted.files[i];
    library.names.push_back(DisplayName(path, extension));
    library.paths.emplace_back(path);
  }
  return library;
}

}  // namespace wavecrest
