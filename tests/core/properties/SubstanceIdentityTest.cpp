// The identity table must name the substance each built-in record really
// holds: its molar mass and the normal boiling point of its Antoine constants
// tie it to the data.
#include <gtest/gtest.h>

#include <cmath>

#include "properties/SubstanceIdentity.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {
namespace {

TEST(SubstanceIdentity, EachBuiltInRecordIsTheSubstanceItIsNamed) {
    const SubstanceData data = SubstanceData::builtIn();
    struct Known {
        const char* name;
        Real molarMass;      // kg/kmol, IUPAC atomic weights
        Real normalBoiling;  // deg C at 760 mm Hg, CRC Handbook of Chemistry and Physics
    };
    const Known known[] = {{"ethanol", 46.069L, 78.29L},
                           {"water", 18.015L, 100.0L},
                           {"methanol", 32.042L, 64.7L},
                           {"ethyl acetate", 88.107L, 77.11L}};
    ASSERT_GE(data.SubstanceTable.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const auto id = builtInIdentity(i);
        ASSERT_TRUE(id);
        EXPECT_STREQ(id->englishName, known[i].name);
        const Pro& p = data.SubstanceTable[i];
        EXPECT_NEAR(static_cast<double>(p.MolarMass), static_cast<double>(known[i].molarMass), 0.01)
            << id->englishName;
        // ln p = A - B / (T + C), p in mm Hg, T in K
        const Real boiling =
            p.AntoineB / (p.AntoineA - std::log(Real{760})) - p.AntoineC - Real{273.15};
        EXPECT_NEAR(static_cast<double>(boiling), static_cast<double>(known[i].normalBoiling), 1.0)
            << id->englishName;
        EXPECT_GT(boiling, id->antoineMin_C);
        EXPECT_LT(boiling, id->antoineMax_C);
    }
    EXPECT_FALSE(builtInIdentity(4));
    EXPECT_EQ(identityText(3, kEnglish), "ethyl acetate (C4H8O2, CAS 141-78-6)");
    EXPECT_EQ(identityText(1, kRussian), "вода (H2O, CAS 7732-18-5)");
    EXPECT_EQ(identityText(9, kEnglish), "");
}

}  // namespace
}  // namespace vexamo
