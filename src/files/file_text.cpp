#include "files/file_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace filetext {

namespace {

constexpr double kScale[10] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::uint64_t kDivisor[10] = {1,      10,      100,      1000,      10000,
                                        100000, 1000000, 10000000, 100000000, 1000000000};

}  // namespace

char* FormatFixed(char* out, float v, int decimals) {
    const double d = v;
    // A float has 24 significant bits and 10^9 = 2^9 * 5^9 adds at most 21 more, so d * 10^decimals
    // is exact in a double; rounding it to an integer in the default rounding mode (half to even)
    // is then exactly what printf does with the full binary value.
    if (std::isfinite(d)) {
        const double scaled = std::fabs(d * kScale[decimals]);
        if (scaled < 9.0e18) {
            const auto units = static_cast<std::uint64_t>(std::nearbyint(scaled));
            if (std::signbit(d))
                *out++ = '-';
            out = std::to_chars(out, out + 24, units / kDivisor[decimals]).ptr;
            if (decimals > 0) {
                *out++ = '.';
                std::uint64_t frac = units % kDivisor[decimals];
                for (int i = decimals - 1; i >= 0; --i) {
                    out[i] = static_cast<char>('0' + frac % 10);
                    frac /= 10;
                }
                out += decimals;
            }
            return out;
        }
    }
    return std::to_chars(out, out + FixedBufferSize, d, std::chars_format::fixed, decimals).ptr;
}

std::string ToLatin1Line(const wxString& text, std::size_t maxChars) {
    std::string bytes;
    bytes.reserve(std::min<std::size_t>(text.length(), maxChars));
    for (wxUniChar c : text) {
        if (bytes.size() >= maxChars)
            break;
        const wxUint32 code = c.GetValue();
        if (code == '\r' || code == '\n')
            bytes.push_back(' ');
        else if (code > 0xFF)
            bytes.push_back('?');
        else
            bytes.push_back(static_cast<char>(static_cast<unsigned char>(code)));
    }
    return bytes;
}

wxString FromLatin1(const char* bytes, std::size_t count) {
    std::wstring wide(count, L'\0');
    for (std::size_t i = 0; i < count; ++i)
        wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    return wxString(wide);
}

}  // namespace filetext
