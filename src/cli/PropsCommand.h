#pragma once
#include <iosfwd>
#include <string>

#include "common/Text.h"
#include "properties/SubstanceRecords.h"

namespace vexamo::cli {

struct PropsOptions {
    std::string substance;
    std::string temperature;  // degC, as typed
    std::string mix;          // "comp.1=40,comp.2=60" (mass %), empty for the pure substance
    bool json = false;
    LanguageFlagType language = kEnglish;
};

// `vexamo props`: the property set of a substance or mixture at a temperature.
// Throws InputError for a bad name, temperature or composition; warnings about
// tables left go to `err`.
void runProps(const PropsOptions& options, const SubstanceData& data, std::ostream& out,
              std::ostream& err);

struct SubstancesOptions {
    bool json = false;
    LanguageFlagType language = kEnglish;
};

// `vexamo substances`: the substance table with what each built-in record is
// (name, formula, CAS number) and the ranges of its data.
void runSubstances(const SubstancesOptions& options, const SubstanceData& data, std::ostream& out);

}  // namespace vexamo::cli
