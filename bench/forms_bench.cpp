// One full redraw of the every-widget form, read through the model (drawing and the buffer
// swap, which waits for the frame), in a real window. Needs an X display; under Xvfb this is
// Mesa's software renderer.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "forms/my_forms.hpp"
#include "gui/form_view.hpp"

namespace {

const std::string data = std::string(VARNIX_SOURCE_DIR) + "/tests/gui/data/";

// The form's window, made once; 0 when none can be made.
int form_window() {
    static const int id = [] {
        if (std::getenv("DISPLAY") == nullptr) return 0;
        setenv("VARNIX_REGISTRY", VARNIX_SOURCE_DIR "/data/demo/user.reg", 0);
        if (frm_read_form(data + "every_widget.frm") != 0) return 0;
        frm_read_form_data(data + "every_widget.txt");
        return frm_create_form();
    }();
    return id;
}

void redraw(benchmark::State& state, int open_list) {
    const int win = form_window();
    if (win == 0) {
        state.SkipWithError("no window (needs DISPLAY)");
        return;
    }
    form_view().CurDDL = open_list;
    for (auto _ : state) frm_draw(form_view().cpw, win);
    form_view().CurDDL = -1;
}

void BM_Redraw(benchmark::State& state) { redraw(state, -1); }
// With the landscape list open over the form.
void BM_RedrawOpenList(benchmark::State& state) { redraw(state, form_view().LndDDL); }

}  // namespace

BENCHMARK(BM_Redraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawOpenList)->Unit(benchmark::kMillisecond);
