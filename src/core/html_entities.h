#pragma once

// Character references in the room's chat HTML.

#include <cstddef>
#include <string>
#include <string_view>

namespace wavecrest {

// When text[at] begins a reference this decodes (&amp; &lt; &gt; &quot;
// &apos; &nbsp; &#N; &#xH;), appends its character as UTF-8 to `out` and
// returns its length; otherwise returns 0 and appends nothing. &nbsp; is a
// plain space: every output keeps runs of spaces as they are.
std::size_t DecodeEntity(std::string_view text, std::size_t at, std::string& out);

}  // namespace wavecrest
