// Drawing of the form: the whole window from FormView on every redraw, in immediate-mode
// OpenGL. Every GL call of the form lives here.
//
// Order of drawWindowOne: inputs (fill, invalid overlay, list chevron, value with caret or
// selection, tick, step arrows, frame, overflow marker, label), text items, buttons,
// pictures, separators, the message pop-up, the open list, the overflow pop-up. Drawing reads
// FormView and writes only the hit rectangles (frm_hit_rects) and what a picture's drawing
// leaves for the next: its fitted view, dots image, placed labels and count beyond the edge.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>
#include <string_view>

#include "gui/form_view.hpp"
#include "host/diag.hpp"
#include "util/cp1252.hpp"
#include "util/i18n.hpp"

namespace {

// --- colours and primitives --------------------------------------------------------------------

constexpr float background = 0.941f;
constexpr float disabled_fill = 0.666f;
constexpr float frame_dark = 0.412f, frame_mid = 0.627f, frame_light = 0.89f;
constexpr float focus_rgb[3] = {0.88f, 0.94f, 1.0f};
constexpr float selection_rgb[3] = {0.2f, 0.6f, 1.0f};
constexpr float pale_blue[3] = {0.66f, 0.83f, 1.0f};  // pressed arrow, hovered/current line

void grey(float g) { glColor3f(g, g, g); }
void rgb(const float c[3]) { glColor3f(c[0], c[1], c[2]); }

void fill(int x0, int y0, int x1, int y1) { glRecti(x0, y0, x1, y1); }

void line(int x0, int y0, int x1, int y1) {
    glBegin(GL_LINES);
    glVertex2i(x0, y0);
    glVertex2i(x1, y1);
    glEnd();
}

void outline(int x0, int y0, int x1, int y1) {
    glBegin(GL_LINE_LOOP);
    glVertex2i(x0, y0);
    glVertex2i(x1, y0);
    glVertex2i(x1, y1);
    glVertex2i(x0, y1);
    glEnd();
}

// Antialiased primitives: blending and smoothing for the duration of `draw`.
template <class F>
void smooth(F draw) {
    glEnable(GL_BLEND);
    glEnable(GL_LINE_SMOOTH);
    draw();
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
}

// Text in the current colour at the current raster position, which it advances. Always
// blended: the glyph images carry their coverage in alpha.
void text_here(CpwFontFace face, int points, std::string_view s) {
    if (face == nullptr || s.empty()) return;
    cpwFontMode(form_view().cpw, cpw_font_size, std::clamp(points, 1, 1000));
    const std::string z(s);
    glEnable(GL_BLEND);
    cpwDrawFont(form_view().cpw, face, z.c_str(), cpw_draw_pixmaps);
    glDisable(GL_BLEND);
}

// Text with its origin at (x, y). The raster position is moved there from the window's origin
// with a bitmap offset, so text that starts outside the window is clipped, not dropped.
void text(CpwFontFace face, int points, int x, int y, std::string_view s) {
    if (face == nullptr || s.empty()) return;
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0, 0, GLfloat(x), GLfloat(y), nullptr);
    text_here(face, points, s);
}

// Up to `count` characters of `s` from `from`, never past its end.
std::string_view piece(std::string_view s, int from, int count) {
    if (from < 0 || count <= 0 || std::size_t(from) >= s.size()) return {};
    return s.substr(std::size_t(from), std::size_t(count));
}

int length(const std::string& s) { return int(s.size()); }

bool in_radio_group(int i) { return form_view().rdio_set[i] >= 0; }

// Centre of a radio button's circle.
void radio_centre(const Rect& r, float& cx, float& cy) {
    cx = (r[0] + r[2]) / 2.0f + 2;
    cy = (r[1] + r[3]) / 2.0f + 2;
}

int radio_vertices() { return std::clamp(form_view().NCRad, 0, max_radio_vertices); }

// A filled circle through every `step`-th vertex of the radio circle.
void circle(const Rect& r, float radius, int step) {
    float cx = 0, cy = 0;
    radio_centre(r, cx, cy);
    const auto& pp = form_view().pprad;
    glBegin(GL_POLYGON);
    for (int k = 0; k < radio_vertices(); k += step)
        glVertex2f(cx + radius * pp[k][0], cy + radius * pp[k][1]);
    glEnd();
}

// Vertices from..to (to may equal the count: back to vertex 0) as one line strip.
void arc(const Rect& r, float radius, int from, int to) {
    float cx = 0, cy = 0;
    radio_centre(r, cx, cy);
    const auto& pp = form_view().pprad;
    const int n = radio_vertices();
    if (n == 0) return;
    glBegin(GL_LINE_STRIP);
    for (int k = from; k <= to; ++k)
        glVertex2f(cx + radius * pp[k % n][0], cy + radius * pp[k % n][1]);
    glEnd();
}

// --- one input -----------------------------------------------------------------------------------

struct Colour {
    float r, g, b;
};

// The colour an enabled colour input shows, from its 0xRRGGBB value.
Colour colour_of(int value) {
    return {((value >> 16) & 0xFF) / 255.0f, ((value >> 8) & 0xFF) / 255.0f,
            (value & 0xFF) / 255.0f};
}

// Characters a box shows: a list's arrow takes the last two places.
int box_columns(int i) {
    const auto& v = form_view();
    const int siz = std::max(0, v.inpt_siz[i]);
    return v.inpt_typ[i] == typ_ddl ? std::max(0, siz - 2) : siz;
}

// Fill, and the red overlay of a refused value. Returns whether the value's text is dark.
bool draw_fill(int i, const Rect& r) {
    const auto& v = form_view();
    const int t = v.inpt_typ[i];
    const bool radio = in_radio_group(i);
    bool dark_text = true;
    if (!v.inpt_act[i]) {
        grey(disabled_fill);
    } else if (t == typ_col) {
        const Colour c = colour_of(v.inpt_ival[i]);
        dark_text = 0.3f * c.r + 0.59f * c.g + 0.11f * c.b > 0.16f;
        glColor3f(c.r, c.g, c.b);
    } else if (t != typ_tck && v.CurInpt == i) {
        rgb(focus_rgb);
    } else {
        grey(1);
    }
    auto shape = [&] {
        if (radio)
            circle(r, v.inpt_siz[i] / 2.0f, 1);
        else
            fill(r[0], r[1], r[2], r[3] + 1);
    };
    shape();
    if (v.inpt_OK[i] == 0) {
        glEnable(GL_BLEND);
        glColor4f(1, 0, 0, 0.5f);
        shape();
        glDisable(GL_BLEND);
    }
    return dark_text;
}

void draw_chevron(const Rect& r) {
    const int dx = form_view().DxI, x1 = r[2], y0 = r[1], y1 = r[3];
    grey(0);
    smooth([&] {
        glBegin(GL_LINE_STRIP);
        glVertex2i(x1 - 2 * dx + 2, y1 - 5);
        glVertex2i(x1 - dx, y0 + 5);
        glVertex2i(x1 - 2, y1 - 5);
        glEnd();
    });
}

void draw_value(int i, const Rect& r, bool dark_text) {
    const auto& v = form_view();
    const int t = v.inpt_typ[i];
    const bool focused = v.CurInpt == i;
    const int x0 = r[0], y0 = r[1], y1 = r[3];
    const int dx = v.DxI, yo = v.Yoffset;
    const int siz = box_columns(i);
    // A selection running past the box (a whole value chosen with Tab) shows up to its edge.
    const int p1 = std::min(v.CurPos_1, siz), p2 = std::min(v.CurPos_2, siz);
    const bool selection = focused && p1 >= 0 && p1 < p2;
    if (focused && p1 >= 0) {
        if (selection) {
            rgb(selection_rgb);
            fill(x0 + yo + p1 * dx, y0 + 2, x0 + yo + p2 * dx, y1 - 2);
        } else if (p2 == p1 || v.CurPos_2 == -1) {
            grey(0);
            line(x0 + yo + p1 * dx, y0 + 2, x0 + yo + p1 * dx, y1 - 2);
        }
    }
    grey(t == typ_col && !dark_text ? 1.0f : 0.0f);
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0, 0, GLfloat(x0 + yo), GLfloat(y0 + v.TxtBase), nullptr);

    const std::string& s = v.inpt_cval[i];
    const int ofs = v.inpt_ofs[i];
    if (selection) {
        // The three pieces stay within the box's width and the text.
        grey(0);
        text_here(v.Inp_Font, v.font_size, piece(s, ofs, p1));
        text_here(v.Inp_Font, v.font_size, piece(s, ofs + p1, p2 - p1));
        text_here(v.Inp_Font, v.font_size, piece(s, ofs + p2, siz - p2));
    } else if (focused && t == typ_key) {
        glColor3f(0, 0.28f, 0);
        text_here(v.Inp_Font, v.font_size, translate("Hit a key"));
    } else if (t >= typ_ifp && t <= typ_ddl && length(s) > siz && !(focused && p1 >= 0)) {
        // A long path shows its end, where the file's own name is: "..." and as many of its last
        // characters as still fit in the box.
        const int from = std::min(length(s), length(s) - siz + 3);
        const std::string shown = "..." + s.substr(std::size_t(std::max(0, from)));
        text_here(v.Inp_Font, v.font_size, piece(shown, 0, siz));
    } else {
        text_here(v.Inp_Font, v.font_size, piece(s, ofs, std::min(length(s) - ofs, siz)));
    }
}

// The tick of a ticked box, or the dot of a chosen radio button.
void draw_tick(int i, const Rect& r) {
    const int x0 = r[0], y0 = r[1], x1 = r[2], y1 = r[3];
    if (in_radio_group(i)) {
        grey(0.2f);
        circle(r, float((y1 - y0) * 10 / 30), 2);
        return;
    }
    const int d = (y1 - y0) / 4;
    grey(0);
    glLineWidth(2);
    smooth([&] {
        glBegin(GL_LINE_STRIP);
        glVertex2i(x0 + 3, y0 + 2 * d);
        glVertex2i(x0 + 2 * d, y0 + d);
        glVertex2i(x1 - 3, y1 - 3);
        glEnd();
    });
    glLineWidth(1);
}

void draw_step_arrows(int i, const Rect& r) {
    const auto& v = form_view();
    const int dx = v.DxI, x1 = r[2], y0 = r[1], y1 = r[3];
    const int mid = (y0 + y1) / 2;
    auto upper = [&] {
        glVertex2i(x1 + 2, mid + 1);
        glVertex2i(x1 + dx, y1 - 1);
        glVertex2i(x1 + 2 * dx - 2, mid + 1);
    };
    auto lower = [&] {
        glVertex2i(x1 + 2, mid - 1);
        glVertex2i(x1 + dx, y0 + 1);
        glVertex2i(x1 + 2 * dx - 2, mid - 1);
    };
    if (v.inpt_inc[i] != 0) {
        rgb(pale_blue);
        glBegin(GL_TRIANGLES);
        v.inpt_inc[i] > 0 ? upper() : lower();
        glEnd();
    }
    grey(0);
    smooth([&] {
        glBegin(GL_LINE_LOOP);
        upper();
        glEnd();
        glBegin(GL_LINE_LOOP);
        lower();
        glEnd();
    });
}

// The two-tone frame of boxes and buttons: sunken (a box, a pressed button) has its dark
// edges at the top and left, raised the other way round.
void bevel(int x0, int y0, int x1, int y1, bool sunken) {
    const float outer_tl = sunken ? frame_mid : 1.0f, inner_tl = sunken ? frame_dark : frame_light;
    const float inner_br = sunken ? frame_light : frame_mid, outer_br = sunken ? 1.0f : frame_dark;
    grey(inner_tl);
    line(x0, y0, x0, y1 + 1);
    line(x0 - 1, y1 + 1, x1, y1 + 1);
    grey(outer_tl);
    line(x0 - 1, y0, x0 - 1, y1 + 2);
    line(x0 - 2, y1 + 2, x1 + 2, y1 + 2);
    grey(inner_br);
    line(x0 - 1, y0, x1 + 1, y0);
    line(x1 + 1, y0, x1 + 1, y1 + 1);
    grey(outer_br);
    line(x0 - 2, y0 - 1, x1 + 2, y0 - 1);
    line(x1 + 2, y0 - 1, x1 + 2, y1 + 2);
}

// The keyboard focus on a tick box, a list or a button: a dotted frame.
void focus_frame(int x0, int y0, int x1, int y1) {
    grey(0);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0x5555);
    outline(x0, y0, x1, y1);
    glDisable(GL_LINE_STIPPLE);
}

void draw_radio_outline(int i, const Rect& r) {
    const float radius = form_view().inpt_siz[i] / 2.0f;
    const int half = radio_vertices() / 2;
    glLineWidth(1.5f);
    smooth([&] {
        grey(frame_dark);
        arc(r, radius, 0, half);
        grey(frame_light);
        arc(r, radius, half, radio_vertices());
    });
    glLineWidth(1);
}

// The marker under a box's right end whose text does not fit (its place set by frm_hit_rects).
void draw_overflow_marker(int i) {
    const auto& v = form_view();
    const Rect& m = v.inpt_ovr[i];
    grey(1);
    fill(m[0], m[1], m[2], m[3]);
    grey(frame_dark);
    const CpwFontBBox dots = frm_text_box(v.Inp_Font, v.font_size, "...");
    text(v.Inp_Font, v.font_size, m[2] - dots.width - 2, m[1] + 2, "...");
    outline(m[0], m[1], m[2], m[3]);
}

// A file box's "..." button, which opens its dialog.
void draw_browse_button(int i) {
    const auto& v = form_view();
    const Rect b = browse_button(i);
    grey(v.BrowseHeld == i ? 0.85f : background);
    fill(b[0], b[1], b[2], b[3] + 1);
    bevel(b[0], b[1], b[2], b[3], v.BrowseHeld == i);
    grey(v.inpt_act[i] ? 0.0f : 0.7f);
    static constexpr std::string_view ellipsis = "\x85";  // Windows-1252
    const CpwFontBBox dots = frm_text_box(v.Txt_Font, v.font_size, ellipsis);
    text(v.Txt_Font, v.font_size, (b[0] + b[2] - dots.width) / 2, b[1] + v.TxtBase, ellipsis);
}

void draw_input(int i) {
    const auto& v = form_view();
    Rect r = v.inpt_pos[i];
    const int t = v.inpt_typ[i];
    const bool dark_text = draw_fill(i, r);
    if (t == typ_ddl) draw_chevron(r);
    if (t != typ_tck) draw_value(i, r, dark_text);
    if (t == typ_tck && v.inpt_ival[i] != 0) draw_tick(i, r);
    if (v.inpt_arr[i] != 0) {
        draw_step_arrows(i, r);
        r[2] += 2 * v.DxI;  // the frame goes round the arrows
    }
    if (in_radio_group(i))
        draw_radio_outline(i, r);
    else
        bevel(r[0], r[1], r[2], r[3], true);
    if (v.CurInpt == i && t == typ_tck) focus_frame(r[0] - 4, r[1] - 4, r[2] + 4, r[3] + 4);
    if (v.CurInpt == i && t == typ_ddl) focus_frame(r[0] + 2, r[1] + 2, r[2] - 2, r[3] - 1);
    if (has_overflow_marker(i)) draw_overflow_marker(i);
    if (is_file_box(t)) draw_browse_button(i);
    grey(v.inpt_act[i] ? 0.0f : 0.7f);
    text(v.Txt_Font, v.font_size, v.inpt_ptx[i][0], v.inpt_ptx[i][1], v.inpt_txt[i]);
}

// --- buttons, pop-ups, the open list -------------------------------------------------------------

void draw_button(int b) {
    const auto& v = form_view();
    const Rect& r = v.butt_pos[b];
    bevel(r[0], r[1], r[2], r[3], v.CurButt == b);
    if (v.FocusButt == b) focus_frame(r[0] + 3, r[1] + 3, r[2] - 3, r[3] - 2);
    grey(0);
    const CpwFontBBox cap = frm_text_box(v.Txt_Font, v.font_size, v.butt_txt[b]);
    text(v.Txt_Font, v.font_size, r[0] + (v.butt_siz[b] - cap.width) / 2, r[1] + v.TxtBase,
         v.butt_txt[b]);
}

void draw_message() {
    const auto& v = form_view();
    if (v.xmsg < 0 || v.MsgInpt < 0 || v.MsgInpt >= v.nb_inpt) return;
    const std::string& msg = v.inpt_msg[v.MsgInpt];
    if (msg.empty()) return;  // no reason to show: no empty box
    const CpwFontBBox box = frm_text_box(v.Txt_Font, v.font_size, msg);
    grey(1);
    fill(v.xmsg - 2, v.ymsg - v.Yoffset - 2, v.xmsg + box.width + 2, v.ymsg + box.height + 2);
    glColor3f(0, 0, 1);
    text(v.Txt_Font, v.font_size, v.xmsg, v.ymsg, msg);
}

void draw_list() {
    const auto& v = form_view();
    const int q = open_list_input();
    if (q < 0) return;
    const Rect& box = v.inpt_pos[q];
    const int x0 = box[0], x1 = box[2], rh = box[3] - box[1];
    const int top = v.ddl_pos[1], bottom = v.ddl_pos[3];
    const int n = std::min(v.ddl_nbli[v.CurDDL], list_rows);

    grey(1);
    fill(x0, bottom, x1, top);
    grey(0.85f);
    outline(x0, bottom, x1, top);

    // A hovered line outside the visible ones has no place in the list.
    const int hovered = v.CurDDL_N - v.ddl_offset;
    if (v.CurDDL_N >= 0 && hovered >= 0 && hovered < n) {
        const int y = top - (hovered + 1) * rh;
        rgb(pale_blue);
        fill(x0 + 2, y + rh - 2, x1 - v.DxScrl - 2, y + 2);
    }
    // A line longer than the list stops at its edge (or the scroll bar's), not beyond the form.
    const int columns = v.DxI > 0 ? std::max(0, (x1 - v.DxScrl - x0 - v.Yoffset) / v.DxI) : 0;
    for (int m = 0; m < n; ++m) {
        const int y = top - (m + 1) * rh;
        if (v.ddl_offset + m == v.inpt_ival[q]) {
            rgb(pale_blue);
            glLineWidth(2.5f);
            outline(x0 + 1, y + 1, x1 - 2, y + rh - 1);
            glLineWidth(1);
        }
        grey(0);
        text(v.Inp_Font, v.font_size, x0 + v.Yoffset, y + v.TxtBase,
             piece(open_list_line(v.ddl_offset + m), 0, columns));
    }
    if (v.Scroll == 0) return;
    const int s = v.DxScrl, dx = v.DxI;
    grey(0.813f);
    fill(x1 - s, bottom, x1, top);
    grey(v.ScrollDrag != 0 ? 0.33f : 0.66f);
    fill(x1 - s, v.YScrl0, x1, v.YScrl1);
    glBegin(GL_TRIANGLES);
    glVertex2i(x1 - s + 3, top - s + 3);
    glVertex2i(x1 - 3, top - s + 3);
    glVertex2i(x1 - dx, top - 3);
    glVertex2i(x1 - s + 3, bottom + s - 3);
    glVertex2i(x1 - 3, bottom + s - 3);
    glVertex2i(x1 - dx, bottom + 3);
    glEnd();
}

void draw_overflow() {
    const auto& v = form_view();
    const int i = v.CurOvfl;
    if (i < 0 || i >= v.nb_inpt) return;
    const int s = v.inpt_siz[i];
    const std::string& t = v.inpt_cval[i];
    if (s <= 0 || t.empty()) return;  // a box of no width has no lines to show
    const Rect& r = v.inpt_pos[i];
    const int rh = r[3] - r[1];
    const int lines = (length(t) + s - 1) / s;
    int bottom = r[3] - lines * rh, top = r[3];
    if (bottom < 1) {
        bottom = r[1];
        top = r[1] + lines * rh;
    }
    grey(1);
    fill(r[0], bottom, r[2], top);
    grey(0);
    outline(r[0], bottom, r[2], top);
    for (int k = 0; k < lines; ++k)
        text(v.Inp_Font, v.font_size, r[0] + v.Yoffset, top + v.TxtBase - rh - k * rh,
             piece(t, k * s, s));
}

// The lines panel over the whole form (its rows and rectangles set by lines_panel_layout).
void draw_lines_panel() {
    const auto& v = form_view();
    const LinesPanel& p = v.panel;
    if (!p.shown) return;
    grey(background);
    fill(0, 0, v.windowInfo.width, v.windowInfo.height);
    const Rect& a = p.area;
    grey(1);
    fill(a[0], a[1], a[2], a[3]);
    bevel(a[0], a[1], a[2], a[3], true);
    grey(0);
    const int title_bottom = p.text[3] + (a[3] - p.text[3] - p.row_height) / 2;
    text(v.Txt_Font, v.font_size + 2, p.text[0], title_bottom + v.TxtBase, p.title);
    const int last = std::min(int(p.rows.size()), p.top + p.room);
    for (int r = p.top; r < last; ++r)
        text(v.Txt_Font, v.font_size, p.text[0],
             p.text[3] - (r - p.top + 1) * p.row_height + v.TxtBase, p.rows[std::size_t(r)]);
    if (p.thumb != Rect{}) {
        grey(0.813f);
        fill(p.bar[0], p.bar[1], p.bar[2], p.bar[3]);
        grey(0.55f);
        fill(p.thumb[0], p.thumb[1], p.thumb[2], p.thumb[3]);
    }
    const Rect& c = p.close;
    bevel(c[0], c[1], c[2], c[3], p.close_held);
    grey(0);
    const std::string caption = translate("Close");
    const CpwFontBBox cap = frm_text_box(v.Txt_Font, v.font_size, caption);
    text(v.Txt_Font, v.font_size, (c[0] + c[2] - cap.width) / 2, c[1] + v.TxtBase, caption);
}

// --- picture areas
// --------------------------------------------------------------------------------

void colour(std::uint32_t c) { glColor3ub(GLubyte(c >> 16), GLubyte(c >> 8), GLubyte(c)); }

// A round length (1, 2 or 5 times a power of ten) at most `most`.
double round_length(double most) {
    if (!(most > 0)) return 0;
    const double decade = std::pow(10.0, std::floor(std::log10(most)));
    for (double f : {5.0, 2.0, 1.0})
        if (f * decade <= most) return f * decade;
    return decade;
}

std::string length_text(double v, std::string_view unit) {
    char buf[32];
    std::snprintf(buf, sizeof buf, v >= 1 ? "%.0f " : "%g ", v);
    return buf + std::string(unit);
}

// Pixels of a size given for an ordinary screen.
int px(double size) { return std::max(1, int(std::lround(size * form_view().scale))); }

int small_text() { return std::max(1, form_view().font_size - px(2)); }

// The scale bar in the lower left corner; its box, or an empty one.
Rect draw_scale_bar(const PictureItems& p, const Rect& r, double pixels_per_unit, int margin) {
    if (!(p.units_per_scale_unit > 0) || !(pixels_per_unit > 0)) return {};
    const double px_per_scale_unit = pixels_per_unit * p.units_per_scale_unit;
    const double len = round_length((r[2] - r[0]) / 4.0 / px_per_scale_unit);
    const int w = int(std::lround(len * px_per_scale_unit));
    if (len <= 0 || w < 2) return {};
    const int x = r[0] + margin, y = r[1] + margin;
    const auto& v = form_view();
    const std::string label = length_text(len, p.scale_unit);
    const CpwFontBBox box = frm_text_box(v.Txt_Font, small_text(), label);
    grey(0);
    fill(x, y, x + w, y + px(3));
    fill(x, y, x + px(1), y + px(7));
    fill(x + w - px(1), y, x + w, y + px(7));
    text(v.Txt_Font, small_text(), x + w + px(4), y, label);
    return {x - 2, y - 2 - box.offsety, x + w + px(4) + box.width + 2,
            y + std::max(px(7), box.height) + 2};
}

// The north arrow in the upper right corner; its box, or an empty one.
Rect draw_north(const PictureItems& p, const Rect& r, int margin) {
    if (p.north.empty()) return {};
    const auto& v = form_view();
    const CpwFontBBox box = frm_text_box(v.Txt_Font, small_text(), p.north);
    const int x = r[2] - margin - px(6), y = r[3] - margin - px(10) - box.height;
    grey(0);
    glBegin(GL_TRIANGLES);
    glVertex2i(x - px(5), y);
    glVertex2i(x + px(5), y);
    glVertex2i(x, y + px(14));
    glEnd();
    text(v.Txt_Font, small_text(), x - box.width / 2, y + px(16), p.north);
    return {x - std::max(px(5), box.width / 2) - 2, y - 2, x + std::max(px(5), box.width / 2) + 2,
            y + px(16) + box.height + 2};
}

// UTF-8 text at (x, y) with a light outline that keeps it legible over dots and lines.
void label_text(int points, int x, int y, std::string_view s, std::uint32_t halo) {
    const auto& v = form_view();
    if (v.Txt_Font == nullptr || s.empty()) return;
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0, 0, GLfloat(x), GLfloat(y), nullptr);
    cpwFontMode(v.cpw, cpw_font_size, std::clamp(points, 1, 1000));
    cpwFontMode(v.cpw, cpw_font_halo, int(halo));
    glEnable(GL_BLEND);
    cpwDrawFontUtf8(v.cpw, v.Txt_Font, s);
    glDisable(GL_BLEND);
    cpwFontMode(v.cpw, cpw_font_halo, -1);
}

// A caption or count in a corner: its box, or an empty one.
Rect corner_text(const Rect& r, int margin, std::string_view s, bool top) {
    const auto& v = form_view();
    if (s.empty() || v.Txt_Font == nullptr) return {};
    CpwFontBBox box;
    cpwFontMode(v.cpw, cpw_font_size, std::clamp(small_text(), 1, 1000));
    cpwGetFontBBoxUtf8(v.cpw, v.Txt_Font, s, &box);
    const int x = top ? r[0] + margin : r[2] - margin - box.width;
    const int y = top ? r[3] - margin - box.height : r[1] + margin;
    colour(0x202020);
    label_text(small_text(), x, y, s, 0xFFFFFF);
    return {x - 2, y - box.offsety - 2, x + box.width + 2, y + box.height + 2};
}

// The dots of a picture as pixels: each a square of its size around where the view puts it.
void paint_dots(const PictureItems& p, FormViewState::DotsImage& image, const Rect& area,
                const PictureView& view) {
    const int w = std::max(area[2] - area[0], 0), h = std::max(area[3] - area[1], 0);
    image.width = w;
    image.height = h;
    image.view = view;
    image.rgba.assign(std::size_t(w) * h * 4, 0);
    image.valid = true;
    const double ox = (w / 2.0) - view.cx * view.ppu, oy = (h / 2.0) - view.cy * view.ppu;
    for (const auto& dots : p.dots) {
        const int size = px(dots.size);
        const double half = size / 2.0;
        const std::uint8_t rgba[4] = {std::uint8_t(dots.rgb >> 16), std::uint8_t(dots.rgb >> 8),
                                      std::uint8_t(dots.rgb), 255};
        std::uint32_t pixel;
        std::memcpy(&pixel, rgba, 4);
        auto* out = reinterpret_cast<std::uint32_t*>(image.rgba.data());
        for (std::size_t k = 0; k + 1 < dots.xy.size(); k += 2) {
            const double fx = ox + dots.xy[k] * view.ppu, fy = oy + dots.xy[k + 1] * view.ppu;
            if (!(fx > -size && fx < w + size && fy > -size && fy < h + size)) continue;
            const int x0 = int(std::floor(fx - half)), y0 = int(std::floor(fy - half));
            const int xa = std::max(x0, 0), xb = std::min(x0 + size, w);
            for (int y = std::max(y0, 0); y < std::min(y0 + size, h); ++y)
                std::fill(out + std::size_t(y) * w + xa,
                          out + std::size_t(y) * w + std::max(xa, xb), pixel);
        }
    }
}

// The outline of a zone in the plane: a closed ring of points.
std::vector<float> zone_outline(const PictureItems::Zone& z, double ppu) {
    std::vector<float> xy;
    const double deg = std::numbers::pi / 180;
    // About one vertex per 4 pixels of arc, 12 to 360 of them for a whole turn.
    const int whole = std::clamp(int(2 * std::numbers::pi * z.radius * ppu / 4), 12, 360);
    auto arc = [&](double r, double a0, double a1) {
        const int n = std::max(2, int(std::ceil(whole * std::abs(a1 - a0) / 360)) + 1);
        for (int k = 0; k < n; ++k) {
            const double a = (a0 + (a1 - a0) * k / (n - 1)) * deg;
            xy.push_back(float(z.x + r * std::cos(a)));
            xy.push_back(float(z.y + r * std::sin(a)));
        }
    };
    switch (z.kind) {
        case PictureItems::Zone::circle:
            arc(z.radius, 0, 360);
            break;
        case PictureItems::Zone::sector: {
            double to = z.to;
            while (to <= z.from) to += 360;
            arc(z.radius, z.from, to);
            if (z.inner > 0) {
                arc(z.inner, to, z.from);
            } else {
                xy.push_back(z.x);
                xy.push_back(z.y);
            }
            break;
        }
        case PictureItems::Zone::line: {
            const double a = z.from * deg;
            const float dx = float(z.radius * std::cos(a)), dy = float(z.radius * std::sin(a));
            xy = {z.x - dx, z.y - dy, z.x + dx, z.y + dy};
            break;
        }
    }
    return xy;
}

void draw_zones(const PictureItems& p, double ppu) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnable(GL_BLEND);
    for (const auto& z : p.zones) {
        const std::vector<float> xy = zone_outline(z, ppu);
        if (xy.size() < 4) continue;
        glVertexPointer(2, GL_FLOAT, 0, xy.data());
        const GLsizei n = GLsizei(xy.size() / 2);
        if (z.kind != PictureItems::Zone::line) {
            // An annular sector is filled as a strip between its arcs, the rest as a fan.
            glColor4ub(GLubyte(z.rgb >> 16), GLubyte(z.rgb >> 8), GLubyte(z.rgb), 48);
            if (z.kind == PictureItems::Zone::sector && z.inner > 0) {
                std::vector<float> strip;
                const std::size_t half = xy.size() / 2;
                for (std::size_t k = 0; k + 1 < half; k += 2) {
                    strip.insert(strip.end(),
                                 {xy[k], xy[k + 1], xy[xy.size() - 2 - k], xy[xy.size() - 1 - k]});
                }
                glVertexPointer(2, GL_FLOAT, 0, strip.data());
                glDrawArrays(GL_TRIANGLE_STRIP, 0, GLsizei(strip.size() / 2));
                glVertexPointer(2, GL_FLOAT, 0, xy.data());
            } else {
                std::vector<float> fan{z.x, z.y};
                fan.insert(fan.end(), xy.begin(), xy.end());
                glVertexPointer(2, GL_FLOAT, 0, fan.data());
                glDrawArrays(GL_TRIANGLE_FAN, 0, GLsizei(fan.size() / 2));
                glVertexPointer(2, GL_FLOAT, 0, xy.data());
            }
        }
        colour(z.rgb);
        glLineWidth(float(px(z.kind == PictureItems::Zone::line ? 3 : 1.5)));
        glDrawArrays(z.kind == PictureItems::Zone::line ? GL_LINES : GL_LINE_LOOP, 0, n);
    }
    glLineWidth(1);
    glDisable(GL_BLEND);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void draw_paths(const PictureItems& p) {
    glEnableClientState(GL_VERTEX_ARRAY);
    for (const auto& path : p.paths) {
        if (path.xy.size() < 4) continue;
        colour(path.rgb);
        const float w = float(std::max(1.0f, path.width * form_view().scale));
        glLineWidth(w);
        glVertexPointer(2, GL_FLOAT, 0, path.xy.data());
        glDrawArrays(path.closed ? GL_LINE_LOOP : GL_LINE_STRIP, 0, GLsizei(path.xy.size() / 2));
        if (w > 2) {  // round the joins of thick lines
            glPointSize(w);
            glEnable(GL_POINT_SMOOTH);
            glEnable(GL_BLEND);
            glDrawArrays(GL_POINTS, 0, GLsizei(path.xy.size() / 2));
            glDisable(GL_BLEND);
            glDisable(GL_POINT_SMOOTH);
            glPointSize(1);
        }
    }
    glLineWidth(1);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// UTF-8, as the picture draws its texts; a translation is Windows-1252.
std::string beyond_text(std::size_t n) {
    if (n == 0) return {};
    return cp1252_to_utf8(translate(n == 1 ? std::string("1 point beyond the edge")
                                           : std::to_string(n) + " points beyond the edge"));
}

void draw_picture(int n) {
    auto& v = form_view();
    const Rect& r = v.pict_pos[n];
    const PictureItems& p = v.pict[n];
    glColor3f(1, 1, 1);
    fill(r[0], r[1], r[2], r[3]);
    bevel(r[0], r[1], r[2], r[3], true);
    const Rect area = picture_inner(n);
    if (area[2] <= area[0] || area[3] <= area[1]) return;
    const int margin = std::max(px(8), v.font_size + v.font_size / 2);  // room for dots and names
    if (!(v.pict_view[n].ppu > 0) || (!v.pict_moved[n] && v.pict_fitted_to[n] != area)) {
        v.pict_view[n] = picture_fit(p, area, margin);
        v.pict_fitted_to[n] = area;
    }
    const PictureView view = v.pict_view[n];
    std::vector<Rect> furniture;
    bool changed = false;  // the view, the area or the items: dots and labels placed afresh
    if (view.ppu > 0) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(area[0], area[1], area[2] - area[0], area[3] - area[1]);
        auto& image = v.pict_dots[n];
        const int iw = area[2] - area[0], ih = area[3] - area[1];
        if (!image.valid || image.width != iw || image.height != ih || image.view.cx != view.cx ||
            image.view.cy != view.cy || image.view.ppu != view.ppu) {
            paint_dots(p, image, area, view);
            v.pict_beyond[n] = picture_beyond(p, view, area);
            changed = true;
        }
        glRasterPos2i(0, 0);
        glBitmap(0, 0, 0, 0, GLfloat(area[0]), GLfloat(area[1]), nullptr);
        glEnable(GL_BLEND);
        glDrawPixels(iw, ih, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
        glDisable(GL_BLEND);

        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glTranslated((area[0] + area[2]) / 2.0, (area[1] + area[3]) / 2.0, 0);
        glScaled(view.ppu, view.ppu, 1);
        glTranslated(-view.cx, -view.cy, 0);
        draw_zones(p, view.ppu);
        draw_paths(p);
        glPopMatrix();
        glDisable(GL_SCISSOR_TEST);
    }
    furniture.push_back(draw_scale_bar(p, area, view.ppu, margin));
    furniture.push_back(draw_north(p, area, margin));
    furniture.push_back(corner_text(area, margin, p.caption, true));
    furniture.push_back(corner_text(area, margin, beyond_text(v.pict_beyond[n]), false));
    std::erase(furniture, Rect{});

    const int points = small_text();
    const TextMeasure measure = [&](std::string_view t) {
        CpwFontBBox box;
        if (v.Txt_Font != nullptr) {
            cpwFontMode(v.cpw, cpw_font_size, std::clamp(points, 1, 1000));
            cpwGetFontBBoxUtf8(v.cpw, v.Txt_Font, t, &box);
        }
        return std::array<int, 3>{box.width, box.height - box.offsety, box.offsety};
    };
    if (changed || !(view.ppu > 0))
        v.pict_labels[n] = place_labels(p, view, area, furniture, measure, px(4));
    for (const PlacedLabel& l : v.pict_labels[n]) {
        const auto& set = p.labels[std::size_t(l.set)];
        colour(set.rgb);
        label_text(points, l.x, l.y, set.at(l.index), 0xFFFFFF);
    }
    if (changed && diag_on()) {
        diag("picture", n + 1, "view", view.cx, view.cy, view.ppu, "beyond", v.pict_beyond[n],
             "labels", v.pict_labels[n].size());
        // What tests ask the picture: each label's set, rank, box and text.
        for (const PlacedLabel& l : v.pict_labels[n])
            diag("picture", n + 1, "label", l.set, l.index, l.priority, l.box[0], l.box[1],
                 l.box[2], l.box[3], utf8_or_cp1252_to_cp1252(p.labels[l.set].at(l.index)));
        diag("picture", n + 1, "area", area[0], area[1], area[2], area[3]);
    }
    if (v.FocusPict == n) {  // the keyboard zooms and pans it
        glColor3f(0.25f, 0.45f, 0.85f);
        outline(area[0] + 1, area[1] + 1, area[2] - 2, area[3] - 2);
    }
}

}  // namespace

void set2DMatrix() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, form_view().windowInfo.width, 0, form_view().windowInfo.height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Integer coordinates land on pixel centres, so one-pixel lines hit the intended pixels.
    glTranslatef(0.375f, 0.375f, 0);
}

void frm_gl_setup() {
    glShadeModel(GL_SMOOTH);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_POLYGON_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(1, 1, 1, 1);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

void frm_gl_viewport(int width, int height) { glViewport(0, 0, width, height); }

std::vector<std::uint8_t> frm_read_back() {
    const int w = form_view().windowInfo.width, h = form_view().windowInfo.height;
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPopClientAttrib();
    return rgb;
}

void drawWindowOne() {
    auto& v = form_view();
    v.redraw = false;
    frm_hit_rects();
    lines_panel_layout();
    glClearColor(background, background, background, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    set2DMatrix();
    grey(0);
    for (int i = 0; i < v.nb_inpt; ++i) draw_input(i);
    grey(0);
    for (int t = 0; t < v.nb_subt; ++t)
        text(v.Txt_Font, v.font_size + (t == 0 ? 2 : 0), v.subt_pos[t][0], v.subt_pos[t][1],
             v.subt_txt[t]);
    for (int b = 0; b < v.nb_butt; ++b) draw_button(b);
    for (int n = 0; n < v.nb_pict; ++n) draw_picture(n);
    grey(0);
    for (int s = 0; s < v.nb_sepa; ++s) {
        const Rect& r = v.sepa_pos[s];
        line(r[0], r[1], r[2], r[3]);
    }
    draw_message();
    draw_list();
    draw_overflow();
    draw_lines_panel();
}
