// The converter in a real window: the real binary on a fixture installation, driven by xdotool
// on the test's X server, results read from the clipboard and from the window's pixels. The
// places to click come from the form's own layout, computed here on the headless toolkit host
// with the same definition file and fonts.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/cli/Varnix_vers.hpp"
#include "app/pages/converter.hpp"
#include "app/pages/varnix_forms.hpp"
#include "fixture.hpp"
#include "forms/my_forms.hpp"
#include "gui/form_view.hpp"
#include "host/registry.hpp"
#include "include/common_data.hpp"
#include "tests/common/x11_close.hpp"
#include "toolkit/null_host.hpp"
#include "util/numbers.hpp"

namespace {

using namespace std::chrono_literals;

const fs::path form_file = fs::path(VARNIX_SOURCE_DIR) / "data/Varnix_form.frm";

std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        pclose(p);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

bool have(const char* tool) {
    return std::system(("command -v " + std::string(tool) + " > /dev/null 2>&1").c_str()) == 0;
}

// Where things are in the window, top-left origin as xdotool counts.
struct Spot {
    int x, y;
};

class ConverterWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display";
        for (const char* tool : {"xdotool", "xclip", "import", "convert"})
            if (!have(tool)) GTEST_SKIP() << "needs " << tool;
        install.add_version(2);
        install.add_landscape(2, "Alps");
        install.add_landscape(2, "Bern");
        store = install.write_store();
        lay_out();
    }
    void TearDown() override {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // The layout the window will have: the definition handed to the view and laid out with
    // the installed fonts, as the window does before it opens.
    void lay_out() {
        setenv("VARNIX_REGISTRY", store.c_str(), 1);
        const fs::path cwd = fs::current_path();
        fs::current_path(work.path());  // the form log
        registry_reset();
        reset_common_data();
        common_data.nvers = vers_num();
        common_data.cvers = numver_to_char(common_data.nvers);
        reset_form_model();
        reset_form_view();
        ASSERT_EQ(frm_read_form(form_file.string()), 0);
        ASSERT_TRUE(find_converter_items());
        add_version_to_title();
        set_opt(frm_context().frm999.iact, frm_context().frm000.f_size, 0);
        use_converter_hooks();  // the landscape list is the application's to fill
        ASSERT_EQ(load_form(), 1);
        fs::current_path(cwd);
        ASSERT_EQ(cpwInitContextHost(&form_view().cpw, std::make_unique<CpwNullHost>()), 1);
        auto& v = form_view();
        v.Txt_Font = cpwLoadFont(v.cpw, frm_context().frmc00.f_name.str().c_str(),
                                 cpw_font_location_system, nullptr);
        v.Inp_Font = cpwLoadFont(v.cpw, "cour.ttf", cpw_font_location_system, nullptr);
        frm_metrics();
        form_setup();
        height = v.windowInfo.height;
        width = v.windowInfo.width;
        for (int i = 0; i < v.nb_inpt; ++i) box[i] = v.inpt_pos[i];
        for (int b = 0; b < v.nb_butt; ++b) button[v.butt_typ[b]] = v.butt_pos[b];
        cpwFreeContext(&form_view().cpw);
    }
    Spot inside(const Rect& r) const { return {(r[0] + r[2]) / 2, height - (r[1] + r[3]) / 2}; }
    Spot input(int n) const { return inside(box[n - 1]); }
    // Line `entry` (from 1) of the list that opens below box n, one box height per line.
    Spot list_line(int n, int entry) const {
        const Rect& r = box[n - 1];
        int row = r[3] - r[1];
        return {(r[0] + r[2]) / 2, height - r[1] + row * (entry - 1) + row / 2};
    }

    void start() {
        pid = spawn_program(VARNIX_BINARY, {}, work.path(),
                            {{"VARNIX_REGISTRY", store.string()}, {"DISPLAY", getenv("DISPLAY")}});
        ASSERT_GT(pid, 0);
        for (int i = 0; i < 200 && window.empty(); ++i) {
            window = output_of("xdotool search --all --onlyvisible --pid " + std::to_string(pid) +
                               " --name '^Varnix$' 2> /dev/null | head -1");
            if (window.empty()) std::this_thread::sleep_for(50ms);
        }
        ASSERT_FALSE(window.empty()) << read_text(work.path() / ".stderr");
        EXPECT_EQ(output_of("xdotool getwindowgeometry " + window + " | sed -n 3p"),
                  "  Geometry: " + std::to_string(width) + "x" + std::to_string(height));
        xdo("windowfocus --sync " + window);
    }
    void xdo(const std::string& args) {
        ASSERT_EQ(std::system(("xdotool " + args + " > /dev/null 2>&1").c_str()), 0) << args;
        std::this_thread::sleep_for(100ms);
    }
    void click(Spot s) {
        xdo("mousemove --window " + window + " " + std::to_string(s.x) + " " + std::to_string(s.y) +
            " click 1");
    }
    void type_into(int n, const std::string& text) {
        click(input(n));
        xdo("type --delay 20 -- '" + text + "'");
    }
    void choose(int n, int entry) {
        click(input(n));
        click(list_line(n, entry));
    }
    void press(int type) { click(inside(button.at(type))); }
    std::string clipboard() { return output_of("xclip -o -selection clipboard 2> /dev/null"); }
    // Copy, and what it put on the clipboard once the window got to it.
    std::string copy() {
        const std::string before = "(nothing copied)";
        EXPECT_EQ(
            std::system(("printf '" + before + "' | xclip -i -selection clipboard > /dev/null 2>&1")
                            .c_str()),
            0);
        // xclip's server owns the text a moment after xclip itself returns.
        for (int i = 0; i < 100 && clipboard() != before; ++i) std::this_thread::sleep_for(20ms);
        press(3);
        std::string now = clipboard();
        for (int i = 0; i < 100 && now == before; ++i) {
            std::this_thread::sleep_for(50ms);
            now = clipboard();
        }
        return now;
    }
    // The colour under a point of the window: red, green, blue.
    std::array<int, 3> pixel(Spot s) {
        std::string png = (work.path() / "shot.png").string();
        std::array<int, 3> rgb{-1, -1, -1};
        if (std::system(("import -window " + window + " " + png).c_str()) != 0) return rgb;
        std::string text = output_of("convert " + png + " -crop 1x1+" + std::to_string(s.x) + "+" +
                                     std::to_string(s.y) + " -depth 8 -format '%[fx:int(255*r)] " +
                                     "%[fx:int(255*g)] %[fx:int(255*b)]' info:");
        std::sscanf(text.c_str(), "%d %d %d", &rgb[0], &rgb[1], &rgb[2]);
        return rgb;
    }
    static bool reddish(const std::array<int, 3>& c) {
        return c[0] > 240 && c[1] < 160 && c[2] < 160;
    }
    // Whether the point turns red (or not) once the window has drawn.
    bool turns_red(Spot s, bool red = true) {
        for (int i = 0; i < 30; ++i) {
            if (reddish(pixel(s)) == red) return true;
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }
    // Waits for the program to end; its exit status, -1 when it did not end in time.
    int wait_exit() {
        for (int i = 0; i < 300; ++i) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(50ms);
        }
        return -1;
    }
    // The close box: the request a window manager sends.
    void close_box() { ASSERT_TRUE(send_close_request(std::stoul(window))); }
    // X and Y of the command line for the same point.
    std::pair<double, double> command_line_xy(const std::string& landscape, const std::string& lat,
                                              const std::string& lon) {
        RunResult r =
            run_varnix({landscape, lat, lon}, work.path(), {{"VARNIX_REGISTRY", store.string()}});
        std::size_t px = r.out.find("TPPosX="), py = r.out.find("TPPosY=");
        if (px == std::string::npos || py == std::string::npos) return {NAN, NAN};
        return {std::atof(r.out.c_str() + px + 7), std::atof(r.out.c_str() + py + 7)};
    }
    // "X=…,Y=…" or "Lat=…,Lon=…" as its two values.
    static std::pair<std::string, std::string> split(const std::string& clip) {
        std::size_t comma = clip.find(','), eq1 = clip.find('='), eq2 = clip.find('=', comma);
        if (comma == std::string::npos || eq1 > comma || eq2 == std::string::npos) return {};
        return {clip.substr(eq1 + 1, comma - eq1 - 1), clip.substr(eq2 + 1)};
    }

    TempDir root, work;
    Installation install{root.path()};
    fs::path store;
    int width = 0, height = 0;
    std::array<Rect, max_inpt> box{};
    std::map<int, Rect> button;
    pid_t pid = -1;
    std::string window;
};

TEST_F(ConverterWindow, LatLonToXYCopiedAsTheCommandLineConverts) {
    const auto& cd = common_data;
    start();
    choose(cd.n_lnd, 2);                // Bern
    type_into(cd.n_ic1, "46.30.000N");  // a waypoint variant, shown normalised once checked
    type_into(cd.n_ic2, "009.15.000E");
    press(102);
    const std::string copied = copy();
    auto [x, y] = split(copied);
    auto [cx, cy] = command_line_xy("Bern", "46.5", "9.25");
    EXPECT_NEAR(std::atof(x.c_str()), cx, 0.0051) << copied;
    EXPECT_NEAR(std::atof(y.c_str()), cy, 0.0051) << copied;
    press(-1);  // Close
    EXPECT_EQ(wait_exit(), 0) << read_text(work.path() / ".stderr");
    EXPECT_EQ(clipboard(), copied);  // still there after Varnix ended
    EXPECT_EQ(read_text(work.path() / ".config/varnix/Varnix_form.dat"),
              "LND=Bern\nIT=1\nOT=1\nIC1=4630.000N\nIC2=00915.000E\n");
}

// X/Y back to latitude/longitude in each notation: what is copied, given to the command line,
// lands where it came from.
TEST_F(ConverterWindow, XYToEveryNotationAndTheCloseBox) {
    const auto& cd = common_data;
    start();
    choose(cd.n_it, 2);
    type_into(cd.n_ic1, "12345.5");
    type_into(cd.n_ic2, "6789.25");
    for (int ot = 2; ot <= 5; ++ot) {
        choose(cd.n_ot, ot);
        press(102);
        const std::string copied = copy();
        auto [lat, lon] = split(copied);
        auto [x, y] = command_line_xy("Alps", lat, lon);
        EXPECT_NEAR(x, 12345.5, 2.5) << ot << " " << copied;
        EXPECT_NEAR(y, 6789.25, 2.5) << ot << " " << copied;
    }
    close_box();
    EXPECT_EQ(wait_exit(), 0) << read_text(work.path() / ".stderr");
}

// Copy takes only a result on screen, and the two boxes keep describing one point when the
// input type changes.
TEST_F(ConverterWindow, CopyTakesTheResultOnScreenAndAnInputSwitchKeepsThePoint) {
    const auto& cd = common_data;
    start();
    EXPECT_EQ(copy(), "(nothing copied)");  // nothing converted yet
    type_into(cd.n_ic1, "46.5");
    type_into(cd.n_ic2, "9.25");
    press(102);
    const std::string first = copy();
    choose(cd.n_ot, 1);  // the list opened blanks the result
    EXPECT_EQ(copy(), "(nothing copied)");
    choose(cd.n_it, 2);  // the boxes now hold the point's X and Y
    press(102);
    EXPECT_EQ(copy(), first);
    press(-1);
    EXPECT_EQ(wait_exit(), 0) << read_text(work.path() / ".stderr");
}

// A French or German pilot's decimal comma, one coordinate in each box, converts as the point.
TEST_F(ConverterWindow, ADecimalCommaConverts) {
    const auto& cd = common_data;
    start();
    choose(cd.n_lnd, 2);  // Bern
    type_into(cd.n_ic1, "46,5");
    type_into(cd.n_ic2, "9,25");
    press(102);
    const std::string copied = copy();
    auto [x, y] = split(copied);
    auto [cx, cy] = command_line_xy("Bern", "46.5", "9.25");
    EXPECT_NEAR(std::atof(x.c_str()), cx, 0.0051) << copied;
    EXPECT_NEAR(std::atof(y.c_str()), cy, 0.0051) << copied;
    press(-1);
    EXPECT_EQ(wait_exit(), 0) << read_text(work.path() / ".stderr");
}

TEST_F(ConverterWindow, XOutsideTheLandscapeIsRefused) {
    const auto& cd = common_data;
    start();
    choose(cd.n_it, 2);
    type_into(cd.n_ic1, "-1");
    type_into(cd.n_ic2, "100");
    press(102);
    EXPECT_EQ(copy(), "(nothing copied)");  // nothing was converted, nothing to copy
    Spot in_x = input(cd.n_ic1), in_y = input(cd.n_ic2);
    EXPECT_TRUE(turns_red({in_x.x + 30, in_x.y}));  // the red overlay
    EXPECT_EQ(pixel({in_y.x + 30, in_y.y}), (std::array<int, 3>{255, 255, 255}));
    // The same box with an X inside the landscape converts.
    click(in_x);
    xdo("key --delay 20 BackSpace BackSpace");
    xdo("type --delay 20 -- 100");
    press(102);
    EXPECT_EQ(copy(), "X=100,Y=100");
    EXPECT_TRUE(turns_red({in_x.x + 30, in_x.y}, false));
    press(-1);
    EXPECT_EQ(wait_exit(), 0);
}

}  // namespace
