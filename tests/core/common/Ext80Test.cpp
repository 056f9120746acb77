#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "common/Ext80.h"

namespace vexamo {
namespace {

static_assert(std::numeric_limits<Real>::digits == 64, "Real must carry a 64-bit significand");

Ext80Bytes bytesOf(std::uint64_t significand, std::uint16_t signExponent) {
    Ext80Bytes b{};
    for (int i = 0; i < 8; ++i) {
        b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(significand >> (8 * i));
    }
    b[8] = static_cast<std::uint8_t>(signExponent & 0xFF);
    b[9] = static_cast<std::uint8_t>(signExponent >> 8);
    return b;
}

// Reference encodings of the x87 extended format, written out by hand.
struct KnownEncoding {
    Real value;
    std::uint64_t significand;
    std::uint16_t signExponent;
};

const KnownEncoding kKnown[] = {
    {1.0L, 0x8000000000000000ULL, 0x3FFF},
    {-2.0L, 0x8000000000000000ULL, 0xC000},
    {0.1L, 0xCCCCCCCCCCCCCCCDULL, 0x3FFB},
    {0.0L, 0, 0x0000},
    {-0.0L, 0, 0x8000},
    {std::numeric_limits<Real>::infinity(), 0x8000000000000000ULL, 0x7FFF},
    {-std::numeric_limits<Real>::infinity(), 0x8000000000000000ULL, 0xFFFF},
    {std::numeric_limits<Real>::max(), 0xFFFFFFFFFFFFFFFFULL, 0x7FFE},
    {std::numeric_limits<Real>::min(), 0x8000000000000000ULL, 0x0001},
    {std::numeric_limits<Real>::denorm_min(), 1, 0x0000},
    {-std::ldexp(0x4000000000000000ULL * 1.0L, -16445), 0x4000000000000000ULL, 0x8000},
};

bool sameBits(Real a, Real b) { return encodeExt80(a) == encodeExt80(b); }

TEST(Ext80Format, RealIsTheX87ExtendedType) {
    EXPECT_EQ(std::numeric_limits<Real>::digits, 64);
    EXPECT_EQ(std::numeric_limits<Real>::max_exponent, 16384);
    EXPECT_TRUE(kRealIsX87);
}

TEST(Ext80Format, BothPathsWriteTheReferenceBytes) {
    for (const auto& k : kKnown) {
        const Ext80Bytes expected = bytesOf(k.significand, k.signExponent);
        EXPECT_EQ(encodeExt80(k.value), expected) << static_cast<double>(k.value);
        EXPECT_EQ(encodeExt80Portable(k.value), expected) << static_cast<double>(k.value);
        EXPECT_TRUE(sameBits(decodeExt80(expected), k.value));
        EXPECT_TRUE(sameBits(decodeExt80Portable(expected.data()), k.value));
    }
}

TEST(Ext80Format, CanonicalQuietNaNMatchesOnBothPaths) {
    for (const Real nan :
         {std::numeric_limits<Real>::quiet_NaN(), -std::numeric_limits<Real>::quiet_NaN()}) {
        EXPECT_EQ(encodeExt80Portable(nan), encodeExt80(nan));
        EXPECT_TRUE(std::isnan(decodeExt80Portable(encodeExt80(nan).data())));
    }
    EXPECT_EQ(encodeExt80Portable(std::numeric_limits<Real>::quiet_NaN()),
              bytesOf(0xC000000000000000ULL, 0x7FFF));
}

// Patterns outside the canonical set must survive the platform path untouched:
// a file written by another program is read and written back unchanged.
TEST(Ext80Platform, EveryBitPatternRoundTrips) {
    const Ext80Bytes patterns[] = {
        bytesOf(0xA000000000000001ULL, 0x7FFF),  // signalling NaN with payload
        bytesOf(0xC123456789ABCDEFULL, 0xFFFF),  // negative quiet NaN with payload
        bytesOf(0x0000000000000001ULL, 0x7FFF),  // pseudo-NaN (no integer bit)
        bytesOf(0x0000000000000000ULL, 0x7FFF),  // pseudo-infinity
        bytesOf(0x8000000000000001ULL, 0x0000),  // pseudo-denormal
        bytesOf(0x1234567890ABCDEFULL, 0x4000),  // unnormal
        bytesOf(0x0000000000000000ULL, 0x3FFF),  // pseudo-zero
    };
    for (const auto& bytes : patterns) {
        EXPECT_EQ(encodeExt80(decodeExt80(bytes)), bytes);
    }
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t significand = random();
        const auto signExponent = static_cast<std::uint16_t>(random());
        const Ext80Bytes bytes = bytesOf(significand, signExponent);
        ASSERT_EQ(encodeExt80(decodeExt80(bytes)), bytes) << i;
    }
}

TEST(Ext80Portable, DecodesNonCanonicalPatternsAsTheFpuDoes) {
    const Ext80Bytes pseudoDenormal = bytesOf(0x8000000000000001ULL, 0x0000);
    EXPECT_EQ(decodeExt80Portable(pseudoDenormal.data()),
              std::numeric_limits<Real>::min() + std::numeric_limits<Real>::denorm_min());
    EXPECT_EQ(decodeExt80Portable(pseudoDenormal.data()), decodeExt80(pseudoDenormal));
    for (const auto& notANumber : {bytesOf(0x1234567890ABCDEFULL, 0x4000), bytesOf(0, 0x7FFF),
                                   bytesOf(1, 0x7FFF), bytesOf(0xA000000000000001ULL, 0xFFFF)}) {
        EXPECT_TRUE(std::isnan(decodeExt80Portable(notANumber.data())));
    }
}

// Random canonical encodings: normals (integer bit set), denormals (exponent
// 0, integer bit clear), zeros, infinities and the canonical quiet NaN.
Ext80Bytes randomCanonical(std::mt19937_64& random) {
    const bool negative = (random() & 1) != 0;
    const std::uint16_t sign = negative ? 0x8000 : 0;
    std::uint64_t significand = random();
    switch (random() % 16) {
        case 0:
            return bytesOf(0, sign);
        case 1:
            return bytesOf(0x8000000000000000ULL, sign | 0x7FFF);
        case 2:
            return bytesOf(0xC000000000000000ULL, sign | 0x7FFF);
        case 3:
        case 4:
            significand &= ~0x8000000000000000ULL;
            significand >>= random() % 63;  // also denormals with few bits
            return bytesOf(significand, sign);
        case 5:  // near the ends of the exponent range
            return bytesOf(significand | 0x8000000000000000ULL,
                           sign | static_cast<std::uint16_t>(
                                      random() % 2 ? 1 + random() % 70 : 0x7FFE - random() % 70));
        default:
            return bytesOf(significand | 0x8000000000000000ULL,
                           sign | static_cast<std::uint16_t>(1 + random() % 0x7FFE));
    }
}

TEST(Ext80Portable, AgreesWithThePlatformOnRandomCanonicalEncodings) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        const Ext80Bytes bytes = randomCanonical(random);
        const Real value = decodeExt80(bytes);
        ASSERT_EQ(encodeExt80Portable(value), bytes) << i;
        ASSERT_EQ(encodeExt80(decodeExt80Portable(bytes.data())), bytes) << i;
    }
}

TEST(Ext80Portable, AgreesWithThePlatformOnPowersOfTwoAndTheirNeighbours) {
    const Real inf = std::numeric_limits<Real>::infinity();
    for (int e = -16445; e <= 16383; ++e) {
        const Real p = std::ldexp(1.0L, e);
        for (const Real v : {p, -p, std::nextafter(p, 0.0L), std::nextafter(p, inf)}) {
            ASSERT_EQ(encodeExt80Portable(v), encodeExt80(v)) << e;
            const Ext80Bytes bytes = encodeExt80(v);
            ASSERT_TRUE(sameBits(decodeExt80Portable(bytes.data()), v)) << e;
        }
    }
}

}  // namespace
}  // namespace vexamo
