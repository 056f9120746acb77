#include <gtest/gtest.h>

#include <cmath>

#include "common/Constants.h"
#include "common/Errors.h"
#include "control/StreamPreparation.h"
#include "exchanger/CorrelationTables.h"
#include "problem/RecordCodec.h"
#include "support/FakeDialogs.h"

namespace vexamo {
namespace {

using test::FakeDialogs;

GridAnswer gridValues(int columns, std::vector<Real> values) {
    GridAnswer a;
    a.reals.assign(static_cast<std::size_t>(columns), std::vector<Real>(3));
    for (std::size_t j = 0; j < values.size(); ++j) a.reals[j + 1][2] = values[j];
    return a;
}

TechnSet heated(std::vector<std::uint16_t> components) {
    TechnSet t;
    t.ComponentCount = static_cast<std::uint16_t>(components.size());
    for (std::size_t i = 0; i < components.size(); ++i) t.ComponentIndex[i] = components[i];
    t.ProcessCode = 2;
    t.SelectionChanged = 1;
    return t;
}

TEST(StreamPreparation, OneComponentNeedsNoQuestion) {
    Session session;
    FakeDialogs dialogs;
    TechnSet t = heated({1});
    t.Pressure = 12345;  // a 't' stream keeps no pressure
    Real correction = 0.75L, temperature = 0;
    PrepareStream(session, dialogs, 't', '1', 0, t, correction, temperature, 18.5L);
    EXPECT_EQ(t.Concentration[0], 100);
    EXPECT_EQ(t.Temperature, 18.5L);
    EXPECT_EQ(temperature, 18.5L);
    EXPECT_EQ(t.Pressure, 0);
    EXPECT_EQ(t.AirFactor, 0.75L);  // the correction cell as it is
    EXPECT_EQ(t.GivenState, 't');
    EXPECT_EQ(t.Components[0].Density,
              session.Data.SubstanceTable[1].Density);  // a full copy, tables too
    EXPECT_EQ(session.ComponentNames, std::vector<std::string>{"comp.2"});
}

TEST(StreamPreparation, ConcentrationTableUntilTheSumFits) {
    Session session;
    session.LanguageFlag = kRussian;
    FakeDialogs dialogs;
    dialogs.expect("stream.concentrations", gridValues(3, {60, 50}))
        .expect("stream.concentrations", gridValues(3, {60, 30}));
    TechnSet t = heated({0, 1, 2});
    Real correction = 1, temperature = 0;
    PrepareStream(session, dialogs, 't', '2', 0, t, correction, temperature, 70);
    ASSERT_EQ(dialogs.gridRequests.size(), 2u);
    const GridRequest& g = dialogs.gridRequests[0];
    EXPECT_EQ(g.columns, 3);
    EXPECT_EQ(g.rows, 3);
    EXPECT_EQ(g.fixedRows, 2);
    EXPECT_EQ(g.baseHeight, 219);
    EXPECT_EQ(g.caption, "Ввод данных для расчета равновесия");
    EXPECT_EQ(g.label,
              "Введите концентрации компонентов теплоносителя в \r\nмежтрубном пространстве (% "
              "масс.) для "
              "расчета теплофизических свойств.");
    EXPECT_EQ(g.cells[0][0], "  Темпер.  ");
    EXPECT_EQ(g.cells[0][2], "70");
    EXPECT_EQ(g.cells[1][0], "  комп.1");
    EXPECT_EQ(g.cells[2][2], "");  // the selection changed: empty cells
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Сумма концентраций компонентов больше 100%");
    EXPECT_EQ(dialogs.gridRequests[1].cells[1][2], "60");  // shown again as they were
    EXPECT_EQ(dialogs.gridRequests[1].cells[2][2], "50");
    EXPECT_EQ(t.Concentration[0], 60);
    EXPECT_EQ(t.Concentration[1], 30);
    EXPECT_EQ(t.Concentration[2], 10);
}

TEST(StreamPreparation, ComponentsFromAProblemFile) {
    Session session;
    session.DataLoaded = 1;
    TechnSet t = heated({0, 1});
    t.SelectionChanged = 0;
    t.Concentration = {35.5L, 64.5L};
    t.Components[0] = fixedPart(session.Data.SubstanceTable[0]);
    t.Components[1] = fixedPart(session.Data.SubstanceTable[1]);
    {
        FakeDialogs dialogs;
        dialogs.expect("stream.concentrations", gridValues(2, {35.5L}));
        Real correction = 1, temperature = 0;
        PrepareStream(session, dialogs, 't', '1', 0, t, correction, temperature, 20);
        EXPECT_EQ(dialogs.gridRequests.at(0).cells[1][2], " 35.50");  // pre-filled "%6.2f"
        EXPECT_EQ(dialogs.gridRequests.at(0).defaultAnswer, std::vector<std::string>{"35.5"});
    }
    // a stored component the table no longer holds ends the calculation
    t.Components[1].RussianName = "вода";
    FakeDialogs dialogs;
    Real correction = 1, temperature = 0;
    try {
        PrepareStream(session, dialogs, 't', '1', 0, t, correction, temperature, 20);
        ADD_FAILURE();
    } catch (const CalculationAborted& e) {
        EXPECT_STREQ(e.what(),
                     "the properties of mixture component comp.2 are absent in the database");
    }
    TechnSet outside = heated({0, 7});
    EXPECT_THROW(PrepareStream(session, dialogs, 't', '1', 0, outside, correction, temperature, 20),
                 CalculationAborted);
}

TechnSet changingPhase(std::vector<std::uint16_t> components, std::uint8_t process) {
    TechnSet t = heated(std::move(components));
    t.ProcessCode = process;
    return t;
}

InputAnswer typed(Real value) {
    InputAnswer a;
    a.real = value;
    a.text = "0.5";
    return a;
}

TEST(StreamPreparation, CondensingWaterFromItsTableWithTheAirQuestion) {
    Session session;
    session.LanguageFlag = kRussian;
    FakeDialogs dialogs;
    dialogs.expect("stream.air_content", typed(0.5L));
    TechnSet t = changingPhase({1}, 0);
    Real correction = 0, temperature = 0;
    PrepareStream(session, dialogs, 'p', '2', 'x', t, correction, temperature, kgfcm2ToMmHg(1));
    EXPECT_NEAR(temperature, 99.06L,
                0.03L);  // saturated water at 1 kgf/cm2 = 98.0665 kPa (IAPWS-IF97)
    EXPECT_EQ(t.Temperature, temperature);
    EXPECT_EQ(t.Pressure, 735.559L * 133.3L);
    EXPECT_EQ(t.AirFactor, CondensateFactor(0.5L));
    EXPECT_EQ(correction, CondensateFactor(0.5L));
    const InputRequest& air = dialogs.inputRequests.at(0);
    EXPECT_EQ(air.caption, "Ввод исходных данных");
    EXPECT_EQ(air.prompt,
              " Введите содеpжание воздуха в паpах воды (% масс.)");  // two Latin p, as shown
    EXPECT_EQ(air.unit, " % массовые");
    EXPECT_EQ(session.Report.lineCount(), 0u);  // a pure substance writes no table

    // Cancel (or "Default") is no number: the Run ends, the record stays as it was
    FakeDialogs cancelled;
    InputAnswer cancel;
    cancel.cancelled = true;
    cancelled.expect("stream.air_content", cancel);
    TechnSet untouched = changingPhase({1}, 0);
    EXPECT_THROW(
        PrepareStream(session, cancelled, 'p', '2', 'x', untouched, correction, temperature, 760),
        CalculationAborted);
    EXPECT_EQ(untouched.Pressure, 0);
    EXPECT_EQ(untouched.GivenState, 0);

    // beyond the table: refused, not extrapolated
    FakeDialogs none;
    TechnSet high = changingPhase({1}, 0);
    EXPECT_THROW(PrepareStream(session, none, 'p', '2', 'x', high, correction, temperature,
                               kgfcm2ToMmHg(20)),
                 CalculationAborted);
}

TEST(StreamPreparation, PureSubstanceByAntoine) {
    Session session;
    FakeDialogs dialogs;  // boiling, and no water: no question
    TechnSet t = changingPhase({2}, 1);
    Real correction = 0, temperature = 0;
    PrepareStream(session, dialogs, 'p', '1', 'y', t, correction, temperature, 760);
    const Pro& methanol = session.Data.SubstanceTable[2];
    EXPECT_NEAR(
        temperature,
        methanol.AntoineB / (methanol.AntoineA - std::log(760.0L)) - methanol.AntoineC - 273.15L,
        1e-15L);
    EXPECT_NEAR(temperature, 64.6L, 0.2L);  // normal boiling point of methanol
    EXPECT_EQ(correction, 1);
    EXPECT_EQ(t.AirFactor, 1);
    FakeDialogs condensing;  // condensing methanol has no air question either
    PrepareStream(session, condensing, 'p', '1', 'x', t, correction, temperature, 760);
}

TEST(StreamPreparation, BoilingMixtureWritesItsEquilibriumInMmHg) {
    Session session;
    FakeDialogs dialogs;
    dialogs.expect("equilibrium.method", MethodAnswer{false, 0})
        .expect("stream.concentrations", gridValues(2, {50}));
    TechnSet t = changingPhase({0, 1}, 1);
    Real correction = 0.5L, temperature = 0;
    PrepareStream(session, dialogs, 'p', '1', 'y', t, correction, temperature, 760);
    // 50 % by mass is x = 0.281 of ethanol: measured 82.0 (x = 0.284) to 82.3 degC (x = 0.255)
    EXPECT_NEAR(temperature, 82.1L, 0.25L);
    EXPECT_EQ(correction, 1);
    EXPECT_EQ(t.Pressure, 760 * 133.3L);
    const std::vector<std::string>& lines = session.Report.lines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[6],
              "                     Equilibrium structures of phases in trumpet space during "
              "boiling of a "
              "liquid (% of weights)");
    EXPECT_EQ(lines[7],
              "     Pabs    t boil/cond       comp.1      comp.1      comp.2      comp.2 ");
    EXPECT_EQ(lines[8],
              " mm of hg.    degr.C          in liquid   in vapour     in liquid   in vapour  ");
    EXPECT_EQ(lines[9].substr(0, 24), "  760.0000   82.1788    ");   // mm Hg, not Pa
    EXPECT_EQ(lines[9].substr(24, 24), "     50.0000     77.0961");  // liquid back in mass %
    EXPECT_NEAR(session.EquilibriumLiquid[0], 0.5L / 46.069L / (0.5L / 46.069L + 0.5L / 18.015L),
                1e-18L);

    // a condensing mixture at 2 kgf/cm2: the dew point from its vapour, Russian head
    Session russian;
    russian.LanguageFlag = kRussian;
    FakeDialogs second;
    second.expect("equilibrium.method", MethodAnswer{false, 2})
        .expect("stream.concentrations", gridValues(2, {50}));
    TechnSet c = changingPhase({0, 1}, 0);
    PrepareStream(russian, second, 'p', '2', 'x', c, correction, temperature, kgfcm2ToMmHg(2));
    const std::vector<std::string>& ru = russian.Report.lines();
    EXPECT_EQ(ru[ru.size() - 3],
              "     Pабс     t кип/конд       комп.1      комп.1      комп.2      комп.2 ");
    EXPECT_EQ(ru[ru.size() - 2],
              " мм рт.ст.    град.C           в жидк.     в паре       в жидк.     в паре   ");
    EXPECT_EQ(ru.back().substr(0, 10), " 1471.1180");
    EXPECT_GT(temperature, 100);     // 2 kgf/cm2: above the normal dew point of the vapour
    EXPECT_LT(temperature, 119.6L);  // water's boiling point at 2 kgf/cm2 (IAPWS-IF97: 119.60 degC)
}

TEST(StreamPreparation, EquilibriumSetUpFailuresEndTheRun) {
    SubstanceData data = SubstanceData::builtIn();
    data.BinaryDataTable[0][1].StartValues[0] = -30000;  // the fit overflows at once
    Session session(data);
    FakeDialogs dialogs;
    dialogs.expect("equilibrium.method", MethodAnswer{false, 0});
    TechnSet t = changingPhase({0, 1}, 1);
    Real correction = 1, temperature = 0;
    try {
        PrepareStream(session, dialogs, 'p', '1', 'y', t, correction, temperature, 760);
        ADD_FAILURE();
    } catch (const CalculationAborted& e) {
        EXPECT_EQ(std::string(e.what()).rfind(
                      "   At execution of the program there was an error!\r\nPlease reboot "
                      "the application and repeat calculation.\r\n",
                      0),
                  0u)
            << e.what();
    }
    EXPECT_EQ(dialogs.waitLabels.back(), "");  // not left standing

    // The person's choice to end the program is no failure of the set-up.
    FakeDialogs ending;
    AlternAnswer two;
    two.index = 1;
    ending.expect("equilibrium.method", MethodAnswer{false, 0})
        .expect("equilibrium.data_absent", two);
    TechnSet noData = changingPhase({1, 3}, 1);
    EXPECT_THROW(
        PrepareStream(session, ending, 'p', '1', 'y', noData, correction, temperature, 760),
        ProgramExitRequested);
}

}  // namespace
}  // namespace vexamo
