#include "desktop/forms/SubstanceLabels.h"

#include "properties/SubstanceIdentity.h"

namespace vexamo::desktop {

int builtInIndex(const std::string& systemName) {
    // The names the built-in records carry: "comp.N" and "комп.N", N one digit.
    for (const std::string prefix : {"comp.", "комп."}) {
        if (systemName.size() != prefix.size() + 1 ||
            systemName.compare(0, prefix.size(), prefix) != 0)
            continue;
        const char digit = systemName.back();
        if (digit < '1' || digit > '9') return -1;
        const int index = digit - '1';
        return builtInIdentity(static_cast<std::size_t>(index)) ? index : -1;
    }
    return -1;
}

QString substanceIdentity(const std::string& systemName, LanguageFlagType languageFlag) {
    const int index = builtInIndex(systemName);
    if (index < 0) return {};
    return QString::fromStdString(identityText(static_cast<std::size_t>(index), languageFlag));
}

QString substanceIdentity(std::size_t index, const std::string& systemName,
                          LanguageFlagType languageFlag) {
    if (builtInIndex(systemName) != static_cast<int>(index)) return {};
    return substanceIdentity(systemName, languageFlag);
}

}  // namespace vexamo::desktop
