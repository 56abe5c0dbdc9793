// Host input turned into toolkit events, on the headless host.
#include "fixture.hpp"

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

}  // namespace
