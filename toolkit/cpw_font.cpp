// Fonts: options, loading faces (the system's font files: cpw_font_files.hpp),
// measuring and drawing Windows-1252 or UTF-8 text with FreeType at 72 dpi, so one point is one
// pixel.
#include <GL/gl.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "toolkit/cpw_font_files.hpp"
#include "toolkit/cpw_state.hpp"
#include "util/cp1252.hpp"
#include "util/text.hpp"

namespace {

bool pixmap_format_ok(int format) {
    switch (format) {
        case GL_RGBA:
        case GL_RGB:
        case GL_LUMINANCE:
        case GL_ALPHA:
        case GL_RED:
        case GL_GREEN:
        case GL_BLUE:
            return true;
        default:
            return false;
    }
}

int bytes_per_pixel(int format) { return format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 1; }

bool set_size(pCpw cpw, FT_Face face) {
    if (FT_Set_Char_Size(face, 0, cpw->font.size, cpw->font.dpi, cpw->font.dpi) != 0) {
        cpw_error_set(cpw, cpw_err_font);
        return false;
    }
    return true;
}

// An 8-bit coverage view of a rendered glyph; 1-bit images are expanded into `mono`.
bool coverage_of(const FT_Bitmap& b, std::vector<std::uint8_t>& mono, const std::uint8_t*& data,
                 int& pitch) {
    if (b.pixel_mode == FT_PIXEL_MODE_GRAY) {
        data = b.buffer;
        pitch = b.pitch;
        return true;
    }
    if (b.pixel_mode != FT_PIXEL_MODE_MONO) return false;
    const int w = static_cast<int>(b.width), rows = static_cast<int>(b.rows);
    mono.resize(static_cast<std::size_t>(w) * rows);
    const std::uint8_t* top = b.pitch < 0 ? b.buffer - b.pitch * (rows - 1) : b.buffer;
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* row = top + r * b.pitch;
        for (int c = 0; c < w; ++c)
            mono[static_cast<std::size_t>(r) * w + c] = (row[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0;
    }
    data = mono.data();
    pitch = w;
    return true;
}

// The glyph of a code point at the current size (set on the face), loaded and rendered on
// first use.
const CpwGlyph& glyph_of(pCpw cpw, CpwFont& font, char32_t c) {
    const std::uint64_t key = static_cast<std::uint64_t>(cpw->font.size) << 32 | c;
    auto [it, fresh] = font.glyphs.try_emplace(key);
    CpwGlyph& g = it->second;
    if (!fresh) return g;
    FT_Face face = font.face;
    if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) return g;
    const FT_GlyphSlot slot = face->glyph;
    g.loaded = true;
    g.advance = slot->advance.x;
    g.height = slot->metrics.height;
    g.bearing_y = slot->metrics.horiBearingY;
    const FT_Bitmap& b = slot->bitmap;
    std::vector<std::uint8_t> mono;
    const std::uint8_t* cov = nullptr;
    int pitch = 0;
    // Images that are not bitmaps are skipped; the glyph still advances.
    if (slot->format != FT_GLYPH_FORMAT_BITMAP || b.width == 0 || b.rows == 0 ||
        !coverage_of(b, mono, cov, pitch))
        return g;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(b.width);
    g.rows = static_cast<int>(b.rows);
    g.coverage.resize(static_cast<std::size_t>(g.width) * g.rows);
    const std::uint8_t* top = pitch < 0 ? cov - pitch * (g.rows - 1) : cov;
    for (int r = 0; r < g.rows; ++r)
        std::memcpy(&g.coverage[static_cast<std::size_t>(r) * g.width], top + r * pitch, g.width);
    return g;
}

}  // namespace

// --- font files ------------------------------------------------------------------------------

CpwFontFile cpw_find_folder_font(const char* folder, std::string_view name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exact = fs::path(folder) / fs::path(name);
    if (fs::is_regular_file(exact, ec)) return {exact.string(), 0};
    // Windows font names are case-insensitive.
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (case_blind_compare(entry.path().filename().string(), name))
            return {entry.path().string(), 0};
    return {exact.string(), 0};  // let FreeType report it missing
}

// --- shared helpers --------------------------------------------------------------------------

// The program's one codec (util/cp1252) under the toolkit's names.
char32_t cpw_cp1252_to_unicode(unsigned char c) { return cp1252_to_unicode(c); }

unsigned char cpw_unicode_to_cp1252(char32_t u) {
    const int b = u == 0 ? -1 : unicode_to_cp1252(u);
    return b < 0 ? 0 : static_cast<unsigned char>(b);
}

std::string cpw_cp1252_to_utf8(const char* text) {
    return text == nullptr ? std::string() : cp1252_to_utf8(text);
}

void cpw_font_pixmap(const std::uint8_t* coverage, int width, int rows, int pitch, int format,
                     const float color[4], std::vector<std::uint8_t>& out) {
    const int bpp = bytes_per_pixel(format);
    out.resize(static_cast<std::size_t>(width) * rows * bpp);
    const std::uint8_t* top = pitch < 0 ? coverage - pitch * (rows - 1) : coverage;
    std::uint8_t* dst = out.data();
    for (int r = rows - 1; r >= 0; --r) {  // glDrawPixels takes the bottom row first
        const std::uint8_t* src = top + static_cast<std::ptrdiff_t>(r) * pitch;
        if (bpp == 1) {
            std::memcpy(dst, src, width);
            dst += width;
            continue;
        }
        for (int c = 0; c < width; ++c)
            for (int k = 0; k < bpp; ++k)
                *dst++ =
                    static_cast<std::uint8_t>(src[c] * std::clamp(color[k], 0.0f, 1.0f) + 0.5f);
    }
}

void cpw_font_halo_pixmap(const std::vector<std::uint8_t>& coverage, int width, int rows,
                          std::uint32_t halo, const float color[4],
                          std::vector<std::uint8_t>& out) {
    out.assign(static_cast<std::size_t>(width) * rows * 4, 0);
    auto at = [&](int x, int y) -> int {
        return x < 0 || y < 0 || x >= width || y >= rows
                   ? 0
                   : coverage[static_cast<std::size_t>(y) * width + x];
    };
    const float halo_rgb[3] = {float(halo >> 16 & 0xFF), float(halo >> 8 & 0xFF),
                               float(halo & 0xFF)};
    for (int y = 0; y < rows; ++y) {
        std::uint8_t* dst =
            &out[static_cast<std::size_t>(rows - 1 - y) * width * 4];  // bottom first
        for (int x = 0; x < width; ++x, dst += 4) {
            int spread = 0;  // the outline: the coverage grown by a pixel each way
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) spread = std::max(spread, at(x + dx, y + dy));
            if (spread == 0) continue;
            const float cov = at(x, y) / 255.0f, a = spread / 255.0f;
            // Text over its outline, not premultiplied (blending multiplies by alpha).
            for (int k = 0; k < 3; ++k) {
                const float c =
                    std::clamp(color[k], 0.0f, 1.0f) * 255.0f * cov + halo_rgb[k] * (a - cov);
                dst[k] = static_cast<std::uint8_t>(std::clamp(c / a + 0.5f, 0.0f, 255.0f));
            }
            dst[3] = static_cast<std::uint8_t>(spread);
        }
    }
}

CpwFont::~CpwFont() {
    if (face != nullptr) FT_Done_Face(face);
}

bool cpw_font_init(CpwFontState& font) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) return false;
    font.library = lib;
    return true;
}

void cpw_font_free(CpwFontState& font) {
    font.faces.clear();
    if (font.library != nullptr) FT_Done_FreeType(font.library);
    font.library = nullptr;
    cpw_system_fonts_free(font);
}

// --- public operations -----------------------------------------------------------------------

int cpwFontMode(pCpw cpw, int option, int value) {
    if (!cpw_state_valid(cpw)) return -1;
    CpwFontState& f = cpw->font;
    auto set = [&](int& slot, bool ok) {
        if (!ok) return cpw_error_set(cpw, cpw_err_argument), -1;
        return std::exchange(slot, value);
    };
    switch (option) {
        case cpw_font_render_mode:
            return set(f.render_mode, value == 0);
        case cpw_font_alignment:
            return set(f.alignment, value == 0 || value == 10 || value == 14);
        case cpw_font_size: {
            if (value < 1 || value > 1000) return cpw_error_set(cpw, cpw_err_argument), -1;
            return static_cast<int>(std::exchange(f.size, value * 64L) / 64);
        }
        case cpw_font_kerning:
            return set(f.kerning, value == 0 || value == 1);
        case cpw_font_advance_mult:
            return set(f.advance_mult, value >= 0);
        case cpw_font_pixmap_format:
            return set(f.pixmap_format, pixmap_format_ok(value));
        case cpw_font_flag27:
            return set(f.flag27, value == 0 || value == 1);
        case cpw_font_halo:
            if (value < -1 || value > 0xFFFFFF) return cpw_error_set(cpw, cpw_err_argument), -1;
            return static_cast<int>(std::exchange(f.halo, value));
        default:
            cpw_error_set(cpw, cpw_err_argument);
            return -1;
    }
}

CpwFontFace cpwLoadFont(pCpw cpw, const char* filename, int location, const char* folder) {
    if (!cpw_state_valid(cpw)) return nullptr;
    if (filename == nullptr || *filename == '\0' ||
        (location != cpw_font_location_system && location != cpw_font_location_folder) ||
        (location == cpw_font_location_folder && folder == nullptr)) {
        cpw_error_set(cpw, cpw_err_argument);
        return nullptr;
    }
    CpwFontState& fs = cpw->font;
    if (fs.library == nullptr) return cpw_error_set(cpw, cpw_err_font), nullptr;
    const CpwFontFile file = location == cpw_font_location_system
                                 ? cpw_find_system_font(fs, filename)
                                 : cpw_find_folder_font(folder, filename);
    if (file.path.empty()) return cpw_error_set(cpw, cpw_err_font), nullptr;

    FT_Face face = nullptr;
    const FT_Error err = FT_New_Face(fs.library, file.path.c_str(), file.index, &face);
    if (err != 0) {
        cpw_error_set(cpw, err == FT_Err_Unknown_File_Format ? cpw_err_font_format : cpw_err_font);
        return nullptr;
    }
    auto font = std::make_unique<CpwFont>();
    font->face = face;
    font->path = file.path;
    fs.faces.push_back(std::move(font));
    return fs.faces.back().get();
}

namespace {

int font_bbox(pCpw cpw, CpwFontFace font, std::u32string_view text, CpwFontBBox* bbox) {
    *bbox = {};
    if (!set_size(cpw, font->face)) return 0;
    long long width = 0;
    long height = 0, depth = 0;
    int ok = 1;
    for (const char32_t c : text) {
        const CpwGlyph& g = glyph_of(cpw, *font, c);
        if (!g.loaded) {
            ok = 0;
            cpw_error_set(cpw, cpw_err_font);
            continue;
        }
        width += static_cast<long long>(g.advance / 64) * cpw->font.advance_mult;
        height = std::max(height, g.height / 64);
        depth = std::max(depth, g.height / 64 - g.bearing_y / 64);
    }
    bbox->width = static_cast<int>(std::min<long long>(width, INT_MAX));
    bbox->height = static_cast<int>(height);
    bbox->offsety = static_cast<int>(depth);
    return ok;
}

int draw_font(pCpw cpw, CpwFontFace font, std::u32string_view text) {
    if (cpw_list_find(cpw, cpw->current) == nullptr)  // no GL context to draw into
        return cpw_error_set(cpw, cpw_err_no_window), 0;
    if (!set_size(cpw, font->face)) return 0;

    // The glyphs at their pen positions, and the box around their images.
    struct Placed {
        const CpwGlyph* glyph;
        long x;
    };
    std::vector<Placed> placed;
    long pen = 0, x0 = LONG_MAX, x1 = LONG_MIN, y0 = LONG_MAX, y1 = LONG_MIN;
    int ok = 1;
    for (const char32_t c : text) {
        const CpwGlyph& g = glyph_of(cpw, *font, c);
        if (!g.loaded) {
            ok = 0;
            cpw_error_set(cpw, cpw_err_font);
            continue;
        }
        if (g.width > 0) {
            placed.push_back({&g, pen});
            x0 = std::min(x0, pen + g.left);
            x1 = std::max(x1, pen + g.left + g.width);
            y0 = std::min<long>(y0, g.top - g.rows);
            y1 = std::max<long>(y1, g.top);
        }
        pen += g.advance >> 6;
    }

    // One image for the whole text: far fewer pixel transfers than one per glyph.
    if (!placed.empty()) {
        CpwFontState& fs = cpw->font;
        const bool halo = fs.halo >= 0;
        if (halo) --x0, ++x1, --y0, ++y1;  // room for the outline
        const int w = static_cast<int>(x1 - x0), rows = static_cast<int>(y1 - y0);
        fs.compose.assign(static_cast<std::size_t>(w) * rows, 0);
        for (const Placed& pl : placed) {
            const CpwGlyph& g = *pl.glyph;
            const long left = pl.x + g.left - x0, top = y1 - g.top;
            for (int r = 0; r < g.rows; ++r) {
                std::uint8_t* dst = &fs.compose[static_cast<std::size_t>(top + r) * w + left];
                const std::uint8_t* src = &g.coverage[static_cast<std::size_t>(r) * g.width];
                for (int c = 0; c < g.width; ++c) dst[c] = std::max(dst[c], src[c]);
            }
        }
        GLfloat color[4] = {1, 1, 1, 1};
        glGetFloatv(GL_CURRENT_COLOR, color);
        GLenum format = static_cast<GLenum>(fs.pixmap_format);
        if (halo) {
            cpw_font_halo_pixmap(fs.compose, w, rows, static_cast<std::uint32_t>(fs.halo), color,
                                 fs.scratch);
            format = GL_RGBA;
        } else {
            cpw_font_pixmap(fs.compose.data(), w, rows, w, fs.pixmap_format, color, fs.scratch);
        }
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        // Moving the raster position with glBitmap keeps it valid even off the viewport, so
        // text at the window's edge is clipped, not dropped.
        const GLfloat dx = static_cast<GLfloat>(x0), dy = static_cast<GLfloat>(y0);
        glBitmap(0, 0, 0, 0, dx, dy, nullptr);
        glDrawPixels(w, rows, format, GL_UNSIGNED_BYTE, fs.scratch.data());
        glBitmap(0, 0, 0, 0, -dx, -dy, nullptr);
        glPopClientAttrib();
    }
    glBitmap(0, 0, 0, 0, static_cast<GLfloat>(pen), 0, nullptr);
    return ok;
}

std::u32string cp1252_code_points(const char* text) {
    std::u32string out;
    for (const char* p = text; *p != '\0'; ++p)
        out += cpw_cp1252_to_unicode(static_cast<unsigned char>(*p));
    return out;
}

}  // namespace

int cpwGetFontBBox(pCpw cpw, CpwFontFace font, const char* text, CpwFontBBox* bbox) {
    if (!cpw_state_valid(cpw)) return 0;
    if (font == nullptr || text == nullptr || bbox == nullptr)
        return cpw_error_set(cpw, cpw_err_argument), 0;
    return font_bbox(cpw, font, cp1252_code_points(text), bbox);
}

int cpwGetFontBBoxUtf8(pCpw cpw, CpwFontFace font, std::string_view utf8, CpwFontBBox* bbox) {
    if (!cpw_state_valid(cpw)) return 0;
    if (font == nullptr || bbox == nullptr) return cpw_error_set(cpw, cpw_err_argument), 0;
    return font_bbox(cpw, font, utf8_code_points(utf8), bbox);
}

int cpwDrawFont(pCpw cpw, CpwFontFace font, const char* text, int mode) {
    if (!cpw_state_valid(cpw)) return 0;
    if (font == nullptr || text == nullptr || mode != cpw_draw_pixmaps)
        return cpw_error_set(cpw, cpw_err_argument), 0;
    return draw_font(cpw, font, cp1252_code_points(text));
}

int cpwDrawFontUtf8(pCpw cpw, CpwFontFace font, std::string_view utf8) {
    if (!cpw_state_valid(cpw)) return 0;
    if (font == nullptr) return cpw_error_set(cpw, cpw_err_argument), 0;
    return draw_font(cpw, font, utf8_code_points(utf8));
}
