// The listener count in a server's statistics, read from any bytes: a whole
// number from 0 up, or nothing; never a crash or a read outside the input.
#include "app/stream/listener_stats.h"
#include "fuzz_check.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view json(reinterpret_cast<const char*>(data), size);
  for (const std::string_view mount : {"/live", "/"}) {
    const auto count = wavecrest::ListenerCountOf(json, mount);
    wavecrest::fuzz::Check(!count || *count >= 0, "a count is never negative");
  }
  return 0;
}
