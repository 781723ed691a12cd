#include "host/client_version.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

TEST(ClientVersion, OnlySevenToNineUseTheNewerRoomLayout) {
  using enum RoomLayout;
  const struct {
    const char* text;
    bool known;
    RoomLayout layout;
  } cases[] = {{"9.0", true, From7},    {"8.0", true, From7},     {"7.0", true, From7},   {"6.0", true, Before7},
               {"5.0", true, Before7},  {"4.0", true, Before7},   {"3.0", true, Before7}, {"2.5", true, Before7},
               {"10.0", false, Before7}, {"7", false, Before7},   {"", false, Before7}};
  std::size_t known = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(FindClientVersion(c.text).has_value(), c.known) << c.text;
    EXPECT_EQ(RoomLayoutOf(c.text), c.layout) << c.text;
    known += c.known ? 1 : 0;
  }
  EXPECT_EQ(kClientVersions.size(), known);
  EXPECT_EQ(kNewestClientVersion, "9.0");
}

}  // namespace
}  // namespace wavecrest
