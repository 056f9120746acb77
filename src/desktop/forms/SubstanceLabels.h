#pragma once
// What a listed substance is, for the lists that show only its system name:
// "comp.2" is "water (H2O, CAS 7732-18-5)". The system names stay as they
// are in every list and file; the chemical is shown beside them.
#include <QString>
#include <cstddef>
#include <string>

#include "common/Text.h"

namespace vexamo::desktop {

// The chemical of a built-in record named by its system name ("comp.2",
// "комп.2", either language) in the language asked for: "water (H2O, CAS
// 7732-18-5)" / "вода (H2O, CAS 7732-18-5)". Empty for any other name, a
// record the person named himself included.
QString substanceIdentity(const std::string& systemName, LanguageFlagType languageFlag);

// The same for record `index` of the substance table: empty unless it is
// the built-in record of that place and still carries its system name.
QString substanceIdentity(std::size_t index, const std::string& systemName,
                          LanguageFlagType languageFlag);

// The 0-based built-in record a system name stands for, or -1.
int builtInIndex(const std::string& systemName);

}  // namespace vexamo::desktop
