#include "equilibrium/EquilibriumSetup.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/Errors.h"
#include "equilibrium/EquilibriumCalculations.h"
#include "support/FakeDialogs.h"

namespace vexamo {
namespace {

using test::FakeDialogs;

const std::string kWait =
    "please wait ! There is a calculation of power\n\rparameters of intermolecular (intergroup) interaction";

AlternAnswer choose(int index) {
    AlternAnswer a;
    a.index = index;
    return a;
}

GridAnswer parameters(std::vector<Real> values) {
    GridAnswer a;
    for (Real v : values) a.reals.push_back({0, 0, v});
    return a;
}

struct SetupRun {
    Session session;
    FakeDialogs dialogs;
    char method = 0;

    explicit SetupRun(LanguageFlagType lang = kEnglish) {
        session.LanguageFlag = lang;
        SetFitReportMemo(session.FitState, session.Report);
    }
    void setUp(std::vector<std::uint16_t> substances) {
        RunEquilibriumSetup(session, dialogs, static_cast<int>(substances.size()), substances, session.Equilibrium,
                            method);
    }
    const std::vector<std::string>& memo() const { return session.Report.lines(); }
};

TEST(EquilibriumSetup, TwoComponentsWithMeasuredData) {
    SetupRun run;
    run.session.FitState.CallCounter = 195;  // left by earlier fits
    run.dialogs.expect("equilibrium.method", MethodAnswer{false, 0});
    run.setUp({0, 1});
    EXPECT_EQ(run.method, 'W');
    const EquilibriumModel& m = run.session.Equilibrium;
    EXPECT_EQ(m.MethodLetter, 'W');
    EXPECT_EQ(m.ComponentCount, 2);
    // From the stored start values the fit stops after its first iteration.
    EXPECT_NEAR(m.WilsonA[0][1], 0.55211L, 1e-4L);
    EXPECT_NEAR(m.WilsonA[1][0], 1.76531L, 1e-4L);
    EXPECT_EQ(m.WilsonA[0][0], 0);
    const std::vector<std::string> expected = {
        " Calculation of power parameters of intermolecular (intergroup)interaction.",
        "",
        "Power parameters of binary interaction of molecules (structural groups)",
        "component comp.1-comp.2 of model Wilson and root-mean-square error of calculation.",
        " Number of iterations 0;  root-mean-square error for system comp.1-comp.2:  E = 0.009930844614",
        "  l12-l11 = 1.25389 kJ/mole;  l21-l22 = 4.00916 kJ/mole;",
        ""};
    EXPECT_EQ(run.memo(), expected);
    EXPECT_EQ(run.dialogs.waitLabels, (std::vector<std::string>{kWait, ""}));
    ASSERT_EQ(run.session.EquilibriumPairs.size(), 1u);
    EXPECT_EQ(run.session.EquilibriumPairs[0].Points, 34);
    EXPECT_NEAR(run.session.EquilibriumPairs[0].RmsY, 0.0099L, 1e-4L);  // the data set's rms y
    EXPECT_EQ(run.session.ComponentNames, (std::vector<std::string>{"comp.1", "comp.2"}));
}

TEST(EquilibriumSetup, ParametersEnteredWhenDataAreAbsent) {
    SetupRun run(kRussian);
    run.dialogs.expect("equilibrium.method", MethodAnswer{false, 1})
        .expect("equilibrium.data_absent", choose(0))
        .expect("equilibrium.parameters", parameters({2.27107836L, -4.54215672L, 0.3L}));
    run.setUp({0, 2});  // ethanol, methanol: no measured data
    const EquilibriumModel& m = run.session.Equilibrium;
    EXPECT_NEAR(m.NrtlA[0][1], 1.0L, 1e-18L);
    EXPECT_NEAR(m.NrtlA[1][0], -2.0L, 1e-18L);
    EXPECT_EQ(m.NrtlAlpha[0][1], 0.3L);
    EXPECT_EQ(m.NrtlAlpha[1][0], 0.3L);

    const AlternRequest& absent = run.dialogs.alternRequests.at(0);
    EXPECT_EQ(absent.caption, "Выбор варианта");
    EXPECT_EQ(absent.groupColumns, 2);
    EXPECT_EQ(absent.question,
              "  Экспериментальные данные по равновесию в системе комп.1-комп.3 отсутствуют.\r\n"
              "  Выберите один из следующих вариантов:\r\n"
              "     1 - задать энергетические параметры модели NRTL самостоятельно;\r\n"
              "     2 - завершить работу программы\r\n"
              "     3 - повторить расчет с использованием метода UNIFAC\r\n"
              "          (рекомендуется)");
    const GridRequest& grid = run.dialogs.gridRequests.at(0);
    EXPECT_EQ(grid.caption, "Ввод энергетических параметров для метода NRTL");
    EXPECT_EQ(grid.label, "Введите  g12-g22  кДж/моль; (1- комп.1; 2- комп.3);\r\nВведите  g21-g22  кДж/моль;\r\n"
                          "Введите  alp12");
    EXPECT_EQ(grid.columns, 3);
    EXPECT_EQ(grid.fixedColumns, 0);
    EXPECT_EQ(grid.fixedRows, 2);
    EXPECT_EQ(grid.cells[2], (std::vector<std::string>{"     alp12", "", ""}));
    EXPECT_EQ(grid.cells[0][1], " кДж/моль;");
    const std::vector<std::string> expected = {
        "Расчет энергетических параметров межмолекулярного (межгруппового) взаимодействия",
        "",
        "Энергетические параметры бинарных взаимодействий молекул (структурных групп)",
        "компонентов комп.1-комп.3 модели NRTL.",
        "Энергетические параметры заданы пользователем",
        "  g12-g22 = 2.27108 кДж/моль;  g21-g11 = -4.54216 кДж/моль;  alp12=0.3",
        ""};
    EXPECT_EQ(run.memo(), expected);
    EXPECT_EQ(run.session.EquilibriumPairs.at(0).Source, PairSetup::Origin::Entered);
}

TEST(EquilibriumSetup, EndingTheProgramAtAPairWithoutData) {
    SetupRun run;
    run.dialogs.expect("equilibrium.method", MethodAnswer{false, 2}).expect("equilibrium.data_absent", choose(1));
    EXPECT_THROW(run.setUp({1, 3}), ProgramExitRequested);
}

TEST(EquilibriumSetup, SwitchToUnifacSetsEveryPairUpAgain) {
    SetupRun run;
    run.dialogs.expect("equilibrium.method", MethodAnswer{false, 0})
        .expect("equilibrium.data_absent", choose(2))   // at (1, 3): use UNIFAC
        .expect("equilibrium.unifac_variant", choose(0))
        .expect("equilibrium.unifac_source", choose(1));  // reference values: no pair is run
    run.setUp({0, 1, 2});
    EXPECT_EQ(run.method, 'F');
    EXPECT_EQ(run.session.Equilibrium.MethodLetter, 'F');
    // the Wilson lines of the first pair stay, then the title once more
    ASSERT_EQ(run.memo().size(), 8u);
    EXPECT_EQ(run.memo()[3], "component comp.1-comp.2 of model Wilson and root-mean-square error of calculation.");
    EXPECT_EQ(run.memo()[6], " Calculation of power parameters of intermolecular (intergroup)interaction.");
    EXPECT_TRUE(run.session.EquilibriumPairs.empty());
    const AlternRequest& variant = run.dialogs.alternRequests.at(1);
    EXPECT_EQ(variant.caption, "The definition of the parameter");
    EXPECT_EQ(variant.alternatives, (std::vector<std::string>{" variant 1;", " variant 2"}));
    // the model holds the reference table for the merged groups 1A, 5A, 6, 5B
    const EquilibriumModel& m = run.session.Equilibrium;
    ASSERT_EQ(m.Groups.GroupCount, 4);
    EXPECT_NEAR(m.GroupInteraction[0][1] * 273.15L, 931.2L, 1e-12L);
    EXPECT_NEAR(m.GroupInteraction[2][1] * 273.15L, -229.1L, 1e-12L);
    EXPECT_EQ(m.GroupInteraction[1][3], 0);  // 5A - 5B: one main group
}

TEST(EquilibriumSetup, UnifacReferenceValuesAndFittedGroupParameters) {
    SetupRun run;
    run.dialogs.expect("equilibrium.method", MethodAnswer{false, 3})
        .expect("equilibrium.unifac_variant", choose(0))
        .expect("equilibrium.unifac_source", choose(0))
        .expect("equilibrium.data_absent", choose(2));  // (1, 3): the reference values
    run.setUp({0, 2});
    const std::vector<std::string> expected = {
        " Calculation of power parameters of intermolecular (intergroup)interaction.",
        "",
        "Power parameters of binary interaction of molecules (structural groups)",
        "component comp.1-comp.3 of model UNIFAC",
        "Power parameters are taken from references",
        "  a0[1,5]= 931.200  degr.K;  a0[5,1]= 169.700  degr.K;",
        ""};
    EXPECT_EQ(run.memo(), expected);
    EXPECT_EQ(run.dialogs.alternRequests.at(2).question.substr(run.dialogs.alternRequests.at(2).question.rfind("3 -")),
              "3 - to take advantage of G.M. Valdeen data from\r\n        reference literature (is recommended)");

    // water - methanol has (mirrored) data: G = 2 main groups, 2 parameters fitted
    SetupRun fit;
    fit.dialogs.expect("equilibrium.method", MethodAnswer{false, 3})
        .expect("equilibrium.unifac_variant", choose(0))
        .expect("equilibrium.unifac_source", choose(0));
    fit.setUp({1, 2});
    const PairSetup& pair = fit.session.EquilibriumPairs.at(0);
    EXPECT_EQ(pair.Source, PairSetup::Origin::Fitted);
    EXPECT_EQ(pair.Labels, (std::vector<std::string>{"a[6,5]", "a[5,6]"}));
    EXPECT_LT(pair.RmsY, 0.02L);
    const std::string result = fit.memo().at(fit.memo().size() - 2);
    EXPECT_EQ(result.rfind("  a0[6,5]= ", 0), 0u) << result;
    EXPECT_NE(result.find("  degr.K;  a0[5,6]= "), std::string::npos) << result;
}

// Four components by UNIFAC with the reference table: the bubble point of an
// equal-mass mixture and the dew point of its vapour.
TEST(EquilibriumSetup, FourComponentUnifacMixture) {
    SetupRun run;
    run.dialogs.expect("equilibrium.method", MethodAnswer{false, 3})
        .expect("equilibrium.unifac_variant", choose(0))
        .expect("equilibrium.unifac_source", choose(1));
    run.setUp({0, 1, 2, 3});
    ASSERT_EQ(run.memo().size(), 2u);  // no pair is run
    const EquilibriumModel& m = run.session.Equilibrium;
    const SubArr& table = run.session.Data.SubstanceTable;
    std::array<Real, 7> x{}, y{}, work{};
    Real S = 0;
    for (std::size_t i = 0; i < 4; ++i) S += 0.25L / table[i].MolarMass;
    for (std::size_t i = 0; i < 4; ++i) x[i] = 0.25L / table[i].MolarMass / S;
    Real tau = 0, pressure = 760 * 133.3L;
    EquilibriumPoint(run.session.Data, 't', 'y', tau, y, work, x, m, pressure, 1.2L, 1.01L);
    EXPECT_NEAR((tau - 1) * 273.15L, 60.9L, 0.05L);
    // The model splits water and ethyl acetate: two liquids are in equilibrium
    // with this vapour, and the dew point from its start finds the other one
    // (60.42 degC). Its bubble point gives the same vapour back.
    std::array<Real, 7> liquid{}, vapour{};
    Real dewTau = 0;
    EquilibriumPoint(run.session.Data, 't', 'x', dewTau, y, work, liquid, m, pressure, 1.2L, 1.01L);
    EXPECT_NEAR((dewTau - 1) * 273.15L, 60.42L, 0.05L);
    EXPECT_NEAR(liquid[0] + liquid[1] + liquid[2] + liquid[3], 1.0L, 1e-6L);
    Real bubbleTau = 0;
    EquilibriumPoint(run.session.Data, 't', 'y', bubbleTau, vapour, work, liquid, m, pressure, 1.2L, 1.01L);
    EXPECT_NEAR(bubbleTau, dewTau, 1.5e-4L);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(vapour[i], y[i], 1e-4L) << i;
}

}  // namespace
}  // namespace vexamo
