#include <gtest/gtest.h>

#include "common/Constants.h"
#include "common/Ext80.h"
#include "control/DataDialogActions.h"
#include "control/Session.h"
#include "dialogs/DesignDialog.h"
#include "support/FakeDialogs.h"
#include "support/SampleProblem.h"

namespace vexamo {
namespace {

struct DesignDialogTest : ::testing::Test {
    Session session;
    DesignDialogModel& model = session.DesignDialog;
    test::FakeDialogs dialogs;

    void SetUp() override {
        session.Problem.TubeStream.SinglePhase = 1;
        session.Problem.ShellStream.SinglePhase = 1;
        show();
        fillCopperBundle();
    }
    void show() {
        prepareDesign(model, session);
        model.FormActivate(session.LanguageFlag);
    }
    // 240 copper tubes 25 x 21 mm, 4.5 m long.
    void fillCopperBundle() {
        model.edPipeNmb = "240";
        model.edPipeL = "4.5";
        model.edPipeDex = "0.025";
        model.edPipeDin = "0.021";
        model.cbTrumpsp = "2";
        model.edCasing = "0.8";
        model.edIntTrumpsp = "1";
        model.edRowNmb = "14";
        model.cbMaterial = "Copper";
        model.cbParall = "1";
        model.cbPipeArrang = "corridor";
        model.cbWispArrang = "vertical";
    }
    DialogCheck ok() {
        return model.bitbtOkClick(session.LanguageFlag, dialogs, session.Problem.Design);
    }
};

TEST_F(DesignDialogTest, CopperTubesAndTheDerivedValues) {
    session.FlowSide = 1;
    dialogs.onDesign = [&](DesignDialogModel&) {
        fillCopperBundle();
        return ok().accepted;
    };
    ASSERT_TRUE(DesignActionExecute(session, dialogs));
    const DesignRecord& d = session.Problem.Design;
    EXPECT_EQ(d.WallResistance, 0.002L / 384 + 1.0L / 5800);
    EXPECT_NEAR(static_cast<double>(d.Surface), 240 * 3.14159265358979 * 0.023 * 4.5, 1e-10);
    EXPECT_EQ(d.MaterialIndex, 3);
    EXPECT_EQ(d.TubePasses, 2);
    EXPECT_EQ(d.FlowSide, 1);
    EXPECT_TRUE(session.DesignEntered);
}

TEST_F(DesignDialogTest, TypedMaterialAsksItsConductivity) {
    session.Problem = test::sampleProblem(session.Data);  // stored copper wall
    model.cbMaterial = "Titanium grade 2 annealed";
    InputAnswer cancelled;
    cancelled.cancelled = true;
    dialogs.expect("design.conductivity", cancelled);
    const DialogCheck silent = ok();
    EXPECT_FALSE(silent.accepted);
    EXPECT_TRUE(silent.message.empty());
    ASSERT_EQ(dialogs.inputRequests.size(), 1u);
    EXPECT_EQ(dialogs.inputRequests[0].defaultAnswer, "384");

    InputAnswer titanium;
    titanium.real = 21.9L;
    dialogs.expect("design.conductivity", titanium);
    ASSERT_TRUE(ok().accepted);
    model.harvest(session.Problem.Design);
    EXPECT_EQ(session.Problem.Design.MaterialIndex, 0);
    EXPECT_EQ(session.Problem.Design.MaterialName, "Titanium grade 2 ann");
    EXPECT_EQ(session.Problem.Design.WallResistance, 0.002L / 21.9L + 1.0L / 5800);
}

TEST_F(DesignDialogTest, ArrangementWordsOfEitherLanguage) {
    model.cbPipeArrang = "шахматное";
    model.cbWispArrang = "горизонтальное";
    ASSERT_TRUE(ok().accepted);
    EXPECT_EQ(model.values.StaggeredTubes, 1);
    EXPECT_EQ(model.values.HorizontalBundle, 1);
}

TEST_F(DesignDialogTest, BothMediaChangingPhase) {
    model.edCasing = "1.2";
    ASSERT_TRUE(ok().accepted);

    session.Problem.TubeStream.SinglePhase = 0;
    session.Problem.ShellStream.SinglePhase = 0;
    for (int i = 0; i < 3; ++i) show();
    EXPECT_EQ(model.tubePassList, (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(model.parallelList.size(), 4u);
    EXPECT_FALSE(model.casingVisible || model.tubePassesVisible);
    for (const auto& [control, text] : model.labels) {
        if (control == "edCasing" || control == "cbTrumpsp") {
            EXPECT_EQ(text, "") << control;
        }
    }
    model.cbTrumpsp = model.edCasing = "";  // hidden fields need no text
    ASSERT_TRUE(ok().accepted);
    EXPECT_EQ(model.values.TubePasses, 1);
    EXPECT_EQ(model.values.ShellDiameter, 1.2L);
}

TEST_F(DesignDialogTest, ImpossibleNumbersAreRefused) {
    model.edRowNmb = "";
    EXPECT_EQ(ok().message, "All fields of this form should be filled");
    model.edRowNmb = "14";
    model.edPipeNmb = "12a";
    EXPECT_EQ(ok().message, "Error of number entry 12a");

    // They would not fit their record fields or would make nonsense.
    const std::pair<std::string DesignDialogModel::*, const char*> cases[] = {
        {&DesignDialogModel::edPipeNmb, "0"},     {&DesignDialogModel::edPipeNmb, "70000"},
        {&DesignDialogModel::edPipeDin, "0.025"}, {&DesignDialogModel::edIntTrumpsp, "256"},
        {&DesignDialogModel::cbParall, "5"},      {&DesignDialogModel::edCasing, "0"},
    };
    fillCopperBundle();
    for (const auto& [field, text] : cases) {
        const std::string kept = model.*field;
        model.*field = text;
        const DialogCheck check = ok();
        EXPECT_FALSE(check.accepted) << text;
        EXPECT_FALSE(check.message.empty());
        model.*field = kept;
    }
    EXPECT_EQ(model.values.TubeCount, 0) << "nothing accepted yet";
}

// The fouling of each side: filled with the default, which an unchanged
// field gives back to the bit; a typed value is added to the wall; a
// negative value, one above 0.01 or no number is refused naming the side.
TEST_F(DesignDialogTest, FoulingOfEachSide) {
    EXPECT_EQ(model.edFoulTube, "0.0000862069");
    EXPECT_EQ(model.edFoulShell, "0.0000862069");
    const Real wall = (0.025L - 0.021L) * 0.5L / 384;
    ASSERT_TRUE(ok().accepted);
    EXPECT_TRUE(hasDefaultFouling(model.values));
    EXPECT_EQ(encodeExt80(model.values.WallResistance), encodeExt80(wall + kFoulingResistance));

    model.edFoulTube = "0.0004";
    model.edFoulShell = "0";
    ASSERT_TRUE(ok().accepted);
    model.harvest(session.Problem.Design);
    EXPECT_EQ(session.Problem.Design.TubeFouling, 0.0004L);
    EXPECT_EQ(session.Problem.Design.ShellFouling, 0);
    EXPECT_EQ(session.Problem.Design.WallResistance, wall + 0.0004L);

    const std::pair<std::string DesignDialogModel::*, std::pair<const char*, const char*>>
        refused[] = {
            {&DesignDialogModel::edFoulTube,
             {"-0.0001", "The fouling resistance in the tube space must not be negative: -0.0001"}},
            {&DesignDialogModel::edFoulShell,
             {"0.02", "The fouling resistance must not be above 0.01 m2*K/W: 0.02"}},
            {&DesignDialogModel::edFoulShell, {"thin", "Error of number entry thin"}},
            {&DesignDialogModel::edFoulTube, {"", "All fields of this form should be filled"}},
        };
    for (const auto& [field, c] : refused) {
        const std::string kept = model.*field;
        model.*field = c.first;
        const DialogCheck check = ok();
        EXPECT_FALSE(check.accepted) << c.first;
        EXPECT_EQ(check.message, c.second);
        model.*field = kept;
    }
    EXPECT_EQ(model.values.TubeFouling, 0.0004L) << "a refusal keeps what was accepted";

    // a loaded problem fills the fields from its record, and keeps its bits
    session.DataLoaded = 1;
    session.Problem.Design.TubeFouling = 0.000123456789L;
    session.Problem.Design.ShellFouling = 1.0L / 3000;
    session.LanguageFlag = kRussian;
    show();
    EXPECT_EQ(model.edFoulTube, "0.000123457");
    fillCopperBundle();
    model.cbPipeArrang = "коридорное";
    model.cbWispArrang = "вертикальное";
    ASSERT_TRUE(ok().accepted);
    EXPECT_EQ(model.values.TubeFouling, 0.000123456789L);
    EXPECT_EQ(model.values.ShellFouling, 1.0L / 3000);
    model.edFoulShell = "-1";
    EXPECT_EQ(
        ok().message,
        "Сопротивление загрязнений в межтрубном пространстве не может быть отрицательным: -1");
    bool labelled = false;
    for (const auto& [control, text] : model.labels)
        if (control == "edFoulShell")
            labelled = text == "сопр. загрязнений в межтруб. простр., м2*К/Вт";
    EXPECT_TRUE(labelled);
}

}  // namespace
}  // namespace vexamo
