#include "problem/RecordCodec.h"

#include <algorithm>
#include <cstring>

#include "common/Errors.h"
#include "common/Ext80.h"
#include "common/Str20.h"

namespace vexamo {

namespace {

void putU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v & 0xFF);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
std::uint16_t getU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
void putExt(std::uint8_t* p, Real v) {
    const Ext80Bytes b = encodeExt80(v);
    std::memcpy(p, b.data(), b.size());
}
Real getExt(const std::uint8_t* p) { return decodeExt80(p); }
void putStr(std::uint8_t* p, const std::string& s) {
    const Str20Bytes b = encodeStr20(s);
    std::memcpy(p, b.data(), b.size());
}

void encodeGroupBlock(const GroupBlock& g, std::uint8_t* p) {
    p[layout::GroupCount] = g.GroupCount;
    for (int k = 0; k < kMaxGroups; ++k) {
        const auto i = static_cast<std::size_t>(k);
        p[layout::MainGroup + i] = g.MainGroup[i];
        p[layout::Occurrences + i] = g.Occurrences[i];
        p[layout::SubgroupLetter + i] = static_cast<std::uint8_t>(g.SubgroupLetter[i]);
        putExt(p + layout::SurfaceQ + 10 * i, g.SurfaceQ[i]);
        putExt(p + layout::VolumeR + 10 * i, g.VolumeR[i]);
        putExt(p + layout::PureFractions + 10 * i, g.PureFractions[i]);
        for (std::size_t j = 0; j < kMaxGroups; ++j)
            putExt(p + layout::PureInteraction + 10 * (i * kMaxGroups + j),
                   g.PureInteraction[i][j]);
    }
}

GroupBlock decodeGroupBlock(const std::uint8_t* p) {
    GroupBlock g;
    g.GroupCount = p[layout::GroupCount];
    for (std::size_t i = 0; i < kMaxGroups; ++i) {
        g.MainGroup[i] = p[layout::MainGroup + i];
        g.Occurrences[i] = p[layout::Occurrences + i];
        g.SubgroupLetter[i] = static_cast<char>(p[layout::SubgroupLetter + i]);
        g.SurfaceQ[i] = getExt(p + layout::SurfaceQ + 10 * i);
        g.VolumeR[i] = getExt(p + layout::VolumeR + 10 * i);
        g.PureFractions[i] = getExt(p + layout::PureFractions + 10 * i);
        for (std::size_t j = 0; j < kMaxGroups; ++j)
            g.PureInteraction[i][j] =
                getExt(p + layout::PureInteraction + 10 * (i * kMaxGroups + j));
    }
    return g;
}

}  // namespace

void encodePro(const Pro& pro, std::span<std::uint8_t, kProSize> out) {
    std::uint8_t* p = out.data();
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    putStr(p + layout::EnglishName, pro.EnglishName);
    putStr(p + layout::RussianName, pro.RussianName);
    encodeGroupBlock(pro.Groups, p + layout::Groups);
    putU16(p + layout::PointCount, pro.PointCount);
    putU16(p + layout::PressurePointCount, pro.PressurePointCount);
    // The twelve table references stay zero: the tables do not travel.
    putExt(p + layout::AntoineA, pro.AntoineA);
    putExt(p + layout::AntoineB, pro.AntoineB);
    putExt(p + layout::AntoineC, pro.AntoineC);
    putExt(p + layout::MolarMass, pro.MolarMass);
}

Pro decodePro(std::span<const std::uint8_t, kProSize> in) {
    const std::uint8_t* p = in.data();
    Pro pro;
    pro.EnglishName = decodeStr20(p + layout::EnglishName);
    pro.RussianName = decodeStr20(p + layout::RussianName);
    pro.Groups = decodeGroupBlock(p + layout::Groups);
    pro.PointCount = getU16(p + layout::PointCount);
    pro.PressurePointCount = getU16(p + layout::PressurePointCount);
    pro.AntoineA = getExt(p + layout::AntoineA);
    pro.AntoineB = getExt(p + layout::AntoineB);
    pro.AntoineC = getExt(p + layout::AntoineC);
    pro.MolarMass = getExt(p + layout::MolarMass);
    return pro;
}

Pro fixedPart(const Pro& pro) {
    Pro fixed;
    fixed.EnglishName = pro.EnglishName;
    fixed.RussianName = pro.RussianName;
    fixed.Groups = pro.Groups;
    fixed.PointCount = pro.PointCount;
    fixed.PressurePointCount = pro.PressurePointCount;
    fixed.AntoineA = pro.AntoineA;
    fixed.AntoineB = pro.AntoineB;
    fixed.AntoineC = pro.AntoineC;
    fixed.MolarMass = pro.MolarMass;
    return fixed;
}

void encodeTechnSet(const TechnSet& s, std::span<std::uint8_t, kTechnSetSize> out) {
    std::uint8_t* p = out.data();
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    putU16(p + layout::ComponentCount, s.ComponentCount);
    p[layout::ProcessCode] = s.ProcessCode;
    p[layout::GivenState] = s.GivenState;
    p[layout::PhaseChange] = s.PhaseChange;
    putExt(p + layout::Temperature, s.Temperature);
    putExt(p + layout::Pressure, s.Pressure);
    putExt(p + layout::FlowRate, s.FlowRate);
    putExt(p + layout::AirFactor, s.AirFactor);
    putStr(p + layout::ProcessName, s.ProcessName);
    for (std::size_t i = 0; i < kMaxComponents; ++i)
        putU16(p + layout::ComponentIndex + 2 * i, s.ComponentIndex[i]);
    for (std::size_t i = 0; i < s.Concentration.size(); ++i)
        putExt(p + layout::Concentration + 10 * i, s.Concentration[i]);
    for (std::size_t i = 0; i < kMaxComponents; ++i)
        encodePro(s.Components[i], std::span<std::uint8_t, kProSize>(
                                       p + layout::Components + kProSize * i, kProSize));
    p[layout::SinglePhase] = s.SinglePhase;
    p[layout::SelectionChanged] = s.SelectionChanged;
}

TechnSet decodeTechnSet(std::span<const std::uint8_t, kTechnSetSize> in) {
    const std::uint8_t* p = in.data();
    TechnSet s;
    s.ComponentCount = getU16(p + layout::ComponentCount);
    s.ProcessCode = p[layout::ProcessCode];
    s.GivenState = p[layout::GivenState];
    s.PhaseChange = p[layout::PhaseChange];
    s.Temperature = getExt(p + layout::Temperature);
    s.Pressure = getExt(p + layout::Pressure);
    s.FlowRate = getExt(p + layout::FlowRate);
    s.AirFactor = getExt(p + layout::AirFactor);
    s.ProcessName = decodeStr20(p + layout::ProcessName);
    for (std::size_t i = 0; i < kMaxComponents; ++i)
        s.ComponentIndex[i] = getU16(p + layout::ComponentIndex + 2 * i);
    for (std::size_t i = 0; i < s.Concentration.size(); ++i)
        s.Concentration[i] = getExt(p + layout::Concentration + 10 * i);
    for (std::size_t i = 0; i < kMaxComponents; ++i)
        s.Components[i] = decodePro(std::span<const std::uint8_t, kProSize>(
            p + layout::Components + kProSize * i, kProSize));
    s.SinglePhase = p[layout::SinglePhase];
    s.SelectionChanged = p[layout::SelectionChanged];
    return s;
}

void encodeDesignRecord(const DesignRecord& d, std::span<std::uint8_t, kDesignRecordSize> out) {
    std::uint8_t* p = out.data();
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    putU16(p + layout::TubeCount, d.TubeCount);
    p[layout::MaterialIndex] = d.MaterialIndex;
    p[layout::TubePasses] = d.TubePasses;
    p[layout::ShellPasses] = d.ShellPasses;
    p[layout::RowsOnVertical] = d.RowsOnVertical;
    p[layout::ParallelFlows] = d.ParallelFlows;
    putExt(p + layout::OuterDiameter, d.OuterDiameter);
    putExt(p + layout::InnerDiameter, d.InnerDiameter);
    putExt(p + layout::TubeLength, d.TubeLength);
    putExt(p + layout::ShellDiameter, d.ShellDiameter);
    putExt(p + layout::WallResistance, d.WallResistance);
    putExt(p + layout::Surface, d.Surface);
    putStr(p + layout::MaterialName, d.MaterialName);
    p[layout::FlowSide] = d.FlowSide;
    p[layout::HorizontalBundle] = d.HorizontalBundle;
    p[layout::StaggeredTubes] = d.StaggeredTubes;
}

DesignRecord decodeDesignRecord(std::span<const std::uint8_t, kDesignRecordSize> in) {
    const std::uint8_t* p = in.data();
    DesignRecord d;
    d.TubeCount = getU16(p + layout::TubeCount);
    d.MaterialIndex = p[layout::MaterialIndex];
    d.TubePasses = p[layout::TubePasses];
    d.ShellPasses = p[layout::ShellPasses];
    d.RowsOnVertical = p[layout::RowsOnVertical];
    d.ParallelFlows = p[layout::ParallelFlows];
    d.OuterDiameter = getExt(p + layout::OuterDiameter);
    d.InnerDiameter = getExt(p + layout::InnerDiameter);
    d.TubeLength = getExt(p + layout::TubeLength);
    d.ShellDiameter = getExt(p + layout::ShellDiameter);
    d.WallResistance = getExt(p + layout::WallResistance);
    d.Surface = getExt(p + layout::Surface);
    d.MaterialName = decodeStr20(p + layout::MaterialName);
    d.FlowSide = p[layout::FlowSide];
    d.HorizontalBundle = p[layout::HorizontalBundle];
    d.StaggeredTubes = p[layout::StaggeredTubes];
    foulingFromWallResistance(d);  // the file keeps only the sum
    return d;
}

std::vector<std::uint8_t> encodeProblem(const ProblemData& problem) {
    std::vector<std::uint8_t> bytes(kProblemFileSize, 0);
    encodeTechnSet(problem.TubeStream,
                   std::span<std::uint8_t, kTechnSetSize>(bytes.data(), kTechnSetSize));
    encodeTechnSet(problem.ShellStream, std::span<std::uint8_t, kTechnSetSize>(
                                            bytes.data() + kTechnSetSize, kTechnSetSize));
    encodeDesignRecord(problem.Design, std::span<std::uint8_t, kDesignRecordSize>(
                                           bytes.data() + 2 * kTechnSetSize, kDesignRecordSize));
    return bytes;
}

ProblemData decodeProblem(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kProblemFileSize)
        throw FormatError("the problem data are " + std::to_string(bytes.size()) +
                          " bytes long instead of " + std::to_string(kProblemFileSize));
    ProblemData problem;
    problem.TubeStream =
        decodeTechnSet(std::span<const std::uint8_t, kTechnSetSize>(bytes.data(), kTechnSetSize));
    problem.ShellStream = decodeTechnSet(
        std::span<const std::uint8_t, kTechnSetSize>(bytes.data() + kTechnSetSize, kTechnSetSize));
    problem.Design = decodeDesignRecord(std::span<const std::uint8_t, kDesignRecordSize>(
        bytes.data() + 2 * kTechnSetSize, kDesignRecordSize));
    return problem;
}

}  // namespace vexamo
