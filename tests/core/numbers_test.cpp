#include "core/numbers.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

TEST(DecimalNumber, AcceptsPlainNumbersWithBlanksAround) {
  EXPECT_EQ(DecimalNumber(" 1.5 "), 1.5);
  EXPECT_EQ(DecimalNumber("-5"), -5);
  EXPECT_EQ(DecimalNumber("1e2"), 100);
  for (const char* bad : {"", "  ", "abc", "1.5x", "inf", "nan", "1 2", "+5"}) {
    EXPECT_FALSE(DecimalNumber(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace wavecrest
