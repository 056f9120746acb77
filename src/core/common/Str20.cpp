#include "common/Str20.h"

#include <fmt/format.h>
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "common/Errors.h"

namespace vexamo {

namespace {

constexpr std::size_t kStr20Capacity = 20;

// An open iconv conversion, closed when it goes out of scope.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_handle(iconv_open(to, from)) {
        if (m_handle == reinterpret_cast<iconv_t>(-1)) {
            throw EncodingError(fmt::format("the conversion from {} to {} is not available: {}",
                                            from, to, std::strerror(errno)));
        }
    }
    ~IconvHandle() { iconv_close(m_handle); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    iconv_t get() const { return m_handle; }

private:
    iconv_t m_handle;
};

// Why a conversion stopped before the end of its input.
struct ConversionFailure {
    std::size_t offset;  // input offset of the sequence that was refused
    int error;           // EILSEQ (invalid or unrepresentable) or EINVAL (truncated)
};

struct ConversionResult {
    std::string output;
    std::optional<ConversionFailure> failure;
};

// Converts the whole input, growing the output buffer as needed (E2BIG).
ConversionResult convert(IconvHandle& handle, std::string_view input) {
    ConversionResult result;
    std::string buffer(input.size() + 16, '\0');
    // iconv takes a non-const input pointer but does not write through it.
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t used = 0;
    while (inLeft > 0) {
        char* out = buffer.data() + used;
        std::size_t outLeft = buffer.size() - used;
        const std::size_t rc = iconv(handle.get(), &in, &inLeft, &out, &outLeft);
        used = buffer.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        result.failure = ConversionFailure{input.size() - inLeft, errno};
        break;
    }
    buffer.resize(used);
    result.output = std::move(buffer);
    return result;
}

// The code point and UTF-8 length of the character at the start of `text`,
// or nothing when it is not valid UTF-8.
std::optional<std::pair<char32_t, std::size_t>> firstCodePoint(std::string_view text) {
    IconvHandle handle("UTF-32LE", "UTF-8");
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    unsigned char unit[4] = {};
    char* out = reinterpret_cast<char*>(unit);
    std::size_t outLeft = sizeof unit;
    const std::size_t rc = iconv(handle.get(), &in, &inLeft, &out, &outLeft);
    if (outLeft != 0 || (rc == static_cast<std::size_t>(-1) && errno != E2BIG)) {
        return std::nullopt;
    }
    const char32_t codePoint =
        static_cast<char32_t>(unit[0]) | (static_cast<char32_t>(unit[1]) << 8) |
        (static_cast<char32_t>(unit[2]) << 16) | (static_cast<char32_t>(unit[3]) << 24);
    return std::make_pair(codePoint, text.size() - inLeft);
}

void requireValidUtf8(std::string_view utf8) {
    IconvHandle handle("UTF-32LE", "UTF-8");
    const ConversionResult result = convert(handle, utf8);
    if (result.failure) {
        throw EncodingError(fmt::format("the text is not valid UTF-8 (byte 0x{:02X} at offset {})",
                                        static_cast<unsigned char>(utf8[result.failure->offset]),
                                        result.failure->offset));
    }
}

}  // namespace

std::string utf8ToCp1251(std::string_view utf8) {
    IconvHandle handle("CP1251", "UTF-8");
    ConversionResult result = convert(handle, utf8);
    if (!result.failure) {
        return std::move(result.output);
    }
    const std::size_t offset = result.failure->offset;
    // iconv reports invalid input and a character without a Windows-1251 code
    // alike; tell them apart by decoding the refused character on its own.
    if (result.failure->error == EILSEQ) {
        if (const auto character = firstCodePoint(utf8.substr(offset))) {
            throw EncodingError(
                fmt::format("the character \"{}\" (U+{:04X}) cannot be stored in Windows-1251",
                            utf8.substr(offset, character->second),
                            static_cast<std::uint32_t>(character->first)));
        }
    }
    throw EncodingError(fmt::format("the text is not valid UTF-8 (byte 0x{:02X} at offset {})",
                                    static_cast<unsigned char>(utf8[offset]), offset));
}

std::string cp1251ToUtf8(std::string_view cp1251) {
    IconvHandle handle("UTF-8", "CP1251");
    ConversionResult result = convert(handle, cp1251);
    if (result.failure) {
        const std::size_t offset = result.failure->offset;
        throw EncodingError(
            fmt::format("byte 0x{:02X} at offset {} is not a Windows-1251 character",
                        static_cast<unsigned char>(cp1251[offset]), offset));
    }
    return std::move(result.output);
}

std::string cutCharacters(std::string_view utf8, std::size_t n) {
    // A character starts at every byte that is not a continuation byte
    // (10xxxxxx); the cut falls before the start of character n + 1.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0u) != 0x80u) {
            if (characters == n) {
                return std::string(utf8.substr(0, i));
            }
            ++characters;
        }
    }
    return std::string(utf8);
}

Str20Bytes encodeStr20(std::string_view utf8) {
    // The whole text must be valid, also the part that is cut away.
    requireValidUtf8(utf8);
    const std::string encoded = utf8ToCp1251(cutCharacters(utf8, kStr20Capacity));
    Str20Bytes out{};
    out[0] = static_cast<std::uint8_t>(encoded.size());
    std::memcpy(out.data() + 1, encoded.data(), encoded.size());
    return out;
}

std::string decodeStr20(const std::uint8_t* bytes) {
    const std::size_t length = bytes[0];
    if (length > kStr20Capacity) {
        throw EncodingError(fmt::format("damaged text field: length {} exceeds {} characters",
                                        length, kStr20Capacity));
    }
    return cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes + 1), length));
}

}  // namespace vexamo
