#pragma once
// The physical number type of the whole program: the 80-bit extended real.
#include <limits>

namespace vexamo {

using Real = long double;

// True when Real is the x87 extended format (64-bit significand with an
// explicit integer bit). The ext80 codec copies bytes directly then; on other
// platforms it converts arithmetically.
inline constexpr bool kRealIsX87 =
    std::numeric_limits<Real>::digits == 64 && std::numeric_limits<Real>::max_exponent == 16384;

#ifndef VEXAMO_PORTABLE_REAL
static_assert(kRealIsX87,
              "Real must be the 80-bit extended type with a 64-bit significand "
              "(define VEXAMO_PORTABLE_REAL to build with another long double)");
#endif

}  // namespace vexamo
