// Character mapping and the icon image.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/cpw_host.hpp"

namespace {

TEST(Cp1252, MapsTheWindowsRangeBothWays) {
    struct Case {
        unsigned char byte;
        char32_t unicode;
    };
    const Case cases[] = {{'A', U'A'},       {0x80, U'\u20AC'}, {0x92, U'\u2019'},
                          {0x9F, U'\u0178'}, {0xB0, U'\u00B0'}, {0xE9, U'\u00E9'},
                          {0x81, U'\u0081'}};
    for (const Case& c : cases) {
        EXPECT_EQ(cpw_cp1252_to_unicode(c.byte), c.unicode) << int(c.byte);
        EXPECT_EQ(cpw_unicode_to_cp1252(c.unicode), c.byte) << int(c.byte);
    }
    EXPECT_EQ(cpw_unicode_to_cp1252(U'\u4E2D'), 0);
    EXPECT_EQ(cpw_unicode_to_cp1252(U'\U0001F600'), 0);
    EXPECT_EQ(cpw_cp1252_to_utf8("46\xB0 \x80"), "46\xC2\xB0 \xE2\x82\xAC");
    EXPECT_EQ(cpw_cp1252_to_utf8(nullptr), "");
}

std::vector<std::uint8_t> bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(Pam, DecodesAndRefusesMalformedImages) {
    const std::string rgba2x1 =
        "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"
        "\x01\x02\x03\x04\x05\x06\x07\x08";
    CpwImage img;
    auto data = bytes(rgba2x1);
    ASSERT_TRUE(cpw_decode_pam(data.data(), data.size(), img));
    EXPECT_EQ(img.width, 2);
    EXPECT_EQ(img.rgba, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));

    data = bytes("P7\n# comment\nWIDTH 1\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nENDHDR\nabc");
    ASSERT_TRUE(cpw_decode_pam(data.data(), data.size(), img));
    EXPECT_EQ(img.rgba, (std::vector<std::uint8_t>{'a', 'b', 'c', 255}));

    const std::string bad[] = {
        "P6\n2 1\n255\nxxxxxx",
        "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\n",                      // no ENDHDR
        "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nENDHDR\n\x01\x02",      // short data
        "P7\nWIDTH 1\nHEIGHT 1\nDEPTH 2\nMAXVAL 255\nENDHDR\nxx",            // depth
        "P7\nWIDTH 1\nHEIGHT 1\nDEPTH 4\nMAXVAL 65535\nENDHDR\nxxxxxxxx",    // maxval
        "P7\nWIDTH 0\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nENDHDR\n",              // empty
        "P7\nWIDTH 99999\nHEIGHT 99999\nDEPTH 4\nMAXVAL 255\nENDHDR\nxxxx",  // huge
        "P7\nWIDTH 1x\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nENDHDR\nxxxx",         // number
        "P7\nCOLOURS 1\nWIDTH 1\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nENDHDR\nxxxx",
    };
    for (const std::string& b : bad) {
        data = bytes(b);
        EXPECT_FALSE(cpw_decode_pam(data.data(), data.size(), img)) << b.substr(0, 40);
    }
}

TEST(Pam, TheProgramIconIsEmbedded) {
    const CpwImage& icon = cpw_program_icon();
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(icon.height, 32);
    EXPECT_EQ(icon.rgba.size(), 32u * 32u * 4u);
}

}  // namespace
