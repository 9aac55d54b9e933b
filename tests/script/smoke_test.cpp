#include <gtest/gtest.h>

#include "script/codes.h"

TEST(Codes, LettersAndDigits) {
  EXPECT_EQ(pm::code(U'A'), 17);
  EXPECT_EQ(pm::code(U'a'), 49);
  EXPECT_EQ(pm::code(U'0'), 0);
}
