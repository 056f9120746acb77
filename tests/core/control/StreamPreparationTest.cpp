#include "control/StreamPreparation.h"

#include <gtest/gtest.h>

#include "common/Errors.h"
#include "control/RecordCodec.h"
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
    EXPECT_EQ(t.Components[0].Density, session.Data.SubstanceTable[1].Density);  // a full copy, tables too
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
    EXPECT_EQ(g.label, "Введите концентрации компонентов теплоносителя в \r\nмежтрубном пространстве (% масс.) для "
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
        EXPECT_STREQ(e.what(), "the properties of mixture component comp.2 are absent in the database");
    }
    TechnSet outside = heated({0, 7});
    EXPECT_THROW(PrepareStream(session, dialogs, 't', '1', 0, outside, correction, temperature, 20),
                 CalculationAborted);
}

}  // namespace
}  // namespace vexamo
