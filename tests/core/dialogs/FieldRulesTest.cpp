#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "dialogs/FieldRules.h"
#include "problem/ProblemRecords.h"

namespace vexamo {
namespace {

template <typename Member>
constexpr long long largest(Member DesignRecord::*) {
    return std::numeric_limits<Member>::max();
}

TEST(FieldRules, WholeNumbersFitTheirRecordFields) {
    // A count the form accepts must be stored without being cut.
    EXPECT_EQ(field::TubeCount.high, largest(&DesignRecord::TubeCount));
    EXPECT_LE(field::ShellPasses.high, largest(&DesignRecord::ShellPasses));
    EXPECT_LE(field::RowsOnVertical.high, largest(&DesignRecord::RowsOnVertical));
    EXPECT_LE(field::TubePasses.high, largest(&DesignRecord::TubePasses));
    EXPECT_LE(field::ParallelFlows.high, largest(&DesignRecord::ParallelFlows));
    for (const IntegerFieldRule* rule : {&field::TubeCount, &field::ShellPasses, &field::TubePasses,
                                         &field::RowsOnVertical, &field::ParallelFlows}) {
        EXPECT_TRUE(withinRange(*rule, rule->low)) << rule->key;
        EXPECT_TRUE(withinRange(*rule, rule->high)) << rule->key;
        EXPECT_FALSE(withinRange(*rule, rule->low - 1)) << rule->key;
        EXPECT_FALSE(withinRange(*rule, rule->high + 1)) << rule->key;
    }
    EXPECT_EQ(rangeRefusal(field::TubePasses, kRussian, "5"),
              "Число ходов в трубном пространстве должно быть от 1 до 4: 5");
}

TEST(FieldRules, RealsAboveTheirLimitAndWithinTheirBound) {
    // Absolute zero itself is no temperature of a medium; just above it is.
    EXPECT_TRUE(realRefusal(field::Temperature, -273.15L, kEnglish, "-273.15"));
    EXPECT_FALSE(realRefusal(field::Temperature, -273.14L, kEnglish, "-273.14"));
    EXPECT_EQ(*realRefusal(field::Temperature, 1500, kEnglish, "1500"),
              "The temperature must not be above 1000 deg.C: 1500");
    EXPECT_FALSE(realRefusal(field::Temperature, 1000, kEnglish, "1000"));
    // A number that compares with nothing is refused, not let through.
    EXPECT_EQ(
        *realRefusal(field::Pressure, std::numeric_limits<Real>::quiet_NaN(), kEnglish, "nan"),
        "The pressure must be greater than zero: nan");
    EXPECT_EQ(*realRefusal(field::FlowRate, 0, kRussian, "0"),
              "Расход теплоносителя должен быть больше нуля: 0");
    EXPECT_EQ(*realRefusal(field::FlowRate, 2e8L, kEnglish, "2e8"),
              "The flow rate must not be above 1E8 kg/hour: 2e8");
    // The design form's lengths have no upper bound of their own.
    EXPECT_FALSE(realRefusal(field::TubeLength, 1e6L, kEnglish, "1e6"));
    EXPECT_TRUE(realRefusal(field::Conductivity, -1, kEnglish, "-1"));
}

}  // namespace
}  // namespace vexamo
