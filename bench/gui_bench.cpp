// The form answering the user: one key press or one click handled and the whole form drawn
// again, as the event loop does it (handler, drawWindowOne, swap), with glFinish so that the
// software renderer's work is counted. Needs a display (Xvfb will do).
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "gui/form_input.hpp"
#include "gui/form_view.hpp"

namespace {

// A converter-sized form: three lists, two text inputs, a tick box, three buttons.
bool make_window() {
    static int id = -1;
    if (id >= 0) return id != 0;
    id = 0;
    if (std::getenv("DISPLAY") == nullptr) return false;
    start_hand_over();  // so that the screen's scale applies, as in the program
    set_opt(1, 13, 0);
    const char* labels[] = {"Landscape", "Input", "Output", "Lat", "Lon", "Remember"};
    const int types[] = {typ_ddl, typ_ddl, typ_ddl, typ_chr, typ_chr, typ_tck};
    for (int i = 0; i < 6; ++i)
        add_inpt(6, i, labels[i], i == 3 ? "N46 30.5" : "", {120, 228 - 30 * i, -3, -3}, 0, 0,
                 types[i] == typ_tck ? 13 : 26, types[i], 0, 1, -1, types[i] == typ_ddl ? i : -1,
                 "");
    for (int l = 0; l < 3; ++l)
        for (int k = 0; k < 12; ++k) add_ddl(l, 12, k, "Entry " + std::to_string(k));
    const char* captions[] = {"Convert", "Copy", "Close"};
    for (int b = 0; b < 3; ++b) add_butt(3, b, captions[b], -(10000 + 200 + 300 * b), 12, 90, b);
    id = frm_start_graphics("arial.ttf", "Bench");
    return id != 0;
}

void draw() {
    drawWindowOne();
    glFinish();
    cpwSwapWindowBuffers(form_view().cpw, form_view().windowInfo.id);
}

// A letter typed and rubbed out in turn (the value keeps its length over the run), redrawn.
void type_and_redraw(benchmark::State& state) {
    auto& v = form_view();
    v.CurInpt = 3;
    v.CurPos_1 = v.CurPos_2 = int(v.inpt_cval[3].size());
    frm_StartKbdHook(1);
    CpwKeyInfo typed{1, 'E', 0x12, 0, 'E', 0, 0}, back{1, 0x08, 0x0E, 0, 0x08, 0, 0};
    bool add = true;
    for (auto _ : state) {
        frm_KdbHookProc(add ? typed : back);
        add = !add;
        draw();
    }
    frm_StartKbdHook(0);
}

void BM_KeyPressRedrawn(benchmark::State& state) {
    if (!make_window()) return state.SkipWithError("no window (DISPLAY?)");
    type_and_redraw(state);
}
BENCHMARK(BM_KeyPressRedrawn)->Unit(benchmark::kMillisecond);

void BM_ClickRedrawn(benchmark::State& state) {
    if (!make_window()) return state.SkipWithError("no window (DISPLAY?)");
    auto& v = form_view();
    const Rect box = v.inpt_pos[4];  // a text input: focus, caret, callback
    const int x = box[0] + 20, y = v.windowInfo.height - (box[1] + box[3]) / 2;
    for (auto _ : state) {
        frm_mouseclick(v.cpw, v.windowInfo.id, cpw_press, cpw_button_left, x, y);
        draw();
        frm_mouseclick(v.cpw, v.windowInfo.id, cpw_release, cpw_button_left, x, y);
        draw();
    }
}
BENCHMARK(BM_ClickRedrawn)->Unit(benchmark::kMillisecond);

// Tab round every widget of the form (lists, text boxes, tick box, buttons), one step a frame.
void BM_TabRedrawn(benchmark::State& state) {
    if (!make_window()) return state.SkipWithError("no window (DISPLAY?)");
    const CpwKeyInfo tab{1, 0x09, 0x0F, 0, 0x09, 0, 0};
    for (auto _ : state) {
        frm_KdbHookProc(tab);
        draw();
    }
}
BENCHMARK(BM_TabRedrawn)->Unit(benchmark::kMillisecond);

// A letter typed into an open list of 12 lines: the type-ahead search and the list drawn.
void BM_ListLetterRedrawn(benchmark::State& state) {
    if (!make_window()) return state.SkipWithError("no window (DISPLAY?)");
    auto& v = form_view();
    frm_activate_input(v.cpw, 0);
    const CpwKeyInfo letter{1, 'E', 0x12, 0, 'e', 0, 0};
    for (auto _ : state) {
        frm_KdbHookProc(letter);
        draw();
    }
    frm_list_close();
}
BENCHMARK(BM_ListLetterRedrawn)->Unit(benchmark::kMillisecond);

// The file page's picture of a 100,000-point file: the points in two colours and each with its
// name, a task's thick legs, names and zones, fitted and drawn with the rest of the form.
void show_big_picture() {
    auto& v = form_view();
    add_pict(1, 0, {12, 20, 548, 300}, true);
    PictureItems p;
    PictureItems::Dots inside{{}, 0x8CA8D0, 2}, outside{{}, 0xD01818, 4};
    PictureItems::Labels names{{}, {}, {}, 0x202020, 0}, task{{}, {}, {}, 0, 3};
    std::srand(1);
    for (int k = 0; k < 100000; ++k) {
        const float x = float(std::rand() % 400000), y = float(std::rand() % 300000);
        auto& dots = k % 50 == 0 ? outside : inside;
        dots.xy.insert(dots.xy.end(), {-x, y});
        names.add(-x, y, "Point " + std::to_string(k));
    }
    p.dots = {std::move(inside), std::move(outside)};
    p.paths.push_back({{0, 0, -200000, 0, -200000, 150000, 0, 150000}, 0x707070, true, 1});
    const std::vector<float> legs{-1000, 2000, -150000, 90000, -60000, 140000, -1000, 2000};
    p.paths.push_back({legs, 0xC0008C, false, 4});
    for (std::size_t k = 0; k + 1 < legs.size(); k += 2) {
        task.add(legs[k], legs[k + 1], "Turnpoint");
        p.zones.push_back(
            {PictureItems::Zone::sector, legs[k], legs[k + 1], 10000, 0, 180, 270, 0x7A2FB0});
    }
    p.labels = {std::move(task), std::move(names)};
    p.units_per_scale_unit = 1000;
    p.scale_unit = "km";
    p.north = "N";
    set_pict(0, std::move(p));
    form_setup();
    cpwReshapeWindow(v.cpw, v.windowInfo.width, v.windowInfo.height, v.windowInfo.id);
}

void BM_PictureOf100kPointsRedrawn(benchmark::State& state) {
    if (!make_window()) return state.SkipWithError("no window (DISPLAY?)");
    show_big_picture();
    for (auto _ : state) draw();
}
BENCHMARK(BM_PictureOf100kPointsRedrawn)->Unit(benchmark::kMillisecond);

// A turn of the wheel, or a drag, on that picture: the dots painted afresh, the labels placed
// again, the window drawn.
void BM_PictureOf100kPointsZoomedOrPanned(benchmark::State& state) {
    if (!make_window()) return state.SkipWithError("no window (DISPLAY?)");
    if (form_view().nb_pict == 0) show_big_picture();
    const Rect r = picture_inner(0);
    bool there = false;  // back and forth, so the view stays where it was
    for (auto _ : state) {
        there = !there;
        if (state.range(0) == 0)
            frm_picture_zoom(0, there ? 1.25 : 0.8, r[0] + 100, r[1] + 80);
        else
            frm_picture_pan(0, there ? 7 : -7, there ? 3 : -3);
        draw();
    }
    frm_picture_home(0);
}
BENCHMARK(BM_PictureOf100kPointsZoomedOrPanned)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The labels of that picture placed (measured with the form's font), without drawing.
void BM_PictureOf100kPointsLabelsPlaced(benchmark::State& state) {
    if (!make_window()) return state.SkipWithError("no window (DISPLAY?)");
    if (form_view().nb_pict == 0) show_big_picture();
    draw();
    auto& v = form_view();
    const TextMeasure measure = [&](std::string_view t) {
        CpwFontBBox box;
        cpwFontMode(v.cpw, cpw_font_size, v.font_size - 2);
        cpwGetFontBBoxUtf8(v.cpw, v.Txt_Font, t, &box);
        return std::array<int, 3>{box.width, box.height - box.offsety, box.offsety};
    };
    std::size_t placed = 0;
    for (auto _ : state)
        placed = place_labels(v.pict[0], v.pict_view[0], picture_inner(0), {}, measure, 4).size();
    state.counters["placed"] = double(placed);
}
BENCHMARK(BM_PictureOf100kPointsLabelsPlaced)->Unit(benchmark::kMillisecond);

// A key typed on the file page: the handler, then the whole form with its picture drawn again.
void BM_KeyPressBesideThePicture(benchmark::State& state) {
    if (!make_window()) return state.SkipWithError("no window (DISPLAY?)");
    if (form_view().nb_pict == 0) show_big_picture();
    type_and_redraw(state);
}
BENCHMARK(BM_KeyPressBesideThePicture)->Unit(benchmark::kMillisecond);

}  // namespace
