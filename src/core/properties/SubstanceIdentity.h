#pragma once
// What the built-in substances are. The records keep their system names
// ("comp.1" ... "comp.4"); this table says which chemical each one is, with
// the range of the vapour-pressure equation as the data set states it.
#include <cstddef>
#include <optional>
#include <string>

#include "common/Real.h"
#include "common/Text.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

struct SubstanceIdentity {
    const char* englishName;
    const char* russianName;
    const char* formula;
    const char* cas;
    Real antoineMin_C;  // range of its Antoine constants (ln p = A - B/(T + C))
    Real antoineMax_C;
    const char* antoineSource;
};

// The identity of built-in record `index` (0-based: 0 is "comp.1"), or none
// for a record beyond the built-in four.
std::optional<SubstanceIdentity> builtInIdentity(std::size_t index);

// "ethanol (C2H6O, CAS 64-17-5)" in the language asked for; empty when the
// record is not a built-in one.
std::string identityText(std::size_t index, LanguageFlagType languageFlag);

// The record a person names: by its system name ("comp.2", "комп.2"), or, for
// a built-in record, by the chemical's name in either language (English in
// any case: "Water", "ethyl acetate", "вода") or its CAS number ("7732-18-5").
// None when nothing matches. Formulas are not names: C2H6O is also dimethyl
// ether.
std::optional<std::size_t> findSubstanceByAnyName(const SubstanceData& data,
                                                  const std::string& name);

}  // namespace vexamo
