// The form's keyboard handler on synthetic key events: typing with the number filter, caret
// movement and scrolling, deletion, the clipboard keys, list scrolling and key capture.
#include <cctype>
#include <cstring>

#include "tests/gui/interaction_fixture.hpp"

namespace {

// Keys as the toolkit reports them: virtual key, set-1 scan code, extended flag, character.
struct Key {
    int vk, scan, extended = 0, ch = 0;
};
const Key k_left{0x25, 0x4B, 1}, k_right{0x27, 0x4D, 1}, k_delete{0x2E, 0x53, 1};
const Key k_back{0x08, 0x0E, 0, 0x08}, k_up{0x26, 0x48, 1}, k_down{0x28, 0x50, 1};
const Key k_lctrl{0xA2, 0x1D}, k_altgr{0xA5, 0x38, 1}, k_f1{0x70, 0x3B};
const Key k_tab{0x09, 0x0F, 0, 0x09}, k_enter{0x0D, 0x1C, 0, 0x0D}, k_escape{0x1B, 0x01, 0, 0x1B};
const Key k_home{0x24, 0x47, 1}, k_end{0x23, 0x4F, 1};

class Keys : public Interaction {
  protected:
    // A focused input of type typ holding value, caret at pos (selection to pos2).
    int focus(int typ, std::string value, int pos, int pos2 = -1, int ofs = 0, int siz = 10) {
        const int i = box(typ, {10, 100, 90, 115}, std::move(value), siz);
        auto& v = form_view();
        v.CurInpt = i;
        v.inpt_ofs[i] = ofs;
        v.CurPos_1 = pos;
        v.CurPos_2 = pos2 < 0 ? pos : pos2;
        frm_StartKbdHook(1);
        return i;
    }
    void down(const Key& k, int mods = 0) { send(k, mods, 1); }
    void up(const Key& k, int mods = 0) { send(k, mods, 0); }
    void tap(const Key& k, int mods = 0) {
        down(k, mods);
        up(k, mods);
    }
    // Types text as a US keyboard would report it (Shift where the character needs it).
    void type(std::string_view text, int mods = 0) {
        for (char c : text) {
            const auto u = static_cast<unsigned char>(c);
            // Punctuation sits on OEM keys (0xBA...), never on the codes of arrows or Delete.
            Key k{std::isalnum(u) ? std::toupper(u) : 0xBA, 0x10, 0, u};
            const bool shifted = std::isupper(u) || std::strchr("%+'", c);
            tap(k, mods | (shifted ? cpw_mod_shift : 0));
        }
    }
    const std::string& value(int i) const { return form_view().inpt_cval[i]; }

  private:
    void send(const Key& k, int mods, int pressed) {
        CpwKeyInfo info;
        info.pressed = pressed;
        info.vk = k.vk;
        info.scan = k.scan;
        info.extended = k.extended;
        info.ch = pressed ? k.ch : 0;
        info.mods = mods;
        frm_KdbHookProc(info);
    }
};

TEST_F(Keys, TypingFiltersByInputType) {
    struct Case {
        int typ;
        std::string typed;
        int mods;
        std::string value;
    };
    const Case cases[] = {
        {typ_int, "1a2b-3", 0, "12-3"},
        {typ_flt, "1.5e3", 0, "1.53"},  // a lower-case e is refused
        {typ_flt, "1.5E3", 0, "1.5E3"},
        {typ_undef, "+7x", 0, "+7"},
        {typ_chr, "50% o'clock", 0, "50% o'clock"},
        {typ_chr, "ab", cpw_mod_ctrl, ""},  // characters that need Ctrl or AltGr are not typed
        {typ_chr, "ab", cpw_mod_altgr, ""},
        {typ_chr, "ab", cpw_mod_alt, ""},
        {typ_chr, "\xE9t\xE9", 0, "\xE9t\xE9"},  // Windows-1252 characters of the layout
    };
    for (const Case& c : cases) {
        reset_form_view();
        const int i = focus(c.typ, "", 0);
        type(c.typed, c.mods);
        EXPECT_EQ(value(i), c.value) << c.typed;
        EXPECT_EQ(form_view().inpt_ofs[i] + form_view().CurPos_1, int(c.value.size()));
    }
}

TEST_F(Keys, NoKeysWithoutTheHandlerOrACaret) {
    const int i = focus(typ_chr, "abc", 1);
    frm_StartKbdHook(0);
    type("x");
    EXPECT_EQ(value(i), "abc");
    frm_StartKbdHook(1);
    form_view().CurPos_1 = form_view().CurPos_2 = -1;
    type("x");
    tap(k_back);
    EXPECT_EQ(value(i), "abc");
    form_view().CurInpt = -1;
    type("x");
    EXPECT_EQ(value(i), "abc");
}

TEST_F(Keys, CaretMovesAndScrollsAtTheEdges) {
    // Value of 14 characters in a box of 10.
    struct Case {
        int ofs, pos, pos2;
        Key key;
        int want_ofs, want_pos;
    };
    const Case cases[] = {
        {0, 3, 3, k_left, 0, 2},  {0, 0, 0, k_left, 0, 0},     {2, 0, 0, k_left, 1, 0},
        {0, 3, 3, k_right, 0, 4}, {0, 10, 10, k_right, 1, 10}, {4, 10, 10, k_right, 4, 10},
        {0, 2, 6, k_left, 0, 1},  // a selection collapses
        {0, 2, 6, k_right, 0, 3},
    };
    for (const Case& c : cases) {
        reset_form_view();
        const int i = focus(typ_chr, "0123456789abcd", c.pos, c.pos2, c.ofs);
        tap(c.key);
        EXPECT_EQ(form_view().inpt_ofs[i], c.want_ofs) << c.ofs << " " << c.pos;
        EXPECT_EQ(form_view().CurPos_1, c.want_pos) << c.ofs << " " << c.pos;
        EXPECT_EQ(form_view().CurPos_2, c.want_pos);
    }
}

TEST_F(Keys, BackspaceAndDelete) {
    struct Case {
        int ofs, pos, pos2;
        Key key;
        std::string value;
        int want_ofs, want_pos;
    };
    const Case cases[] = {
        {0, 3, 3, k_back, "01345", 0, 2},
        {0, 0, 0, k_back, "012345", 0, 0},  // at the start: nothing
        {2, 0, 0, k_back, "02345", 1, 0},   // left edge of a scrolled field: it scrolls
        {0, 1, 4, k_back, "045", 0, 1},     // a selection goes
        {0, 1, 4, k_delete, "045", 0, 1},
        {0, 3, 3, k_delete, "01245", 0, 3},   // the character right of the caret
        {0, 6, 6, k_delete, "012345", 2, 4},  // at the end: nothing, the caret scrolled to
    };
    for (const Case& c : cases) {
        reset_form_view();
        const int i = focus(typ_chr, "012345", c.pos, c.pos2, c.ofs, 4);
        tap(c.key);
        EXPECT_EQ(value(i), c.value) << c.ofs << " " << c.pos;
        EXPECT_EQ(form_view().inpt_ofs[i], c.want_ofs) << c.ofs << " " << c.pos;
        EXPECT_EQ(form_view().CurPos_1, c.want_pos) << c.ofs << " " << c.pos;
        EXPECT_EQ(form_view().CurPos_2, c.want_pos);
    }
    // The caret stays usable after scrolling back: typing goes where it shows.
    reset_form_view();
    const int i = focus(typ_chr, "012345", 0, 0, 3);
    tap(k_back);
    type("x");
    EXPECT_EQ(value(i), "01x345");
}

TEST_F(Keys, TypingReplacesTheSelectionAndStopsAt255) {
    const int i = focus(typ_chr, "abcdef", 1, 4);
    type("X");
    EXPECT_EQ(value(i), "aXef");
    EXPECT_EQ(form_view().CurPos_1, 2);
    form_view().inpt_cval[i] = std::string(254, 'a');
    form_view().CurPos_1 = form_view().CurPos_2 = 0;
    type("bcd");
    EXPECT_EQ(value(i), "b" + std::string(254, 'a'));
    form_view().CurPos_2 = 3;  // a selection still gives room
    type("c");
    EXPECT_EQ(value(i), "bc" + std::string(252, 'a'));
}

TEST_F(Keys, ValueChangedBehindTheCaretIsNeverLeft) {
    const int i = focus(typ_chr, "0123456789", 9, 9, 5);
    set_inpt_val(i, 0, 0, "ab");  // the application shortened it
    tap(k_back);
    type("x");
    EXPECT_EQ(value(i), "ax");
    tap(k_delete);
    tap(k_right);
    EXPECT_EQ(value(i), "ax");
}

// --- the clipboard keys --------------------------------------------------------------------------

class ClipboardKeys : public Keys {
  protected:
    StandInTools tools;
    EnvOverride env{{"PATH", tools.path() + ":/usr/bin:/bin"},
                    {"DISPLAY", ":0"},
                    {"WAYLAND_DISPLAY", std::nullopt},
                    {"VARNIX_NO_DIALOGS", "1"},
                    {"TOOLS", tools.path()}};
    void ctrl(char letter) { tap({letter, 0x2E, 0, letter - 'A' + 1}, cpw_mod_ctrl); }
};

TEST_F(ClipboardKeys, CopyCutAndPaste) {
    const int i = focus(typ_chr, "N46 30.5 E9 15", 4, 8);
    ctrl('C');
    EXPECT_EQ(tools.clip(), "30.5");
    EXPECT_EQ(value(i), "N46 30.5 E9 15");
    ctrl('X');
    EXPECT_EQ(value(i), "N46  E9 15");
    EXPECT_EQ(form_view().CurPos_1, 4);
    ctrl('V');
    EXPECT_EQ(value(i), "N46 30.5 E9 15");
    EXPECT_EQ(form_view().CurPos_1, 8);
    // Without a selection Ctrl+C and Ctrl+X do nothing.
    tools.set_clip("keep");
    ctrl('C');
    ctrl('X');
    EXPECT_EQ(tools.clip(), "keep");
}

TEST_F(ClipboardKeys, PasteIsOneLineWithoutControlsAndUnfiltered) {
    struct Case {
        int typ;
        std::string clip, value;
    };
    const Case cases[] = {
        {typ_int, "12ab", "12ab"},  // no character filter
        {typ_chr, "first\nsecond", "first"},
        {typ_chr,
         "a\tb\x01"
         "c\r\nd",
         "a bc"},  // a tab between columns stays a gap
        {typ_chr, "46.5\t9.25", "46.5 9.25"},
        {typ_chr, std::string("x\0y", 3), "x"},       // the clipboard text ends at a NUL
        {typ_chr, "\xC3\xA9t\xC3\xA9", "\xE9t\xE9"},  // UTF-8 from other programs
    };
    for (const Case& c : cases) {
        reset_form_view();
        const int i = focus(c.typ, "", 0);
        tools.set_clip(c.clip);
        ctrl('V');
        EXPECT_EQ(value(i), c.value) << c.clip;
    }
    // At 255 characters the paste stops.
    reset_form_view();
    const int i = focus(typ_chr, std::string(250, 'a'), 0);
    tools.set_clip("0123456789");
    ctrl('V');
    EXPECT_EQ(value(i), "01234" + std::string(250, 'a'));
}

TEST_F(ClipboardKeys, FailureShowsAMessageAndKeepsTheForm) {
    const int i = focus(typ_chr, "typed text", 0, 5);
    setenv("PATH", "/nonexistent", 1);
    for (char letter : {'C', 'X', 'V'}) {
        testing::internal::CaptureStderr();
        ctrl(letter);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Can't open clipboard\n");
        EXPECT_EQ(value(i), "typed text") << letter;
    }
}

// --- lists, file inputs, key capture -------------------------------------------------------------

TEST_F(Keys, UpAndDownScrollAnOpenList) {
    const int q = list_box(30, {10, 250, 110, 265});
    click(50, 257);
    struct Step {
        Key key;
        int times, offset;
    };
    // Up and Down move the highlighted line; the list scrolls to keep it shown.
    const Step steps[] = {
        {k_up, 1, 0}, {k_down, 3, 0}, {k_down, 30, 20}, {k_up, 2, 20}, {k_up, 10, 17}};
    for (const Step& s : steps) {
        for (int n = 0; n < s.times; ++n) tap(s.key);
        EXPECT_EQ(form_view().ddl_offset, s.offset);
    }
    EXPECT_EQ(form_view().CurDDL_N, 17);
    EXPECT_EQ(form_view().CurDDL, 0);
    EXPECT_EQ(form_view().inpt_ival[q], 0);
    // A letter jumps to the next line starting with it, Enter chooses the highlighted line.
    type("l");
    EXPECT_EQ(form_view().CurDDL_N, 18);
    tap(k_enter);
    EXPECT_EQ(form_view().CurDDL, -1);
    EXPECT_EQ(form_view().inpt_ival[q], 18);
    EXPECT_EQ(callbacks.back(), (Callback{sec_inpt, q + 1, 19}));
    // Escape closes an open list without a choice.
    click(50, 257);
    tap(k_down);
    tap(k_escape);
    EXPECT_EQ(form_view().CurDDL, -1);
    EXPECT_EQ(form_view().inpt_ival[q], 18);
}

// A path is typed or pasted into a file box, and reaches the application once, when the typing
// is done: Enter (not the default button then), Tab, a click elsewhere.
TEST_F(Keys, APathTypedIntoAFileBoxIsHandedOverWhenTheTypingIsDone) {
    struct Case {
        const char* finish;
        std::size_t calls;
    };
    const Case cases[] = {{"enter", 1}, {"tab", 1}, {"click", 1}, {"none", 0}, {"unchanged", 0}};
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        form_view().cpw = cpw;
        const int i = box(typ_fld, {10, 100, 110, 115}, "/srv/data");
        box(typ_chr, {10, 150, 110, 165}, "text");
        add_butt(1, 0, "OK", 10, 5, 50, butt_ok);
        click(20, 107);
        tap(k_end);
        if (std::string_view(c.finish) != "unchanged") {
            type("2");
            tap(k_back);
            tap(k_back);
        }
        callbacks.clear();
        if (std::string_view(c.finish) == "enter") tap(k_enter);
        if (std::string_view(c.finish) == "tab") tap(k_tab);
        if (std::string_view(c.finish) == "click") click(300, 250);  // on nothing
        if (std::string_view(c.finish) == "unchanged") tap(k_tab);
        const std::string shown =
            std::string_view(c.finish) == "unchanged" ? "/srv/data" : "/srv/dat";
        EXPECT_EQ(value(i), shown) << c.finish;
        const std::vector<Callback> expected(c.calls, Callback{sec_inpt, i + 1, 0});
        EXPECT_EQ(callbacks, expected) << c.finish;
        EXPECT_FALSE(loop_broken()) << c.finish;
    }
}

std::int32_t fake_now = 0;
std::int32_t fake_clock() { return fake_now; }

TEST_F(Keys, KeyCaptureCodesAndNames) {
    frm_set_key_clock(fake_clock);
    const Key a{'A', 0x1E, 0, 'a'}, five{'5', 0x06, 0, '5'}, minus{0xBD, 0x0C, 0, '-'},
        space{' ', 0x39, 0, ' '}, rshift{0xA1, 0x36, 1}, kp1{0x61, 0x4F};
    struct Case {
        std::vector<Key> held;  // pressed in order, the last one released first
        int mods;
        int hold_ms;
        int code;
        std::string name;
    };
    const Case cases[] = {
        {{k_lctrl, a}, cpw_mod_ctrl, 50, 10065, "CTRL+A"},
        {{a}, cpw_mod_shift | cpw_mod_alt, 50, 60065, "SHFT+ALT+A"},
        {{a}, 0, 1000, 80065, "LONG+A"},
        {{a}, 0, 900, 65, "A"},
        {{a, a, a}, 0, 1200, 80065, "LONG+A"},  // auto-repeat is the same key, still held
        {{five}, 0, 0, '5', "5"},
        {{minus}, 0, 0, '-', "-"},  // top row without a plain code: the typed character
        {{space}, 0, 0, ' ', " "},
        {{k_f1}, cpw_mod_ctrl, 0, 10000 - 0x3B, "CTRL+F1"},
        {{k_delete}, 0, 0, -(0x100 + 0x53), "Delete"},
        {{kp1}, 0, 0, -0x4F, "Num 1"},
        {{k_lctrl}, cpw_mod_ctrl, 0, -0x1D, "Ctrl"},         // a modifier itself: no bits
        {{rshift}, cpw_mod_shift, 0, -0x36, "Right Shift"},  // right Shift is not extended
        {{a}, cpw_mod_altgr, 0, 10065, "CTRL+A"},            // AltGr reports Ctrl
    };
    for (const Case& c : cases) {
        reset_form_view();
        const int i = box(typ_key, {10, 100, 110, 115});
        click(20, 107);
        for (const Key& k : c.held) {
            down(k, c.mods);
            fake_now += c.hold_ms / int(c.held.size());
        }
        up(c.held.back(), c.mods);
        EXPECT_EQ(form_view().inpt_ival[i], c.code) << c.name;
        EXPECT_EQ(value(i), c.name);
        EXPECT_EQ(form_view().CurInpt, -1);  // the capture ends
        EXPECT_TRUE(callbacks.size() == 1) << "the application is not called";
        callbacks.clear();
        fake_now += 5000;
    }
}

TEST_F(Keys, AltGrAloneContinuesTheCapture) {
    const int i = box(typ_key, {10, 100, 110, 115});
    click(20, 107);
    down(k_altgr, cpw_mod_altgr);
    up(k_altgr, cpw_mod_altgr);
    EXPECT_EQ(form_view().CurInpt, i);  // still capturing
    EXPECT_EQ(form_view().inpt_ival[i], -(0x100 + 0x38));
    down(k_altgr, cpw_mod_altgr);
    down({'E', 0x12, 0, 0x80}, cpw_mod_altgr);
    up({'E', 0x12}, cpw_mod_altgr);
    EXPECT_EQ(form_view().inpt_ival[i], 10069);
    EXPECT_EQ(form_view().CurInpt, -1);
}

TEST_F(Keys, ShiftKeysAndCtrlASelect) {
    // 14 characters in a box of 10; `fixed`: the selection's end kept in the value, -1 its left.
    const Key ctrl_a{'A', 0x1E, 0, 1};
    const int S = cpw_mod_shift;
    struct Case {
        int ofs, pos, pos2, fixed;
        std::vector<std::pair<Key, int>> keys;
        std::tuple<int, int, int> want;  // offset, selection
    };
    const Case cases[] = {
        {0, 3, 3, -1, {{k_right, S}, {k_left, S}, {k_left, S}}, {0, 2, 3}},  // across the caret
        {0, 3, 3, -1, {{k_end, S}}, {3, 0, 11}},  // scrolled while its start still shows
        {4, 2, 2, -1, {{k_home, S}}, {0, 0, 6}},
        {0, 10, 10, -1, {{k_right, S}}, {1, 9, 10}},  // at the box's edge: it scrolls
        {0, 2, 6, -1, {{k_left, S}}, {0, 2, 5}},      // a selection made rightwards shrinks
        {0, 2, 6, 6, {{k_left, S}}, {0, 1, 6}},       // one made leftwards grows
        {2, 3, 3, -1, {{ctrl_a, cpw_mod_ctrl}}, {0, 0, 14}},
    };
    auto& v = form_view();
    for (const Case& c : cases) {
        reset_form_view();
        const int i = focus(typ_chr, "0123456789abcd", c.pos, c.pos2, c.ofs);
        v.SelFixed = c.fixed;
        for (const auto& [key, mods] : c.keys) tap(key, mods);
        EXPECT_EQ(std::tuple(v.inpt_ofs[i], v.CurPos_1, v.CurPos_2), c.want) << c.pos << c.ofs;
    }
}

// A text box, a list, two tick boxes, a file box, a disabled box, OK and Cancel.
class FocusKeys : public Keys {
  protected:
    enum { file, list, tick2, tick1, text, off };
    void SetUp() override {
        Keys::SetUp();
        form_view().cpw = cpw;
        box(typ_ifp, {10, 110, 90, 125}, "/srv/a.cup");
        list_box(3, {10, 170, 90, 185});
        box(typ_tck, {100, 140, 112, 152}, "", 12);
        box(typ_tck, {10, 140, 22, 152}, "", 12);
        box(typ_chr, {10, 200, 90, 215}, "abc");
        box(typ_chr, {10, 80, 90, 95});
        form_view().inpt_act[off] = 0;
        add_butt(2, 0, "OK", 10, 5, 50, butt_ok);
        add_butt(2, 1, "Cancel", 70, 5, 50, butt_cancel);
    }
    static std::pair<int, int> focus_now() { return {form_view().CurInpt, form_view().FocusButt}; }
};

TEST_F(FocusKeys, TheFirstTextBoxHasTheFocusAtStartAndTabReachesEveryWidget) {
    frm_focus_first();
    const std::pair<int, int> order[] = {{text, -1}, {list, -1}, {tick1, -1}, {tick2, -1},
                                         {file, -1}, {-1, 0},    {-1, 1},     {text, -1}};
    for (const auto& stop : order) {
        EXPECT_EQ(focus_now(), stop);
        tap(k_tab);
    }
    for (int n = 0; n < 2; ++n) tap(k_tab, cpw_mod_shift);
    EXPECT_EQ(focus_now(), (std::pair{-1, 1}));
    click(20, 207);  // a click takes the focus from a button
    EXPECT_EQ(focus_now(), (std::pair{int(text), -1}));
    // Without a text box the first widget has it.
    form_view().inpt_act[text] = 0;
    frm_focus_first();
    EXPECT_EQ(focus_now(), (std::pair{int(list), -1}));
}

TEST_F(FocusKeys, SpaceAndEnterActOnTheFocusedWidget) {
    const Key space{' ', 0x39, 0, ' '};
    const Callback ok{sec_butt, 1, butt_ok}, opened{sec_inpt, list + 1, 1};
    const Callback ticked{sec_inpt, tick1 + 1, 1}, unticked{sec_inpt, tick1 + 1, 0};
    struct Case {
        int tabs;  // -1: tick box 1 clicked instead
        Key key;
        std::vector<Callback> calls;
        bool list_open, loop_ends;
    };
    const Case cases[] = {
        {1, k_enter, {ok}, false, true},  // a text box: the default button
        {1, space, {}, false, false},     // a text box: a blank
        {2, k_enter, {opened}, true, false},
        {2, space, {opened}, true, false},
        {3, k_enter, {ticked}, false, false},
        {3, space, {ticked}, false, false},
        {-1, space, {ticked, unticked}, false, false},
        {-1, k_enter, {ticked, ok}, false, true},  // clicked, not tabbed to: the default button
        {6, space, {ok}, false, true},             // the focused button
        {7, k_enter, {}, false, true},
    };
    for (const Case& c : cases) {
        TearDown();  // a fresh form and loop for each
        SetUp();
        callbacks.clear();
        for (int n = 0; n < c.tabs; ++n) tap(k_tab);
        if (c.tabs < 0) click(16, 146);
        tap(c.key);
        EXPECT_EQ(callbacks, c.calls) << c.tabs << " " << c.key.vk;
        EXPECT_EQ(form_view().CurDDL >= 0, c.list_open) << c.tabs;
        EXPECT_EQ(loop_broken(), c.loop_ends) << c.tabs;
    }
}

TEST_F(Keys, TypeAheadFindsTheLineTyped) {
    frm_set_key_clock(fake_clock);
    const char* names[] = {"Bern", "Aachen", "Alps", "Lugano", "Albula", "Locarno"};
    const std::tuple<std::string, int, int> cases[] = {
        // typed, ms between the letters, line highlighted
        {"Al", 200, 2},   // "Alps", not "Lugano"
        {"Al", 1500, 3},  // a pause starts anew: "l"
        {"AA", 200, 2},   // the same letter again: the next "A"
        {"alb", 300, 4},  // any case
        {"Alx", 200, 2},  // no line: the highlight stays
        {"Z", 0, -1},
    };
    const int q = list_box(6, {10, 250, 110, 265});
    for (int l = 0; l < 6; ++l) add_ddl(0, 6, l, names[l]);
    for (const auto& [typed, apart_ms, line] : cases) {
        click(50, 257);
        for (char letter : typed) {
            type(std::string(1, letter));
            fake_now += apart_ms;
        }
        EXPECT_EQ(form_view().CurDDL_N, line) << typed;
        tap(k_escape);
        EXPECT_EQ(form_view().inpt_ival[q], 0);
        fake_now += 5000;
    }
}

}  // namespace

TEST_F(Keys, TheCaretStaysInViewWhileTypingAndMoving) {
    // A box of 10 characters.
    const int i = focus(typ_chr, "", 0);
    type("0123456789abcdefghijklmnopq");  // 27 characters
    struct Step {
        Key key;
        int ofs, pos;
    };
    const Step steps[] = {{k_end, 17, 10}, {k_home, 0, 0},  {k_end, 17, 10}, {k_left, 17, 9},
                          {k_home, 0, 0},  {k_right, 0, 1}, {k_end, 17, 10}, {k_back, 16, 10}};
    for (const Step& s : steps) {
        tap(s.key);
        EXPECT_EQ(std::pair(form_view().inpt_ofs[i], form_view().CurPos_1), std::pair(s.ofs, s.pos))
            << s.key.vk;
    }
}

TEST_F(Keys, TabEnterAndEscape) {
    auto& v = form_view();
    v.cpw = cpw;
    // Boxes in screen order: a (top), b left and c right on one row, d (bottom), e disabled.
    const int d = box(typ_flt, {10, 50, 90, 65}, "4");
    const int c = box(typ_chr, {100, 100, 180, 115}, "3");
    const int a = box(typ_chr, {10, 150, 90, 165}, "one");
    const int b = box(typ_int, {10, 100, 90, 115}, "2");
    const int e = box(typ_chr, {10, 20, 90, 35}, "5");
    v.inpt_act[e] = 0;
    const int order[] = {a, b, c, d, a};
    for (int n : order) {
        tap(k_tab);
        EXPECT_EQ(v.CurInpt, n);
    }
    tap(k_tab, cpw_mod_shift);
    EXPECT_EQ(v.CurInpt, d);
    // The value taken with Tab is selected whole: typing replaces it.
    tap(k_tab);
    type("two");
    EXPECT_EQ(value(a), "two");

    add_butt(3, 0, "Close", 10, 5, 50, -1);
    add_butt(3, 1, "Copy", 70, 5, 50, 3);
    add_butt(3, 2, "Convert", 130, 5, 50, 102);
    tap(k_enter);  // the first button that does not close
    EXPECT_EQ(callbacks.back(), (Callback{sec_butt, 2, 3}));
    EXPECT_FALSE(loop_broken());
    tap(k_escape);
    EXPECT_TRUE(loop_broken());
    EXPECT_EQ(v.ExitStat, butt_cancel);
}

TEST_F(Keys, KeyCaptureTakesTabEnterAndEscape) {
    const int i = box(typ_key, {10, 100, 90, 115});
    add_butt(1, 0, "Close", 10, 5, 50, -1);
    click(20, 107);
    tap(k_escape);
    EXPECT_FALSE(loop_broken());
    EXPECT_EQ(form_view().inpt_ival[i], -0x01);  // Escape's scan code
}
