// The built-in substance records and data tables. Physical checks use facts
// from outside the data set (steam tables, normal boiling points, measured
// azeotropes), with tolerances.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "properties/SubstanceRecords.h"

namespace vexamo {
namespace {

const SubstanceData& builtIn() {
    static const SubstanceData data = SubstanceData::builtIn();
    return data;
}

const Pro& record(int number1) {
    return builtIn().SubstanceTable.at(static_cast<std::size_t>(number1 - 1));
}

::testing::AssertionResult near(Real actual, Real expected, Real tolerance) {
    if (std::fabs(actual - expected) <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << static_cast<double>(actual) << " is not within " << static_cast<double>(tolerance)
           << " of " << static_cast<double>(expected);
}

bool strictlyIncreasing(const std::vector<Real>& v) {
    for (std::size_t i = 1; i < v.size(); ++i) {
        if (!(v[i] > v[i - 1])) return false;
    }
    return true;
}

// The table value at the abscissa t, linear between neighbours.
Real at(const std::vector<Real>& abscissa, const std::vector<Real>& values, Real t) {
    for (std::size_t i = 1; i < abscissa.size(); ++i) {
        if (abscissa[i] >= t) {
            const Real w = (t - abscissa[i - 1]) / (abscissa[i] - abscissa[i - 1]);
            return values[i - 1] + w * (values[i] - values[i - 1]);
        }
    }
    ADD_FAILURE() << "abscissa " << static_cast<double>(t) << " beyond the table";
    return 0;
}

// Temperature (degC) at which the vapour-pressure table reaches p_mmHg.
Real boilingFromTable(const Pro& p, Real p_mmHg) {
    return at(p.PressureValues, p.PressureTemperatures, p_mmHg);
}

// Temperature (degC) at which the Antoine equation gives p_mmHg.
Real boilingFromAntoine(const Pro& p, Real p_mmHg) {
    return p.AntoineB / (p.AntoineA - std::log(p_mmHg)) - p.AntoineC - 273.15L;
}

constexpr Real kAtmosphere_mmHg = 760.0L;

// ---------------------------------------------------------------- lookups

TEST(SubstanceLookup, BothNameColumnsFindTheSameRecord) {
    const SubstanceData& d = builtIn();
    ASSERT_EQ(d.SubstanceTable.size(), 4u);
    EXPECT_EQ(d.findSubstance("комп.3"), 2u);
    EXPECT_EQ(d.findSubstance("comp.3"), 2u);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i + 1);
        EXPECT_EQ(d.findSubstance("comp." + n), i);
        EXPECT_EQ(d.findSubstance("комп." + n), i);
    }
}

TEST(SubstanceLookup, UnknownNameGivesTheFirstRecord) {
    const SubstanceData& d = builtIn();
    EXPECT_EQ(d.findSubstance("water"), 0u);
    EXPECT_EQ(d.findSubstance("Comp.4"), 0u);  // case matters
    EXPECT_EQ(d.findSubstance("comp.4 "), 0u);
    EXPECT_EQ(d.findSubstance(""), 0u);
    EXPECT_FALSE(d.tryFindSubstance("comp.5").has_value());
    EXPECT_EQ(d.tryFindSubstance("комп.4"), 3u);
}

TEST(SubstanceLookup, LastMatchWinsOverBothColumns) {
    SubstanceData d;
    d.SubstanceTable.resize(4);
    d.SubstanceTable[0].EnglishName = "alpha";
    d.SubstanceTable[0].RussianName = "x";
    d.SubstanceTable[1].EnglishName = "beta";
    d.SubstanceTable[1].RussianName = "alpha";  // same text in the other column
    d.SubstanceTable[2].EnglishName = "gamma";
    d.SubstanceTable[2].RussianName = "y";
    d.SubstanceTable[3].EnglishName = "x";
    d.SubstanceTable[3].RussianName = "z";
    EXPECT_EQ(d.findSubstance("alpha"), 1u);
    EXPECT_EQ(d.findSubstance("x"), 3u);
    EXPECT_EQ(d.findSubstance("gamma"), 2u);
    EXPECT_EQ(d.findSubstance("none"), 0u);

    SubstanceData empty;
    EXPECT_EQ(empty.findSubstance("alpha"), 0u);
    EXPECT_FALSE(empty.tryFindSubstance("alpha").has_value());
}

TEST(SubstanceLookup, PropertyKindsInRequestOrder) {
    const std::vector<std::string> expected = {"all",       "density",   "vap_press", "enthalp_l",
                                               "enthalp_v", "enthalp_c", "enthalp_s"};
    ASSERT_EQ(PropertyKindName.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(PropertyKindName[i], expected[i]);
}

// ------------------------------------------------------- substance records

TEST(SubstanceRecords, NamesHideTheSubstances) {
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(record(n).EnglishName, "comp." + std::to_string(n));
        EXPECT_EQ(record(n).RussianName, "комп." + std::to_string(n));
    }
}

TEST(SubstanceRecords, MolarMasses) {
    // Ethanol, water, methanol, ethyl acetate (IUPAC atomic weights).
    EXPECT_TRUE(near(record(1).MolarMass, 46.069L, 5e-4L));
    EXPECT_TRUE(near(record(2).MolarMass, 18.015L, 5e-4L));
    EXPECT_TRUE(near(record(3).MolarMass, 32.042L, 5e-4L));
    EXPECT_TRUE(near(record(4).MolarMass, 88.107L, 5e-4L));
}

TEST(SubstanceRecords, TablesShareOneIncreasingAbscissa) {
    const unsigned points[] = {13, 13, 9, 9};
    const unsigned pressurePoints[] = {31, 95, 0, 0};
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE("comp." + std::to_string(n));
        const Pro& p = record(n);
        EXPECT_EQ(p.PointCount, points[n - 1]);
        for (const std::vector<Real>* table :
             {&p.LiquidEnthalpy, &p.VapourEnthalpy, &p.Density, &p.Viscosity, &p.SurfaceTension,
              &p.Expansion, &p.HeatCapacity, &p.PrandtlTable, &p.Conductivity, &p.Temperatures}) {
            EXPECT_EQ(table->size(), p.PointCount);
        }
        EXPECT_TRUE(strictlyIncreasing(p.Temperatures));
        EXPECT_EQ(p.PressurePointCount, pressurePoints[n - 1]);
        EXPECT_EQ(p.PressureValues.size(), p.PressurePointCount);
        EXPECT_EQ(p.PressureTemperatures.size(), p.PressurePointCount);
        EXPECT_TRUE(strictlyIncreasing(p.PressureTemperatures));
        EXPECT_TRUE(strictlyIncreasing(p.PressureValues));
        for (std::size_t i = 0; i < p.PointCount; ++i) {
            EXPECT_GT(p.Density[i], 0);
            EXPECT_GT(p.Viscosity[i], 0);
            EXPECT_GT(p.SurfaceTension[i], 0);
            EXPECT_GT(p.HeatCapacity[i], 0);
            EXPECT_GT(p.Conductivity[i], 0);
            EXPECT_GT(p.VapourEnthalpy[i], p.LiquidEnthalpy[i]);
        }
    }
    const std::vector<Real> ethanolGrid = {-20.0L, 0.0L,  10.0L,  20.0L,  30.0L,  40.0L, 50.0L,
                                           60.0L,  80.0L, 100.0L, 120.0L, 150.0L, 200.0L};
    EXPECT_EQ(record(1).Temperatures, ethanolGrid);
}

TEST(SubstanceRecords, PrandtlColumnOnlyForWater) {
    for (int n : {1, 3, 4}) {
        for (Real v : record(n).PrandtlTable) EXPECT_EQ(v, 0.0L);
    }
    const Pro& water = record(2);
    // Pr of liquid water: about 7.0 at 20 degC, 1.75 at 100 degC.
    EXPECT_TRUE(near(at(water.Temperatures, water.PrandtlTable, 20.0L), 7.0L, 0.1L));
    EXPECT_TRUE(near(at(water.Temperatures, water.PrandtlTable, 100.0L), 1.75L, 0.05L));
}

TEST(SubstanceRecords, WaterAgreesWithSteamTables) {
    const Pro& w = record(2);
    EXPECT_TRUE(near(at(w.Temperatures, w.Density, 20.0L), 998.2L, 0.2L));
    EXPECT_TRUE(near(at(w.Temperatures, w.HeatCapacity, 20.0L), 4183.0L, 5.0L));
    EXPECT_TRUE(near(at(w.Temperatures, w.Viscosity, 20.0L), 1.002e-3L, 5e-6L));
    const Real latent100 =
        at(w.Temperatures, w.VapourEnthalpy, 100.0L) - at(w.Temperatures, w.LiquidEnthalpy, 100.0L);
    EXPECT_TRUE(near(latent100, 2257.0L, 22.57L));
    // Water boils at 99.97 degC under 760 mm Hg.
    EXPECT_TRUE(near(boilingFromTable(w, kAtmosphere_mmHg), 99.97L, 0.1L));
}

TEST(SubstanceRecords, NormalBoilingPoints) {
    // Ethanol 78.3, water 100.0, methanol 64.6 (64.5..64.7 in the literature),
    // ethyl acetate 77.1 degC.
    EXPECT_TRUE(near(boilingFromTable(record(1), kAtmosphere_mmHg), 78.3L, 0.3L));
    EXPECT_TRUE(near(boilingFromAntoine(record(1), kAtmosphere_mmHg), 78.3L, 0.3L));
    EXPECT_TRUE(near(boilingFromAntoine(record(2), kAtmosphere_mmHg), 100.0L, 0.3L));
    const Real methanol = boilingFromAntoine(record(3), kAtmosphere_mmHg);
    EXPECT_GE(methanol, 64.5L - 0.05L);
    EXPECT_LE(methanol, 64.7L + 0.05L);
    EXPECT_TRUE(near(boilingFromAntoine(record(4), kAtmosphere_mmHg), 77.1L, 0.3L));
    for (int n = 1; n <= 4; ++n) EXPECT_LT(record(n).AntoineC, 0);
}

TEST(SubstanceRecords, GroupBlocksGiveTheMoleculeSums) {
    struct Group {
        int main;
        char letter;
        int count;
    };
    struct Molecule {
        std::vector<Group> groups;
        Real r, q;  // sum of nu_k R_k and of nu_k Q_k
    };
    const Molecule molecules[] = {
        {{{1, 'A', 1}, {5, 'A', 1}}, 2.5755L, 2.588L},
        {{{6, ' ', 1}}, 0.92L, 1.40L},
        {{{5, 'B', 1}}, 1.4311L, 1.432L},
        {{{1, 'A', 2}, {1, 'B', 1}, {10, ' ', 1}}, 3.4786L, 3.116L},
    };
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE("comp." + std::to_string(n));
        const GroupBlock& g = record(n).Groups;
        const Molecule& m = molecules[n - 1];
        ASSERT_EQ(g.GroupCount, m.groups.size());
        Real r = 0, q = 0;
        for (std::size_t k = 0; k < g.GroupCount; ++k) {
            EXPECT_EQ(g.MainGroup[k], m.groups[k].main);
            EXPECT_EQ(g.SubgroupLetter[k], m.groups[k].letter);
            EXPECT_EQ(g.Occurrences[k], m.groups[k].count);
            r += g.Occurrences[k] * g.VolumeR[k];
            q += g.Occurrences[k] * g.SurfaceQ[k];
        }
        for (std::size_t k = g.GroupCount; k < kMaxGroups; ++k) EXPECT_EQ(g.Occurrences[k], 0);
        EXPECT_TRUE(near(r, m.r, 1e-12L));
        EXPECT_TRUE(near(q, m.q, 1e-12L));
    }
}

TEST(SubstanceRecords, SteamTable) {
    const SteamTableData& s = builtIn().SteamTable;
    EXPECT_EQ(s.Pressure.front(), 1.0L);
    EXPECT_EQ(s.Pressure.back(), 10.0L);
    for (std::size_t i = 0; i < s.Pressure.size(); ++i) {
        if (i > 0) {
            EXPECT_GT(s.Pressure[i], s.Pressure[i - 1]);
            EXPECT_GT(s.CondensateEnthalpy[i], s.CondensateEnthalpy[i - 1]);
            // The latent heat shrinks as the pressure rises.
            EXPECT_LT(s.SteamEnthalpy[i] - s.CondensateEnthalpy[i],
                      s.SteamEnthalpy[i - 1] - s.CondensateEnthalpy[i - 1]);
        }
        EXPECT_GT(s.SteamEnthalpy[i], s.CondensateEnthalpy[i]);
    }
    // 1 kgf/cm2 = 0.980665 bar: t_sat 99.06 degC, h' 415.1, h'' 2674.1 kJ/kg.
    EXPECT_TRUE(near(s.CondensateEnthalpy.front(), 415.1L, 1.0L));
    EXPECT_TRUE(near(s.SteamEnthalpy.front(), 2674.1L, 1.0L));
}

// ------------------------------------------------------ binary data sets

constexpr Real kVlePressure_Pa = 760.0L * 133.3L;

void expectMirror(int i, int j) {
    SCOPED_TRACE("(" + std::to_string(i) + "," + std::to_string(j) + ")");
    const Equil& m = builtIn().binary(i, j);
    const Equil& s = builtIn().binary(j, i);
    ASSERT_EQ(m.Count, s.Count);
    ASSERT_EQ(m.LiquidX.size(), s.LiquidX.size());
    ASSERT_EQ(m.VapourY.size(), s.VapourY.size());
    ASSERT_EQ(m.Temperature.size(), s.Temperature.size());
    for (std::size_t k = 0; k < m.LiquidX.size(); ++k) {
        EXPECT_EQ(m.LiquidX[k], 1.0L - s.LiquidX[k]);
        EXPECT_EQ(m.VapourY[k], 1.0L - s.VapourY[k]);
        EXPECT_EQ(m.Temperature[k], s.Temperature[k]);
    }
    EXPECT_EQ(m.Pressure, kVlePressure_Pa);
    for (std::size_t k : {0u, 2u, 4u}) {
        EXPECT_EQ(m.StartValues[k], s.StartValues[k + 1]);
        EXPECT_EQ(m.StartValues[k + 1], s.StartValues[k]);
    }
    EXPECT_EQ(m.StartValues[6], s.StartValues[6]);
}

TEST(BinaryData, MirroredSetsReverseTheirSource) {
    expectMirror(1, 3);
    expectMirror(2, 3);
    expectMirror(2, 4);
    expectMirror(1, 4);

    // Ethanol-ethyl acetate from its source: first point x(ester) = 0.0239.
    const Equil& ee = builtIn().binary(1, 4);
    ASSERT_EQ(ee.Count, 24);
    EXPECT_TRUE(near(ee.LiquidX[0], 0.9761L, 1e-15L));
    // Water-methanol: Wilson parameters of methanol-water, exchanged.
    const Equil& wm = builtIn().binary(2, 3);
    ASSERT_EQ(wm.Count, 11);
    EXPECT_EQ(wm.StartValues[0], 0.91900L);
    EXPECT_EQ(wm.StartValues[1], 0.22843L);
    EXPECT_EQ(wm.StartValues[6], 1.47774L);
}

TEST(BinaryData, StoredAndEmptySets) {
    const SubstanceData& d = builtIn();
    ASSERT_EQ(d.BinaryDataTable.size(), 4u);
    for (const MIX& row : d.BinaryDataTable) ASSERT_EQ(row.size(), 4u);

    EXPECT_EQ(d.binary(1, 2).Count, 34);
    EXPECT_EQ(d.binary(3, 2).Count, 11);
    EXPECT_EQ(d.binary(4, 1).Count, 24);
    // Only one order of these pairs is kept.
    EXPECT_EQ(d.binary(2, 1).Count, 0);
    EXPECT_TRUE(d.binary(2, 1).LiquidX.empty());
    EXPECT_EQ(d.binary(4, 3).Count, 0);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(d.binary(i, i).Count, 0);
    // No measured data for methanol-ethanol, ethyl acetate-water and
    // methanol-ethyl acetate, in either order.
    const std::pair<int, int> withoutData[] = {{1, 3}, {2, 4}, {3, 4}};
    for (auto [i, j] : withoutData) {
        EXPECT_EQ(d.binary(i, j).Count, 0);
        EXPECT_EQ(d.binary(j, i).Count, 0);
    }
    // 760 mm Hg at 133.3 Pa each on every set that exists in either order.
    const std::pair<int, int> existing[] = {{1, 2}, {3, 1}, {1, 3}, {3, 2}, {2, 3},
                                            {4, 2}, {2, 4}, {4, 1}, {1, 4}, {3, 4}};
    for (auto [i, j] : existing) {
        EXPECT_TRUE(near(d.binary(i, j).Pressure, 101308.0L, 1e-9L)) << i << "," << j;
    }
    // Stored start values arrive in the order Wilson, UNIQUAC, NRTL.
    const Equil& ew = d.binary(1, 2);
    EXPECT_EQ(ew.StartValues[0], 0.55211L);
    EXPECT_EQ(ew.StartValues[3], 0.12056L);
    EXPECT_EQ(ew.StartValues[6], 1.12662L);
}

TEST(BinaryData, MeasuredPointsArePhysical) {
    struct Range {
        int i, j;
        Real tLow, tHigh;  // between the azeotrope or lighter boiler and the heavier boiler
    };
    // Ethanol-water: azeotrope 78.15, water 100 degC. Methanol-water: 64.6 to
    // 100. Ethyl acetate-ethanol: azeotrope 71.8, ethanol 78.3.
    for (const Range& r :
         {Range{1, 2, 78.0L, 100.5L}, Range{3, 2, 64.5L, 100.0L}, Range{4, 1, 71.5L, 78.4L}}) {
        SCOPED_TRACE("(" + std::to_string(r.i) + "," + std::to_string(r.j) + ")");
        const Equil& e = builtIn().binary(r.i, r.j);
        ASSERT_LE(e.Count, kMaxEquilPoints);
        ASSERT_EQ(e.LiquidX.size(), e.Count);
        ASSERT_EQ(e.VapourY.size(), e.Count);
        ASSERT_EQ(e.Temperature.size(), e.Count);
        for (std::size_t k = 0; k < e.Count; ++k) {
            EXPECT_GE(e.LiquidX[k], 0);
            EXPECT_LE(e.LiquidX[k], 1);
            EXPECT_GE(e.VapourY[k], 0);
            EXPECT_LE(e.VapourY[k], 1);
            EXPECT_GE(e.Temperature[k], r.tLow);
            EXPECT_LE(e.Temperature[k], r.tHigh);
        }
    }
}

TEST(BinaryData, NumbersOutsideTheTableAreRefused) {
    const SubstanceData& d = builtIn();
    EXPECT_THROW(d.binary(0, 1), std::out_of_range);
    EXPECT_THROW(d.binary(5, 1), std::out_of_range);
    EXPECT_THROW(d.binary(1, 0), std::out_of_range);
    EXPECT_THROW(d.binary(1, 5), std::out_of_range);
    EXPECT_NO_THROW(d.binary(4, 4));
}

// ------------------------------------------------- group interactions

TEST(GroupInteraction, OnlyTheFourMainGroupsInteract) {
    const SubstanceData& d = builtIn();
    const std::set<int> used = {1, 5, 6, 10};
    int given = 0;
    for (int m = 1; m <= kMainGroupCount; ++m) {
        for (int n = 1; n <= kMainGroupCount; ++n) {
            const Real a = d.groupInteraction(m, n);
            if (used.count(m) && used.count(n) && m != n) {
                EXPECT_NE(a, 0.0L) << m << "," << n;
                ++given;
            } else {
                EXPECT_EQ(a, 0.0L) << m << "," << n;
            }
        }
    }
    EXPECT_EQ(given, 12);
    // Stored in the unit of the reduced temperature T/273.15.
    EXPECT_EQ(d.groupInteraction(1, 5), 931.2L / 273.15L);
    EXPECT_EQ(d.groupInteraction(5, 1), 169.7L / 273.15L);
    EXPECT_EQ(d.GroupInteractionTable[5][4], -229.1L / 273.15L);  // a(6,5) at [5][4]

    EXPECT_THROW(d.groupInteraction(0, 1), std::out_of_range);
    EXPECT_THROW(d.groupInteraction(1, 20), std::out_of_range);
}

}  // namespace
}  // namespace vexamo
