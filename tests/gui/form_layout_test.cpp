// Layout, hit rectangles and the window's life on the headless toolkit host, with the
// installed label and value fonts (Liberation Sans and Mono stand in for the Windows ones).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <string>

#include "gui/form_view.hpp"
#include "host/messages.hpp"
#include "tests/common/temp_dir.hpp"
#include "toolkit/null_host.hpp"

namespace {

constexpr int font_size = 12;

class FormLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_form_view();
        reset_messages();
        set_log_file_name(dir_.file("Logfile.txt"));
        auto host = std::make_unique<CpwNullHost>();
        host_ = host.get();
        ASSERT_EQ(cpwInitContextHost(&form_view().cpw, std::move(host)), 1);
        set_opt(1, font_size, 0);
    }
    void TearDown() override {
        cpwFreeContext(&form_view().cpw);
        reset_messages();
    }

    // Fonts and metrics as frm_start_graphics sets them, without a window.
    void fonts() {
        auto& v = form_view();
        v.Txt_Font = cpwLoadFont(v.cpw, "arial.ttf", cpw_font_location_system, nullptr);
        v.Inp_Font = cpwLoadFont(v.cpw, "cour.ttf", cpw_font_location_system, nullptr);
        ASSERT_NE(v.Txt_Font, nullptr);
        ASSERT_NE(v.Inp_Font, nullptr);
        frm_metrics();
    }
    // A new form in the same context.
    void fresh() {
        reset_form_view();
        form_view().cpw = host_->context;
        set_opt(1, font_size, 0);
        fonts();
    }
    static int label_width(std::string_view s) {
        return frm_text_box(form_view().Txt_Font, font_size, s).width;
    }
    static int label_height(std::string_view s) {
        return frm_text_box(form_view().Txt_Font, font_size, s).height;
    }
    static void input(int index, std::string_view label, std::string_view value, int x, int y,
                      int code, int siz, int typ, int arr = 0, int ddl = -1) {
        add_inpt(form_view().nb_inpt < index + 1 ? index + 1 : form_view().nb_inpt, index, label,
                 value, {x, y, code, -1}, 0, 0, siz, typ, arr, 1, -1, ddl, "");
    }
    std::string log() const {
        std::ifstream in(dir_.file("Logfile.txt"));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TempDir dir_;
    CpwNullHost* host_ = nullptr;
};

}  // namespace

TEST_F(FormLayout, MetricsComeFromTheValueFont) {
    fonts();
    const auto& v = form_view();
    EXPECT_EQ(v.DxI, 7);  // Liberation Mono (and Courier New) at 12 px: 7.2 px per character
    EXPECT_GT(v.DyI, 0);
    EXPECT_GT(v.Yoffset, 0);  // the underscore hangs below the baseline
    EXPECT_EQ(frm_text_box(v.Inp_Font, font_size, "0000").width, 4 * v.DxI);
}

TEST_F(FormLayout, LabelPlacementTable) {
    fonts();
    const auto& v = form_view();
    const int dx = v.DxI, yo = v.Yoffset, w = label_width("Speed");
    const int box_w = dx * 5 + 2 * yo, box_h = v.BoxH, base = v.TxtBase, arrows = 2 * dx;
    struct Row {
        const char* name;
        int x, code;
        const char* label;
        int arr;
        int x0;      // expected box left edge
        int lx, ly;  // expected label position
    };
    const int y = 50;
    const Row rows[] = {
        {"R", 30, -1, "Speed", 0, 30, 30 + box_w + dx / 2, y + base},
        {"R with arrows", 30, -1, "Speed", 1, 30, 30 + box_w + arrows + dx / 2, y + base},
        {"LA", 100, -3, "Speed", 0, 100, 100 - dx - w, y + base},
        {"TC", 100, -4, "Speed", 0, 100, (100 + 100 + box_w - w) / 2, y + box_h + yo},
        {"TL", 100, -5, "Speed", 0, 100, 100 + yo, y + box_h + yo},
        {"negative x", -20, -1, "Speed", 0, 20 + dx / 2 + w, 20, y + base},
        {"negative x, L", -20, -2, "Speed", 0, 20 + dx / 2 + w, 20, y + base},
        {"L, plain x", 20, -2, "Speed", 0, 20 + dx / 2 + w, 20, y + base},
        {"given position", 100, 7, "Speed", 0, 100, 7, 33},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        fresh();
        add_inpt(1, 0, r.label, "", {r.x, y, r.code, 33}, 0, 0, 5, typ_flt, r.arr, 1, -1, -1, "");
        form_setup();
        EXPECT_EQ(v.inpt_pos[0], (Rect{r.x0, y, r.x0 + box_w, y + box_h}));
        EXPECT_EQ(v.inpt_ptx[0], (std::array<int, 2>{r.lx, r.ly}));
    }

    // Negative x without a label: the box starts at |x|, and no label position is computed.
    fresh();
    add_inpt(1, 0, "", "", {-20, y, -1, -1}, 0, 0, 5, typ_flt, 0, 1, -1, -1, "");
    form_setup();
    EXPECT_EQ(v.inpt_pos[0][0], 20);
    EXPECT_EQ(v.inpt_ptx[0], (std::array<int, 2>{-1, -1}));
}

TEST_F(FormLayout, WindowSizeRepeatsTheMargins) {
    fonts();
    const auto& v = form_view();
    input(0, "Count", "", 10, 10, -1, 5, typ_int);
    form_setup();
    // Liberation Mono at 12 px: 7 px a character, the underscore 2 px deep, descenders 3 px
    // and accented capitals 12 px: a box 5 × 7 + 2 × 2 = 39 wide and 3 + 1 + 12 + 1 = 17 high.
    // The label "Count" (33 px wide in Liberation Sans) starts 7 / 2 = 3 px right of the box:
    // 10 + 39 + 3 + 33 = 85, plus the 10 px margin again.
    ASSERT_EQ(v.DxI, 7);
    EXPECT_EQ(v.windowInfo.width, 95);
    // The box from 10 to 27 is higher than the label (9 px from the baseline at 14).
    EXPECT_EQ(v.windowInfo.height, 37);
    // A tick box is square, its size in pixels.
    input(1, "", "", 30, 40, -1, 12, typ_tck);
    form_setup();
    EXPECT_EQ(v.inpt_pos[1], (Rect{30, 40, 42, 52}));
}

TEST_F(FormLayout, CodedButtonsAndTextItems) {
    fonts();
    const auto& v = form_view();
    input(0, "", "", 0, 10, -1, 400, typ_tck);  // the window is 0 + 400 wide
    struct Row {
        int x, width, x0;
    };
    const Row rows[] = {
        {1 * 10000 + 150, 80, 110},     // centred on 150
        {-(2 * 10000 + 500), 80, 120},  // right edge at 500 per mille of 400
        {-(0 * 10000 + 250), 50, 100},  // left edge at a quarter
        {30, 60, 30},                   // plain
        {0, 60, 0},                     // 0 and 9999 are plain positions too
        {9999, 60, 9999},
    };
    const int n = int(std::size(rows));
    for (int b = 0; b < n; ++b) add_butt(n, b, "B", rows[b].x, 5, rows[b].width, 1);
    add_subt(2, 0, "Title", 10000 + 200, -15);
    add_subt(2, 1, "Low", -(20000 + 1000), 3);
    // The plain 9999 button widens the window up to its limit; the coded ones are measured
    // against a 400-pixel window below.
    form_setup();
    EXPECT_EQ(v.butt_pos[5][0], 9999);
    EXPECT_EQ(v.windowInfo.width, 4096);
    fresh();
    input(0, "", "", 0, 10, -1, 400, typ_tck);
    for (int b = 0; b < 5; ++b) add_butt(5, b, "B", rows[b].x, 5, rows[b].width, 1);
    add_subt(2, 0, "Title", 10000 + 200, -15);
    add_subt(2, 1, "Low", -(20000 + 1000), 3);
    form_setup();
    ASSERT_EQ(v.windowInfo.width, 400);
    for (int b = 0; b < 5; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(v.butt_pos[b][0], rows[b].x0);
        EXPECT_EQ(v.butt_pos[b][2], rows[b].x0 + rows[b].width);
        EXPECT_EQ(v.butt_pos[b][3], 5 + v.BoxH);
    }
    // Item 0 is measured 2 points larger; the last is right-aligned on the window's edge.
    const int title_w = frm_text_box(v.Txt_Font, font_size + 2, "Title").width;
    EXPECT_EQ(v.subt_pos[0][0], 200 - title_w / 2);
    EXPECT_EQ(v.subt_pos[1][0], 400 - label_width("Low"));
    // y = -15 sits 25 pixels above the highest input or button edge.
    const int highest = std::max(410, 5 + v.BoxH);
    EXPECT_EQ(v.subt_pos[0][1], highest + 25);
}

TEST_F(FormLayout, SeparatorsAndListsAfterLayout) {
    fonts();
    const auto& v = form_view();
    input(0, "", "", 10, 10, -1, 5, typ_ddl, 0, 3);
    std::array<Rect, max_sepa> seps{};
    seps[0] = {0, -5, 100, -5};  // horizontal, relative to the base line
    seps[1] = {0, -5, 100, -9};  // not horizontal: kept
    add_sepa(2, seps);
    form_setup();
    const int base = 10 + v.BoxH + 10;
    EXPECT_EQ(v.sepa_pos[0], (Rect{0, base + 5, 100, base + 5}));
    EXPECT_EQ(v.sepa_pos[1], seps[1]);
    EXPECT_EQ(v.ddl_inpt[3], 0);
    EXPECT_EQ(v.ddl_inpt[0], -1);
}

TEST_F(FormLayout, OddDefinitionsLayOutWithinLimits) {
    fonts();
    const auto& v = form_view();
    const int odd[][3] = {
        {INT_MIN, INT_MIN, INT_MAX}, {INT_MAX, INT_MAX, -1}, {-5, -5, 0}, {0, 0, 100000}};
    for (int i = 0; i < max_inpt; ++i) {
        const auto& o = odd[i % 4];
        add_inpt(max_inpt, i, i % 2 ? "" : "label", std::string(255, 'x'),
                 {o[0], o[1], -(i % 7), o[0]}, i, 0, o[2], i % 11, i % 3, 1, -1, i % 31 - 1, "");
    }
    for (int b = 0; b < max_butt; ++b) add_butt(max_butt, b, "", INT_MIN + b, INT_MAX, INT_MAX, 1);
    for (int t = 0; t < max_titl; ++t) add_subt(max_titl, t, "", INT_MAX - t, INT_MIN);
    form_setup();
    EXPECT_GE(v.windowInfo.width, 1);
    EXPECT_LE(v.windowInfo.width, 4096);
    EXPECT_GE(v.windowInfo.height, 1);
    EXPECT_LE(v.windowInfo.height, 4096);
    form_view().CurDDL = 29;
    form_view().CurOvfl = 0;
    frm_hit_rects();  // must not read outside a table (the sanitizer build checks)
}

TEST_F(FormLayout, HitRectangles) {
    fonts();
    auto& v = form_view();
    const std::string path40 = "/home/pilot/Volaro/Landscapes/Alps/12345";
    ASSERT_EQ(path40.size(), 40u);
    input(0, "", path40, 10, 200, -1, 20, typ_fld);
    input(1, "", "fits", 10, 150, -1, 20, typ_chr);
    input(2, "", std::string(30, 'k'), 10, 120, -1, 5, typ_key);
    input(3, "", "123456789", 10, 90, -1, 4, typ_int, 1);
    input(4, "", "Landscape", 10, 60, -1, 10, typ_ddl, 0, 0);  // 9 of 10 places: the arrow
    form_setup();
    frm_hit_rects();
    const CpwFontBBox dots = frm_text_box(v.Inp_Font, font_size, "...");
    const Rect& box = v.inpt_pos[0];
    EXPECT_EQ(v.inpt_ovr[0],
              (Rect{box[2] - dots.width - 4, box[1] - dots.height - 5, box[2], box[1] - 1}));
    EXPECT_EQ(v.inpt_ovr[1], (Rect{0, 0, 0, 0}));
    EXPECT_EQ(v.inpt_ovr[2], (Rect{0, 0, 0, 0}));               // key inputs never have one
    EXPECT_EQ(v.inpt_ovr[3][2], v.inpt_pos[3][2] + 2 * v.DxI);  // right of the arrows
    EXPECT_NE(v.inpt_ovr[4], (Rect{0, 0, 0, 0}));               // a list's arrow takes two places

    // The message pop-up is kept inside the window.
    v.inpt_msg[1] = "A message far too long for such a small window";
    v.MsgInpt = 1;
    v.xmsg = v.windowInfo.width - 5;
    frm_hit_rects();
    const int w = frm_text_box(v.Txt_Font, font_size, v.inpt_msg[1]).width;
    EXPECT_EQ(v.xmsg, w + 2 > v.windowInfo.width ? 0 : v.windowInfo.width - w - 2);
}

TEST_F(FormLayout, OpenListGeometry) {
    fonts();
    auto& v = form_view();
    // Rows 17 px high (see WindowSizeRepeatsTheMargins), a scroll bar 2 × 7 px wide: ten rows
    // from 400 down to 230, the thumb's track 170 - 2 × 14 = 142 px from 386 down to 244.
    struct Row {
        const char* name;
        int lines, y, offset;
        int scroll;
        bool from_12;
        int thumb_top, thumb_bottom;
    };
    const Row rows[] = {
        {"10 lines", 10, 400, 0, 0, false, 0, 0},
        {"11 lines", 11, 400, 0, 1, false, 386, 256},            // 386 - 142 × 10 / 11 = 256.9
        {"30 lines scrolled", 30, 400, 20, 1, false, 291, 244},  // 386 - 142 × 20 / 30 = 291.3
        {"near the bottom", 5, 30, 0, 0, true, 0, 0},
    };
    ASSERT_EQ(v.DxI, 7);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        input(0, "", "", 10, r.y, -1, 8, typ_ddl, 0, 0);
        for (int e = 0; e < r.lines; ++e) add_ddl(0, r.lines, e, "line " + std::to_string(e));
        form_setup();
        v.CurDDL = 0;
        v.ddl_offset = r.offset;
        frm_hit_rects();
        const Rect& box = v.inpt_pos[0];
        const int rh = box[3] - box[1], n = std::min(r.lines, 10);
        const int top = r.from_12 ? n * rh + 12 : box[1];
        EXPECT_EQ(v.ddl_pos, (Rect{box[0], top, box[2], top - n * rh}));
        EXPECT_EQ(v.Scroll, r.scroll);
        EXPECT_EQ(v.DxScrl, r.scroll ? 2 * v.DxI : 0);
        if (r.scroll) {
            EXPECT_EQ(v.YScrl1, r.thumb_top);
            EXPECT_EQ(v.YScrl0, r.thumb_bottom);
        }
    }
}

TEST_F(FormLayout, WindowLife) {
    auto& v = form_view();
    add_inpt(1, 0, "Count", "3", {10, 10, -1, -1}, 3, 0, 5, typ_int, 0, 1, -1, -1, "");
    set_opt(0, font_size, 0);  // not active: no close box
    const int id = frm_start_graphics("arial.ttf", "Test form");
    ASSERT_EQ(id, 1);
    const CpwNullWindow* w = host_->window(id);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->request.x, 100);
    EXPECT_EQ(w->request.y, 100);
    EXPECT_EQ(w->request.width, v.windowInfo.width);
    EXPECT_EQ(w->request.height, v.windowInfo.height);
    EXPECT_TRUE(w->request.fixed_size);
    EXPECT_TRUE(w->request.title_only);
    EXPECT_EQ(w->request.title_utf8, "Test form");
    EXPECT_GT(w->icon_width, 0);
    EXPECT_NE(v.Txt_Font, nullptr);
    EXPECT_NE(v.Inp_Font, nullptr);

    // Once per process: a second start and a new form reuse the window with a new size.
    add_inpt(1, 0, "A much longer label", "3", {10, 10, -1, -1}, 3, 0, 5, typ_int, 0, 1, -1, -1,
             "");
    EXPECT_EQ(frm_start_graphics("arial.ttf", "Again"), id);
    EXPECT_EQ(frm_new_form_gr(), id);
    ASSERT_FALSE(w->size_requests.empty());
    EXPECT_EQ(w->size_requests.back(), std::make_pair(v.windowInfo.width, v.windowInfo.height));

    frm_reshape(v.cpw, id, 0, 0);
    EXPECT_EQ(v.windowInfo.width, 1);
    EXPECT_EQ(v.windowInfo.height, 1);

    // Closing the window ends the loop with -999; afterwards there is no window to run.
    frm_window(v.cpw, id, 0);
    EXPECT_EQ(v.ExitStat, -999);
    EXPECT_TRUE(w->destroyed);
    EXPECT_EQ(frm_do_graphics(), 0);
    EXPECT_EQ(frm_new_form_gr(), 0);
}

TEST_F(FormLayout, TheLoopRunsUntilTheWindowIsClosed) {
    add_inpt(1, 0, "Count", "3", {10, 10, -1, -1}, 3, 0, 5, typ_int, 0, 1, -1, -1, "");
    const int id = frm_start_graphics("arial.ttf", "Form");
    ASSERT_EQ(id, 1);
    host_->messages.push_back([&] { cpw_input_close(form_view().cpw, id); });
    EXPECT_EQ(frm_do_graphics(), -999);
    EXPECT_TRUE(host_->window(id)->destroyed);
    EXPECT_EQ(host_->window(id)->swaps, 1);  // the first frame was drawn
    EXPECT_EQ(form_view().windowInfo.id, 0);
}

TEST_F(FormLayout, NoWindowNoLoop) {
    host_->fail_create = true;
    add_inpt(1, 0, "Count", "3", {10, 10, -1, -1}, 3, 0, 5, typ_int, 0, 1, -1, -1, "");
    EXPECT_EQ(frm_start_graphics("arial.ttf", "Form"), 0);
    EXPECT_EQ(frm_do_graphics(), 0);
    EXPECT_EQ(frm_new_form_gr(), 0);
    EXPECT_EQ(host_->pumps, 0);  // the loop never ran
}

TEST_F(FormLayout, MissingLabelFontFallsBackWithALogLine) {
    add_inpt(1, 0, "Count", "3", {10, 10, -1, -1}, 3, 0, 5, typ_int, 0, 1, -1, -1, "");
    ASSERT_EQ(frm_start_graphics("no_such_font.ttf", "Form"), 1);
    EXPECT_EQ(form_view().font_name, "arial.ttf");
    EXPECT_NE(form_view().Txt_Font, nullptr);
    EXPECT_NE(log().find("************* Txt_Font : no_such_font.ttf could not be loaded - "
                         "arial.ttf selected *************"),
              std::string::npos)
        << log();
}

TEST_F(FormLayout, NoFontsStillLayOut) {
    auto& v = form_view();  // no faces loaded at all
    frm_metrics();
    EXPECT_GT(v.DxI, 0);
    input(0, "Label", "value", 10, 10, -1, 5, typ_chr);
    form_setup();
    EXPECT_GT(v.inpt_pos[0][2], v.inpt_pos[0][0]);
    EXPECT_EQ(frm_text_box(nullptr, 12, "x").width, 0);
    frm_hit_rects();
}

TEST_F(FormLayout, ContentScaleMultipliesPositionsSizesAndTheFont) {
    const auto& v = form_view();
    struct Row {
        float scale;
        int font, x, tick, button_x, button_w, coded_x, text_y;
    };
    const Row rows[] = {
        {1, 12, 10, 12, 30, 60, 10000 + 150, -15},
        {2, 24, 20, 24, 60, 120, 10000 + 300, -30},
        {1.5f, 18, 15, 18, 45, 90, 10000 + 225, -23},  // halves round away from zero
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.scale);
        fresh();
        start_hand_over();
        set_opt(1, font_size, 0);
        input(0, "Count", "", 10, 10, -1, 5, typ_int);
        input(1, "", "", 30, 40, -1, 12, typ_tck);
        add_butt(2, 0, "B", 30, 5, 60, 1);
        add_butt(2, 1, "C", 10000 + 150, 5, 60, 1);
        add_subt(1, 0, "T", -(10000 + 500), -15);  // per mille of the width: not scaled
        frm_apply_scale(r.scale);
        frm_apply_scale(r.scale);  // once per hand-over
        EXPECT_EQ(v.font_size, r.font);
        EXPECT_EQ(v.inpt_pos[0][0], r.x);
        EXPECT_EQ(v.inpt_siz[1], r.tick);
        EXPECT_EQ(v.inpt_siz[0], 5);  // characters, not pixels
        EXPECT_EQ(v.butt_pos[0][0], r.button_x);
        EXPECT_EQ(v.butt_siz[0], r.button_w);
        EXPECT_EQ(v.butt_pos[1][0], r.coded_x);
        EXPECT_EQ(v.subt_pos[0], (std::array<int, 2>{-(10000 + 500), r.text_y}));
    }
}
