#include <gtest/gtest.h>

#include <string>

#include "common/Errors.h"
#include "common/Str20.h"

namespace vexamo {
namespace {

// Twenty Cyrillic letters: 40 bytes of UTF-8, 20 bytes of Windows-1251.
const std::string kTwentyLetters = "абвгдеёжзийклмнопрст";

Str20Bytes rawStr20(std::initializer_list<std::uint8_t> bytes) {
    Str20Bytes b{};
    std::size_t i = 0;
    for (const auto byte : bytes) {
        b[i++] = byte;
    }
    return b;
}

std::string messageOf(std::string_view utf8) {
    try {
        encodeStr20(utf8);
    } catch (const EncodingError& e) {
        return e.what();
    }
    return "";
}

TEST(Cp1251Conversion, MapsCyrillicAndSymbolsToTheirCodes) {
    EXPECT_EQ(utf8ToCp1251("Вода"), "\xC2\xEE\xE4\xE0");
    EXPECT_EQ(utf8ToCp1251("ёЁ№€"), "\xB8\xA8\xB9\x88");
    EXPECT_EQ(cp1251ToUtf8("\xCC\xE5\xE4\xFC"), "Медь");
    EXPECT_EQ(utf8ToCp1251(""), "");
    EXPECT_EQ(cp1251ToUtf8(""), "");
}

TEST(Cp1251Conversion, EveryDefinedByteRoundTrips) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != 0x98) {  // the one byte without a character
            all.push_back(static_cast<char>(byte));
        }
    }
    // Long enough that the output buffer has to grow.
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += all;
    }
    EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(text)), text);
}

TEST(Cp1251Conversion, UndefinedByteIsAnError) {
    EXPECT_THROW(cp1251ToUtf8("ab\x98"), EncodingError);
}

TEST(Cp1251Conversion, CharacterOutsideTheCodePageIsNamed) {
    for (const std::string character : {"😀", "中", "ā"}) {
        try {
            utf8ToCp1251("ab" + character + "cd");
            ADD_FAILURE() << character;
        } catch (const EncodingError& e) {
            EXPECT_NE(std::string(e.what()).find(character), std::string::npos) << e.what();
        }
    }
    EXPECT_NE(messageOf("x😀").find("U+1F600"), std::string::npos);
}

TEST(Cp1251Conversion, InvalidUtf8IsAnError) {
    for (const char* bad : {"\xFF", "a\xC3", "\xC0\xAF", "\xE2\x82", "\x80", "\xED\xA0\x80"}) {
        EXPECT_THROW(utf8ToCp1251(bad), EncodingError) << bad;
        EXPECT_THROW(encodeStr20(bad), EncodingError) << bad;
    }
    EXPECT_NE(messageOf("a\xFF").find("UTF-8"), std::string::npos);
}

TEST(CutCharacters, CutsBetweenCodePoints) {
    const std::string mixed = "aж€😀b";  // 1, 2, 3, 4 and 1 bytes
    EXPECT_EQ(cutCharacters(mixed, 0), "");
    EXPECT_EQ(cutCharacters(mixed, 1), "a");
    EXPECT_EQ(cutCharacters(mixed, 2), "aж");
    EXPECT_EQ(cutCharacters(mixed, 3), "aж€");
    EXPECT_EQ(cutCharacters(mixed, 4), "aж€😀");
    EXPECT_EQ(cutCharacters(mixed, 5), mixed);
    EXPECT_EQ(cutCharacters(mixed, 100), mixed);
    EXPECT_EQ(cutCharacters(kTwentyLetters + "уфх", 20), kTwentyLetters);
}

TEST(Str20Encoding, TwentyCyrillicLettersFillTheField) {
    const Str20Bytes b = encodeStr20(kTwentyLetters);
    EXPECT_EQ(b[0], 20);
    EXPECT_EQ(b[1], 0xE0);   // а
    EXPECT_EQ(b[7], 0xB8);   // ё
    EXPECT_EQ(b[20], 0xF2);  // т
    EXPECT_EQ(decodeStr20(b), kTwentyLetters);
}

TEST(Str20Encoding, LongTextIsCutByCharactersBeforeConversion) {
    EXPECT_EQ(decodeStr20(encodeStr20(kTwentyLetters + "уфхцч")), kTwentyLetters);
    EXPECT_EQ(decodeStr20(encodeStr20("stainless steel 12X18H10T")), "stainless steel 12X1");
    // A character the code page lacks is cut away before it could fail.
    EXPECT_EQ(decodeStr20(encodeStr20(kTwentyLetters + "😀")), kTwentyLetters);
    EXPECT_THROW(encodeStr20("Латунь 😀"), EncodingError);
}

TEST(Str20Encoding, UnusedBytesAreZero) {
    EXPECT_EQ(encodeStr20("Cu"), rawStr20({2, 'C', 'u'}));
    EXPECT_EQ(encodeStr20(""), Str20Bytes{});
}

TEST(Str20Decoding, IgnoresBytesBeyondTheLength) {
    Str20Bytes b = rawStr20({3, 0xC2, 0xEE, 0xE4});
    for (std::size_t i = 4; i < b.size(); ++i) {
        b[i] = 0x98;  // would not even decode
    }
    EXPECT_EQ(decodeStr20(b), "Вод");
    EXPECT_EQ(decodeStr20(Str20Bytes{}), "");
}

TEST(Str20Decoding, DamagedFieldsAreErrors) {
    Str20Bytes tooLong{};
    tooLong[0] = 21;
    EXPECT_THROW(decodeStr20(tooLong), EncodingError);
    tooLong[0] = 0xFF;
    EXPECT_THROW(decodeStr20(tooLong), EncodingError);
    EXPECT_THROW(decodeStr20(rawStr20({2, 'a', 0x98})), EncodingError);
}

}  // namespace
}  // namespace vexamo
