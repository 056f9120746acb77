#pragma once
// Byte layout of the records as they stand in the problem file: packed,
// little-endian, 10-byte extended reals, 21-byte short strings, reserved and
// padding bytes zero.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "problem/ProblemRecords.h"

namespace vexamo {

inline constexpr std::size_t kProSize = 1736;
inline constexpr std::size_t kGroupBlockSize = 1592;
inline constexpr std::size_t kTechnSetSize = 10584;
inline constexpr std::size_t kDesignRecordSize = 96;
inline constexpr std::size_t kProblemFileSize = 2 * kTechnSetSize + kDesignRecordSize;  // 21264

// Field offsets, for the layout tests and for readers of the bytes.
namespace layout {
// GroupBlock
inline constexpr std::size_t GroupCount = 0, MainGroup = 1, Occurrences = 12, SubgroupLetter = 23,
                             SurfaceQ = 40, VolumeR = 152, PureFractions = 264,
                             PureInteraction = 376;
// Pro
inline constexpr std::size_t EnglishName = 0, RussianName = 21, Groups = 48, PointCount = 1640,
                             PressurePointCount = 1642, TableReferences = 1644, AntoineA = 1696,
                             AntoineB = 1706, AntoineC = 1716, MolarMass = 1726;
// TechnSet
inline constexpr std::size_t ComponentCount = 0, ProcessCode = 2, GivenState = 3, PhaseChange = 4,
                             Temperature = 8, Pressure = 18, FlowRate = 28, AirFactor = 38,
                             ProcessName = 48, ComponentIndex = 70, Concentration = 88,
                             Components = 160, SinglePhase = 10576, SelectionChanged = 10577;
// DesignRecord
inline constexpr std::size_t TubeCount = 0, MaterialIndex = 2, TubePasses = 3, ShellPasses = 4,
                             RowsOnVertical = 5, ParallelFlows = 6, OuterDiameter = 8,
                             InnerDiameter = 18, TubeLength = 28, ShellDiameter = 38,
                             WallResistance = 48, Surface = 58, MaterialName = 68, FlowSide = 89,
                             HorizontalBundle = 90, StaggeredTubes = 91;
}  // namespace layout

// Encoders write exactly the record's size into `out` (zeroing it first).
// They throw EncodingError when a name cannot be held in Windows-1251.
void encodePro(const Pro& pro, std::span<std::uint8_t, kProSize> out);
void encodeTechnSet(const TechnSet& set, std::span<std::uint8_t, kTechnSetSize> out);
void encodeDesignRecord(const DesignRecord& design, std::span<std::uint8_t, kDesignRecordSize> out);

// Decoders read exactly the record's size. The variable-length tables of a
// Pro are not in the bytes: they come back empty. They throw EncodingError on
// a short string whose length byte exceeds 20 or whose bytes are not text.
Pro decodePro(std::span<const std::uint8_t, kProSize> in);
TechnSet decodeTechnSet(std::span<const std::uint8_t, kTechnSetSize> in);
DesignRecord decodeDesignRecord(std::span<const std::uint8_t, kDesignRecordSize> in);

// The whole problem file: tube stream, shell stream, design.
std::vector<std::uint8_t> encodeProblem(const ProblemData& problem);
// Reads the first kProblemFileSize bytes (extra bytes are ignored). Throws
// FormatError when there are fewer.
ProblemData decodeProblem(std::span<const std::uint8_t> bytes);

// The fixed part of a substance record as it travels in a component slot: the
// record without its variable-length tables (what survives the file).
Pro fixedPart(const Pro& pro);

}  // namespace vexamo
