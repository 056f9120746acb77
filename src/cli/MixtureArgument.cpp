#include "cli/MixtureArgument.h"

#include <algorithm>

#include "cli/ProblemIo.h"
#include "common/NumberFormat.h"
#include "problem/ProblemRecords.h"
#include "properties/SubstanceIdentity.h"

namespace vexamo::cli {

namespace {

std::string unknownSubstance(const SubstanceData& data, const std::string& name) {
    std::string known;
    for (const Pro& p : data.SubstanceTable) known += (known.empty() ? "" : ", ") + p.EnglishName;
    return "no substance \"" + name + "\" in the table (" + known +
           ", or the chemical's name or CAS number as `vexamo substances` lists them)";
}

}  // namespace

std::size_t substanceIndex(const SubstanceData& data, const std::string& name) {
    const auto index = findSubstanceByAnyName(data, name);
    if (!index) throw InputError(unknownSubstance(data, name));
    return *index;
}

std::vector<MixturePart> parseMixtureArgument(const SubstanceData& data, const std::string& text) {
    if (text.empty()) throw InputError("--mix: the mixture is missing (\"comp.1=30,comp.2=70\")");
    std::vector<MixturePart> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        const std::size_t eq = item.find('=');
        if (eq == std::string::npos)
            throw InputError("--mix: \"" + item + "\" is not NAME=PERCENT");
        const std::string name = item.substr(0, eq);
        const auto index = findSubstanceByAnyName(data, name);
        if (!index) throw InputError("--mix: " + unknownSubstance(data, name));
        const auto percent = parseReal(item.substr(eq + 1));
        if (!percent || !(*percent >= 0 && *percent <= 100))
            throw InputError("--mix: \"" + item.substr(eq + 1) +
                             "\" is not a mass per cent from 0 to 100");
        for (const MixturePart& p : parts)
            if (p.index == *index) throw InputError("--mix: " + name + " is given twice");
        parts.push_back({*index, *percent});
        start = comma + 1;
    }
    if (parts.size() > static_cast<std::size_t>(kMaxComponents))
        throw InputError("--mix: a mixture has at most 6 components");
    return parts;
}

}  // namespace vexamo::cli
