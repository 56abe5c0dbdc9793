// Layout of the form: font metrics, the radio circle, where every element sits, and the
// rectangles drawing leaves for hit-testing.
//
// Positions are window pixels, origin bottom-left, y upward. Positions from a definition file
// may be anything: arithmetic here is done in 64 bits and kept within `coord_limit`, so odd
// files give odd windows, never overflow.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "gui/form_view.hpp"

namespace {

// Far beyond any screen, far inside int.
constexpr std::int64_t coord_limit = 1'000'000;
// The largest client size a form's window gets, whatever its positions say: larger than any
// screen, small enough for the frame buffers of a software renderer.
constexpr int max_window_side = 4096;

// A file box's "..." button: this many characters wide, this many pixels right of the box.
constexpr int browse_columns = 3, browse_gap = 4;

int clamp_coord(std::int64_t v) { return int(std::clamp(v, -coord_limit, coord_limit)); }

// The extent of everything placed: the left and bottom margins are repeated on the right and
// top of the window.
struct Extent {
    std::int64_t xmin = 32767, ymin = 32767, xmax = 0, ymax = 0;
    bool any_x = false, any_y = false;
    void x(std::int64_t v) {
        xmin = std::min(xmin, v);
        xmax = std::max(xmax, v);
        any_x = true;
    }
    void y(std::int64_t v) {
        ymin = std::min(ymin, v);
        ymax = std::max(ymax, v);
        any_y = true;
    }
};

// Label placement codes of inpt_ptx x (the definition file's TxPos).
enum : int {
    lbl_right = -1,
    lbl_left = -2,
    lbl_left_aligned = -3,
    lbl_top_centre = -4,
    lbl_top_left = -5
};

// Plain pixel positions of buttons and text items; others are coded (alignment, per mille).
constexpr int code_step = 10000;  // coded x: alignment × code_step + position
bool plain_x(int x) { return x >= 0 && x < code_step; }

// The left edge of an element `width` wide whose x is coded: |x| = alignment × 10000 + p, p
// per mille of the window width when x is negative; alignment 0 puts the left edge at p, 1 the
// centre, 2 the right edge.
int coded_left(int x, int width, int window_width) {
    const std::int64_t ax = std::abs(std::int64_t(x));
    const std::int64_t a = ax / code_step;
    std::int64_t p = ax % code_step;
    if (x < 0) p = p * window_width / 1000;
    return clamp_coord(p - std::int64_t(width) * a / 2);
}

void place_input(FormViewState& v, int i, Extent& ext) {
    const std::int64_t dx = v.DxI, yo = v.Yoffset, base = v.TxtBase;
    const std::int64_t siz = std::clamp(v.inpt_siz[i], 0, int(coord_limit));
    std::int64_t width = 0, height = 0;
    if (v.inpt_typ[i] == typ_tck) {
        width = height = siz;
    } else {
        width = dx * siz + 2 * yo;
        height = v.BoxH;
    }
    // Step arrows, or a file box's "..." button, stand right of the box.
    const std::int64_t arrows = v.inpt_arr[i] != 0           ? 2 * dx
                                : is_file_box(v.inpt_typ[i]) ? browse_gap + browse_columns * dx
                                                             : 0;
    const bool labelled = !v.inpt_txt[i].empty();
    const CpwFontBBox lb = frm_text_box(v.Txt_Font, v.font_size, v.inpt_txt[i]);
    const std::int64_t w = labelled ? lb.width : 0, h = labelled ? lb.height : 0;

    const std::int64_t x = v.inpt_pos[i][0], y0 = v.inpt_pos[i][1];
    const int code = v.inpt_ptx[i][0];
    std::int64_t x0 = x, lx = 0, ly = 0;
    bool label = labelled;
    if (x < 0 || code == lbl_left) {
        // Label first, the box after it. "L" with a plain x starts the label at x rather than
        // at -x, which would be outside the window.
        const std::int64_t start = x < 0 ? -x : x;
        x0 = labelled ? start + dx / 2 + w : start;
        lx = start;
        ly = y0 + base;
    } else if (code >= 0) {
        lx = code;
        ly = v.inpt_ptx[i][1];
    } else {
        const std::int64_t x1 = x0 + width, y1 = y0 + height;
        switch (code) {
            case lbl_left_aligned:
                lx = x - dx - w;
                ly = y0 + base;
                break;
            case lbl_top_centre:
                lx = (x0 + x1 - w) / 2;
                ly = y1 + yo;
                break;
            case lbl_top_left:
                lx = x0 + yo;
                ly = y1 + yo;
                break;
            default:  // "R", and codes no file produces
                lx = x1 + arrows + dx / 2;
                ly = y0 + base;
                break;
        }
    }
    const std::int64_t x1 = x0 + width, y1 = y0 + height;
    v.inpt_pos[i] = {clamp_coord(x0), clamp_coord(y0), clamp_coord(x1), clamp_coord(y1)};
    ext.x(x0);
    ext.x(x1 + arrows);
    ext.y(y0);
    ext.y(y1);
    if (label) {
        v.inpt_ptx[i] = {clamp_coord(lx), clamp_coord(ly)};
        ext.x(lx);
        ext.x(lx + w);
        ext.y(ly);
        ext.y(ly + h);
    }
}

}  // namespace

Rect browse_button(int i) {
    const auto& v = form_view();
    if (i < 0 || i >= v.nb_inpt || !is_file_box(v.inpt_typ[i])) return {};
    const Rect& r = v.inpt_pos[i];
    const int x0 = r[2] + browse_gap;
    return {x0, r[1], x0 + browse_columns * v.DxI, r[3]};
}

bool has_overflow_marker(int i) {
    const auto& v = form_view();
    const int t = v.inpt_typ[i];
    // A list's arrow takes two of its places.
    const int shown = v.inpt_siz[i] - (t == typ_ddl ? 2 : 0);
    return t != typ_tck && t != typ_key && t != typ_col && shown < int(v.inpt_cval[i].size());
}

int open_list_input() {
    const auto& v = form_view();
    if (v.CurDDL < 0 || v.CurDDL >= max_ddl) return -1;
    const int q = v.ddl_inpt[v.CurDDL];
    return q >= 0 && q < v.nb_inpt ? q : -1;
}

std::string_view open_list_line(int line) {
    const auto& v = form_view();
    if (line < 0 || v.CurDDL < 0 || v.CurDDL >= max_ddl) return {};
    if (v.CurDDL == v.LndDDL) return line < max_lnd_lines ? v.lnd_nam[line] : std::string_view();
    return line < max_ddl_lines ? v.ddl_txt[v.CurDDL][line] : std::string_view();
}

void frm_hit_rects() {
    auto& v = form_view();
    const CpwFontBBox dots = frm_text_box(v.Inp_Font, v.font_size, "...");
    for (int i = 0; i < v.nb_inpt; ++i) {
        if (!has_overflow_marker(i)) {
            v.inpt_ovr[i] = {0, 0, 0, 0};
            continue;
        }
        const Rect& r = v.inpt_pos[i];
        const int x1 = r[2] + (v.inpt_arr[i] != 0 ? 2 * v.DxI : 0);
        v.inpt_ovr[i] = {x1 - dots.width - 4, r[1] - dots.height - 5, x1, r[1] - 1};
    }

    if (v.xmsg >= 0 && v.MsgInpt >= 0 && v.MsgInpt < v.nb_inpt) {
        const int w = frm_text_box(v.Txt_Font, v.font_size, v.inpt_msg[v.MsgInpt]).width;
        const int width = v.windowInfo.width;
        if (width < w + v.xmsg + 2) v.xmsg = width < w + 2 ? 0 : width - w - 2;
    }

    const int q = open_list_input();
    if (q < 0) return;
    const Rect& box = v.inpt_pos[q];
    const int rh = box[3] - box[1];
    const int lines = std::max(0, v.ddl_nbli[v.CurDDL]);
    v.Scroll = lines > list_rows ? 1 : 0;
    const int n = std::min(lines, list_rows);
    int top = box[1], bottom = top - n * rh;
    if (bottom < 0) {
        top = n * rh + list_floor;
        bottom = list_floor;
    }
    v.ddl_pos = {box[0], top, box[2], bottom};
    v.DxScrl = v.Scroll != 0 ? 2 * v.DxI : 0;
    if (v.Scroll != 0) {
        const double span = top - bottom - 2 * v.DxScrl;
        v.YScrl1 = int(top - v.DxScrl - span * v.ddl_offset / lines);
        v.YScrl0 = int(top - v.DxScrl - span * (v.ddl_offset + list_rows) / lines);
    }
}

void set_radio_vertices(int largest) {
    auto& v = form_view();
    // About one vertex per 1.5 pixels of circumference, within the vertex table (size 47).
    const double n = std::trunc(std::clamp(largest, 0, 1000) * std::numbers::pi / 1.5) + 1;
    v.NCRad = std::clamp(int(n), 1, max_radio_vertices);
    for (int k = 0; k < v.NCRad; ++k) {
        double angle = k * 2 * std::numbers::pi / v.NCRad + std::numbers::pi / 4;
        v.pprad[k] = {float(std::cos(angle)), float(std::sin(angle))};
    }
}

CpwFontBBox frm_text_box(CpwFontFace face, int points, std::string_view text) {
    CpwFontBBox box;
    if (face == nullptr || text.empty() || form_view().cpw == nullptr) return box;
    cpwFontMode(form_view().cpw, cpw_font_size, std::clamp(points, 1, 1000));
    const std::string z(text);  // the toolkit reads to the terminating zero
    cpwGetFontBBox(form_view().cpw, face, z.c_str(), &box);
    return box;
}

void frm_metrics() {
    auto& v = form_view();
    const CpwFontBBox zero = frm_text_box(v.Inp_Font, v.font_size, "0");
    const CpwFontBBox under = frm_text_box(v.Inp_Font, v.font_size, "_");
    v.DxI = zero.width;
    v.DyI = zero.height;
    v.Yoffset = under.offsety;
    if (v.DxI <= 0) {
        // No input font at all: text will not show, but boxes keep a usable size.
        v.DxI = std::max(1, v.font_size * 3 / 5);
        v.DyI = std::max(1, v.font_size * 3 / 4);
        v.Yoffset = std::max(1, v.font_size / 5);
    }
    // Boxes, rows and buttons hold the deepest descender and the tallest capital with an
    // accent of both fonts, with a pixel to spare at each end; never smaller than the classic
    // text inset plus the font size.
    int ascent = 0, descent = v.Yoffset;
    for (CpwFontFace face : {v.Inp_Font, v.Txt_Font}) {
        ascent = std::max(ascent, frm_text_box(face, v.font_size, "\xC9\xC5").height);
        descent = std::max(descent, frm_text_box(face, v.font_size, "gjpqy_").offsety);
    }
    v.TxtBase = descent + 1;
    v.BoxH = std::max(v.Yoffset + v.font_size, v.TxtBase + ascent + 1);
}

void frm_apply_scale(float scale) {
    auto& v = form_view();
    if (v.scaled) return;
    v.scaled = true;
    v.scale = std::isfinite(scale) ? std::clamp(scale, 0.25f, 8.0f) : 1.0f;
    auto px = [&](int p) { return clamp_coord(std::llround(double(p) * v.scale)); };
    // From the definition's size: a later form keeps the font size of the earlier one.
    v.font_size = std::max(1, px(v.font_points > 0 ? v.font_points : v.font_size));
    if (v.scale == 1.0f) return;
    // A plain x stays plain; a coded one scales its pixel part, a per-mille one stays as it is.
    auto element_x = [&](int x) {
        if (plain_x(x)) return x == 0 ? 0 : std::clamp(px(x), 1, code_step - 2);
        if (x < 0) return x;
        return x / code_step * code_step + std::min(px(x % code_step), code_step - 1);
    };
    int largest_radio = 0;
    for (int i = 0; i < v.nb_inpt; ++i) {
        v.inpt_pos[i][0] = px(v.inpt_pos[i][0]);
        v.inpt_pos[i][1] = px(v.inpt_pos[i][1]);
        if (v.inpt_ptx[i][0] >= 0) v.inpt_ptx[i] = {px(v.inpt_ptx[i][0]), px(v.inpt_ptx[i][1])};
        if (v.inpt_typ[i] == typ_tck) v.inpt_siz[i] = px(v.inpt_siz[i]);
        if (v.rdio_set[i] >= 0) largest_radio = std::max(largest_radio, v.inpt_siz[i]);
    }
    if (v.nb_rdio > 0) set_radio_vertices(largest_radio);
    for (int b = 0; b < v.nb_butt; ++b) {
        v.butt_pos[b][0] = element_x(v.butt_pos[b][0]);
        v.butt_pos[b][1] = px(v.butt_pos[b][1]);
        v.butt_siz[b] = px(v.butt_siz[b]);
    }
    for (int t = 0; t < v.nb_subt; ++t)
        v.subt_pos[t] = {element_x(v.subt_pos[t][0]), px(v.subt_pos[t][1])};
    for (int s = 0; s < v.nb_sepa; ++s)
        for (int& c : v.sepa_pos[s]) c = px(c);
    for (int p = 0; p < v.nb_pict; ++p)
        for (int& c : v.pict_pos[p]) c = px(c);
}

void form_setup() {
    auto& v = form_view();
    v.ddl_inpt.fill(-1);
    Extent ext;

    for (int i = 0; i < v.nb_inpt; ++i) {
        v.inpt_ofs[i] = 0;
        place_input(v, i, ext);
    }
    for (int i = 0; i < v.nb_inpt; ++i) {
        const int k = v.inpt_ddl[i];
        if (k >= 0 && k < max_ddl) v.ddl_inpt[k] = i;
    }
    check_depend();

    for (int b = 0; b < v.nb_butt; ++b) v.own.butt_x[b] = v.butt_pos[b][0];
    for (int t = 0; t < v.nb_subt; ++t) v.own.subt_x[t] = v.subt_pos[t][0];
    for (int b = 0; b < v.nb_butt; ++b) {
        Rect& r = v.butt_pos[b];
        if (plain_x(r[0])) {
            r[2] = clamp_coord(std::int64_t(r[0]) + v.butt_siz[b]);
            ext.x(r[0]);
            ext.x(r[2]);
        }
        r[3] = clamp_coord(std::int64_t(r[1]) + v.BoxH);
        ext.y(r[1]);
        ext.y(r[3]);
    }

    for (int p = 0; p < v.nb_pict; ++p) {
        const Rect& r = v.pict_pos[p];
        ext.x(r[0]);
        ext.x(r[2]);
        ext.y(r[1]);
        ext.y(r[3]);
    }

    // Text items and separators with a negative y sit |y| above everything placed so far.
    const std::int64_t base = ext.ymax + 10;
    std::array<int, max_titl> subt_width{};
    for (int t = 0; t < v.nb_subt; ++t) {
        const CpwFontBBox box =
            frm_text_box(v.Txt_Font, v.font_size + (t == 0 ? 2 : 0), v.subt_txt[t]);
        subt_width[t] = box.width;
        auto& p = v.subt_pos[t];
        if (plain_x(p[0])) {
            ext.x(p[0]);
            ext.x(std::int64_t(p[0]) + box.width);
        }
        if (p[1] < 0) {
            p[1] = clamp_coord(base - p[1]);
        } else {
            ext.y(p[1]);
        }
        ext.y(std::int64_t(p[1]) + box.height);
    }
    if (ext.xmin < 0) ext.xmin = 0;
    for (int s = 0; s < v.nb_sepa; ++s) {
        Rect& r = v.sepa_pos[s];
        if (r[1] == r[3] && r[1] < 0) r[1] = r[3] = clamp_coord(base - r[1]);
    }

    // A form with nothing placed gets no margins from the empty extent.
    const std::int64_t xmin = ext.any_x ? ext.xmin : 0, ymin = ext.any_y ? ext.ymin : 0;
    v.windowInfo.width = int(std::clamp<std::int64_t>(xmin + ext.xmax, 1, max_window_side));
    v.windowInfo.height = int(std::clamp<std::int64_t>(ymin + ext.ymax, 1, max_window_side));

    const int w = v.windowInfo.width;
    for (int b = 0; b < v.nb_butt; ++b) {
        Rect& r = v.butt_pos[b];
        if (plain_x(r[0])) continue;
        r[0] = coded_left(r[0], v.butt_siz[b], w);
        r[2] = clamp_coord(std::int64_t(r[0]) + v.butt_siz[b]);
    }
    for (int t = 0; t < v.nb_subt; ++t) {
        auto& p = v.subt_pos[t];
        if (!plain_x(p[0])) p[0] = coded_left(p[0], subt_width[t], w);
    }
    v.min_width = v.windowInfo.width;
    v.min_height = v.windowInfo.height;
    v.own.inpt_pos = v.inpt_pos;
    v.own.inpt_ptx = v.inpt_ptx;
    v.own.butt_pos = v.butt_pos;
    v.own.subt_pos = v.subt_pos;
    v.own.subt_width = subt_width;
    v.own.sepa_pos = v.sepa_pos;
    v.own.pict_pos = v.pict_pos;
}

void form_fit(int width, int height) {
    auto& v = form_view();
    const int g = v.GrowPict;
    if (g < 0 || g >= v.nb_pict) return;
    const int w = std::max(width, v.min_width);
    const int dx = w - v.min_width, dy = std::max(height, v.min_height) - v.min_height;
    const Rect& grow = v.own.pict_pos[g];
    // Above the growing picture moves up, right of it moves right; the rest stays anchored to
    // the bottom-left corner.
    auto move_x = [&](int x) { return x >= grow[2] ? x + dx : x; };
    auto move_y = [&](int y) { return y >= grow[3] ? y + dy : y; };
    for (int i = 0; i < v.nb_inpt; ++i) {
        const Rect& r = v.own.inpt_pos[i];
        const int ox = move_x(r[0]) - r[0], oy = move_y(r[1]) - r[1];
        v.inpt_pos[i] = {r[0] + ox, r[1] + oy, r[2] + ox, r[3] + oy};
        const auto& l = v.own.inpt_ptx[i];
        if (l[0] >= 0) v.inpt_ptx[i] = {l[0] + ox, l[1] + oy};  // a negative x is a code
    }
    for (int b = 0; b < v.nb_butt; ++b) {
        const Rect& r = v.own.butt_pos[b];
        const int x0 =
            plain_x(v.own.butt_x[b]) ? move_x(r[0]) : coded_left(v.own.butt_x[b], v.butt_siz[b], w);
        const int oy = move_y(r[1]) - r[1];
        v.butt_pos[b] = {x0, r[1] + oy, x0 + (r[2] - r[0]), r[3] + oy};
    }
    for (int t = 0; t < v.nb_subt; ++t) {
        const auto& p = v.own.subt_pos[t];
        const int x0 = plain_x(v.own.subt_x[t])
                           ? move_x(p[0])
                           : coded_left(v.own.subt_x[t], v.own.subt_width[t], w);
        v.subt_pos[t] = {x0, move_y(p[1])};
    }
    for (int s = 0; s < v.nb_sepa; ++s) {
        const Rect& r = v.own.sepa_pos[s];
        // A separator across the picture's width stretches with it.
        const bool spans = r[0] <= grow[0] && r[2] >= grow[2];
        v.sepa_pos[s] = {move_x(r[0]), move_y(r[1]), spans ? r[2] + dx : move_x(r[2]),
                         move_y(r[3])};
    }
    for (int p = 0; p < v.nb_pict; ++p) {
        const Rect& r = v.own.pict_pos[p];
        v.pict_pos[p] = p == g ? Rect{r[0], r[1], r[2] + dx, r[3] + dy}
                               : Rect{move_x(r[0]), move_y(r[1]), move_x(r[2]), move_y(r[3])};
    }
}

Rect picture_inner(int n) {
    const Rect& r = form_view().pict_pos[n];
    return {r[0] + 1, r[1] + 1, r[2] - 1, r[3] - 1};
}

int picture_at(int x, int y) {
    const auto& v = form_view();
    for (int n = 0; n < v.nb_pict; ++n) {
        const Rect r = picture_inner(n);
        if (r[0] <= x && x < r[2] && r[1] <= y && y < r[3]) return n;
    }
    return -1;
}
