#include <gtest/gtest.h>

#include "common/NumberFormat.h"
#include "dialogs/GenericDialogs.h"

namespace vexamo {
namespace {

TEST(InputCheck, DefaultEmptyAndBadTexts) {
    InputRequest request;
    request.errorPrefix = numberEntryPrefix(kRussian);
    InputAnswer answer;
    answer.real = 7.25L;
    EXPECT_TRUE(checkInput(request, "Default", answer).accepted);
    EXPECT_TRUE(answer.isDefault);
    EXPECT_EQ(answer.real, 7.25L);
    EXPECT_TRUE(checkInput(request, "", answer).silent);

    const DialogCheck spaced = checkInput(request, " Default", answer);  // only the exact word
    EXPECT_EQ(spaced.message, "Ошибка при вводе числа  Default");
    EXPECT_EQ(spaced.focus, "edInput");
    ASSERT_TRUE(checkInput(request, " -1.5e2 ", answer).accepted);
    EXPECT_FALSE(answer.isDefault);
    EXPECT_EQ(answer.real, -150.0L);
    request.kind = InputKind::Integer;
    EXPECT_FALSE(checkInput(request, "2.5", answer).accepted);
}

TEST(Grid, WrongSymbolAtOnce) {
    EXPECT_EQ(checkGridCell("1e", kEnglish), "Wrong symbol at input of number 1e");
    EXPECT_FALSE(checkGridCell("", kEnglish));
}

TEST(Grid, ReadingStopsAtAnEmptyOrBadCell) {
    GridRequest request;
    request.columns = 3;
    request.rows = 3;
    request.integerColumns = {false, false, true};
    GridAnswer answer;
    ASSERT_TRUE(readGrid(request, {{}, {"", "1", "2"}, {"", "3", "4"}}, kEnglish, answer).accepted);

    // Column by column: the cell before the empty one is read, none after it.
    const DialogCheck stop =
        readGrid(request, {{}, {"", "9", ""}, {"", "8", "7"}}, kEnglish, answer);
    EXPECT_TRUE(stop.silent);
    EXPECT_FALSE(stop.accepted);
    EXPECT_EQ(answer.reals[1][1], 9.0L);
    EXPECT_EQ(answer.reals[1][2], 2.0L);
    EXPECT_EQ(answer.integers[2][1], 3);

    const DialogCheck bad =
        readGrid(request, {{}, {"", "1", "2"}, {"", "3", "4.5"}}, kRussian, answer);
    EXPECT_EQ(bad.kind, MessageKind::Error);
    EXPECT_EQ(bad.message, "Ошибка при вводе числа 4.5");
    EXPECT_EQ(bad.column, 2);
    EXPECT_EQ(bad.row, 2);
    // The grid holds 16-bit integers.
    EXPECT_FALSE(
        readGrid(request, {{}, {"", "1", "2"}, {"", "40000", "4"}}, kEnglish, answer).accepted);
}

TEST(Grid, Layout) {
    GridRequest request;
    request.columns = 6;
    request.rows = 8;
    request.baseHeight = 200;
    const GridLayout big = gridLayout(request, 24, 64, 80);
    EXPECT_EQ(big.windowHeight, 200 + (5 - 1 - 1) * 24);
    EXPECT_EQ(big.gridHeight, 6 * 24 + 6);
    EXPECT_EQ(big.gridWidth, 80 + 3 * 64 + 4);
    EXPECT_TRUE(big.verticalScrollBar && big.horizontalScrollBar);

    request.columns = 3;
    request.rows = 4;
    const GridLayout small = gridLayout(request, 24, 64, 80);
    EXPECT_EQ(small.gridHeight, 4 * 25);
    EXPECT_EQ(small.gridWidth, 80 + 2 * 65 + 1);
    EXPECT_FALSE(small.verticalScrollBar || small.horizontalScrollBar);
}

TEST(ChoiceChecks, MethodAndCheckList) {
    MethodRequest method;
    method.warning = "choose a method";
    EXPECT_TRUE(checkMethodChoice(method, 3).accepted);
    EXPECT_EQ(checkMethodChoice(method, -1).message, "choose a method");
    EXPECT_TRUE(checkCheckList({false, true}, kEnglish).accepted);
    EXPECT_EQ(checkCheckList({false, false}, kRussian).message,
              "Выберите хотя-бы один компонент смеси");
}

GapCalcRequest tubes25mm() {
    GapCalcRequest request;
    request.tubeDiameter = 0.025L;
    request.baffleSpacing = 6.0L / 2;
    return request;
}

TEST(GapCalc, DefaultsFromTheDesign) {
    GapCalcAnswer answer;  // every edit "Default", head type 1, diminished, drilled
    answer.sealingStrips = "4";
    GapCalcResult result;
    ASSERT_TRUE(checkGapCalc(tubes25mm(), answer, kEnglish, result).accepted);
    EXPECT_NEAR(static_cast<double>(result.pitch), 0.035, 1e-15);
    EXPECT_NEAR(static_cast<double>(result.casingGap), 1.6001, 1e-13);
    EXPECT_EQ(result.holeClearance, 0.4L);
    EXPECT_EQ(result.sealingStrips, 4);
    EXPECT_EQ(result.inletDistance, 3000.0L);
    EXPECT_EQ(result.outletDistance, 3000.0L);

    answer.gapEnlarged = true;
    answer.holesDrilled = false;
    ASSERT_TRUE(checkGapCalc(tubes25mm(), answer, kEnglish, result).accepted);
    EXPECT_NEAR(static_cast<double>(result.casingGap), 3.1001, 1e-13);
    // Stamped holes: 0.023 d - 0.045 with d in mm, 0.53 mm for 25 mm tubes.
    EXPECT_NEAR(static_cast<double>(result.holeClearance), 0.53, 1e-15);
}

TEST(GapCalc, StampedHoleClearanceIsPositiveAndMeetsAt8mm) {
    GapCalcAnswer answer;
    answer.holesDrilled = false;
    GapCalcResult result;
    auto clearance = [&](Real d) {
        GapCalcRequest request = tubes25mm();
        request.tubeDiameter = d;
        EXPECT_TRUE(checkGapCalc(request, answer, kEnglish, result).accepted);
        return result.holeClearance;
    };
    EXPECT_EQ(clearance(0.006L), 0.13L);
    EXPECT_EQ(clearance(0.0079L), 0.13L);
    EXPECT_NEAR(static_cast<double>(clearance(0.008L)), 0.139, 1e-15);  // 0.023*8 - 0.045
    EXPECT_NEAR(static_cast<double>(clearance(*parseReal("0.008"))), 0.139, 1e-15);  // as typed
    EXPECT_NEAR(static_cast<double>(clearance(0.038L)), 0.829, 1e-15);
    for (Real d : {0.008L, 0.016L, 0.025L, 0.057L}) EXPECT_GT(clearance(d), 0.1L);
}

TEST(GapCalc, HeadTypeAndTypedValues) {
    GapCalcAnswer answer;
    answer.headType = 4;
    answer.sealingStrips = "";  // disabled for U-tubes: not asked
    answer.pitch = " 0.032 ";
    GapCalcResult result;
    ASSERT_TRUE(checkGapCalc(tubes25mm(), answer, kEnglish, result).accepted);
    EXPECT_EQ(result.sealingStrips, 0);
    EXPECT_EQ(result.pitch, 0.032L);

    answer.headType = 2;
    EXPECT_EQ(checkGapCalc(tubes25mm(), answer, kRussian, result).message,
              "Все поля этой формы должны быть заполнены");
    answer.sealingStrips = "2";
    answer.inletDistance = "default";
    const DialogCheck bad = checkGapCalc(tubes25mm(), answer, kEnglish, result);
    EXPECT_EQ(bad.message, "incorrect input of number  default");
    EXPECT_EQ(bad.focus, "edLbi");
    answer.inletDistance = "0";  // divided by later
    EXPECT_EQ(checkGapCalc(tubes25mm(), answer, kEnglish, result).focus, "edLbi");
}

}  // namespace
}  // namespace vexamo
