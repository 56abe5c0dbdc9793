// A form in the view tables with hand-placed boxes (layout is not needed to hit-test), a
// toolkit context on the headless host so that buttons can break its loop, fake model
// operations that record the application callbacks, and stand-ins for zenity and xclip.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "gui/form_input.hpp"
#include "gui/form_ops.hpp"
#include "gui/form_view.hpp"
#include "tests/host/host_test_util.hpp"
#include "toolkit/cpw_state.hpp"
#include "toolkit/null_host.hpp"

using Callback = std::tuple<int, int, int>;  // ncla, number from 1, value

class Interaction : public ::testing::Test {
  protected:
    static constexpr int height = 300;  // window height: toolkit y = height - form y

    void SetUp() override {
        reset_form_view();
        frm_StartKbdHook(0);
        frm_set_key_clock(nullptr);
        auto& v = form_view();
        v.windowInfo = {1, 0, 0, 400, height};
        v.DxI = 8;
        v.Yoffset = 3;
        v.font_size = 12;
        ASSERT_EQ(cpwInitContextHost(&cpw, std::make_unique<CpwNullHost>()), 1);
        FormModelOps ops;
        ops.check_values = [this](int n, int kact, int&, float&, std::string& cval,
                                  std::string& msg) {
            checked.push_back(n);
            if (kact && invalid.count(n)) {
                msg = "bad " + cval;
                return 0;
            }
            return 1;
        };
        ops.check_minmax = [](int, int, float, std::string_view, std::string&) { return 1; };
        ops.incrm_val = [](int, int& ival, float& rval, std::string& cval, int incr) {
            ival += incr;
            rval = float(ival);
            cval = std::to_string(ival);
            return 1;
        };
        ops.callback = [this](int ncla, int n, int& value) {
            callbacks.emplace_back(ncla, n, value);
            if (ncla == 6 && replace_exit) value = *replace_exit;
        };
        set_form_model_ops(ops);
    }
    void TearDown() override {
        set_form_model_ops({});
        frm_StartKbdHook(0);
        cpwFreeContext(&cpw);
    }

    // An input at box (x0, y0)-(x1, y1), form coordinates, enabled.
    int box(int typ, Rect pos, std::string value = "", int siz = 10) {
        auto& v = form_view();
        const int i = v.nb_inpt;
        add_inpt(i + 1, i, "label", value, {pos[0], pos[1], -1, -1}, 0, 0, siz, typ, 0, 1, -1, -1,
                 "");
        v.inpt_pos[i] = pos;
        return i;
    }
    // A list input with `lines` lines "L0".. drawn open below its box as drawing leaves it.
    int list_box(int lines, Rect pos) {
        const int i = box(typ_ddl, pos);
        form_view().inpt_ddl[i] = 0;
        form_view().ddl_inpt[0] = i;
        for (int l = 0; l < lines; ++l) add_ddl(0, lines, l, "L" + std::to_string(l));
        if (lines == 0) form_view().ddl_nbli[0] = 0;
        return i;
    }
    void press(int x, int y, int button = cpw_button_left) {
        frm_mouseclick(cpw, 1, cpw_press, button, x, height - y);
    }
    void release(int x, int y, int button = cpw_button_left) {
        frm_mouseclick(cpw, 1, cpw_release, button, x, height - y);
    }
    void click(int x, int y) {
        press(x, y);
        release(x, y);
    }
    void click_right(int x, int y) {
        press(x, y, cpw_button_right);
        release(x, y, cpw_button_right);
    }
    void move(int x, int y) { frm_mousemove(cpw, 1, x, height - y); }
    void drag(int x, int y) { frm_mousedrag(cpw, 1, cpw_button_left, x, height - y); }
    void wheel(int steps) { frm_mouseclick(cpw, 1, cpw_wheel, cpw_button_middle, steps, 0); }
    bool loop_broken() const { return cpw->break_loop; }

    pCpw cpw = nullptr;
    std::vector<Callback> callbacks;
    std::vector<int> checked;
    std::set<int> invalid;
    std::optional<int> replace_exit;
};

// Stand-in programs on the PATH: zenity answers with $ZENITY_OUT and status $ZENITY_STATUS and
// records its arguments; xclip keeps the clipboard in a file.
class StandInTools {
  public:
    StandInTools() {
        script("zenity",
               "printf '%s\\n' \"$@\" > \"$TOOLS/zenity.args\"\n"
               "sleep \"${ZENITY_SLEEP:-0}\"\n"
               "printf '%s' \"$ZENITY_OUT\"\nexit \"${ZENITY_STATUS:-0}\"\n");
        script("xclip",
               "case \"$*\" in *-o*) cat \"$TOOLS/clip\" 2>/dev/null;;\n"
               "*) cat > \"$TOOLS/clip\";; esac\n");
    }
    std::string path() const { return dir.path().string(); }
    std::string clip() const { return dir.read("clip"); }
    void set_clip(std::string_view text) const { dir.write("clip", text); }
    std::string zenity_args() const { return dir.read("zenity.args"); }

  private:
    void script(const char* name, const std::string& body) {
        chmod(dir.write(name, "#!/bin/sh\n" + body).c_str(), 0755);
    }
    TempDir dir;
};
