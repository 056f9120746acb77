#pragma once
// Bilingual texts: LanguageFlag 1 selects English, any other value Russian.
#include <cstdint>
#include <string>

namespace vexamo {

using LanguageFlagType = std::uint8_t;
inline constexpr LanguageFlagType kEnglish = 1;
inline constexpr LanguageFlagType kRussian = 0;

inline const char* tr(LanguageFlagType languageFlag, const char* english, const char* russian) {
    return languageFlag == kEnglish ? english : russian;
}
inline std::string tr(LanguageFlagType languageFlag, const std::string& english,
                      const std::string& russian) {
    return languageFlag == kEnglish ? english : russian;
}

}  // namespace vexamo
