#pragma once
// Short strings of the records: a length byte and up to 20 Windows-1251
// characters (21 bytes). UTF-8 inside the program, Windows-1251 only here.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexamo {

using Str20Bytes = std::array<std::uint8_t, 21>;

// UTF-8 -> Windows-1251 and back (iconv). Throws EncodingError naming the
// character that Windows-1251 cannot hold, or on invalid UTF-8 input.
std::string utf8ToCp1251(std::string_view utf8);
std::string cp1251ToUtf8(std::string_view cp1251);

// Cuts a UTF-8 text to at most n characters (code points), never inside one.
std::string cutCharacters(std::string_view utf8, std::size_t n);

// Encodes a UTF-8 text, cut to 20 characters; unused bytes are zero.
Str20Bytes encodeStr20(std::string_view utf8);
// Decodes bytes[0..21). Throws EncodingError when the length byte exceeds 20.
std::string decodeStr20(const std::uint8_t* bytes);
inline std::string decodeStr20(const Str20Bytes& b) { return decodeStr20(b.data()); }

}  // namespace vexamo
