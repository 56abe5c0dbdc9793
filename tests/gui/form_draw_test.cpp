// Drawing in a real window: the form is drawn into the back buffer and pixels are read back
// at known points. Needs an X display (skipped without one).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gui/form_view.hpp"

namespace {

struct Pixel {
    int r, g, b;
};

// Inputs of the test form, by index.
enum : int {
    in_disabled,
    in_focused,
    in_invalid,
    in_dark_blue,
    in_yellow,
    in_folder,
    in_list11,
    in_list10,
    in_low_list,
    in_count
};

const std::string path40 = "/home/pilot/Volaro/Landscapes/Alps/12345";

class FormDraw : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (std::getenv("DISPLAY") == nullptr) return;
        reset_form_view();
        set_opt(1, 12, 0);
        auto in = [](int i, int x, int y, int siz, int typ, std::string_view value, int ival,
                     int ddl = -1) {
            add_inpt(in_count, i, "", value, {x, y, -1, -1}, ival, 0, siz, typ, 0, 1, -1, ddl, "");
        };
        in(in_disabled, 20, 300, 10, typ_chr, "", 0);
        in(in_focused, 20, 270, 10, typ_chr, "", 0);
        in(in_invalid, 20, 240, 10, typ_int, "", 0);
        in(in_dark_blue, 20, 210, 8, typ_col, "#000080", 0x000080);
        in(in_yellow, 20, 180, 8, typ_col, "#FFFF00", 0xFFFF00);
        in(in_folder, 20, 150, 20, typ_fld, path40, 0);
        in(in_list11, 250, 300, 10, typ_ddl, "", -1, 0);
        in(in_list10, 250, 270, 10, typ_ddl, "", -1, 1);
        in(in_low_list, 250, 20, 10, typ_ddl, "", -1, 2);
        for (int e = 0; e < 11; ++e) add_ddl(0, 11, e, "a");
        for (int e = 0; e < 10; ++e) add_ddl(1, 10, e, "b");
        for (int e = 0; e < 5; ++e) add_ddl(2, 5, e, "c");
        window_ = frm_start_graphics("arial.ttf", "Drawing test");
        form_view().inpt_act[in_disabled] = 0;
    }

    void SetUp() override {
        if (window_ == 0) GTEST_SKIP() << "needs an X display";
        auto& v = form_view();
        v.CurInpt = v.CurPos_1 = v.CurPos_2 = v.CurDDL = v.CurDDL_N = v.CurOvfl = -1;
        v.ddl_offset = 0;
        v.inpt_OK.fill(1);
        v.xmsg = v.ymsg = v.MsgInpt = -1;
    }

    // Draws the form and keeps the pixels.
    void draw() {
        frm_gl_setup();
        frm_gl_viewport(form_view().windowInfo.width, form_view().windowInfo.height);
        drawWindowOne();
        pixels_ = frm_read_back();
    }
    Pixel at(int x, int y) const {
        const auto& w = form_view().windowInfo;
        if (x < 0 || y < 0 || x >= w.width || y >= w.height) return {-1, -1, -1};
        const std::size_t k = (std::size_t(y) * w.width + x) * 3;
        return {pixels_[k], pixels_[k + 1], pixels_[k + 2]};
    }
    // Every pixel of a rectangle (x0 ≤ x < x1, y0 ≤ y < y1) for which `pred` holds.
    template <class P>
    int count(int x0, int y0, int x1, int y1, P pred) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (pred(at(x, y))) ++n;
        return n;
    }
    static const Rect& box(int i) { return form_view().inpt_pos[i]; }

    static int window_;
    std::vector<std::uint8_t> pixels_;
};

int FormDraw::window_ = 0;

void expect_near(Pixel p, Pixel want, int tolerance = 2) {
    EXPECT_NEAR(p.r, want.r, tolerance);
    EXPECT_NEAR(p.g, want.g, tolerance);
    EXPECT_NEAR(p.b, want.b, tolerance);
}

}  // namespace

TEST_F(FormDraw, FillsAndOverlay) {
    form_view().CurInpt = in_focused;
    form_view().inpt_OK[in_invalid] = 0;
    draw();
    struct Row {
        const char* what;
        int x, y;
        Pixel want;
    };
    const auto& w = form_view().windowInfo;
    const auto inside = [](int i) { return std::pair{box(i)[2] - 4, box(i)[1] + 3}; };
    const Row rows[] = {
        {"background", w.width - 5, w.height / 2, {240, 240, 240}},
        {"disabled", inside(in_disabled).first, inside(in_disabled).second, {170, 170, 170}},
        {"focused", inside(in_focused).first, inside(in_focused).second, {224, 240, 255}},
        {"invalid", inside(in_invalid).first, inside(in_invalid).second, {255, 128, 128}},
        {"enabled", inside(in_list10).first - 20, inside(in_list10).second, {255, 255, 255}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        expect_near(at(r.x, r.y), r.want);
    }
    // The sunken frame: dark above the box, white below it.
    const Rect& b = box(in_focused);
    expect_near(at(b[0] + 5, b[3] + 1), {105, 105, 105});
    expect_near(at(b[0] + 5, b[1] - 1), {255, 255, 255});
}

TEST_F(FormDraw, ColourInputsPickTheirTextColour) {
    draw();
    const auto white = [](Pixel p) { return p.r > 200 && p.g > 200 && p.b > 200; };
    const auto black = [](Pixel p) { return p.r < 60 && p.g < 60 && p.b < 60; };
    const Rect& d = box(in_dark_blue);
    expect_near(at(d[2] - 3, d[1] + 3), {0, 0, 128});
    EXPECT_GT(count(d[0] + 1, d[1] + 1, d[2] - 1, d[3], white), 10);
    EXPECT_EQ(count(d[0] + 1, d[1] + 1, d[2] - 1, d[3], black), 0);
    const Rect& y = box(in_yellow);
    expect_near(at(y[2] - 3, y[1] + 3), {255, 255, 0});
    EXPECT_GT(count(y[0] + 1, y[1] + 1, y[2] - 1, y[3], black), 10);
    EXPECT_EQ(count(y[0] + 1, y[1] + 1, y[2] - 1, y[3], white), 0);
}

TEST_F(FormDraw, LongFolderShowsItsEndAndAMarker) {
    draw();
    const auto& v = form_view();
    const Rect& b = box(in_folder);
    const Rect& m = v.inpt_ovr[in_folder];
    ASSERT_NE(m, (Rect{0, 0, 0, 0}));
    EXPECT_EQ(m[2], b[2]);  // under the box's right end
    EXPECT_LT(m[3], b[1]);
    expect_near(at(m[0], (m[1] + m[3]) / 2), {105, 105, 105});  // outline
    expect_near(at(m[0] + 1, m[3] - 1), {255, 255, 255});       // fill

    // "..." then the last 17 characters: the dots sit on the baseline of the first three cells,
    // and nothing is drawn above them there (a "/" or letter would be); the text ends within
    // the box's 20 cells, clear of its frame.
    const auto dark = [](Pixel p) { return p.r < 128; };
    const int x0 = b[0] + v.Yoffset, base = b[1] + v.Yoffset + 1;
    EXPECT_GT(count(x0, base, x0 + 3 * v.DxI, base + 3, dark), 2);
    EXPECT_EQ(count(x0, base + 4, x0 + 3 * v.DxI, b[3] - 1, dark), 0);
    EXPECT_GT(count(x0 + 19 * v.DxI, b[1] + 1, x0 + 20 * v.DxI, b[3], dark), 0);  // the "5"
    EXPECT_EQ(count(x0 + 20 * v.DxI, b[1] + 1, b[2], b[3], dark), 0);
}

TEST_F(FormDraw, OpenLists) {
    auto& v = form_view();
    v.CurDDL = 0;  // 11 lines: 10 shown and a scroll bar
    draw();
    ASSERT_EQ(v.Scroll, 1);
    const Rect& p = v.ddl_pos;
    const int x1 = p[2], top = p[1], bottom = p[3], s = v.DxScrl;
    EXPECT_EQ(top - bottom, 10 * (box(in_list11)[3] - box(in_list11)[1]));
    expect_near(at(x1 - s / 2, bottom + s + 1), {207, 207, 207});             // track
    expect_near(at(x1 - s / 2, (v.YScrl0 + v.YScrl1) / 2), {168, 168, 168});  // thumb
    v.ScrollDrag = 1;
    draw();
    expect_near(at(x1 - s / 2, (v.YScrl0 + v.YScrl1) / 2), {84, 84, 84});  // held
    v.ScrollDrag = 0;

    v.CurDDL = 1;  // 10 lines: all shown, no scroll bar
    draw();
    EXPECT_EQ(v.Scroll, 0);
    EXPECT_EQ(v.DxScrl, 0);
    const Rect& q = v.ddl_pos;
    EXPECT_EQ(q[1] - q[3], 10 * (box(in_list10)[3] - box(in_list10)[1]));
    expect_near(at(q[2] - 4, (q[1] + q[3]) / 2), {255, 255, 255});

    // A hovered line is highlighted only while it is among the visible lines.
    const int rh = box(in_list10)[3] - box(in_list10)[1];
    for (int hovered : {3, 12, -1}) {
        SCOPED_TRACE(hovered);
        v.CurDDL_N = hovered;
        draw();
        const int y = q[1] - (3 + 1) * rh + rh / 2;
        const Pixel want = hovered == 3 ? Pixel{168, 212, 255} : Pixel{255, 255, 255};
        expect_near(at(q[2] - 6, y), want);
        // Nothing is highlighted outside the list.
        expect_near(at(q[2] - 6, q[3] - 3 * rh), {240, 240, 240});
    }

    v.CurDDL = 2;  // would run below the window: drawn from y = 12
    v.CurDDL_N = -1;
    draw();
    EXPECT_EQ(v.ddl_pos[3], 12);
    expect_near(at(v.ddl_pos[0] + 4, 14), {255, 255, 255});
    expect_near(at(v.ddl_pos[0] + 4, 8), {240, 240, 240});
}

// A line longer than its list (a long landscape name) stops at the list's edge.
TEST_F(FormDraw, LongListLineStaysInsideTheList) {
    auto& v = form_view();
    const std::string kept = v.ddl_txt[1][0];
    v.ddl_txt[1][0] = std::string(40, 'W');
    v.CurDDL = 1;
    draw();
    v.ddl_txt[1][0] = kept;
    const Rect& q = v.ddl_pos;
    const int rh = box(in_list10)[3] - box(in_list10)[1];
    auto dark = [](Pixel p) { return p.r >= 0 && p.r < 128; };        // -1: outside the window
    EXPECT_GT(count(q[0], q[1] - rh, q[2], q[1], dark), 0);           // the line is drawn
    EXPECT_EQ(count(q[2] + 3, q[1] - rh, q[2] + 60, q[1], dark), 0);  // and stops at the edge
}

TEST_F(FormDraw, PopUpsStayInTheWindow) {
    auto& v = form_view();
    v.inpt_msg[in_invalid] = "Too large";
    v.MsgInpt = in_invalid;
    v.xmsg = v.windowInfo.width - 3;
    v.ymsg = 100;
    draw();
    const int w = frm_text_box(v.Txt_Font, v.font_size, "Too large").width;
    EXPECT_EQ(v.xmsg, v.windowInfo.width - w - 2);
    const auto blue = [](Pixel p) { return p.b > 200 && p.r < 100; };
    EXPECT_GT(count(v.xmsg, 100, v.xmsg + w, 115, blue), 5);

    // A box of size 0 has no overflow pop-up to divide its text into.
    v.inpt_siz[in_invalid] = 0;
    v.inpt_cval[in_invalid] = "123";
    v.CurOvfl = in_invalid;
    draw();
    v.inpt_siz[in_invalid] = 10;
    v.inpt_cval[in_invalid] = "";
}

TEST_F(FormDraw, SelectionNeverReadsPastTheText) {
    auto& v = form_view();
    v.inpt_cval[in_focused] = "abc";
    v.CurInpt = in_focused;
    v.CurPos_1 = 1;
    v.CurPos_2 = 8;  // past the end of the text, within the box
    draw();
    const Rect& b = box(in_focused);
    const int x = b[0] + v.Yoffset + 6 * v.DxI;  // inside the selection, after the text
    expect_near(at(x, (b[1] + b[3]) / 2), {51, 153, 255});
    v.CurPos_2 = -1;  // a caret
    draw();
    expect_near(at(x, (b[1] + b[3]) / 2), {224, 240, 255});
    v.inpt_cval[in_focused] = "";
}

TEST_F(FormDraw, WithoutFontsTheFormStillDraws) {
    auto& v = form_view();
    const CpwFontFace txt = v.Txt_Font, inp = v.Inp_Font;
    v.Txt_Font = v.Inp_Font = nullptr;
    v.CurDDL = 0;
    v.CurOvfl = in_folder;
    draw();
    v.Txt_Font = txt;
    v.Inp_Font = inp;
    // No text at all: the folder's box is plain white where its value would be.
    const Rect& b = box(in_folder);
    const auto dark = [](Pixel p) { return p.r < 128; };
    EXPECT_EQ(count(b[0] + 2, b[1] + 2, b[2] - 2, b[3] - 1, dark), 0);
}
