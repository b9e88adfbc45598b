#include "files/file_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Printf(float v, int decimals) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(v));
    return buf;
}

std::string Fixed(float v, int decimals) {
    char buf[filetext::FixedBufferSize];
    return std::string(buf, filetext::FormatFixed(buf, v, decimals));
}

}  // namespace

TEST(FormatFixed, MatchesPrintfByteForByte) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    // clang-format off
    std::vector<float> values = {
        0.0f, -0.0f, 0.5f, -0.5f, 1.0f, 0.1f, 123.456f, -987.654321f, 1e-7f, -1e-7f, 4.9999995e-7f, 5e-7f,
        0.0078125f, 0.0234375f, -0.0078125f,  // 1/128 and 3/128: halfway at the 7th decimal; ties to even
        0.125f, 0.375f, 0.005f, 2.675f, 16777216.0f, 1e10f, 9.2e12f, 1e13f, -3e15f, 1e20f,
        FLT_MAX, -FLT_MAX, FLT_MIN, FLT_TRUE_MIN, inf, -inf, nan, -nan};
    // clang-format on
    // Values next to every rounding boundary of the 6th and 2nd decimal.
    for (int k = -2000; k <= 2000; ++k) {
        const float mid6 = static_cast<float>((k + 0.5) / 1e6);
        const float mid2 = static_cast<float>((k + 0.5) / 1e2);
        for (float m : {mid6, mid2}) {
            values.push_back(m);
            values.push_back(std::nextafter(m, 1e30f));
            values.push_back(std::nextafter(m, -1e30f));
        }
    }
    // Every kind of float: random bit patterns, and plausible measurement values.
    std::mt19937 rng(4711);
    for (int i = 0; i < 300000; ++i) {
        std::uint32_t bits = rng();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        values.push_back(f);
        values.push_back(std::uniform_real_distribution<float>(-20000.0f, 20000.0f)(rng));
    }
    int mismatches = 0;
    for (float v : values) {
        for (int decimals : {6, 2}) {
            const std::string want = Printf(v, decimals);
            const std::string got = Fixed(v, decimals);
            if (want != got && ++mismatches <= 10)
                ADD_FAILURE() << "%." << decimals << "f of " << std::hexfloat << v << ": printf " << want
                              << ", ours " << got;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(Fixed(0.5f, 6), "0.500000");
    EXPECT_EQ(Fixed(-1e-7f, 6), "-0.000000");
    EXPECT_EQ(Fixed(0.125f, 2), "0.12");
}

TEST(TextLines, AreOneBytePerCharacter) {
    struct Case {
        const char* utf8;
        std::size_t max;
        std::string bytes;
    } cases[] = {
        {"Messung 1", std::string::npos, "Messung 1"},
        {"Grüße, Straße", std::string::npos,
         "Gr\xFC\xDF"
         "e, Stra\xDF"
         "e"},
        {"10 € – 5 m³", std::string::npos, "10 ? ? 5 m\xB3"},
        {"Zeile 1\nZeile 2\r", std::string::npos, "Zeile 1 Zeile 2 "},
        {"abcdef", 4, "abcd"},
        {"ä€b", 2, "\xE4?"},
        {"", 3, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(filetext::ToLatin1Line(wxString::FromUTF8(c.utf8), c.max), c.bytes) << c.utf8;

    const std::string latin =
        "Gr\xFC\xDF"
        "e \xB3\xFF";
    EXPECT_EQ(filetext::FromLatin1(latin.data(), latin.size()), wxString::FromUTF8("Grüße ³ÿ"));
    const std::string withZero("a\0b", 3);
    EXPECT_EQ(filetext::FromLatin1(withZero.data(), withZero.size()).length(), 3u);
}
