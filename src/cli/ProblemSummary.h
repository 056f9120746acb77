#pragma once
#include <string>

#include "problem/ProblemRecords.h"
#include "properties/SubstanceRecords.h"

namespace vexamo::cli {

// A plain-text account of the stored problem, in the chosen language.
std::string problemSummary(const ProblemData& problem, const SubstanceData& data,
                           LanguageFlagType languageFlag);

}  // namespace vexamo::cli
