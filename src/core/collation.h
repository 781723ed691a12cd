#pragma once

// The order of the platform's sorted list boxes: case-insensitive and
// locale-aware (ICU collation in the user's locale), with ties broken by code
// points so that the order is total and the same on every run.

#include <unicode/coll.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest {

// A new collator of the list-box order: the user's locale (the root order
// when it has none), letters and accents counting, case not. Null only when
// ICU has no collation data at all.
std::unique_ptr<icu::Collator> NewListCollator();

// A byte string whose plain comparison gives the list-box order. Computing
// keys once and comparing them is much cheaper than collating pairs.
std::string ListSortKey(std::string_view text);

// Sorts texts into list-box order.
void SortForListBox(std::vector<std::string>& texts);

}  // namespace wavecrest
