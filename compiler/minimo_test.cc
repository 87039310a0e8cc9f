#include "compiler/minimo.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Minimo, IlMinoreEIlPrimoAParita) {
  EXPECT_EQ(minimo(180, 200), 180);
  EXPECT_EQ(minimo(180, 150), 150);
  EXPECT_EQ(minimo(180, 180), 180);
  // On a tie the first argument is returned, which shows for values equal but distinct.
  EXPECT_TRUE(std::signbit(minimo(-0.0, 0.0)));
  EXPECT_FALSE(std::signbit(minimo(0.0, -0.0)));
}

}  // namespace
