#pragma once
// Comparison of two 80-bit reals within a relative and an absolute
// tolerance, with both values printed to all their digits on failure:
//   EXPECT_REAL_NEAR(actual, expected, 1e-12L);          relative only
//   EXPECT_REAL_NEAR(actual, expected, 1e-9L, 1e-15L);   relative or absolute
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "common/Real.h"

namespace vexamo::test {

inline ::testing::AssertionResult realNear(const char* actualText, const char* expectedText,
                                           const char*, const char*, Real actual, Real expected,
                                           Real relative, Real absolute) {
    const Real difference = std::fabs(actual - expected);
    if (difference <= absolute || difference <= relative * std::fabs(expected))
        return ::testing::AssertionSuccess();
    char text[256];
    std::snprintf(text, sizeof text,
                  "%.21Lg vs %.21Lg: differ by %.3Lg (relative %.3Lg), allowed %.3Lg relative",
                  actual, expected, difference,
                  expected != 0 ? difference / std::fabs(expected) : difference, relative);
    return ::testing::AssertionFailure()
           << actualText << " = " << expectedText << " fails: " << text
           << (absolute > 0 ? " or the absolute tolerance" : "");
}

inline ::testing::AssertionResult realNear(const char* a, const char* e, const char* r, Real actual,
                                           Real expected, Real relative) {
    return realNear(a, e, r, "", actual, expected, relative, 0);
}

}  // namespace vexamo::test

#define EXPECT_REAL_NEAR(...) EXPECT_PRED_FORMAT_REAL_NEAR_(__VA_ARGS__)
#define EXPECT_PRED_FORMAT_REAL_NEAR_(...)                                               \
    VEXAMO_REAL_NEAR_SELECT_(__VA_ARGS__,                                                \
                             EXPECT_PRED_FORMAT4(::vexamo::test::realNear, __VA_ARGS__), \
                             EXPECT_PRED_FORMAT3(::vexamo::test::realNear, __VA_ARGS__), unused)
#define VEXAMO_REAL_NEAR_SELECT_(a, b, c, d, chosen, ...) chosen
