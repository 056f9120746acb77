#pragma once
// Bilingual texts: LanguageFlag 1 selects English, any other value Russian.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

// Characters (not bytes) of a UTF-8 text.
inline std::size_t characterCount(std::string_view text) {
    std::size_t characters = 0;
    for (unsigned char c : text) characters += (c & 0xC0) != 0x80;
    return characters;
}

// The text followed by spaces up to `width` characters, and by one at least:
// the label column of the report's and the command line's tables.
inline std::string paddedTo(std::string text, std::size_t width) {
    const std::size_t characters = characterCount(text);
    text.append(characters < width ? width - characters : 1, ' ');
    return text;
}

}  // namespace vexamo
