// Host input turned into toolkit events, on the headless host.
#include <linux/input-event-codes.h>

#include <map>

#include "fixture.hpp"
#include "host/keys.hpp"

namespace {

class Input : public NullHostTest {
  protected:
    void SetUp() override {
        NullHostTest::SetUp();
        record_all();
        win_ = cpwCreateWindowEx(cpw_, "a", 0, 0, 100, 100);
        drain();
        calls_.clear();
    }
    // The calls that a sequence of host reports leads to, as "what args…" texts.
    std::vector<std::string> after(const std::function<void()>& reports) {
        calls_.clear();
        reports();
        drain();
        std::vector<std::string> out;
        for (const Call& c : calls_) {
            std::string s = c.what;
            for (int a : c.args) (s += ' ') += std::to_string(a);
            out.push_back(s);
        }
        return out;
    }
    using V = std::vector<std::string>;
    int win_ = 0;
};

TEST_F(Input, ButtonsMotionAndDrag) {
    cpw_input_focus(cpw_, win_, true);
    drain();
    struct Case {
        const char* name;
        std::function<void(pCpw, int)> reports;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"click",
         [](pCpw c, int w) {
             cpw_input_button(c, w, cpw_button_left, true, 5, 6);
             cpw_input_button(c, w, cpw_button_left, false, 7, 8);
         },
         {"click 0 0 5 6", "click 1 0 7 8"}},
        {"motion", [](pCpw c, int w) { cpw_input_pointer_pos(c, w, 3, 4); }, {"move 3 4"}},
        {"left drag",
         [](pCpw c, int w) {
             cpw_input_button(c, w, cpw_button_left, true, 1, 1);
             cpw_input_pointer_pos(c, w, 2, 3);
             cpw_input_button(c, w, cpw_button_left, false, 2, 3);
         },
         {"click 0 0 1 1", "drag 0 2 3", "click 1 0 2 3"}},
        {"middle drag",
         [](pCpw c, int w) {
             cpw_input_button(c, w, cpw_button_middle, true, 1, 1);
             cpw_input_pointer_pos(c, w, 2, 3);
             cpw_input_button(c, w, cpw_button_middle, false, 2, 3);
         },
         {"click 0 1 1 1", "drag 1 2 3", "click 1 1 2 3"}},
        {"right drag",
         [](pCpw c, int w) {
             cpw_input_button(c, w, cpw_button_right, true, 1, 1);
             cpw_input_pointer_pos(c, w, 2, 3);
             cpw_input_button(c, w, cpw_button_right, false, 2, 3);
         },
         {"click 0 2 1 1", "drag 2 2 3", "click 1 2 2 3"}},
        {"two buttons drag",
         [](pCpw c, int w) {
             cpw_input_button(c, w, cpw_button_left, true, 1, 1);
             cpw_input_button(c, w, cpw_button_right, true, 1, 1);
             cpw_input_pointer_pos(c, w, 2, 3);
             cpw_input_button(c, w, cpw_button_right, false, 2, 3);
             cpw_input_pointer_pos(c, w, 4, 5);
             cpw_input_button(c, w, cpw_button_left, false, 4, 5);
             cpw_input_pointer_pos(c, w, 6, 7);
         },
         {"click 0 0 1 1", "click 0 2 1 1", "drag -1 2 3", "click 1 2 2 3", "drag 0 4 5",
          "click 1 0 4 5", "move 6 7"}},
        {"release without press",
         [](pCpw c, int w) { cpw_input_button(c, w, 0, false, 1, 1); },
         {}},
        {"other button", [](pCpw c, int w) { cpw_input_button(c, w, 3, true, 1, 1); }, {}},
        {"wheel",
         [](pCpw c, int w) {
             cpw_input_wheel(c, w, 1.0);
             cpw_input_wheel(c, w, -2.0);
         },
         {"click 2 1 1 0", "click 2 1 -2 0"}},
        {"wheel fractions add up",
         [](pCpw c, int w) {
             cpw_input_wheel(c, w, 0.5);
             cpw_input_wheel(c, w, 0.25);
             cpw_input_wheel(c, w, 0.25);
         },
         {"click 2 1 1 0"}},
    };
    for (const Case& c : cases) EXPECT_EQ(after([&] { c.reports(cpw_, win_); }), c.calls) << c.name;
}

TEST_F(Input, ButtonPressCapturesThePointerUntilTheLastRelease) {
    cpw_input_focus(cpw_, win_, true);
    cpw_input_button(cpw_, win_, cpw_button_left, true, 1, 1);
    EXPECT_TRUE(host_->window(win_)->captured);
    cpw_input_button(cpw_, win_, cpw_button_right, true, 1, 1);
    cpw_input_button(cpw_, win_, cpw_button_left, false, 1, 1);
    EXPECT_TRUE(host_->window(win_)->captured);
    cpw_input_button(cpw_, win_, cpw_button_right, false, 1, 1);
    EXPECT_FALSE(host_->window(win_)->captured);
}

TEST_F(Input, MotionNeedsTheFocus) {
    EXPECT_EQ(after([&] { cpw_input_pointer_pos(cpw_, win_, 3, 4); }), V{});
    EXPECT_EQ(after([&] {
                  cpw_input_focus(cpw_, win_, true);
                  cpw_input_pointer_pos(cpw_, win_, 3, 4);
              }),
              (V{"entry 0", "move 3 4"}));
}

TEST_F(Input, EnterAndLeave) {
    struct Case {
        const char* name;
        std::function<void(pCpw, int)> reports;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"focus gained and lost",
         [](pCpw c, int w) {
             cpw_input_focus(c, w, true);
             cpw_input_focus(c, w, false);
         },
         {"entry 0", "entry 1"}},
        {"pointer crossing while unfocused",
         [](pCpw c, int w) {
             cpw_input_pointer_inside(c, w, true);
             cpw_input_pointer_inside(c, w, false);
         },
         {}},
        {"pointer crossing while focused",
         [](pCpw c, int w) {
             cpw_input_focus(c, w, true);
             cpw_input_pointer_inside(c, w, true);
             cpw_input_pointer_inside(c, w, false);
             cpw_input_focus(c, w, false);
         },
         {"entry 0", "entry 0", "entry 1", "entry 1"}},
        {"leaving during a drag is reported after the release",
         [](pCpw c, int w) {
             cpw_input_focus(c, w, true);
             cpw_input_button(c, w, 0, true, 1, 1);
             cpw_input_pointer_inside(c, w, false);
             cpw_input_pointer_pos(c, w, -5, 1);
             cpw_input_button(c, w, 0, false, -5, 1);
             cpw_input_focus(c, w, false);
         },
         {"entry 0", "click 0 0 1 1", "drag 0 -5 1", "click 1 0 -5 1", "entry 1", "entry 1"}},
        {"coming back before the release is no crossing at all",
         [](pCpw c, int w) {
             cpw_input_focus(c, w, true);
             cpw_input_button(c, w, 0, true, 1, 1);
             cpw_input_pointer_inside(c, w, false);
             cpw_input_pointer_inside(c, w, true);
             cpw_input_button(c, w, 0, false, 1, 1);
             cpw_input_focus(c, w, false);
         },
         {"entry 0", "click 0 0 1 1", "click 1 0 1 1", "entry 1"}},
        {"focus lost during a press ends the capture",
         [](pCpw c, int w) {
             cpw_input_focus(c, w, true);
             cpw_input_button(c, w, 0, true, 1, 1);
             cpw_input_focus(c, w, false);
             cpw_input_button(c, w, 0, false, 1, 1);
         },
         {"entry 0", "click 0 0 1 1", "entry 1"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(after([&] { c.reports(cpw_, win_); }), c.calls) << c.name;
        EXPECT_FALSE(host_->window(win_)->captured) << c.name;
    }
}

TEST_F(Input, CursorChangesOnlyForTheCurrentWindowWithThePointerInside) {
    EXPECT_EQ(cpwSetCursor(cpw_, cpw_cursor_hand, win_), 1);
    EXPECT_EQ(host_->window(win_)->cursor, cpw_cursor_arrow);
    cpw_input_pointer_inside(cpw_, win_, true);
    EXPECT_EQ(cpwSetCursor(cpw_, cpw_cursor_hand, win_), 1);
    EXPECT_EQ(host_->window(win_)->cursor, cpw_cursor_hand);
    EXPECT_EQ(cpwSetCursor(cpw_, 99, win_), 0);
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_argument);
}

TEST_F(Input, ReportsForUnknownWindowsAreIgnored) {
    EXPECT_EQ(after([&] {
                  cpw_input_button(cpw_, 9, 0, true, 1, 1);
                  cpw_input_focus(cpw_, 9, true);
                  cpw_input_close(cpw_, 9);
                  cpw_input_resized(cpw_, 9, 5, 5);
                  cpw_input_refresh(cpw_, 9);
              }),
              V{});
}

// Every key the toolkit receives reaches the form with the scan code Windows would report, so
// key values saved on either system name the same key.
TEST_F(Input, EveryMappedKeyIsNamedAsOnWindows) {
    // clang-format off
    const std::map<int, std::string> names = {
        {KEY_ESC, "Esc"}, {KEY_1, "1"}, {KEY_2, "2"}, {KEY_3, "3"}, {KEY_4, "4"}, {KEY_5, "5"},
        {KEY_6, "6"}, {KEY_7, "7"}, {KEY_8, "8"}, {KEY_9, "9"}, {KEY_0, "0"}, {KEY_MINUS, "-"},
        {KEY_EQUAL, "="}, {KEY_BACKSPACE, "Backspace"}, {KEY_TAB, "Tab"}, {KEY_Q, "Q"},
        {KEY_W, "W"}, {KEY_E, "E"}, {KEY_R, "R"}, {KEY_T, "T"}, {KEY_Y, "Y"}, {KEY_U, "U"},
        {KEY_I, "I"}, {KEY_O, "O"}, {KEY_P, "P"}, {KEY_LEFTBRACE, "["}, {KEY_RIGHTBRACE, "]"},
        {KEY_ENTER, "Enter"}, {KEY_LEFTCTRL, "Ctrl"}, {KEY_A, "A"}, {KEY_S, "S"}, {KEY_D, "D"},
        {KEY_F, "F"}, {KEY_G, "G"}, {KEY_H, "H"}, {KEY_J, "J"}, {KEY_K, "K"}, {KEY_L, "L"},
        {KEY_SEMICOLON, ";"}, {KEY_APOSTROPHE, "'"}, {KEY_GRAVE, "`"}, {KEY_LEFTSHIFT, "Shift"},
        {KEY_BACKSLASH, "\\"}, {KEY_Z, "Z"}, {KEY_X, "X"}, {KEY_C, "C"}, {KEY_V, "V"},
        {KEY_B, "B"}, {KEY_N, "N"}, {KEY_M, "M"}, {KEY_COMMA, ","}, {KEY_DOT, "."},
        {KEY_SLASH, "/"}, {KEY_RIGHTSHIFT, "Right Shift"}, {KEY_KPASTERISK, "Num *"},
        {KEY_LEFTALT, "Alt"}, {KEY_SPACE, "Space"}, {KEY_CAPSLOCK, "Caps Lock"}, {KEY_F1, "F1"},
        {KEY_F2, "F2"}, {KEY_F3, "F3"}, {KEY_F4, "F4"}, {KEY_F5, "F5"}, {KEY_F6, "F6"},
        {KEY_F7, "F7"}, {KEY_F8, "F8"}, {KEY_F9, "F9"}, {KEY_F10, "F10"}, {KEY_PAUSE, "Pause"},
        {KEY_SCROLLLOCK, "Scroll Lock"}, {KEY_KP7, "Num 7"}, {KEY_KP8, "Num 8"},
        {KEY_KP9, "Num 9"}, {KEY_KPMINUS, "Num -"}, {KEY_KP4, "Num 4"}, {KEY_KP5, "Num 5"},
        {KEY_KP6, "Num 6"}, {KEY_KPPLUS, "Num +"}, {KEY_KP1, "Num 1"}, {KEY_KP2, "Num 2"},
        {KEY_KP3, "Num 3"}, {KEY_KP0, "Num 0"}, {KEY_KPDOT, "Num Del"},
        {KEY_ZENKAKUHANKAKU, "Key 85"}, {KEY_102ND, "\\"}, {KEY_F11, "F11"}, {KEY_F12, "F12"},
        {KEY_F13, "F13"}, {KEY_F14, "F14"}, {KEY_F15, "F15"}, {KEY_F16, "F16"}, {KEY_F17, "F17"},
        {KEY_F18, "F18"}, {KEY_F19, "F19"}, {KEY_F20, "F20"}, {KEY_F21, "F21"}, {KEY_F22, "F22"},
        {KEY_F23, "F23"}, {KEY_F24, "F24"}, {KEY_KPENTER, "Num Enter"},
        {KEY_RIGHTCTRL, "Right Ctrl"}, {KEY_KPSLASH, "Num /"}, {KEY_SYSRQ, "Prnt Scrn"},
        {KEY_RIGHTALT, "Right Alt"}, {KEY_NUMLOCK, "Num Lock"}, {KEY_HOME, "Home"}, {KEY_UP, "Up"},
        {KEY_PAGEUP, "Page Up"}, {KEY_LEFT, "Left"}, {KEY_RIGHT, "Right"}, {KEY_END, "End"},
        {KEY_DOWN, "Down"}, {KEY_PAGEDOWN, "Page Down"}, {KEY_INSERT, "Insert"},
        {KEY_DELETE, "Delete"}, {KEY_LEFTMETA, "Left Windows"}, {KEY_RIGHTMETA, "Right Windows"},
        {KEY_COMPOSE, "Application"},
    };
    // clang-format on
    int scan = -1;
    cpwKeyCallback(cpw_, [&](pCpw, int, const CpwKeyInfo& k) { scan = k.scan | k.extended << 8; });
    for (int evdev = 0; evdev < 256; ++evdev) {
        const int mapped = cpw_scan_from_evdev(evdev);
        auto it = names.find(evdev);
        if (it == names.end()) {
            EXPECT_EQ(mapped, 0) << "evdev " << evdev;
            continue;
        }
        CpwKeyInfo k;  // as the window host fills it
        k.pressed = 1;
        k.scan = mapped & 0xFF;
        k.extended = mapped >> 8 & 1;
        scan = -1;
        cpw_input_key(cpw_, win_, k);
        drain();
        std::string name;
        get_key_name(-scan, name);
        EXPECT_EQ(name, it->second) << "evdev " << evdev;
    }
}

}  // namespace
