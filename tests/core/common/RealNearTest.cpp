#include <gtest/gtest-spi.h>

#include "support/RealNear.h"

namespace vexamo {
namespace {

// The tolerance helper passes within either tolerance, fails outside both,
// and says by how much in all the digits of an 80-bit real.
TEST(RealNear, RelativeOrAbsoluteAndTheDigitsOnFailure) {
    EXPECT_REAL_NEAR(1.0L + 1e-13L, 1.0L, 1e-12L);
    EXPECT_REAL_NEAR(1e-20L, 0.0L, 1e-12L, 1e-15L);
    EXPECT_NONFATAL_FAILURE(EXPECT_REAL_NEAR(1.0L + 1e-11L, 1.0L, 1e-12L),
                            "1.00000000000999999996 vs 1: differ by 1e-11");
    EXPECT_NONFATAL_FAILURE(EXPECT_REAL_NEAR(1e-10L, 0.0L, 1e-12L, 1e-15L), "absolute");
}

}  // namespace
}  // namespace vexamo
