#pragma once
#include "problem/ProblemRecords.h"
#include "properties/SubstanceRecords.h"

namespace vexamo::test {

// A complete problem as a Run leaves it: condensing ethanol-water mixture in
// the tubes (pressure given), heated water in the shell (flow given).
ProblemData sampleProblem(const SubstanceData& data);

}  // namespace vexamo::test
