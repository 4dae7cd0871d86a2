#include "Base64.h"

#include <cctype>
#include <cstdint>

namespace ardourtest {

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int digitOf(char c)
{
    const auto at = kAlphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

} // namespace

std::string toBase64(std::string_view bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            text += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return text;
}

std::optional<std::string> fromBase64(std::string_view text)
{
    std::string bytes;
    std::uint32_t group = 0;
    int digits = 0, padding = 0;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        const int d = c == '=' ? 0 : digitOf(c);
        if (d < 0 || (padding > 0 && c != '='))
            return std::nullopt;
        padding += c == '=' ? 1 : 0;
        group = group << 6 | static_cast<std::uint32_t>(d);
        if (++digits < 4)
            continue;
        if (padding > 2)
            return std::nullopt;
        for (int k = 0; k < 3 - padding; ++k)
            bytes += static_cast<char>((group >> (16 - 8 * k)) & 0xff);
        group = 0;
        digits = 0;
    }
    if (digits != 0)
        return std::nullopt;
    return bytes;
}

} // namespace ardourtest
