#pragma once
// `vexamo run --set PATH=VALUE`: a field of the JSON problem format changed
// before the Run, read back by the same reader as a file, so that every
// change meets the same rules and messages as the file would.
#include <string>
#include <vector>

#include "problem/ProblemRecords.h"
#include "properties/SubstanceRecords.h"

namespace vexamo::cli {

// The problem with each "PATH=VALUE" applied in order to its JSON form
// (docs/problem-format.md). PATH is the dotted field name ("design.tube_length_m",
// "tube_space.concentrations_mass_pct[0]"); VALUE is read as JSON when it is
// JSON, else taken as a text; null takes the field out. Throws InputError
// naming the --set and the field: an unknown field, a path into a value that
// is not an object or list, or a value the reader refuses.
ProblemData applyOverrides(const ProblemData& problem, const std::vector<std::string>& sets,
                           const SubstanceData& data);

}  // namespace vexamo::cli
