#include <gtest/gtest.h>

#include "common/Constants.h"
#include "control/DataDialogActions.h"
#include "control/Session.h"
#include "dialogs/TechnologicalDialog.h"
#include "support/FakeDialogs.h"
#include "support/SampleProblem.h"

namespace vexamo {
namespace {

using Strings = std::vector<std::string>;

struct TechnologicalDialogTest : ::testing::Test {
    Session session;
    TechnologicalDialogModel& model = session.TechnoDialog;

    void SetUp() override { show(); }
    void show() {
        prepareTechnological(model, session);
        model.FormActivate(session.LanguageFlag);
    }
    void select(int side, const std::string& process) {
        model.sides[static_cast<std::size_t>(side)].processText = process;
        model.cbProcessSelect(side);
    }
    // Condensing comp.1 + comp.2 in the tubes at 1.5 kgf/cm2, heated comp.2
    // in the shell from 20 degC, the shell flow given.
    void fillCondensingHeating() {
        model.clQualRatioClickCheck(0, 0, true);
        model.clQualRatioClickCheck(0, 1, true);
        model.clQualRatioClickCheck(1, 1, true);
        select(0, "condensation");
        select(1, "heating");
        model.sides[0].pressureText = "1.5";
        model.sides[1].temperatureText = " 20 ";
        model.sides[0].consumptionText = "not read";
        model.sides[1].consumptionText = "5000";
        model.chbConsumpClick(0, false);
    }
};

TEST_F(TechnologicalDialogTest, ProcessSelectionReducesTheOtherList) {
    select(0, "heating");
    EXPECT_EQ(model.sides[1].processList, (Strings{"condensation", "cooling"}));
    EXPECT_FALSE(model.sides[0].pressureEnabled);
    EXPECT_TRUE(model.sides[0].temperatureEnabled);

    for (const char* left : {"boiling", "cooling", "condensation", "heating"}) {
        select(0, left);
        for (const std::string& right : model.sides[1].processList) {
            select(1, right);
            EXPECT_EQ(model.sides[0].processList.size(), 2u);
            EXPECT_EQ(model.sides[1].processList.size(), 2u);
        }
    }
    model.bitbtPrussClick();
    EXPECT_EQ(model.sides[0].processList.size(), 4u);
    EXPECT_EQ(model.sides[1].processList, model.processNames);
}

TEST_F(TechnologicalDialogTest, OkHarvestsIntoTheRecords) {
    test::FakeDialogs dialogs;
    dialogs.onTechnological = [&](TechnologicalDialogModel& m) {
        fillCondensingHeating();
        return m.bitbtOkClick(kEnglish).accepted;
    };
    ASSERT_TRUE(TechnoActionExecute(session, dialogs));
    const TechnSet& tube = session.Problem.TubeStream;
    const TechnSet& shell = session.Problem.ShellStream;
    // 1 kgf/cm2 = 98 066.5 Pa = 735.559 mm Hg; the mm Hg go on to Pa by 133.3
    EXPECT_EQ(session.EnteredState[0], 1.5L * 735.559L);
    EXPECT_EQ(tube.Pressure, 1.5L * 735.559L * 133.3L);
    EXPECT_NEAR(static_cast<double>(tube.Pressure / (1.5L * 98066.5L)), 1.0, 2e-4);
    EXPECT_EQ(tube.FlowRate, 0);
    EXPECT_EQ(shell.FlowRate, 5000);
    EXPECT_EQ(shell.Temperature, 20);
    EXPECT_EQ(session.FlowSide, 1);
    EXPECT_EQ(session.PairCode, 2);
    EXPECT_EQ(tube.ComponentIndex, (std::array<std::uint16_t, 6>{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(tube.ComponentCount, 2);
    EXPECT_EQ(shell.SinglePhase, 1);
    EXPECT_EQ(model.sides[0].givenState, 'p');
    EXPECT_EQ(model.sides[0].phaseLetter, 'x');
    EXPECT_TRUE(session.TechnoEntered);
    EXPECT_FALSE(session.TechnoPending);
}

TEST_F(TechnologicalDialogTest, PrefillFromARecordWithoutTubeFlow) {
    session.Problem = test::sampleProblem(session.Data);
    session.Problem.TubeStream.Pressure = mmHgToPa(25);  // vacuum: 0.0340 kgf/cm2
    session.DataLoaded = 1;
    show();
    const auto& tube = model.sides[0];
    const auto& shell = model.sides[1];
    EXPECT_TRUE(shell.consumptionChecked);
    EXPECT_TRUE(shell.consumptionEnabled);
    EXPECT_FALSE(tube.consumptionEnabled);
    EXPECT_EQ(shell.consumptionText, "12345.678");
    EXPECT_EQ(tube.pressureText, "  0.03");
    EXPECT_FALSE(tube.temperatureEnabled);
    EXPECT_EQ(shell.temperatureText, " 18.50");
    EXPECT_EQ(tube.checked, (std::vector<bool>{true, true, false, false}));

    // Confirmed unchanged, the records come back as they were, not rounded
    // to the two decimals shown; a retyped text is taken as typed.
    const ProblemData before = session.Problem;
    ASSERT_TRUE(model.bitbtOkClick(kEnglish).accepted);
    harvestTechnological(model, session);
    EXPECT_NEAR(
        static_cast<double>(session.Problem.TubeStream.Pressure / before.TubeStream.Pressure), 1.0,
        1e-15);
    EXPECT_EQ(session.Problem.ShellStream.FlowRate, before.ShellStream.FlowRate);
    model.sides[0].pressureText = "0.03";
    ASSERT_TRUE(model.bitbtOkClick(kEnglish).accepted);
    EXPECT_EQ(model.sides[0].enteredValue, 0.03L * 735.559L);
}

TEST_F(TechnologicalDialogTest, PrefillShowsTheStoredPascalsInKgfPerCm2) {
    // 5 kgf/cm2 and the 5.166 kgf/cm2 that a file holding 5 x 760 mm Hg
    // carries: each shown as its own pressure, and kept as stored when
    // confirmed unchanged.
    for (const auto& [stored_Pa, shown] : {std::pair{5 * 735.559L * 133.3L, std::string("  5.00")},
                                           std::pair{5 * 760 * 133.3L, std::string("  5.17")}}) {
        session.Problem = test::sampleProblem(session.Data);
        session.Problem.TubeStream.Pressure = stored_Pa;
        session.DataLoaded = 1;
        show();
        EXPECT_EQ(model.sides[0].pressureText, shown);
        ASSERT_TRUE(model.bitbtOkClick(kEnglish).accepted);
        harvestTechnological(model, session);
        EXPECT_NEAR(static_cast<double>(session.Problem.TubeStream.Pressure / stored_Pa), 1.0,
                    1e-15);
        EXPECT_NEAR(static_cast<double>(session.EnteredState[0] * 133.3L / stored_Pa), 1.0, 1e-15);
    }
}

TEST_F(TechnologicalDialogTest, RefusedOkKeepsTheDialogOpen) {
    fillCondensingHeating();
    select(1, "condensation");  // typed: the list does not offer it
    model.sides[1].pressureText = "2";
    EXPECT_EQ(
        model.bitbtOkClick(kRussian).message,
        "ВНИМАНИЕ! Некорректный технологический режим! \r\n         condensation - condensation");
    EXPECT_EQ(model.PairCode, 0);

    select(1, "heating");
    model.sides[1].temperatureText = "2O";
    const DialogCheck bad = model.bitbtOkClick(kEnglish);
    EXPECT_EQ(bad.message, "Error of number entry 2O");
    EXPECT_EQ(bad.focus, "edTemp2");
    model.sides[1].temperatureText = "20";
    model.sides[0].pressureText = "0";  // no saturation state at zero pressure
    EXPECT_EQ(model.bitbtOkClick(kEnglish).focus, "edPress1");
    EXPECT_FALSE(model.accepted);

    // Cancel, or OK reported without an accepted check, takes nothing.
    session.PairCode = 6;
    test::FakeDialogs dialogs;
    dialogs.onTechnological = [](TechnologicalDialogModel&) { return false; };
    EXPECT_FALSE(TechnoActionExecute(session, dialogs));
    dialogs.onTechnological = [](TechnologicalDialogModel&) { return true; };
    EXPECT_FALSE(TechnoActionExecute(session, dialogs));
    EXPECT_EQ(session.PairCode, 6);
    EXPECT_TRUE(session.TechnoEntered);
}

// Values no process stream of this exchanger can have are refused where
// they are typed, the field focused; the bounds themselves are accepted.
TEST_F(TechnologicalDialogTest, ValuesBeyondAnyProcessStreamAreRefused) {
    struct Case {
        std::string* text;
        const char* beyond;
        const char* bound;
        const char* focus;
        const char* message;
    };
    fillCondensingHeating();
    for (const Case& c : {
             Case{&model.sides[1].temperatureText, "1000.01", "1000", "edTemp2",
                  "The temperature must not be above 1000 deg.C: 1000.01"},
             Case{&model.sides[0].pressureText, "250", "200", "edPress1",
                  "The pressure must not be above 200 kgf/cm2: 250"},
             Case{&model.sides[1].consumptionText, "2E8", "1E8", "edConsum2",
                  "The flow rate must not be above 1E8 kg/hour: 2E8"},
         }) {
        const std::string kept = *c.text;
        *c.text = c.beyond;
        const DialogCheck refused = model.bitbtOkClick(kEnglish);
        EXPECT_FALSE(refused.accepted);
        EXPECT_EQ(refused.message, c.message);
        EXPECT_EQ(refused.focus, c.focus);
        *c.text = c.bound;
        EXPECT_TRUE(model.bitbtOkClick(kEnglish).accepted) << c.bound;
        *c.text = kept;
    }
    model.sides[1].temperatureText = "1500";
    EXPECT_EQ(model.bitbtOkClick(kRussian).message,
              "Температура должна быть не выше 1000 град.С: 1500");
}

TEST_F(TechnologicalDialogTest, HeatedMediumMustEnterColderThanTheCooledOne) {
    model.clQualRatioClickCheck(0, 1, true);
    model.clQualRatioClickCheck(1, 1, true);
    select(0, "cooling");
    select(1, "heating");
    model.sides[0].temperatureText = "60";
    model.sides[1].consumptionText = "5000";
    model.chbConsumpClick(0, false);
    for (const char* heated : {"60", "75.5"}) {
        model.sides[1].temperatureText = heated;
        const DialogCheck refused = model.bitbtOkClick(kEnglish);
        EXPECT_FALSE(refused.accepted) << heated;
        EXPECT_EQ(refused.focus, "edTemp2");
        EXPECT_EQ(
            refused.message.rfind("The heated medium must enter colder than the cooled one: ", 0),
            0u)
            << refused.message;
    }
    model.sides[1].temperatureText = "59.9";
    EXPECT_TRUE(model.bitbtOkClick(kEnglish).accepted);
}

TEST(TechnologicalDialog, AtMostSixComponents) {
    SubstanceData data = SubstanceData::builtIn();
    while (data.SubstanceTable.size() < 7) data.SubstanceTable.push_back(data.SubstanceTable[0]);
    Session session(std::move(data));
    TechnologicalDialogModel& model = session.TechnoDialog;
    prepareTechnological(model, session);
    model.FormActivate(kEnglish);
    model.bitbtSelAllClick(0);
    model.clQualRatioClickCheck(1, 0, true);
    for (int side : {0, 1}) {
        model.sides[static_cast<std::size_t>(side)].processText = side == 0 ? "heating" : "cooling";
        model.cbProcessSelect(side);
        model.sides[static_cast<std::size_t>(side)].temperatureText = side == 0 ? "10" : "60";
    }
    model.sides[0].consumptionText = "100";
    EXPECT_EQ(model.bitbtOkClick(kEnglish).focus, "clQualRatio1");
    model.clQualRatioClickCheck(0, 6, false);
    EXPECT_TRUE(model.bitbtOkClick(kEnglish).accepted);
}

}  // namespace
}  // namespace vexamo
