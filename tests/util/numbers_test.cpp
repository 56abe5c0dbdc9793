#include "util/numbers.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

TEST(ReadFreeNumber, AcceptsDecimalsRejectsTheRest) {
    const std::pair<const char*, double> good[] = {
        {"46.5", 46.5},   {"  -7.25", -7.25}, {"+3", 3}, {"1e2", 100},
        {"2.5E-1", 0.25}, {".5", 0.5},        {"5.", 5}, {"46,5", 46},
        {"12 34", 12},    {"7/x", 7},         {"0", 0},
    };
    for (const auto& [text, value] : good) {
        double v = -1;
        EXPECT_TRUE(read_free_number(text, v)) << text;
        EXPECT_DOUBLE_EQ(v, value) << text;
    }
    const char* bad[] = {"",    "   ", "nan", "inf", "-infinity", "0x1p3", "abc",  "1e",
                         "1e+", "--1", ".",   "+",   "12abc",     ",5",    "1e999"};
    for (const char* text : bad) {
        double v = 123;
        EXPECT_FALSE(read_free_number(text, v)) << text;
        EXPECT_EQ(v, 123) << text;
    }
    float f = 0;
    EXPECT_FALSE(read_free_number("1e39", f));
    EXPECT_TRUE(read_free_number("1e38", f));
}

TEST(ReadFreeNumber, PlainDecimalsRoundLikeFromChars) {
    // Short plain decimals take a fast path; it must give the correctly rounded double.
    const char* texts[] = {"0.1",
                           "-0",
                           "46.504166",
                           "9.2500001",
                           "123456789012345",
                           "1234567890123456",
                           "0.000000000000001",
                           "-7.123456789012",
                           "999.999"};
    for (const char* text : texts) {
        double v = 0, want = 0;
        ASSERT_TRUE(read_free_number(text, v)) << text;
        std::string_view t = text;
        std::from_chars(t.data() + (t[0] == '+'), t.data() + t.size(), want);
        EXPECT_EQ(v, want) << text;
        EXPECT_EQ(std::signbit(v), std::signbit(want)) << text;
    }
}

TEST(ReadFreeInt, Range) {
    std::int32_t v = 0;
    EXPECT_TRUE(read_free_int("2147483647", v));
    EXPECT_EQ(v, 2147483647);
    EXPECT_FALSE(read_free_int("2147483648", v));
    EXPECT_FALSE(read_free_int("1.5", v));
    EXPECT_TRUE(read_free_int(" -42,", v));
    EXPECT_EQ(v, -42);
}

TEST(NumverToChar, DottedText) {
    EXPECT_EQ(numver_to_char(2200), "2.2.0.0");
    EXPECT_EQ(numver_to_char(12345), "12.3.4.5");
    EXPECT_EQ(numver_to_char(100000), "**.0.0.0");
}

TEST(I2b, LeftAlignedOrAsterisks) {
    EXPECT_EQ(i2b(-42), "-42");
    EXPECT_EQ(i2b(0), "0");
    EXPECT_EQ(i2b(123456, 4), "****");
    EXPECT_EQ(i2b(-2147483647 - 1), "-2147483648");
}

TEST(FormatFixed, FortranLikeFields) {
    EXPECT_EQ(format_fixed(512.25, 15, 3), "        512.250");
    EXPECT_EQ(format_fixed(-0.0001, 8, 3), "  -0.000");
    EXPECT_EQ(format_fixed(0.5, 4, 3), ".500");
    EXPECT_EQ(format_fixed(12345.0, 4, 1), "****");
}

TEST(F2b, TrimsZerosAndLimitsDigits) {
    const std::tuple<float, const char*, const char*> cases[] = {
        {46.5f, "(F12.6)", "46.5"},         {3.0f, "(F12.6)", "3"},
        {0.5f, "(F10.6)", "0.5"},           {100.0f, "(F10.2)", "100"},
        {-0.0001f, "(F8.3)", "-0"},         {123456.0f, "(F12.6)", "123456"},
        {123456.5f, "(F12.6)", "123456.5"}, {1250.5f, "(F10.1)", "1250.5"},
        {99999.0f, "(F3.1)", "***"},
    };
    for (const auto& [value, fmt, text] : cases) EXPECT_EQ(f2b(value, fmt), text) << value << fmt;
    // Between 100 000 and 999 999 only three decimals survive.
    EXPECT_EQ(f2b(123456.789f, "(F12.6)"), "123456.789");
}

TEST(KeyCodes, TextAndBack) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {10065, "CTRL+\"A\""},
        {20013, "SHFT+ASC13"},
        {65, "\"A\""},
        {-59, "SCN59"},
        {10000 - 30, "CTRL+SCN30"},
        {80000 + 65, "LONG+\"A\""},
        {70000 + 200, "CTRL+SHFT+ALT+ASC200"},
        {0, ""},
        {10000, ""},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(k2b(code), text) << code;
        if (*text) {
            EXPECT_EQ(b2k(text), code) << text;
        }
    }
    EXPECT_EQ(b2k("CTRL+SHFT+SCN59"), 29941);
    EXPECT_EQ(b2k("garbage"), 0);
    EXPECT_EQ(b2k("ASC5000"), 5000);
    EXPECT_EQ(b2k("LONG+CTRL+SHFT+ALT+SCN4999"), 150000 - 4999);
    for (const char* text :
         {"SCN-2147483648", "CTRL+ASC2147483647", "SCN5000", "ASC5001", "SCNx"}) {
        std::int32_t code = 7;
        EXPECT_FALSE(b2k(text, code)) << text;
        EXPECT_EQ(code, 7) << text;
        EXPECT_EQ(b2k(text), 0) << text;
    }
    EXPECT_EQ(split_key_code(9970).mods, 1);
    EXPECT_EQ(split_key_code(9970).key, -30);
}

TEST(Times, FormatsAndParses) {
    EXPECT_EQ(to_hms(3725.0f, 8), " 1:02:05");
    EXPECT_EQ(to_hms(3725.5f, 11), " 1:02:05.50");
    EXPECT_EQ(to_hms(3725.5f, 8), " 1:02:05");
    EXPECT_EQ(t2b(1.5f), "01:30:00");
    EXPECT_EQ(hms2sec("1:02:05"), 3725);
    EXPECT_EQ(hms2sec("1:02:xx"), -999);
}

TEST(FixedToChars, SameTextAsToCharsForFloats) {
    // Random floats over many magnitudes, plus ties and signed zeros.
    std::vector<float> values = {0.0f, -0.0f,  0.0625f,     -0.0625f,     0.0005f, -0.0001f, 1e-9f,
                                 2.5f, 0.125f, 123456.789f, -98765.4321f, 3.4e10f, 1.0f};
    std::uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1664525u + 1013904223u;
        float f;
        std::uint32_t bits = (state & 0x807FFFFFu) | ((90u + state % 70u) << 23);  // 2^-37 .. 2^32
        std::memcpy(&f, &bits, sizeof f);
        values.push_back(f);
    }
    for (float v : values) {
        for (int d : {0, 1, 3, 6}) {
            char want[400], got[400];
            auto [we, ec] =
                std::to_chars(want, want + sizeof want, double(v), std::chars_format::fixed, d);
            ASSERT_EQ(ec, std::errc{});
            char* ge = fixed_to_chars(got, got + sizeof got, v, d);
            ASSERT_NE(ge, nullptr);
            ASSERT_EQ(std::string(got, ge), std::string(want, we)) << v << " " << d;
        }
    }
    char small[4];
    EXPECT_EQ(fixed_to_chars(small, small + sizeof small, 12345.0f, 1), nullptr);
}

TEST(ReadWholeNumber, TheWholeTextOrNothing) {
    const std::pair<const char*, std::optional<float>> cases[] = {
        {" 46.5 ", 46.5f},      {"-9.25", -9.25f},       {"1e3", 1000.f},
        {"46,5", std::nullopt}, {"9.25x", std::nullopt}, {"46 5", std::nullopt},
        {"", std::nullopt},     {"4e40", std::nullopt},  {"nan", std::nullopt},
    };
    for (const auto& [text, want] : cases) {
        float v = -1;
        EXPECT_EQ(read_whole_number(text, v), want.has_value()) << text;
        if (want) {
            EXPECT_EQ(v, *want) << text;
        }
    }
}
