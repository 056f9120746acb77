#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>

#include "common/Ext80.h"
#include "common/NumberFormat.h"

namespace vexamo {
namespace {

const Real kInf = std::numeric_limits<Real>::infinity();

using SeparatorGuard = DecimalSeparatorScope;

TEST(FormatGeneral, ChoosesFixedOrScientificNotation) {
    EXPECT_EQ(formatGeneral(0.025L, 15, 0), "0.025");
    EXPECT_EQ(formatGeneral(6, 15, 0), "6");
    EXPECT_EQ(formatGeneral(0.1L, 15, 0), "0.1");
    EXPECT_EQ(formatGeneral(-2.5L, 15, 0), "-2.5");
    EXPECT_EQ(formatGeneral(1.0L / 3, 15, 0), "0.333333333333333");
    EXPECT_EQ(formatShortest(273.15L), "273.15");
    EXPECT_EQ(formatGeneral(1e-6L, 15, 2), "1E-06");
    EXPECT_EQ(formatGeneral(1e-6L, 15, 0), "1E-6");
    EXPECT_EQ(formatGeneral(1.5e20L, 15, 2), "1.5E20");
    EXPECT_EQ(formatGeneral(-1.25e-7L, 15, 3), "-1.25E-007");
    EXPECT_EQ(formatGeneral(123456789, 9, 0), "123456789");
    EXPECT_EQ(formatGeneral(123456789, 8, 2), "1.2345679E08");
    EXPECT_EQ(formatGeneral(123456789, 8, 0), "1.2345679E8");
    EXPECT_EQ(formatGeneral(1e15L, 15, 0), "1E15");
    EXPECT_EQ(formatGeneral(999999999999999.0L, 15, 0), "999999999999999");
}

TEST(FormatGeneral, IntegerDigitsAreCountedAfterRounding) {
    EXPECT_EQ(formatGeneral(99999.95L, 6, 0), "100000");
    EXPECT_EQ(formatGeneral(99999.95L, 5, 0), "1E5");
    EXPECT_EQ(formatGeneral(-9.96L, 2, 0), "-10");
    EXPECT_EQ(formatGeneral(9.96L, 1, 0), "1E1");
}

TEST(FormatGeneral, LowerBoundOfFixedNotationIsTheRealNearestTo0_00001) {
    EXPECT_EQ(formatGeneral(0.00001L, 15, 0), "0.00001");
    EXPECT_EQ(formatGeneral(-0.00001L, 15, 0), "-0.00001");
    // Just below: scientific, though it rounds to the same digits.
    EXPECT_EQ(formatGeneral(std::nextafter(0.00001L, 0.0L), 15, 0), "1E-5");
    EXPECT_EQ(formatGeneral(0.0000123L, 15, 0), "0.0000123");
    EXPECT_EQ(formatGeneral(0.00000999L, 15, 0), "9.99E-6");
}

// The digits are rounded half away from zero on the exact binary value: a tie
// only where the binary value is one, and no rounding of an already rounded
// expansion.
TEST(FormatGeneral, RoundsHalfAwayFromZeroOnTheExactValue) {
    EXPECT_EQ(formatGeneral(0.125L, 2, 0), "0.13");
    EXPECT_EQ(formatGeneral(-0.125L, 2, 0), "-0.13");
    EXPECT_EQ(formatGeneral(2.5L, 1, 0), "3");
    EXPECT_EQ(formatGeneral(0.0009765625L, 6, 0), "0.000976563");
    EXPECT_EQ(formatGeneral(-2.5e10L, 1, 2), "-3E10");
    EXPECT_EQ(formatGeneral(std::nextafter(0.125L, 0.0L), 2, 0), "0.12");
    EXPECT_EQ(formatGeneral(std::nextafter(0.25L, 0.0L), 1, 0), "0.2");
    EXPECT_EQ(formatGeneral(std::nextafter(0.25L, 1.0L), 1, 0), "0.3");
    // 0.15L lies above 0.15, 0.00001L below 1E-5 (its digits are 9999...).
    EXPECT_EQ(formatGeneral(0.15L, 1, 0), "0.2");
    EXPECT_EQ(formatGeneral(0.1L, 25, 0), "0.1000000000000000000013553");
}

TEST(FormatGeneral, SpecialValuesAndExtremes) {
    EXPECT_EQ(formatGeneral(0.0L, 15, 2), "0");
    EXPECT_EQ(formatGeneral(-0.0L, 15, 2), "0");
    EXPECT_EQ(formatGeneral(kInf, 15, 0), "INF");
    EXPECT_EQ(formatGeneral(-kInf, 15, 0), "-INF");
    EXPECT_EQ(formatGeneral(std::numeric_limits<Real>::quiet_NaN(), 15, 0), "NAN");
    EXPECT_EQ(formatGeneral(std::numeric_limits<Real>::max(), 15, 0), "1.18973149535723E4932");
    EXPECT_EQ(formatGeneral(std::numeric_limits<Real>::denorm_min(), 15, 0),
              "3.64519953188247E-4951");
    EXPECT_EQ(formatGeneral(-std::numeric_limits<Real>::min(), 15, 4), "-3.36210314311209E-4932");
}

TEST(FormatGeneral, TwentyOneDigitsGiveTheValueBack) {
    std::mt19937_64 random(1251);
    for (int i = 0; i < 20000; ++i) {
        Ext80Bytes bytes{};
        const std::uint64_t significand = random() | 0x8000000000000000ULL;
        const auto exponent = static_cast<std::uint16_t>(1 + random() % 0x7FFE);
        for (int k = 0; k < 8; ++k) {
            bytes[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(significand >> (8 * k));
        }
        bytes[8] = static_cast<std::uint8_t>(exponent);
        bytes[9] = static_cast<std::uint8_t>(exponent >> 8);
        const Real value = decodeExt80(bytes);
        const std::string text = formatGeneral(value, 21, 0);
        const auto back = parseReal(text);
        ASSERT_TRUE(back.has_value()) << text;
        ASSERT_EQ(*back, value) << text;
    }
}

TEST(FormatFixed, PrintfStyleFields) {
    EXPECT_EQ(formatFixed(3.14159L, 8, 2), "    3.14");
    EXPECT_EQ(formatFixed(-3.14159L, 8, 3), "  -3.142");
    EXPECT_EQ(formatFixed(1234.5678L, 2, 1), "1234.6");
    EXPECT_EQ(formatFixed(7, 0, 0), "7");
    EXPECT_EQ(formatFixed(1e20L, 0, 2), "100000000000000000000.00");
    EXPECT_EQ(formatFixed(0.1L, 0, 25), "0.1000000000000000000013553");
    EXPECT_EQ(formatFixed(0.0L, 6, 2), "  0.00");
}

TEST(FormatFixed, RoundsHalfAwayFromZeroOnTheExactValue) {
    EXPECT_EQ(formatFixed(2.5L, 0, 0), "3");
    EXPECT_EQ(formatFixed(-2.5L, 0, 0), "-3");
    EXPECT_EQ(formatFixed(0.125L, 0, 2), "0.13");
    EXPECT_EQ(formatFixed(std::nextafter(0.125L, 0.0L), 0, 2), "0.12");
    EXPECT_EQ(formatFixed(99.995L, 0, 2), "100.00");  // 99.995L lies above 99.995
    EXPECT_EQ(formatFixed(0.006L, 0, 2), "0.01");
    EXPECT_EQ(formatFixed(0.004L, 0, 2), "0.00");
    EXPECT_EQ(formatFixed(9.5L, 0, 0), "10");
}

TEST(FormatFixed, ZeroAfterRoundingHasNoSign) {
    EXPECT_EQ(formatFixed(-0.001L, 0, 2), "0.00");
    EXPECT_EQ(formatFixed(-0.0L, 0, 1), "0.0");
    EXPECT_EQ(formatFixed(-0.005L, 0, 2), "0.00");  // 0.005L lies below 0.005
    EXPECT_EQ(formatFixed(-0.0051L, 0, 2), "-0.01");
}

TEST(FormatFixed, NonFiniteValuesAreNamed) {
    EXPECT_EQ(formatFixed(kInf, 6, 2), "   INF");
    EXPECT_EQ(formatFixed(-kInf, 0, 2), "-INF");
    EXPECT_EQ(formatFixed(std::numeric_limits<Real>::quiet_NaN(), 0, 2), "NAN");
}

TEST(FormatInteger, PrintfStyleFields) {
    EXPECT_EQ(formatInteger(5, 0, 2), "05");
    EXPECT_EQ(formatInteger(-5, 0, 2), "-05");
    EXPECT_EQ(formatInteger(123, 0, 2), "123");
    EXPECT_EQ(formatInteger(42, 5, 0), "   42");
    EXPECT_EQ(formatInteger(-42, 6, 3), "  -042");
    EXPECT_EQ(formatInteger(0, 0, 0), "0");
    EXPECT_EQ(formatInteger(std::numeric_limits<long long>::min(), 0, 0), "-9223372036854775808");
}

TEST(DecimalSeparator, AppliesToEveryFormatAndToParsing) {
    EXPECT_EQ(decimalSeparator(), '.');
    {
        SeparatorGuard comma(',');
        EXPECT_EQ(formatGeneral(0.025L, 15, 0), "0,025");
        EXPECT_EQ(formatGeneral(1.5e20L, 15, 2), "1,5E20");
        EXPECT_EQ(formatFixed(3.14159L, 0, 2), "3,14");
        EXPECT_EQ(parseReal("1,5"), 1.5L);
        EXPECT_FALSE(parseReal("1.5").has_value());
    }
    EXPECT_EQ(parseReal("1.5"), 1.5L);
    EXPECT_FALSE(parseReal("1,5").has_value());
}

// The separator belongs to the thread that set it: a Run on another thread
// formats with its own, and a scope gives back the one it found.
TEST(DecimalSeparator, StaysWithItsThreadAndItsScope) {
    std::string elsewhere;
    {
        SeparatorGuard semicolon(';');
        std::thread other([&elsewhere] { elsewhere = formatGeneral(0.025L, 15, 0); });
        other.join();
        {
            SeparatorGuard comma(',');
            EXPECT_EQ(formatFixed(2.5L, 0, 1), "2,5");
        }
        EXPECT_EQ(formatFixed(2.5L, 0, 1), "2;5");
    }
    EXPECT_EQ(elsewhere, "0.025");
    EXPECT_EQ(decimalSeparator(), '.');
}

TEST(DecimalSeparator, RefusesCharactersThatBelongToNumbers) {
    for (const char c : {'5', '+', '-', 'e', 'E', ' ', '\0'}) {
        EXPECT_THROW(DecimalSeparatorScope{c}, std::invalid_argument) << c;
    }
    EXPECT_EQ(decimalSeparator(), '.');
}

// The process locale (a desktop toolkit sets it from the environment) must
// not change the formats or the parsing.
TEST(DecimalSeparator, IndependentOfTheProcessLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    bool set = false;
    for (const char* name : {"de_DE.UTF-8", "ru_RU.UTF-8", "fr_FR.UTF-8", "de_DE", "ru_RU"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            set = true;
            break;
        }
    }
    if (!set) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const std::string general = formatGeneral(0.025L, 15, 0);
    const std::string fixed = formatFixed(3.14159L, 0, 2);
    const auto parsed = parseReal("1.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(general, "0.025");
    EXPECT_EQ(fixed, "3.14");
    EXPECT_EQ(parsed, 1.5L);
}

TEST(ParseReal, AcceptsDecimalNumbers) {
    EXPECT_EQ(parseReal("1.5"), 1.5L);
    EXPECT_EQ(parseReal(".5"), 0.5L);
    EXPECT_EQ(parseReal("5."), 5.0L);
    EXPECT_EQ(parseReal("-12"), -12.0L);
    EXPECT_EQ(parseReal("+0.25"), 0.25L);
    EXPECT_EQ(parseReal("1e3"), 1000.0L);
    EXPECT_EQ(parseReal("2.5E-2"), 0.025L);
    EXPECT_EQ(parseReal("7e+1"), 70.0L);
    // Read as a Real, not as a double widened afterwards.
    EXPECT_EQ(parseReal("0.1"), 0.1L);
    EXPECT_EQ(parseReal("273.15"), 273.15L);
    EXPECT_EQ(parseReal("133.3"), 133.3L);
}

TEST(ParseReal, RefusesAnythingElse) {
    for (const char* text :
         {"",    " ",    "Default", "1 ",   " 1",  "1.5.2", ".",    "-",   "+",     "e5",   "1e",
          "1e+", "0x10", "inf",     "-INF", "nan", "1,5",   "1.5x", "--1", "1e5.5", "1 000"}) {
        EXPECT_FALSE(parseReal(text).has_value()) << '"' << text << '"';
    }
}

TEST(ParseReal, KeepsFiniteResultsOnly) {
    EXPECT_FALSE(parseReal("1e5000").has_value());
    EXPECT_FALSE(parseReal("-1e99999999999").has_value());
    EXPECT_EQ(parseReal("1.18973149535723176502e4932"), std::numeric_limits<Real>::max());
    EXPECT_EQ(parseReal("1e-6000"), 0.0L);
    EXPECT_EQ(parseReal("3.6451995318824746025e-4951"), std::numeric_limits<Real>::denorm_min());
}

TEST(ParseInteger, AcceptsSignedDigitsInRange) {
    EXPECT_EQ(parseInteger("42"), 42);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("-007"), -7);
    EXPECT_EQ(parseInteger("9223372036854775807"), std::numeric_limits<long long>::max());
    EXPECT_EQ(parseInteger("-9223372036854775808"), std::numeric_limits<long long>::min());
    for (const char* text : {"", "+", "-", "9223372036854775808", "1.0", "1e3", " 1", "1 ", "+-1",
                             "-+1", "0x1F", "12a"}) {
        EXPECT_FALSE(parseInteger(text).has_value()) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace vexamo
