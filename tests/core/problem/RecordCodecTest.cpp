#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/Ext80.h"
#include "common/Str20.h"
#include "problem/RecordCodec.h"
#include "support/SampleProblem.h"

namespace vexamo {
namespace {

const SubstanceData& data() {
    static const SubstanceData d = SubstanceData::builtIn();
    return d;
}

Real extAt(const std::vector<std::uint8_t>& b, std::size_t offset) {
    return decodeExt80(b.data() + offset);
}
std::uint16_t u16At(const std::vector<std::uint8_t>& b, std::size_t offset) {
    return static_cast<std::uint16_t>(b[offset] | (b[offset + 1] << 8));
}

TEST(RecordLayout, SizesAddUpToTheProblemFile) {
    EXPECT_EQ(kProblemFileSize, 21264u);
    EXPECT_EQ(layout::Components + 6 * kProSize, layout::SinglePhase);
    EXPECT_EQ(layout::Groups + kGroupBlockSize, layout::PointCount);  // 48 + 1592
    EXPECT_EQ(layout::MolarMass + 10, kProSize);
    EXPECT_EQ(layout::StaggeredTubes + 1 + 4, kDesignRecordSize);
}

// Every field lands at the offset of the file layout, written little-endian.
TEST(RecordLayout, TechnSetFieldsAtTheirOffsets) {
    const ProblemData p = test::sampleProblem(data());
    std::vector<std::uint8_t> b(kTechnSetSize);
    encodeTechnSet(p.TubeStream, std::span<std::uint8_t, kTechnSetSize>(b.data(), kTechnSetSize));
    EXPECT_EQ(u16At(b, 0), 2);
    EXPECT_EQ(b[2], 0);
    EXPECT_EQ(b[3], 'p');
    EXPECT_EQ(b[4], 'x');
    EXPECT_EQ(extAt(b, 8), p.TubeStream.Temperature);
    EXPECT_EQ(extAt(b, 18), 1.5L * 735.559L * 133.3L);
    EXPECT_EQ(extAt(b, 28), 0.0L);
    EXPECT_EQ(extAt(b, 38), 1.0L);
    EXPECT_EQ(decodeStr20(b.data() + 48), "конденсация");
    EXPECT_EQ(b[48], 11);  // eleven Windows-1251 characters, not 22 UTF-8 bytes
    EXPECT_EQ(u16At(b, 70), 0);
    EXPECT_EQ(u16At(b, 72), 1);
    EXPECT_EQ(extAt(b, 88), 35.5L);
    EXPECT_EQ(extAt(b, 98), 64.5L);
    // slot 1 starts at 160 + 1736: its names and molar mass
    EXPECT_EQ(decodeStr20(b.data() + 160 + 1736), "comp.2");
    EXPECT_EQ(decodeStr20(b.data() + 160 + 1736 + 21), "комп.2");
    EXPECT_EQ(extAt(b, 160 + 1736 + 1726), 18.015L);
    EXPECT_EQ(b[10576], 0);
    EXPECT_EQ(b[10577], 1);
    // reserved bytes and the unused tail of the name are zero
    for (std::size_t i : {5u, 6u, 7u, 69u, 158u, 159u}) EXPECT_EQ(b[i], 0) << i;
    for (std::size_t i = 82; i < 88; ++i) EXPECT_EQ(b[i], 0) << i;
    for (std::size_t i = 48 + 1 + 11; i < 69; ++i) EXPECT_EQ(b[i], 0) << i;
    for (std::size_t i = 10578; i < kTechnSetSize; ++i) EXPECT_EQ(b[i], 0) << i;
}

TEST(RecordLayout, ProFixedPartAtItsOffsets) {
    const Pro& ethylAcetate = data().SubstanceTable.at(3);
    std::vector<std::uint8_t> b(kProSize);
    encodePro(ethylAcetate, std::span<std::uint8_t, kProSize>(b.data(), kProSize));
    EXPECT_EQ(decodeStr20(b.data()), "comp.4");
    EXPECT_EQ(b[48], 3);             // GroupCount
    EXPECT_EQ(b[49], 1);             // MainGroup[0]
    EXPECT_EQ(b[48 + 12], 2);        // Occurrences[0]: CH3 twice
    EXPECT_EQ(b[48 + 23 + 1], 'B');  // SubgroupLetter[1]
    EXPECT_EQ(extAt(b, 48 + 40), ethylAcetate.Groups.SurfaceQ[0]);
    EXPECT_EQ(extAt(b, 48 + 152 + 10), ethylAcetate.Groups.VolumeR[1]);
    EXPECT_EQ(u16At(b, 1640), 9);
    EXPECT_EQ(u16At(b, 1642), 0);
    for (std::size_t i = 1644; i < 1696; ++i) EXPECT_EQ(b[i], 0) << "table references " << i;
    EXPECT_EQ(extAt(b, 1696), ethylAcetate.AntoineA);
    EXPECT_EQ(extAt(b, 1706), ethylAcetate.AntoineB);
    EXPECT_EQ(extAt(b, 1716), ethylAcetate.AntoineC);
    EXPECT_EQ(extAt(b, 1726), 88.107L);
    for (std::size_t i = 42; i < 48; ++i) EXPECT_EQ(b[i], 0) << i;
    for (std::size_t i = 48 + 34; i < 48 + 40; ++i) EXPECT_EQ(b[i], 0) << i;
    for (std::size_t i = 48 + 1586; i < 48 + 1592; ++i) EXPECT_EQ(b[i], 0) << i;

    const Pro back = decodePro(std::span<const std::uint8_t, kProSize>(b.data(), kProSize));
    EXPECT_TRUE(back.Density.empty());  // tables do not travel
    EXPECT_EQ(back.PointCount, 9);
    EXPECT_EQ(back.Groups.SubgroupLetter[2], ' ');
    EXPECT_EQ(back.Groups.SubgroupLetter[3], 0);
}

TEST(RecordLayout, DesignRecordFieldsAtTheirOffsets) {
    const ProblemData p = test::sampleProblem(data());
    std::vector<std::uint8_t> b(kDesignRecordSize);
    encodeDesignRecord(p.Design,
                       std::span<std::uint8_t, kDesignRecordSize>(b.data(), kDesignRecordSize));
    EXPECT_EQ(u16At(b, 0), 240);
    EXPECT_EQ(b[2], 3);
    EXPECT_EQ(b[3], 1);
    EXPECT_EQ(b[4], 2);
    EXPECT_EQ(b[5], 14);
    EXPECT_EQ(b[6], 2);
    EXPECT_EQ(b[7], 0);
    EXPECT_EQ(extAt(b, 8), 0.025L);
    EXPECT_EQ(extAt(b, 18), 0.021L);
    EXPECT_EQ(extAt(b, 28), 4.5L);
    EXPECT_EQ(extAt(b, 38), 0.8L);
    EXPECT_EQ(extAt(b, 48), 0.002L / 384 + 1.0L / 5800);
    EXPECT_EQ(extAt(b, 58), p.Design.Surface);
    EXPECT_EQ(decodeStr20(b.data() + 68), "Copper");
    EXPECT_EQ(b[89], 1);
    EXPECT_EQ(b[90], 0);
    EXPECT_EQ(b[91], 1);
    for (std::size_t i = 92; i < 96; ++i) EXPECT_EQ(b[i], 0);
}

TEST(RecordLayout, ProblemRoundTripKeepsEveryBit) {
    ProblemData p = test::sampleProblem(data());
    p.TubeStream.Temperature = std::numeric_limits<Real>::denorm_min();
    p.ShellStream.AirFactor = -0.0L;
    p.ShellStream.Components[3].MolarMass = std::numeric_limits<Real>::quiet_NaN();
    p.TubeStream.Components[0].Groups.PureInteraction[10][10] = 1.0L / 3;
    const auto bytes = encodeProblem(p);
    ASSERT_EQ(bytes.size(), kProblemFileSize);
    EXPECT_EQ(encodeProblem(decodeProblem(bytes)), bytes);

    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0xAB);
    EXPECT_EQ(encodeProblem(decodeProblem(longer)), bytes);
    std::vector<std::uint8_t> shorter(bytes.begin(), bytes.end() - 1);
    EXPECT_THROW(decodeProblem(shorter), FormatError);
}

TEST(ProblemRecords, PairCodesAndDerivedDesignValues) {
    EXPECT_EQ(pairCode(0, 1), 1);
    EXPECT_EQ(pairCode(0, 2), 2);
    EXPECT_EQ(pairCode(1, 0), 3);
    EXPECT_EQ(pairCode(1, 3), 4);
    EXPECT_EQ(pairCode(2, 0), 5);
    EXPECT_EQ(pairCode(2, 3), 6);
    EXPECT_EQ(pairCode(3, 1), 7);
    EXPECT_EQ(pairCode(3, 2), 8);
    EXPECT_EQ(pairCode(0, 0), 0);
    EXPECT_EQ(pairCode(2, 2), 0);
    EXPECT_EQ(pairCode(4, 1), 0);
    // Copper, tubes 25 x 21 mm
    EXPECT_EQ(wallResistance(0.025L, 0.021L, 384), (0.025L - 0.021L) * 0.5L / 384 + 1.0L / 5800);
    // one tube of mean diameter 1/pi m and length 1 m has 1 m2
    EXPECT_NEAR(static_cast<double>(heatExchangeSurface(1, 1, 1 / kPi, 1 / kPi, 1)), 1.0, 1e-15);
    EXPECT_EQ(findMaterial("Медь"), 3);
    EXPECT_EQ(findMaterial("Titanium"), 0);
    EXPECT_EQ(findProcessName("охлаждение"), 3);
    std::array<Real, 7> c{60, 50, 0, 0, 0, 0, 0};
    EXPECT_EQ(lastConcentration(c, 3), -10);
}

// The default fouling adds exactly what the fixed allowance added: every
// material and a range of tubes give the bits of the wall plus 1/5800, and a
// file's sum comes back as the default split.
TEST(RecordCodec, DefaultFoulingKeepsTheOldWallResistanceToTheBit) {
    EXPECT_EQ(encodeExt80(kDefaultSideFouling + kDefaultSideFouling),
              encodeExt80(kFoulingResistance));
    const std::pair<Real, Real> tubes[] = {
        {0.025L, 0.021L}, {0.019L, 0.015L}, {0.038L, 0.033L}, {0.016L, 0.0125L}, {0.1L, 0.0999L}};
    for (const TubeMaterial& m : kTubeMaterials)
        for (const auto& [outer, inner] : tubes) {
            const Real old = (outer - inner) * 0.5L / m.conductivity + kFoulingResistance;
            EXPECT_EQ(encodeExt80(wallResistance(outer, inner, m.conductivity)), encodeExt80(old));
            EXPECT_EQ(encodeExt80(wallResistance(outer, inner, m.conductivity, kDefaultSideFouling,
                                                 kDefaultSideFouling)),
                      encodeExt80(old));
            DesignRecord d;
            d.MaterialIndex = static_cast<std::uint8_t>(findMaterial(m.english));
            d.OuterDiameter = outer;
            d.InnerDiameter = inner;
            d.WallResistance = old;
            d.TubeFouling = 0;  // not in the file
            std::array<std::uint8_t, kDesignRecordSize> bytes{};
            encodeDesignRecord(d, bytes);
            const DesignRecord back = decodeDesignRecord(bytes);
            EXPECT_TRUE(hasDefaultFouling(back)) << m.english;
            EXPECT_EQ(conductivityFromWallResistance(back),
                      (outer - inner) * 0.5L / ((old - kFoulingResistance)));
        }
    // no wall to take away: the default split
    DesignRecord typed;
    typed.OuterDiameter = 0.025L;
    typed.InnerDiameter = 0.021L;
    typed.WallResistance = 0.01L;
    for (const Real stored : {0.01L, 0.0L, -1.0L, std::numeric_limits<Real>::quiet_NaN()}) {
        typed.WallResistance = stored;
        foulingFromWallResistance(typed);
        EXPECT_TRUE(hasDefaultFouling(typed));
    }
    typed.MaterialIndex = 3;  // copper: a stored value below its wall is no fouling
    typed.WallResistance = 1e-6L;
    foulingFromWallResistance(typed);
    EXPECT_TRUE(hasDefaultFouling(typed));
}

}  // namespace
}  // namespace vexamo
