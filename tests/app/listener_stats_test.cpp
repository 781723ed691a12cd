// The listener count in an Icecast server's public statistics.
#include "app/stream/listener_stats.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace wavecrest {
namespace {

std::string Seed(const std::string& name) {
  std::ifstream in(std::string(WAVECREST_SOURCE_DIR) + "/fuzz/corpus/listener_stats/" + name);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ListenerStats, TheCountOfTheMountOrNothing) {
  const struct {
    const char* name;
    std::string json;
    const char* mount;
    std::optional<int> count;
  } cases[] = {
      {"the one source", Seed("one_source.json"), "/live", 1},
      {"one of several", Seed("two_sources.json"), "/live", 7},
      {"another mount", Seed("two_sources.json"), "/other", 4},
      {"a mount not listed", Seed("two_sources.json"), "/gone", std::nullopt},
      {"no source at all", Seed("no_source.json"), "/live", std::nullopt},
      {"a prefix is not the mount", Seed("one_source.json"), "/liv", std::nullopt},
      {"not JSON (an error page)", "<html>404</html>", "/live", std::nullopt},
      {"cut short", Seed("one_source.json").substr(0, 120), "/live", std::nullopt},
      {"a negative count", R"({"icestats":{"source":{"listeners":-3,"listenurl":"http://h:8000/live"}}})", "/live",
       std::nullopt},
      {"a fraction", R"({"icestats":{"source":{"listeners":1.5,"listenurl":"http://h:8000/live"}}})", "/live",
       std::nullopt},
      {"an absurd count", R"({"icestats":{"source":{"listeners":1e300,"listenurl":"http://h:8000/live"}}})", "/live",
       std::nullopt},
      {"a count as text", R"({"icestats":{"source":{"listeners":"2","listenurl":"http://h:8000/live"}}})", "/live",
       std::nullopt},
      {"no listen URL", R"({"icestats":{"source":{"listeners":2}}})", "/live", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ListenerCountOf(c.json, c.mount), c.count) << c.name;
}

}  // namespace
}  // namespace wavecrest
