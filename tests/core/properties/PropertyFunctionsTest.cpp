#include <gtest/gtest.h>

#include <cmath>

#include "common/Errors.h"
#include "properties/PropertyFunctions.h"

namespace vexamo {
namespace {

const SubstanceData& data() {
    static const SubstanceData d = SubstanceData::builtIn();
    return d;
}
const Pro& water() { return data().SubstanceTable[1]; }
const Pro& ethanol() { return data().SubstanceTable[0]; }

TEST(InterpolateTable, GridPointsEndsAndClamping) {
    const std::vector<Real> x{0, 10, 30};
    const std::vector<Real> y{1, 2, 5};
    EXPECT_EQ(InterpolateTable(x, y, 0), 1);
    EXPECT_EQ(InterpolateTable(x, y, 10), 2);
    EXPECT_EQ(InterpolateTable(x, y, 30), 5);
    EXPECT_EQ(InterpolateTable(x, y, 20), 3.5L);
    RangeLog log;
    EXPECT_EQ(InterpolateTable(x, y, -5, &log, "T", "s"), 1);  // below: the first value
    EXPECT_EQ(InterpolateTable(x, y, 99, &log, "T", "s"), 5);  // above: the last value
    EXPECT_EQ(InterpolateTable(x, y, 100, &log, "T", "s"), 5);
    EXPECT_EQ(log.count(), 3u);
    ASSERT_EQ(log.events().size(), 2u);  // one line per table, substance and side
    EXPECT_EQ(log.events()[1].low, 0);
    EXPECT_EQ(log.events()[1].high, 30);
    // The line keeps the farthest argument and says how far outside it lay.
    EXPECT_EQ(log.events()[1].argument, 100);
    EXPECT_NE(log.describe(kEnglish).at(1).find(
                  "at 100 °C, 70 K above the range of its data (0 to 30 °C); "
                  "the value at 30 °C is used"),
              std::string::npos)
        << log.describe(kEnglish).at(1);

    const std::vector<Real> one{7};
    EXPECT_EQ(InterpolateTable(one, one, 3), 7);
    EXPECT_THROW(InterpolateTable({}, {}, 1), CalculationAborted);
    EXPECT_THROW(InterpolateTable(x, one, 1), CalculationAborted);
    EXPECT_THROW(InterpolateTable(x, y, std::nanl("")), NumericalError);
}

// Below and above a table are two facts: each keeps its own farthest value.
TEST(RangeLog, KeepsEachSideOfEachTableApartAndTheFarthestValue) {
    RangeLog log;
    log.note({"property tables", "comp.2", -5, 0, 200, {}});
    log.note({"property tables", "comp.2", -26.5L, 0, 200, {}});
    log.note({"property tables", "comp.2", -1, 0, 200, {}});
    log.note({"property tables", "comp.2", 215, 0, 200, {}});
    log.note({"property tables", "comp.1", 215, -20, 200, {}});
    EXPECT_EQ(log.count(), 5u);
    ASSERT_EQ(log.events().size(), 3u);
    EXPECT_EQ(log.events()[0].argument, -26.5L);
    EXPECT_EQ(distanceOutside(log.events()[0]), 26.5L);
    EXPECT_EQ(log.events()[1].argument, 215);
    const std::vector<std::string> ru = log.describe(kRussian);
    EXPECT_EQ(ru[0],
              "comp.2: свойства при -26.5 °C, на 26.5 К ниже диапазона данных (0 … 200 °C); "
              "взято значение при 0 °C");
    log.clear();
    EXPECT_EQ(log.count(), 0u);
    EXPECT_TRUE(log.events().empty());
}

// The Antoine constants of methanol and ethyl acetate hold over the range
// Reid, Prausnitz and Sherwood (1977, App. A) give: up to 30 K beyond it the
// equation is extrapolated with a warning, further out (or below -50 degC)
// a saturation temperature is an error, not a result.
TEST(AntoineRange, WarnsNearTheRangeAndRefusesFarFromIt) {
    RangeLog log;
    checkAntoineTemperature(data(), 3, 77.1L, kEnglish, &log);    // ethyl acetate at 1 atm
    checkAntoineTemperature(data(), 2, -16.15L, kEnglish, &log);  // methanol at its lower end
    EXPECT_EQ(log.count(), 0u);

    checkAntoineTemperature(data(), 3, 135.38L, kEnglish, &log);  // ethyl acetate near 5 kgf/cm2
    ASSERT_EQ(log.events().size(), 1u);
    EXPECT_EQ(log.events()[0].table, "Antoine");
    EXPECT_EQ(log.events()[0].high, 111.85L);
    const std::string line = log.describe(kEnglish).at(0);
    EXPECT_NE(
        line.find(
            "comp.4: saturation temperature (Antoine equation) at 135.38 °C, 23.53 K above the "
            "range of "
            "its data (-13.15 to 111.85 °C, Reid-Prausnitz-Sherwood 1977 App. A); the equation is "
            "extrapolated"),
        std::string::npos)
        << line;

    EXPECT_NO_THROW(checkAntoineTemperature(data(), 3, 111.85L + 29.99L, kEnglish, nullptr));
    try {
        checkAntoineTemperature(data(), 3, 191.79L, kRussian, &log);
        ADD_FAILURE();
    } catch (const CalculationAborted& e) {
        EXPECT_NE(std::string(e.what()).find(
                      "комп.4 по уравнению Антуана равна 191.79 град.С, далеко вне "
                      "диапазона данных (-13.15 … 111.85 град.С)"),
                  std::string::npos)
            << e.what();
    }
    // 1e30 kgf/cm2 put through the equation once gave 10 K with exit 0.
    EXPECT_THROW(checkAntoineTemperature(data(), 2, -262.9L, kEnglish, &log), CalculationAborted);
    EXPECT_THROW(checkAntoineTemperature(data(), 2, std::nanl(""), kEnglish, &log),
                 CalculationAborted);
    // A record with no stated range: only the lowest saturation temperature.
    EXPECT_NO_THROW(checkAntoineTemperature(data(), 7, 400, kEnglish, &log));
    EXPECT_THROW(checkAntoineTemperature(data(), 7, -51, kEnglish, &log), CalculationAborted);
    EXPECT_EQ(log.events().size(), 1u);
}

TEST(SubstanceProperty, KindsReadTheirTables) {
    // A table temperature gives the stored value exactly.
    for (std::size_t k = 0; k < water().Temperatures.size(); ++k)
        EXPECT_EQ(GetSubstanceProperty(data(), "comp.2", "density", water().Temperatures[k]),
                  water().Density[k]);
    EXPECT_EQ(GetSubstanceProperty(data(), "комп.1", "enthalp_l", 20), ethanol().LiquidEnthalpy[3]);
    EXPECT_EQ(GetSubstanceProperty(data(), "comp.1", "enthalp_v", 20), ethanol().VapourEnthalpy[3]);
    // vapour pressure in mm Hg, straight from the table
    EXPECT_EQ(GetSubstanceProperty(data(), "comp.2", "vap_press", 0), water().PressureValues[0]);
    // the steam kinds read the steam table whatever the name
    EXPECT_EQ(GetSubstanceProperty(data(), "comp.4", "enthalp_s", 1.0L),
              data().SteamTable.SteamEnthalpy[0]);
    EXPECT_EQ(GetSubstanceProperty(data(), "nothing", "enthalp_c", 10),
              data().SteamTable.CondensateEnthalpy[13]);
    // an unknown name selects the first record, without a message
    EXPECT_EQ(GetSubstanceProperty(data(), "benzene", "density", 20), ethanol().Density[3]);

    SubstanceConstants all;
    EXPECT_EQ(GetSubstanceProperty(data(), "comp.4", "all", 12345, &all), 0);
    EXPECT_EQ(all.MolarMass, 88.107L);
    EXPECT_EQ(all.AntoineC, data().SubstanceTable[3].AntoineC);
    EXPECT_EQ(all.Groups.GroupCount, 3);

    try {
        GetSubstanceProperty(data(), "comp.2", "viscosity", 20);
        ADD_FAILURE();
    } catch (const CalculationAborted& e) {
        EXPECT_STREQ(e.what(), "свойство viscosity отсутствует в базе данных");
    }
    // methanol has no vapour-pressure table: a clear error, not a zero
    EXPECT_THROW(GetSubstanceProperty(data(), "comp.3", "vap_press", 50), CalculationAborted);
}

TEST(SubstanceProperty, VapourPressureByTableOrAntoine) {
    EXPECT_EQ(VapourPressure(data(), "comp.2", 1), 133.3L * water().PressureValues[0]);
    // independent references: water boils at 100 degC and ethanol at 78.3 degC under 760 mm Hg
    EXPECT_NEAR(static_cast<double>(VapourPressure(data(), "comp.2", 373.15L / 273.15L) / 133.3L),
                760, 2);
    EXPECT_NEAR(static_cast<double>(VapourPressure(data(), "comp.1", 351.45L / 273.15L) / 133.3L),
                760, 5);
    // methanol: Antoine, though its table is empty; normal boiling point 64.6 degC
    const Pro& methanol = data().SubstanceTable[2];
    const Real tau = 337.75L / 273.15L;
    EXPECT_EQ(VapourPressure(data(), "комп.3", tau),
              133.3L * std::exp(methanol.AntoineA -
                                methanol.AntoineB / (273.15L * tau + methanol.AntoineC)));
    EXPECT_NEAR(static_cast<double>(VapourPressure(data(), "comp.3", tau) / 133.3L), 760, 10);

    // molar volume of water at 20 degC: 18.015 / 998.2 m3/kmol
    EXPECT_NEAR(static_cast<double>(MolarVolume(data(), "comp.2", 20)), 18.015 / 998.2, 1e-5);
    EXPECT_THROW(MolarVolume(data(), "benzene", 20), CalculationAborted);
}

TEST(PureProperties, WaterAgainstReferenceValues) {
    // IAPWS values: 20 degC 998.2 kg/m3, 1.0016 mPa s; 60 degC 983.2 kg/m3, 0.4665 mPa s
    const PropertySet at20 = PureProperties(water(), 20);
    EXPECT_NEAR(static_cast<double>(at20.Density), 998.2, 0.2);
    EXPECT_NEAR(static_cast<double>(at20.Viscosity), 1.0016e-3, 0.01e-3);
    EXPECT_NEAR(static_cast<double>(at20.Conductivity), 0.598, 0.003);
    EXPECT_NEAR(static_cast<double>(at20.HeatCapacity), 4184, 5);
    EXPECT_EQ(at20.MolarMass, 18.015L);
    const PropertySet at60 = PureProperties(water(), 60);
    EXPECT_NEAR(static_cast<double>(at60.Density), 983.2, 0.3);
    EXPECT_NEAR(static_cast<double>(at60.Viscosity), 0.4665e-3, 0.005e-3);
    // latent heat at 100 degC: 2257 kJ/kg
    EXPECT_NEAR(static_cast<double>(PureProperties(water(), 100).LatentHeat), 2257, 3);
    // Prandtl from the interpolated values, exactly
    for (Real t : {5.0L, 20.0L, 37.5L, 150.0L}) {
        const PropertySet p = PureProperties(ethanol(), t);
        EXPECT_EQ(p.Prandtl, p.HeatCapacity * p.Viscosity / p.Conductivity);
    }
    // the latent heat is interpolated in the point-wise difference
    const PropertySet mid = PureProperties(ethanol(), 45);
    const Real d40 = ethanol().VapourEnthalpy[5] - ethanol().LiquidEnthalpy[5];
    const Real d50 = ethanol().VapourEnthalpy[6] - ethanol().LiquidEnthalpy[6];
    EXPECT_EQ(mid.LatentHeat, (1 - 0.5L) * d40 + 0.5L * d50);
}

TEST(PureProperties, OutsideTheTableTheEndValueIsUsedAndNoted) {
    RangeLog log;
    const PropertySet hot = PureProperties(water(), 250, &log);
    const PropertySet top = PureProperties(water(), 200);
    EXPECT_EQ(hot.Density, top.Density);
    EXPECT_EQ(hot.LatentHeat, top.LatentHeat);
    ASSERT_EQ(log.events().size(), 1u);
    EXPECT_EQ(log.events()[0].substance, "comp.2");
    EXPECT_EQ(log.events()[0].argument, 250);

    Pro broken = water();
    broken.Viscosity.pop_back();
    EXPECT_THROW(PureProperties(broken, 20), CalculationAborted);
}

}  // namespace
}  // namespace vexamo
