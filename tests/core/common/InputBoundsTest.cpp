#include <gtest/gtest.h>

#include "common/InputBounds.h"

namespace vexamo {
namespace {

// The fit of a bundle is an upper bound: a hexagonal bundle of n rings
// (1 + 3 n (n + 1) tubes at pitch 1.25 d) lies within a casing of
// 2 n t + d, so the bound must hold it, and not be loose by more than its
// packing of a circle with hexagons would explain.
TEST(BundleFit, HexagonalBundlesFitTheirCasings) {
    const Real d = 0.025L, t = 1.25L * d;
    for (int n = 1; n <= 12; ++n) {
        const Real casing = 2 * n * t + d;
        const Real tubes = 1 + 3 * n * (n + 1);
        const Real most = mostTubesInCasing(casing, d, true);
        EXPECT_GE(most, tubes) << n;
        EXPECT_LT(tubes / most, 1.0L) << n;
        if (n >= 4) {
            EXPECT_GT(tubes / most, 0.75L) << n;
        }
        EXPECT_FALSE(bundleDoesNotFit(static_cast<unsigned>(tubes), casing, d, true, kEnglish))
            << n;
    }
    // A square layout takes more room per tube than a triangular one.
    EXPECT_LT(mostTubesInCasing(0.5L, d, false), mostTubesInCasing(0.5L, d, true));
    // 400 tubes of 25 mm cannot be put in a casing of 0.5 m; no casing, no warning.
    const auto warning = bundleDoesNotFit(400, 0.5L, d, true, kEnglish);
    ASSERT_TRUE(warning);
    EXPECT_EQ(*warning,
              "400 tubes of 0.025 m cannot fit in a casing of 0.5 m: at the smallest usual pitch "
              "of 1.25 d (triangular) it holds at most 232; the design data should be checked");
    EXPECT_NE(bundleDoesNotFit(400, 0.5L, d, false, kRussian)->find("по квадрату"),
              std::string::npos);
    EXPECT_FALSE(bundleDoesNotFit(400, 0, d, true, kEnglish));
}

}  // namespace
}  // namespace vexamo
