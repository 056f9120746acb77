// What makes stored problem data unusable: machine values of the 80-bit reals
// and counts or codes that no data dialog would accept.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>

#include "common/Ext80.h"
#include "control/ProblemFile.h"
#include "problem/RecordCodec.h"
#include "support/SampleProblem.h"

namespace vexamo {
namespace {

Real fromBytes(std::initializer_list<std::uint8_t> bytes) {
    Ext80Bytes b{};
    std::copy(bytes.begin(), bytes.end(), b.begin());
    return decodeExt80(b);
}

TEST(ProblemSoundness, Ext80ClassesAreTheOnesTheUnitAccepts) {
    EXPECT_TRUE(isOrdinaryExt80(encodeExt80(1.5L)));
    EXPECT_TRUE(isOrdinaryExt80(encodeExt80(0.0L)));
    EXPECT_TRUE(isOrdinaryExt80(encodeExt80(-std::numeric_limits<Real>::denorm_min())));
    EXPECT_TRUE(isOrdinaryExt80(encodeExt80(std::numeric_limits<Real>::max())));
    EXPECT_FALSE(isOrdinaryExt80(encodeExt80(std::numeric_limits<Real>::infinity())));
    EXPECT_FALSE(isOrdinaryExt80(encodeExt80(-std::numeric_limits<Real>::quiet_NaN())));
    // Unnormal: exponent of 1.0, integer bit clear.
    EXPECT_FALSE(isOrdinaryExt80({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F}));
    // Pseudo-infinity: largest exponent, integer bit clear.
    EXPECT_FALSE(isOrdinaryExt80({0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x7F}));
    // Pseudo-denormal (exponent 0, integer bit set) is a number the unit reads.
    EXPECT_TRUE(isOrdinaryExt80({0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0}));
}

TEST(ProblemSoundness, EveryUnusableFieldIsNamed) {
    const SubstanceData data = SubstanceData::builtIn();
    const ProblemData sample = test::sampleProblem(data);
    ASSERT_EQ(problemDamage(sample, data.SubstanceTable.size(), kEnglish), std::nullopt);

    const Real inf = std::numeric_limits<Real>::infinity();
    const Real unnormal = fromBytes({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F});
    struct Case {
        const char* what;
        std::function<void(ProblemData&)> spoil;
    };
    const Case cases[] = {
        {"shell space: FlowRate is not a finite number",
         [&](ProblemData& p) { p.ShellStream.FlowRate = inf; }},
        {"tube space: FlowRate is not a finite number",
         [&](ProblemData& p) { p.TubeStream.FlowRate = -inf; }},
        {"tube space: Pressure is not a finite number",
         [&](ProblemData& p) { p.TubeStream.Pressure = unnormal; }},
        {"tube space: Temperature is not a finite number",
         [&](ProblemData& p) {
             p.TubeStream.Temperature = std::numeric_limits<Real>::quiet_NaN();
         }},
        {"tube space: AirFactor is not a finite number",
         [&](ProblemData& p) { p.TubeStream.AirFactor = inf; }},
        {"tube space: Concentration[2] is not a finite number",
         [&](ProblemData& p) { p.TubeStream.Concentration[1] = unnormal; }},
        {"tube space: GivenState is the code 113 (allowed t, p, T, P)",
         [&](ProblemData& p) { p.TubeStream.GivenState = 'q'; }},
        {"shell space: PhaseChange is the code 122 (allowed 0, x, y)",
         [&](ProblemData& p) { p.ShellStream.PhaseChange = 'z'; }},
        {"shell space: SelectionChanged is 2 (allowed 0 to 1)",
         [&](ProblemData& p) { p.ShellStream.SelectionChanged = 2; }},
        {"design: TubePasses is 5 (allowed 1 to 4)",
         [&](ProblemData& p) { p.Design.TubePasses = 5; }},
        {"design: TubePasses is 0 (allowed 1 to 4)",
         [&](ProblemData& p) { p.Design.TubePasses = 0; }},
        {"design: ParallelFlows is 9 (allowed 1 to 4)",
         [&](ProblemData& p) { p.Design.ParallelFlows = 9; }},
        {"design: TubeCount is 0 (allowed 1 to 65535)",
         [&](ProblemData& p) { p.Design.TubeCount = 0; }},
        {"design: ShellPasses is 0", [&](ProblemData& p) { p.Design.ShellPasses = 0; }},
        {"design: RowsOnVertical is 0", [&](ProblemData& p) { p.Design.RowsOnVertical = 0; }},
        {"design: MaterialIndex is 6 (allowed 0 to 5)",
         [&](ProblemData& p) { p.Design.MaterialIndex = 6; }},
        {"design: OuterDiameter is not a finite number",
         [&](ProblemData& p) { p.Design.OuterDiameter = inf; }},
        {"design: WallResistance is not a finite number",
         [&](ProblemData& p) { p.Design.WallResistance = unnormal; }},
        {"design: Surface is not a finite number",
         [&](ProblemData& p) { p.Design.Surface = -inf; }},
        {"design: StaggeredTubes is 2", [&](ProblemData& p) { p.Design.StaggeredTubes = 2; }},
        {"design: FlowSide is 7", [&](ProblemData& p) { p.Design.FlowSide = 7; }},
    };
    for (const Case& c : cases) {
        ProblemData p = sample;
        c.spoil(p);
        const auto why = problemDamage(p, data.SubstanceTable.size(), kEnglish);
        ASSERT_TRUE(why.has_value()) << c.what;
        EXPECT_NE(why->find(c.what), std::string::npos) << *why;
    }

    // Values in slots the Run does not read stay as they are.
    ProblemData unused = sample;
    unused.TubeStream.Concentration[6] = inf;
    unused.ShellStream.Components[5].AntoineA = unnormal;
    EXPECT_EQ(problemDamage(unused, data.SubstanceTable.size(), kEnglish), std::nullopt);

    ProblemData russian = sample;
    russian.Design.TubePasses = 5;
    EXPECT_EQ(problemDamage(russian, data.SubstanceTable.size(), kRussian),
              "конструкция: TubePasses равно 5 (допустимо от 1 до 4)");
}

TEST(ProblemSoundness, AnUnnormalInTheBytesSurvivesDecodingToBeRefused) {
    const SubstanceData data = SubstanceData::builtIn();
    std::vector<std::uint8_t> bytes = encodeProblem(test::sampleProblem(data));
    const std::uint8_t unnormal[10] = {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F};
    std::memcpy(bytes.data() + 2 * kTechnSetSize + layout::TubeLength, unnormal, 10);
    const auto why = problemDamage(decodeProblem(bytes), data.SubstanceTable.size(), kEnglish);
    ASSERT_TRUE(why.has_value());
    EXPECT_EQ(*why, "design: TubeLength is not a finite number");
}

}  // namespace
}  // namespace vexamo
