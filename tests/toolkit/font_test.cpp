// Font options, loading and measuring (no display needed), and the glyph pixel maps.
#include <GL/gl.h>
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "fixture.hpp"

namespace fs = std::filesystem;

namespace {

using FontMode = NullHostTest;

TEST_F(FontMode, SetsOptionsAndReturnsThePreviousValue) {
    struct Case {
        int option, value, result, error;
    };
    const Case cases[] = {
        {cpw_font_render_mode, 0, 0, 0},
        {cpw_font_render_mode, 2, -1, cpw_err_argument},
        {cpw_font_alignment, 10, 0, 0},
        {cpw_font_alignment, 14, 10, 0},
        {cpw_font_alignment, 3, -1, cpw_err_argument},
        {cpw_font_size, 10, 12, 0},
        {cpw_font_size, 9, 10, 0},
        {cpw_font_size, 0, -1, cpw_err_argument},
        {cpw_font_size, 100000, -1, cpw_err_argument},
        {cpw_font_kerning, 1, 0, 0},
        {cpw_font_kerning, 2, -1, cpw_err_argument},
        {cpw_font_advance_mult, 2, 1, 0},
        {cpw_font_advance_mult, -1, -1, cpw_err_argument},
        {cpw_font_pixmap_format, GL_RGBA, GL_LUMINANCE, 0},
        {cpw_font_pixmap_format, GL_LUMINANCE_ALPHA, -1, cpw_err_argument},
        {cpw_font_flag27, 1, 0, 0},
        {cpw_font_flag27, 1, 1, 0},
        {cpw_font_flag27, 5, -1, cpw_err_argument},
        {cpw_font_halo, 0xFFFFFF, -1, 0},
        {cpw_font_halo, -1, 0xFFFFFF, 0},
        {cpw_font_halo, 0x1000000, -1, cpw_err_argument},
        {12345, 0, -1, cpw_err_argument},
    };
    for (const Case& c : cases) {
        cpw_->last_error = 0;
        EXPECT_EQ(cpwFontMode(cpw_, c.option, c.value), c.result) << c.option << "=" << c.value;
        EXPECT_EQ(cpwGetLastError(cpw_), c.error) << c.option << "=" << c.value;
    }
    EXPECT_EQ(cpw_->font.size, 9 * 64);
}

class Fonts : public NullHostTest {
  protected:
    void SetUp() override {
        NullHostTest::SetUp();
        cpwFontMode(cpw_, cpw_font_size, 10);
    }
    CpwFontBBox bbox(CpwFontFace f, const char* text) {
        CpwFontBBox b;
        EXPECT_EQ(cpwGetFontBBox(cpw_, f, text, &b), 1) << text;
        return b;
    }
};

TEST_F(Fonts, WindowsFontNamesFindInstalledFontsOfTheSameRole) {
    CpwFontFace arial = cpwLoadFont(cpw_, "arial.ttf", cpw_font_location_system, nullptr);
    CpwFontFace cour = cpwLoadFont(cpw_, "COUR.TTF", cpw_font_location_system, nullptr);
    ASSERT_NE(arial, nullptr);
    ASSERT_NE(cour, nullptr);
    // Fixed pitch for values, proportional for labels.
    EXPECT_EQ(bbox(cour, "i").width, bbox(cour, "W").width);
    EXPECT_LT(bbox(arial, "i").width, bbox(arial, "W").width);
    // Windows-1252 bytes find their own glyphs (the missing-glyph box is wider than these).
    EXPECT_EQ(bbox(arial, "\xE9").width, bbox(arial, "e").width);
    EXPECT_EQ(bbox(arial, "\x80").width, bbox(arial, "0").width);
    EXPECT_EQ(cpwGetLastError(cpw_), 0);
}

TEST_F(Fonts, LoadFailures) {
    const fs::path dir = fs::temp_directory_path() / ("cpw_fonts_" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "notafont.ttf") << "this is not a font\n";
    struct Case {
        const char* file;
        int location;
        const char* folder;
        int error;
    };
    const std::string folder = dir.string();
    const Case cases[] = {
        {"nosuchfont.ttf", cpw_font_location_system, nullptr, cpw_err_font},
        {"nosuchfont.ttf", cpw_font_location_folder, folder.c_str(), cpw_err_font},
        {"notafont.ttf", cpw_font_location_folder, folder.c_str(), cpw_err_font_format},
        {"arial.ttf", 3, nullptr, cpw_err_argument},
        {"arial.ttf", cpw_font_location_folder, nullptr, cpw_err_argument},
        {nullptr, cpw_font_location_system, nullptr, cpw_err_argument},
        {"", cpw_font_location_system, nullptr, cpw_err_argument},
    };
    for (const Case& c : cases) {
        cpw_->last_error = 0;
        EXPECT_EQ(cpwLoadFont(cpw_, c.file, c.location, c.folder), nullptr) << c.error;
        EXPECT_EQ(cpwGetLastError(cpw_), c.error) << (c.file ? c.file : "null");
    }
    fs::remove_all(dir);
}

TEST_F(Fonts, FolderLookupIgnoresCase) {
    CpwFontFace cour = cpwLoadFont(cpw_, "cour.ttf", cpw_font_location_system, nullptr);
    ASSERT_NE(cour, nullptr);
    const fs::path dir = fs::temp_directory_path() / ("cpw_fold_" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::copy_file(cour->path, dir / "Cour.TTF", fs::copy_options::overwrite_existing);
    EXPECT_NE(cpwLoadFont(cpw_, "cour.ttf", cpw_font_location_folder, dir.c_str()), nullptr);
    fs::remove_all(dir);
}

TEST_F(Fonts, BoundingBoxes) {
    CpwFontFace cour = cpwLoadFont(cpw_, "cour.ttf", cpw_font_location_system, nullptr);
    ASSERT_NE(cour, nullptr);
    // The fixed-pitch face advances 0.6 em: 6 pixels at 10 points, 72 dpi.
    const CpwFontBBox zero = bbox(cour, "0");
    EXPECT_EQ(zero.width, 6);
    EXPECT_GT(zero.height, 5);
    EXPECT_LT(zero.height, 10);
    EXPECT_EQ(zero.offsetx, 0);
    EXPECT_EQ(zero.offsety, 0);
    EXPECT_EQ(bbox(cour, "0000").width, 24);
    EXPECT_GT(bbox(cour, "_").offsety, 0);
    EXPECT_GE(bbox(cour, "0g").offsety, bbox(cour, "g").offsety);
    EXPECT_EQ(bbox(cour, "").width, 0);
    cpwFontMode(cpw_, cpw_font_advance_mult, 2);
    EXPECT_EQ(bbox(cour, "00").width, 24);
    cpwFontMode(cpw_, cpw_font_size, 20);
    cpwFontMode(cpw_, cpw_font_advance_mult, 1);
    EXPECT_EQ(bbox(cour, "0").width, 12);
}

// UTF-8 text measures as its characters: letters Windows-1252 lacks are not question marks, and
// a letter it has measures as its Windows-1252 byte does.
TEST_F(Fonts, Utf8TextMeasuresItsOwnLetters) {
    CpwFontFace sans = cpwLoadFont(cpw_, "arial.ttf", cpw_font_location_system, nullptr);
    ASSERT_NE(sans, nullptr);
    auto utf8 = [&](std::string_view t) {
        CpwFontBBox b;
        EXPECT_EQ(cpwGetFontBBoxUtf8(cpw_, sans, t, &b), 1) << t;
        return b.width;
    };
    cpwFontMode(cpw_, cpw_font_size, 40);
    const int greek = utf8("\xCE\x9F\xCE\xBE\xCE\xB9\xCE\xAC");  // Οξιά
    EXPECT_GT(greek, 0);
    EXPECT_NE(greek, utf8("????"));
    EXPECT_EQ(utf8("\xC5\xA0o\xC5\xA1tanj"), bbox(sans, "\x8Ao\x9Atanj").width);  // Šoštanj
    EXPECT_EQ(utf8("\xFF"), utf8("\xEF\xBF\xBD"));  // a byte that is not UTF-8: U+FFFD
}

TEST_F(Fonts, MissingArgumentsRecordError3) {
    CpwFontFace cour = cpwLoadFont(cpw_, "cour.ttf", cpw_font_location_system, nullptr);
    CpwFontBBox b;
    EXPECT_EQ(cpwGetFontBBox(cpw_, nullptr, "0", &b), 0);
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_argument);
    cpw_->last_error = 0;
    EXPECT_EQ(cpwGetFontBBox(cpw_, cour, nullptr, &b), 0);
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_argument);
    cpw_->last_error = 0;
    EXPECT_EQ(cpwDrawFont(cpw_, nullptr, "0", cpw_draw_pixmaps), 0);
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_argument);
    cpw_->last_error = 0;
    EXPECT_EQ(cpwDrawFont(cpw_, cour, "0", 7), 0);
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_argument);
    cpw_->last_error = 0;
    EXPECT_EQ(cpwDrawFont(cpw_, cour, "0", cpw_draw_pixmaps), 0);  // no window to draw in
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_no_window);
}

TEST(FontPixmap, CoverageBecomesTheDrawingColourRowsBottomFirst) {
    // Two rows of three pixels, top row first as FreeType renders them, with row padding.
    const std::uint8_t cov[] = {0, 128, 255, 9, /**/ 255, 0, 64, 9};
    const float red_half[4] = {1.0f, 0.5f, 0.0f, 1.0f};
    std::vector<std::uint8_t> out;
    struct Case {
        int format;
        int pitch;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {GL_RGBA, 4, {255, 128, 0, 255, 0,   0,  0, 0,   64,  32,  0, 64,  // bottom row
                      0,   0,   0, 0,   128, 64, 0, 128, 255, 128, 0, 255}},
        {GL_RGB, 4, {255, 128, 0, 0, 0, 0, 64, 32, 0, 0, 0, 0, 128, 64, 0, 255, 128, 0}},
        {GL_LUMINANCE, 4, {255, 0, 64, 0, 128, 255}},
    };
    for (const Case& c : cases) {
        cpw_font_pixmap(cov, 3, 2, c.pitch, c.format, red_half, out);
        EXPECT_EQ(out, c.expected) << c.format;
    }
    // An outline a pixel wide in the halo's colour, the text's colour over it, rows bottom first.
    const std::vector<std::uint8_t> dot{0, 0, 0, /**/ 0, 255, 0, /**/ 0, 0, 0};
    const float black[4] = {0, 0, 0, 1};
    cpw_font_halo_pixmap(dot, 3, 3, 0xFFFFFF, black, out);
    ASSERT_EQ(out.size(), 36u);
    const std::vector<std::uint8_t> text{0, 0, 0, 255}, halo{255, 255, 255, 255};
    for (int p = 0; p < 9; ++p) {
        const std::vector<std::uint8_t> px(out.begin() + 4 * p, out.begin() + 4 * p + 4);
        EXPECT_EQ(px, p == 4 ? text : halo) << p;
    }
    // A bottom-up bitmap: the buffer starts with the bottom row.
    const std::uint8_t up[] = {255, 0, 64, /**/ 0, 128, 255};
    cpw_font_pixmap(up + 0, 3, 2, -3, GL_LUMINANCE, red_half, out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{255, 0, 64, 0, 128, 255}));
}

}  // namespace
