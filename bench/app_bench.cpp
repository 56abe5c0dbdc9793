// The converter window's work: its start up to the first frame without the window (definition
// read, items found, 100 landscapes listed, remembered choices shown), one Convert button press
// in each direction with the conversion set-up, and, with a display, the press with the whole
// form drawn again in a real window (glFinish, so the software renderer's work counts).
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/cli/Varnix_vers.hpp"
#include "app/pages/converter.hpp"
#include "app/pages/task_picture.hpp"
#include "app/pages/varnix_forms.hpp"
#include "forms/my_forms.hpp"
#include "geo/read_trn.hpp"
#include "gui/form_view.hpp"
#include "host/registry.hpp"
#include "include/common_data.hpp"
#include "util/numbers.hpp"

namespace fs = std::filesystem;

namespace {

const std::string form_file = std::string(VARNIX_SOURCE_DIR) + "/data/Varnix_form.frm";

// An installation of `count` landscapes like the demo one, written once.
fs::path installation(int count) {
    fs::path root = fs::temp_directory_path() / ("varnix-app-bench-" + std::to_string(count));
    fs::path install = root / "Volaro2";
    if (!fs::exists(root / "user.reg")) {
        fs::create_directories(install / "Logs");
        std::ofstream(install / "Volaro.exe");
        std::ofstream(install / "Logs/Logfile.txt") << "Volaro version: 2150\r\n";
        TrnHeader h;
        h.long_ = 400;
        h.larg = 300;
        h.rew = h.rns = 100;
        h.orig_e = 540000;
        h.orig_n = 5135000;
        h.zlon = 32;
        h.zlat = 'N';
        for (int i = 0; i < count; ++i) {
            std::string name = "Land" + std::to_string(1000 + i);
            fs::create_directories(install / "Landscapes" / name);
            write_trn_hdr((install / "Landscapes" / name / (name + ".trn")).string(), h);
        }
        std::ofstream(root / "user.reg") << "WINE REGISTRY Version 2\n\n[Software\\\\Volaro2] 1\n"
                                         << "\"InstallDir\"=\"" << install.string() << "\"\n";
    }
    return root;
}

bool start_form(int landscapes, bool window = false) {
    fs::path root = installation(landscapes);
    setenv("VARNIX_REGISTRY", (root / "user.reg").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    registry_reset();
    reset_common_data();
    common_data.nvers = vers_num();
    common_data.cvers = numver_to_char(common_data.nvers);
    common_data.qline = false;
    reset_form_model();
    reset_form_view();
    if (frm_read_form(form_file) != 0 || !find_converter_items()) return false;
    add_version_to_title();
    if (window ? frm_create_form() == 0 : load_form() != 1) return false;
    show_start_choices();
    return true;
}

void BM_StartWith100Landscapes(benchmark::State& state) {
    fs::current_path(fs::temp_directory_path());
    for (auto _ : state) {
        if (!start_form(100)) {
            state.SkipWithError("start failed");
            return;
        }
    }
}
BENCHMARK(BM_StartWith100Landscapes)->Unit(benchmark::kMillisecond);

void convert(benchmark::State& state, int it, int ot, const char* in1, const char* in2,
             bool window = false) {
    fs::current_path(fs::temp_directory_path());
    static bool have_window = false;  // one window per process, reused
    if (window && !std::getenv("DISPLAY")) return state.SkipWithError("no window (DISPLAY?)");
    if (!(window && have_window) && !start_form(100, window)) {
        state.SkipWithError("start failed");
        return;
    }
    have_window = have_window || window;
    const auto& cd = common_data;
    form_view().inpt_ival[cd.n_it - 1] = it - 1;
    form_view().inpt_ival[cd.n_ot - 1] = ot - 1;
    form_view().inpt_cval[cd.n_ic1 - 1] = in1;
    form_view().inpt_cval[cd.n_ic2 - 1] = in2;
    int convert_button = 0;
    for (int b = 0; b < form_view().nb_butt; ++b)
        if (form_view().butt_typ[b] == butt_convert) convert_button = b + 1;
    for (auto _ : state) {
        int value = butt_convert;
        frm_callback(sec_butt, convert_button, value);
        if (window) {
            drawWindowOne();
            glFinish();
            cpwSwapWindowBuffers(form_view().cpw, form_view().windowInfo.id);
        }
        benchmark::DoNotOptimize(form_view().subt_txt[cd.n_oc1 - 1].data());
    }
    if (form_view().subt_txt[cd.n_oc1 - 1].starts_with("XXX")) state.SkipWithError("no result");
}
BENCHMARK_CAPTURE(convert, LatLonToXY, it_latlon, ot_xy, "46.5", "9.25")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(convert, XYToDms, it_xy, ot_dms, "20817.03", "14633.71")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(convert, LatLonToXYRedrawn, it_latlon, ot_xy, "46.5", "9.25", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convert, LatLonToDecimal, it_latlon, ot_decimal,
                  "46\xB0"
                  "30'N",
                  "9\xB0"
                  "15'E")
    ->Unit(benchmark::kMicrosecond);

}  // namespace

// The file page's picture built for a million points and a five-point task: every point a dot
// and a name, the legs, lengths and zones.
void BM_TaskPictureOfAMillionPoints(benchmark::State& state) {
    TaskPicture in;
    in.xmax = 200000;
    in.ymax = 150000;
    std::srand(1);
    std::string names;
    for (int k = 0; k < 1000000; ++k) {
        const std::string name = "P" + std::to_string(k);
        in.points.push_back({float(std::rand() % 400000), float(std::rand() % 300000),
                             std::uint32_t(names.size()), std::uint16_t(name.size()),
                             k % 50 != 0});
        names += name;
    }
    in.names = names;
    in.route = {1, 20, 300, 4000, 1};
    in.zones.assign(5, {TaskZone::fai_sector, 10000, 0, 90, 0});
    for (auto _ : state) benchmark::DoNotOptimize(task_picture(in));
}
BENCHMARK(BM_TaskPictureOfAMillionPoints)->Unit(benchmark::kMillisecond);
