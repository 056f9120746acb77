#include "properties/SubstanceIdentity.h"

#include <array>

namespace vexamo {

namespace {

// Record order and CAS numbers of the data set's README; Antoine ranges of
// its antoine.csv (Reid, Prausnitz and Sherwood 1977, App. A: T_min and
// T_max in K, here in deg C).
const std::array<SubstanceIdentity, 4> kBuiltIn{{
    {"ethanol", "этанол", "C2H6O", "64-17-5", -3.15L, 95.85L,
     "Reid-Prausnitz-Sherwood 1977 App. A"},
    {"water", "вода", "H2O", "7732-18-5", 10.85L, 167.85L, "Reid-Prausnitz-Sherwood 1977 App. A"},
    {"methanol", "метанол", "CH4O", "67-56-1", -16.15L, 90.85L,
     "Reid-Prausnitz-Sherwood 1977 App. A"},
    {"ethyl acetate", "этилацетат", "C4H8O2", "141-78-6", -13.15L, 111.85L,
     "Reid-Prausnitz-Sherwood 1977 App. A"},
}};

}  // namespace

std::optional<SubstanceIdentity> builtInIdentity(std::size_t index) {
    if (index >= kBuiltIn.size()) return std::nullopt;
    return kBuiltIn[index];
}

std::optional<std::size_t> findSubstanceByAnyName(const SubstanceData& data,
                                                  const std::string& name) {
    if (const auto index = data.tryFindSubstance(name)) return index;
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    const std::string wanted = lower(name);
    for (std::size_t i = 0; i < kBuiltIn.size() && i < data.SubstanceTable.size(); ++i) {
        const SubstanceIdentity& s = kBuiltIn[i];
        if (wanted == s.englishName || name == s.russianName || name == s.cas) return i;
    }
    return std::nullopt;
}

std::string identityText(std::size_t index, LanguageFlagType languageFlag) {
    const auto identity = builtInIdentity(index);
    if (!identity) return "";
    return std::string(tr(languageFlag, identity->englishName, identity->russianName)) + " (" +
           identity->formula + ", CAS " + identity->cas + ")";
}

}  // namespace vexamo
