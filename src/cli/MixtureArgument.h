#pragma once
// Substances and mixtures named on the command line ("--mix NAME=PERCENT,...").
#include <cstddef>
#include <string>
#include <vector>

#include "common/Real.h"
#include "properties/SubstanceRecords.h"

namespace vexamo::cli {

struct MixturePart {
    std::size_t index;  // in the substance table
    Real massPercent;
};

// The table index of a substance by name; an unknown name is an InputError
// listing the names the table has.
std::size_t substanceIndex(const SubstanceData& data, const std::string& name);

// "NAME=PERCENT,NAME=PERCENT,...": at most six distinct substances of the
// table, each with a mass per cent from 0 to 100, in the order given. The sum
// is left to the caller.
std::vector<MixturePart> parseMixtureArgument(const SubstanceData& data, const std::string& text);

}  // namespace vexamo::cli
