// The mouse handlers on synthetic toolkit events: hit tests, focus, tick boxes and radio
// groups, caret and selection, buttons with validation, step arrows, lists, pop-ups, dialogs.
#include <functional>
#include <random>

#include "host/dialogs.hpp"
#include "host/messages.hpp"
#include "tests/gui/interaction_fixture.hpp"
#include "util/i18n.hpp"

namespace {

using Mouse = Interaction;

TEST_F(Mouse, HitTestsAreStrictAndTheFirstMatchWins) {
    box(typ_chr, {10, 100, 110, 115});
    box(typ_chr, {50, 100, 150, 115});  // overlaps the first
    const int off = box(typ_chr, {10, 50, 110, 65});
    form_view().inpt_act[off] = 0;
    struct Case {
        int x, y, focus;
    };
    const Case cases[] = {
        {60, 107, 0},      // in both: the first
        {120, 107, 1},     // in the second only
        {10, 107, -1},     // on the left edge: outside
        {50, 100, -1},     // on the bottom edge
        {150, 107, -1},    // on the right edge of the second
        {60, 50 + 7, -1},  // a disabled input drops the focus
        {300, 200, -1},    // nowhere
    };
    for (const Case& c : cases) {
        click(20, 107);  // focus something first
        click(c.x, c.y);
        EXPECT_EQ(form_view().CurInpt, c.focus) << c.x << "," << c.y;
    }
}

TEST_F(Mouse, ReleasesCallBackWithTheValueAndPressesKeepThePreviousFocus) {
    const int a = box(typ_chr, {10, 100, 110, 115}, "abc");
    const int b = box(typ_int, {10, 50, 110, 65}, "12");
    form_view().inpt_ival[b] = 12;
    click(20, 107);
    press(20, 57);
    EXPECT_EQ(form_view().CurInptOld, a);
    release(20, 57);
    EXPECT_EQ(callbacks, (std::vector<Callback>{{1, a + 1, 0}, {1, b + 1, 12}}));
    release(300, 200);  // a release without a press, nowhere
    EXPECT_EQ(form_view().CurInpt, -1);
    EXPECT_EQ(callbacks.size(), 2u);
}

TEST_F(Mouse, TickBoxesRadioGroupsAndDependants) {
    // Boxes 0..2 form a radio group; 3 is a plain tick box. 4 depends on radio member 1,
    // 5 on tick box 3, 6 on tick box 3 inverted.
    for (int i = 0; i < 4; ++i) box(typ_tck, {10, 200 - 20 * i, 22, 212 - 20 * i}, "", 12);
    const int d1 = box(typ_chr, {100, 200, 200, 215});
    const int d3 = box(typ_chr, {100, 180, 200, 195});
    const int d3inv = box(typ_chr, {100, 160, 200, 175});
    auto& v = form_view();
    v.inpt_dep[d1] = 1;
    v.inpt_dep[d3] = 3;
    v.inpt_dep[d3inv] = 1003;
    std::array<int, max_rdio> counts{3};
    std::array<std::array<int, max_rdio_memb>, max_rdio> members{};
    members[0] = {1, 2, 3};
    add_rdio(1, counts, members);
    v.inpt_ival[0] = 1;
    check_depend();

    struct Step {
        int clicked;
        std::array<int, 4> ticks;
        std::array<int, 3> enabled;  // d1, d3, d3inv
    };
    const Step steps[] = {
        {0, {1, 0, 0, 0}, {0, 0, 1}},  // a set radio button stays set
        {1, {0, 1, 0, 0}, {1, 0, 1}},  // a clear one takes over the group; its dependant follows
        {2, {0, 0, 1, 0}, {0, 0, 1}},
        {3, {0, 0, 1, 1}, {0, 1, 0}},  // the tick box toggles: + 0 enabled, + 1000 disabled
        {3, {0, 0, 1, 0}, {0, 0, 1}},
    };
    for (const Step& s : steps) {
        click(16, 206 - 20 * s.clicked);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(v.inpt_ival[i], s.ticks[i]) << "click " << s.clicked;
        EXPECT_EQ((std::array<int, 3>{v.inpt_act[d1], v.inpt_act[d3], v.inpt_act[d3inv]}),
                  s.enabled)
            << "click " << s.clicked;
    }
    // The label right of a box is not the box.
    click(40, 146);
    EXPECT_EQ(v.inpt_ival[3], 0);
}

std::int32_t now_ms = 0;
std::int32_t fake_clock() { return now_ms; }
std::int32_t slow_clock() { return now_ms += 1000; }

TEST_F(Mouse, CaretAndSelectionFromTheClickPosition) {
    // Characters start at x0 + Yoffset = 13, each 8 pixels wide.
    const int i = box(typ_chr, {10, 100, 90, 115}, "0123456789abcdef", 10);
    auto& v = form_view();
    struct Case {
        int ofs, from, to;  // press and release x
        int pos1, pos2;
        bool keys;
    };
    const Case cases[] = {
        {0, 13 + 8 * 3 + 1, 13 + 8 * 3 + 1, 3, 3, true},  // a caret
        {0, 11, 11, 0, 0, true},                          // left of the first character
        {0, 13 + 8 * 5, 13 + 8 * 2, 2, 5, true},          // a drag backwards: swapped
        {5, 85, 85, 9, 9, true},                          // characters 5..: 9 visible, 14 is end
        {10, 85, 85, 6, 6, true},                         // beyond the end of a scrolled value
    };
    frm_set_key_clock(slow_clock);  // the clicks are far apart: no double-click
    for (const Case& c : cases) {
        v.inpt_ofs[i] = c.ofs;
        press(c.from, 107);
        release(c.to, 107);
        EXPECT_EQ(v.CurPos_1, c.pos1) << c.from;
        EXPECT_EQ(v.CurPos_2, c.pos2) << c.from;
        EXPECT_EQ(frm_kbd_hook_installed(), c.keys);
    }
    // A press outside the box ends the caret and the keys.
    press(300, 200);
    EXPECT_EQ(v.CurPos_1, -1);
    EXPECT_FALSE(frm_kbd_hook_installed());
}

TEST_F(Mouse, DoubleClickSelectsAWord) {
    // "N46 30.5 E009-15" from x = 13, 8 pixels a character: character p is under 17 + 8 p.
    frm_set_key_clock(fake_clock);
    struct Case {
        int ofs, first, second, apart_ms;  // the characters under the two clicks
        std::tuple<int, int, int> want;    // offset, selection
        bool other_box_between = false;
    };
    const Case cases[] = {
        {0, 1, 1, 100, {0, 0, 3}},      // a word
        {0, 5, 5, 100, {0, 4, 8}},      // a number
        {0, 3, 3, 100, {0, 3, 4}},      // the gap
        {0, 20, 20, 100, {0, 14, 16}},  // past the end: the last word
        {6, 0, 0, 100, {4, 0, 4}},      // a word begun left of the box: scrolled into view
        {0, 1, 1, 600, {0, 1, 1}},      // too slow: a caret
        {0, 1, 2, 100, {0, 2, 2}},      // too far apart
        {0, 0, 0, 100, {0, 0, 0}, true},
    };
    const int i = box(typ_chr, {10, 100, 210, 115}, "N46 30.5 E009-15", 25);
    box(typ_chr, {10, 50, 210, 65});
    auto& v = form_view();
    for (const Case& c : cases) {
        v.inpt_ofs[i] = c.ofs;
        click(17 + 8 * c.first, 107);
        if (c.other_box_between) click(17, 57);
        now_ms += c.apart_ms;
        click(17 + 8 * c.second, 107);
        EXPECT_EQ(std::tuple(v.inpt_ofs[i], v.CurPos_1, v.CurPos_2), c.want) << c.first;
        now_ms += 5000;
    }
}

TEST_F(Mouse, ButtonsValidateCallBackAndEndTheLoopByType) {
    box(typ_int, {10, 100, 110, 115}, "x");
    box(typ_int, {10, 50, 110, 65}, "1");
    struct Case {
        int type;
        bool one_invalid;
        bool validates, calls, ends;
    };
    const Case cases[] = {
        {-1, true, false, false, true},   {0, true, false, true, false},
        {2, true, false, true, false},    {100, true, false, true, false},
        {1, true, true, false, false},    {1, false, true, true, true},
        {101, true, true, false, false},  {1000, false, true, true, false},
        {1001, true, true, false, false}, {1001, false, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        cpw->break_loop = false;
        callbacks.clear();
        checked.clear();
        invalid = c.one_invalid ? std::set<int>{0} : std::set<int>{};
        form_view().inpt_OK = filled<max_inpt>(1);
        add_butt(1, 0, "OK", 200, 20, 60, c.type);
        form_view().butt_pos[0] = {200, 20, 260, 35};
        press(230, 27);
        EXPECT_EQ(form_view().CurButt, 0);  // drawn pressed
        release(230, 27);
        EXPECT_EQ(form_view().CurButt, -1);
        EXPECT_EQ(checked.size(), c.validates ? 2u : 0u);
        EXPECT_EQ(form_view().inpt_OK[0], c.validates && c.one_invalid ? 0 : 1);
        EXPECT_EQ(form_view().inpt_msg[0], c.validates && c.one_invalid ? "bad x" : "");
        const std::vector<Callback> called{{6, 1, c.type}};
        EXPECT_EQ(callbacks, c.calls ? called : std::vector<Callback>{});
        EXPECT_EQ(loop_broken(), c.ends);
        EXPECT_EQ(form_view().ExitStat, c.type);
    }
    // The callback may change the result.
    replace_exit = 7;
    invalid.clear();
    click(230, 27);
    EXPECT_EQ(form_view().ExitStat, 7);
}

TEST_F(Mouse, OkWithOneInvalidInputThenFixed) {
    const int i = box(typ_int, {10, 100, 110, 115}, "abc");
    add_butt(1, 0, "OK", 200, 20, 60, 1);
    form_view().butt_pos[0] = {200, 20, 260, 35};
    invalid = {i};
    click(230, 27);
    EXPECT_FALSE(loop_broken());
    EXPECT_TRUE(callbacks.empty());
    EXPECT_EQ(form_view().inpt_OK[i], 0);
    // The right button shows why, where it was pressed; its release hides it.
    press(50, 107, cpw_button_right);
    EXPECT_EQ(form_view().MsgInpt, i);
    EXPECT_EQ(std::pair(form_view().xmsg, form_view().ymsg), std::pair(50, 107));
    press(300, 200, cpw_button_right);  // outside every input: hidden
    EXPECT_EQ(form_view().xmsg, -1);
    // A quick right click leaves it up while the pointer rests on the box, as hovering does.
    click_right(50, 107);
    EXPECT_EQ(form_view().xmsg, 50);
    move(300, 200);
    EXPECT_EQ(form_view().xmsg, -1);
    move(60, 107);
    EXPECT_EQ(std::pair(form_view().xmsg, form_view().MsgInpt), std::pair(60, i));

    invalid.clear();
    click(230, 27);
    EXPECT_TRUE(loop_broken());
    EXPECT_EQ(form_view().inpt_OK[i], 1);
    EXPECT_EQ(callbacks, (std::vector<Callback>{{6, 1, 1}}));
}

TEST_F(Mouse, StepArrowsStepOncePerPress) {
    // Box 15 high, x1 = 110: arrows x 112..124, mid 107, upper y 108..114, lower 101..108.
    const int off = box(typ_int, {10, 200, 110, 215}, "5");
    const int i = box(typ_int, {10, 100, 110, 115}, "5");
    auto& v = form_view();
    v.inpt_arr[off] = v.inpt_arr[i] = 1;
    v.inpt_act[off] = 0;
    v.inpt_inc[off] = 1;
    v.inpt_ival[i] = 5;
    struct Case {
        int x, y, inc;
        std::string value;
    };
    const Case cases[] = {
        {112, 114, 1, "6"},  {124, 108, 1, "7"},   // the upper one wins on mid + 1
        {118, 107, -1, "6"}, {118, 101, -1, "5"},  //
        {111, 110, 0, "5"},  {125, 110, 0, "5"},   // left and right of the arrows
        {118, 100, 0, "5"},  {118, 115, 0, "5"},   // below and above
    };
    for (const Case& c : cases) {
        press(c.x, c.y);
        EXPECT_EQ(v.inpt_inc[i], c.inc) << c.x << "," << c.y;
        EXPECT_EQ(v.inpt_cval[i], c.value) << c.x << "," << c.y;
        release(c.x, c.y);
        EXPECT_EQ(v.inpt_inc[i], 0);
    }
    EXPECT_EQ(v.inpt_inc[off], 0);  // the disabled input met on the way
    // A value the check refuses is not stepped and shows why.
    invalid = {i};
    press(118, 110);
    EXPECT_EQ(v.inpt_cval[i], "5");
    EXPECT_EQ(v.inpt_OK[i], 0);
    EXPECT_TRUE(callbacks.empty());
}

TEST_F(Mouse, ListOpensChoosesAndCloses) {
    const int q = list_box(5, {10, 200, 110, 215});
    auto& v = form_view();
    click(50, 207);
    EXPECT_EQ(v.CurDDL, 0);
    EXPECT_TRUE(frm_kbd_hook_installed());
    EXPECT_EQ(callbacks, (std::vector<Callback>{{1, q + 1, 1}}));  // its line, from 1
    frm_hit_rects();
    // Hover, then choose line 3 (rows 15 high from y 200 down).
    frm_mousemove(cpw, 1, 50, height - (200 - 3 * 15 - 5));
    EXPECT_EQ(v.CurDDL_N, 3);
    callbacks.clear();
    press(50, 200 - 3 * 15 - 5);
    EXPECT_EQ(v.CurDDL, 0);  // only a release acts
    release(50, 200 - 3 * 15 - 5);
    EXPECT_EQ(v.inpt_ival[q], 3);
    EXPECT_EQ(v.inpt_cval[q], "L3");
    EXPECT_EQ(callbacks, (std::vector<Callback>{{1, q + 1, 4}}));
    EXPECT_EQ(v.CurDDL, -1);
    EXPECT_EQ(v.CurInpt, -1);
    EXPECT_EQ(v.ddl_pos, (Rect{-1, -1, -1, -1}));
    EXPECT_FALSE(frm_kbd_hook_installed());

    // The landscape list takes its lines from the landscape names.
    for (int l = 0; l < 5; ++l) add_lnd(0, 5, l, "Land" + std::to_string(l));
    click(50, 207);
    frm_hit_rects();
    click(50, 200 - 15 - 5);
    EXPECT_EQ(v.inpt_cval[q], "Land1");

    // A click anywhere else closes it without a choice.
    click(50, 207);
    frm_hit_rects();
    callbacks.clear();
    click(300, 280);
    EXPECT_EQ(v.CurDDL, -1);
    EXPECT_EQ(v.inpt_ival[q], 1);
    EXPECT_TRUE(callbacks.empty());
}

TEST_F(Mouse, OverflowMarkerShowsTheTextWhileHeld) {
    const int i = box(typ_fld, {10, 100, 90, 115}, "/a/rather/long/folder/name", 10);
    form_view().inpt_ovr[i] = {60, 85, 90, 99};  // under the box's right end, as drawn
    press(70, 92);
    EXPECT_EQ(form_view().CurOvfl, i);
    release(70, 92);
    EXPECT_EQ(form_view().CurOvfl, -1);
}

TEST_F(Mouse, WheelKeepsTheListWithinItsLines) {
    struct Case {
        int lines;
        std::vector<int> steps;
        int offset, hovered;
    };
    const Case cases[] = {
        {30, {-5, -10, -10}, 20, -1},  // a 30-line list shows lines 20..29 at most
        {30, {-5, 3, 10}, 0, -1},
        {5, {-2}, 0, 1},  // without a scroll bar the hovered line moves
        {5, {-100}, 0, 4},
        {5, {-3, 100}, 0, 0},
        {0, {-1, 1}, 0, 0},
    };
    for (const Case& c : cases) {
        reset_form_view();
        form_view().windowInfo.height = height;
        form_view().DxI = 8;
        list_box(c.lines, {10, 250, 110, 265});
        click(50, 257);
        frm_hit_rects();
        for (int s : c.steps) wheel(s);
        EXPECT_EQ(form_view().ddl_offset, c.offset) << c.lines;
        EXPECT_EQ(form_view().CurDDL_N, c.hovered) << c.lines;
        frm_mouseentry(cpw, 1, cpw_left);
    }
    wheel(3);  // no list open: nothing
    EXPECT_EQ(form_view().ddl_offset, 0);
}

TEST_F(Mouse, ScrollBarArrowsThumbAndDrag) {
    const int q = list_box(30, {10, 250, 110, 265});
    auto& v = form_view();
    click(50, 257);
    frm_hit_rects();
    // The list runs 250 down to 100; the scroll column is 94..110, its arrows 16 high.
    const int bottom = 100;
    callbacks.clear();
    click(100, bottom + 5);
    EXPECT_EQ(v.ddl_offset, 1);
    EXPECT_EQ(v.CurDDL, 0);                                        // stays open
    EXPECT_EQ(callbacks, (std::vector<Callback>{{1, q + 1, 1}}));  // re-focused, line from 1
    click(100, 250 - 5);
    click(100, 250 - 5);
    EXPECT_EQ(v.ddl_offset, 0);

    // Grab the thumb and drag it to the bottom of the track: the last page.
    frm_hit_rects();
    press(100, v.YScrl1 - 2);
    EXPECT_EQ(v.ScrollDrag, 1);
    EXPECT_EQ(v.DyScrl0, v.YScrl1 - 2 - v.YScrl0);
    frm_mousedrag(cpw, 1, cpw_button_left, 100, height - (bottom + 20));
    EXPECT_EQ(v.ddl_offset, 20);
    frm_mousedrag(cpw, 1, cpw_button_left, 100, height - 400);  // far past the top
    EXPECT_EQ(v.ddl_offset, 0);
    release(30, 20);  // ending a drag outside the list does not close it
    EXPECT_EQ(v.CurDDL, 0);
}

TEST_F(Mouse, LeaveClosesTheListButKeepsTheTypingFocus) {
    list_box(5, {10, 200, 110, 215});
    click(50, 207);
    frm_hit_rects();
    frm_mouseentry(cpw, 1, cpw_entered);
    EXPECT_EQ(form_view().CurDDL, 0);
    frm_mouseentry(cpw, 1, cpw_left);
    EXPECT_EQ(form_view().CurDDL, -1);
    EXPECT_EQ(form_view().ddl_offset, 0);
    EXPECT_FALSE(frm_kbd_hook_installed());

    // A text box keeps its caret and its keys when the pointer leaves, or the right button or
    // the wheel is used.
    const int t = box(typ_chr, {10, 100, 110, 115}, "46.5");
    click(60, 107);
    frm_mouseentry(cpw, 1, cpw_left);
    click_right(60, 107);
    wheel(1);
    EXPECT_EQ(std::tuple(form_view().CurInpt, form_view().CurPos_1), std::tuple(t, 4));
    EXPECT_TRUE(frm_kbd_hook_installed());
}

TEST_F(Mouse, DragSelectsPastTheBoxWhileTheButtonIsHeld) {
    // Characters are 8 px from x = 13: position p lies at 13 + 8 p.
    struct Case {
        int from_x, drag_x, release_x, release_y;
        int pos1, pos2;
    };
    const Case cases[] = {
        {30, 200, 300, 40, 2, 10},  // out at the right and below: to the end
        {55, 20, 0, 250, 0, 5},     // out at the left and above: to the start
        {30, 62, 62, 107, 2, 6},    // inside
    };
    const int i = box(typ_chr, {10, 100, 110, 115}, "0123456789");
    for (const Case& c : cases) {
        press(c.from_x, 107);
        drag(c.drag_x, 30);  // shown while dragging, wherever the pointer is
        EXPECT_EQ(std::pair(form_view().CurPos_1, form_view().CurPos_2), std::pair(c.pos1, c.pos2));
        release(c.release_x, c.release_y);
        EXPECT_EQ(form_view().CurInpt, i) << c.from_x;
        EXPECT_EQ(std::pair(form_view().CurPos_1, form_view().CurPos_2), std::pair(c.pos1, c.pos2));
        EXPECT_TRUE(frm_kbd_hook_installed());
    }
}

// --- dialogs, with stand-in tools ----------------------------------------------------------------

class MouseDialogs : public Interaction {
  protected:
    StandInTools tools;
    EnvOverride env{{"PATH", tools.path() + ":/usr/bin:/bin"},
                    {"DISPLAY", ":0"},
                    {"WAYLAND_DISPLAY", std::nullopt},
                    {"VARNIX_NO_DIALOGS", std::nullopt},
                    {"LC_ALL", "C.UTF-8"},
                    {"TOOLS", tools.path()},
                    {"ZENITY_STATUS", "0"}};
};

// One click on a file box's "..." button opens its dialog, titled by what it chooses, in the
// pilot's language; a path chosen is handed over at once, Cancel leaves all as it was, unsaid.
TEST_F(MouseDialogs, FileBoxesOpenTheirDialogFromTheirButton) {
    struct Case {
        int typ;
        std::string title, answer, locale, value, args;
    };
    const std::string filters = "--file-filter=*.trn | *.trn\n--file-filter=All files | *\n";
    const Case cases[] = {
        {typ_ifp, "Open a waypoint or task file", "/home/p/Alps.trn\n", "C.UTF-8",
         "/home/p/Alps.trn",
         "--file-selection\n--title=Open a waypoint or task file\n--filename=/old\n" + filters},
        {typ_ofp, "", "/tmp/out.fpl\n", "C.UTF-8", "/tmp/out.fpl",
         "--file-selection\n--title=Save as\n--save\n--confirm-overwrite\n--filename=/old\n" +
             filters},
        {typ_fld, "", "/srv/\xC3\xA9t\xC3\xA9\n", "C.UTF-8", "/srv/\xE9t\xE9",
         "--file-selection\n--title=Choose a folder\n--directory\n--filename=/old\n"},
        {typ_ifp, "Open a waypoint or task file", "", "fr_FR.UTF-8", "/old",
         "--file-selection\n--title=Ouvrir un fichier de points ou de circuits\n--filename=/old\n"
         "--file-filter=*.trn | *.trn\n--file-filter=Tous les fichiers | *\n"},
        {typ_fld, "", "", "de_DE.UTF-8", "/old",
         "--file-selection\n--title=Ordner w\xC3\xA4hlen\n--directory\n--filename=/old\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer + c.locale);
        callbacks.clear();
        form_view().nb_inpt = 0;
        const int i = box(c.typ, {10, 100, 110, 115}, "/old");
        form_view().inpt_ext[i] = "*.trn";
        form_view().inpt_dlg[i] = c.title;
        setenv("LC_ALL", c.locale.c_str(), 1);
        set_language(user_language());  // as the program sets it at start-up
        setenv("ZENITY_OUT", c.answer.c_str(), 1);
        setenv("ZENITY_STATUS", c.answer.empty() ? "1" : "0", 1);
        const Rect b = browse_button(i);
        click((b[0] + b[2]) / 2, (b[1] + b[3]) / 2);
        EXPECT_EQ(form_view().inpt_cval[i], c.value);
        EXPECT_EQ(tools.zenity_args(), c.args);  // a Cancel shows no box after the dialog
        EXPECT_EQ(callbacks.size(), c.answer.empty() ? 0u : 1u);
        EXPECT_EQ(form_view().BrowseHeld, -1);
    }
    set_language(Language::english);
}

TEST_F(MouseDialogs, ColourChooserSetsTextAndValue) {
    const int i = box(typ_col, {10, 100, 110, 115}, "#102030");
    struct Case {
        std::string out;
        int status;
        std::string text;
        int value;
    };
    const Case cases[] = {
        {"rgb(255,128,0)\n", 0, "#ff8000", 0xFF8000},
        {"rgb(1,2,3)\n", 1, "#ff8000", 0xFF8000},  // cancelled: unchanged
        {"nonsense\n", 0, "#ff8000", 0xFF8000},
    };
    for (const Case& c : cases) {
        setenv("ZENITY_OUT", c.out.c_str(), 1);
        setenv("ZENITY_STATUS", std::to_string(c.status).c_str(), 1);
        click(20, 107);
        EXPECT_EQ(form_view().inpt_cval[i], c.text) << c.out;
        EXPECT_EQ(form_view().inpt_ival[i], c.value) << c.out;
    }
    EXPECT_NE(tools.zenity_args().find("--title=choose a nice color\n--color=#ff8000\n"),
              std::string::npos);
}

TEST_F(MouseDialogs, DialogThatFailsToStartLeavesTheValue) {
    setenv("PATH", "/nonexistent", 1);
    setenv("VARNIX_NO_DIALOGS", "1", 1);
    const int i = box(typ_ifp, {10, 100, 110, 115}, "/old");
    testing::internal::CaptureStderr();
    click(120, 107);  // its "..." button
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(form_view().inpt_cval[i], "/old");
}

TEST_F(MouseDialogs, TheCallerDrawsWhileADialogIsUpAndTakesTheKeysAfter) {
    int pumps = 0, done = 0;
    set_dialog_waiter([&] { ++pumps; }, [&] { ++done; });
    setenv("ZENITY_SLEEP", "0.3", 1);
    EXPECT_EQ(tinyfd_messageBox("Varnix", "*** Outside landscape ***", DialogButtons::ok,
                                DialogIcon::info, 1),
              1);
    unsetenv("ZENITY_SLEEP");
    set_dialog_waiter({}, {});
    EXPECT_GE(pumps, 5);  // about 60 a second
    EXPECT_EQ(done, 1);
}

// --- the lines panel -----------------------------------------------------------------------------

// Lines shown over the form: every one kept, scrolled by the wheel, the keys and the scroll bar
// within the lines, closed by Close, Enter or Escape; the form underneath takes nothing meanwhile.
TEST_F(Mouse, TheLinesPanelScrollsEveryLineAndClosesByItsButtonOrKeys) {
    auto& v = form_view();
    v.BoxH = 20;
    const int i = box(typ_chr, {10, 100, 110, 115}, "abc");
    std::vector<std::string> lines;
    for (int k = 1; k <= 40; ++k) lines.push_back("warning " + std::to_string(k));
    auto key = [](int vk) {
        CpwKeyInfo k;
        k.pressed = 1;
        k.vk = vk;
        frm_KdbHookProc(k);
    };
    struct Case {
        const char* what;
        std::function<void()> act;
        int top;  // -1: closed
    };
    const LinesPanel& p = v.panel;
    show_lines("Warnings", lines);
    lines_panel_layout();
    const Case cases[] = {
        {"shown", [] {}, 0},
        {"wheel down", [&] { frm_mouseclick(cpw, 1, cpw_wheel, 0, -2, 0); }, 6},
        {"End", [&] { key(0x23); }, 40 - p.room},
        {"wheel past the end", [&] { frm_mouseclick(cpw, 1, cpw_wheel, 0, -9, 0); }, 40 - p.room},
        {"Page Up", [&] { key(0x21); }, 40 - 2 * p.room},
        {"Home", [&] { key(0x24); }, 0},
        {"bar below the thumb", [&] { click(p.bar[0] + 2, p.bar[1] + 2); }, p.room},
        {"a click on the form's box", [&] { click(20, 107); }, p.room},
        {"Close", [&] { click((p.close[0] + p.close[2]) / 2, (p.close[1] + p.close[3]) / 2); }, -1},
        {"Escape", [&] { key(0x1B); }, -1},
        {"Enter", [&] { key(0x0D); }, -1},
    };
    for (const Case& c : cases) {
        if (!v.panel.shown) {
            show_lines("Warnings", lines);
            lines_panel_layout();
        }
        c.act();
        lines_panel_layout();
        EXPECT_EQ(v.panel.shown ? v.panel.top : -1, c.top) << c.what;
        if (v.panel.shown) {
            EXPECT_EQ(v.panel.rows, lines) << c.what;
            EXPECT_GT(v.panel.room, 5) << c.what;
        }
    }
    EXPECT_EQ(v.CurInpt, -1);  // the click on the box under the panel did not reach it
    EXPECT_EQ(v.inpt_cval[i], "abc");
    EXPECT_TRUE(callbacks.empty());
}

// --- any sequence of events ----------------------------------------------------------------------

TEST_F(Mouse, RandomEventsKeepTheViewConsistent) {
    auto& v = form_view();
    const int lines[] = {0, 1, 50};
    for (int t = 0; t < 4; ++t) box(t, {10, 280 - 20 * t, 90, 295 - 20 * t}, "12345678901234");
    box(typ_tck, {100, 280, 112, 292}, "", 12);
    box(typ_key, {100, 260, 190, 275});
    v.inpt_arr[1] = v.inpt_arr[2] = 1;
    for (int l = 0; l < 3; ++l) {
        const int q = box(typ_ddl, {200, 280 - 20 * l, 290, 295 - 20 * l});
        v.inpt_ddl[q] = l;
        v.ddl_inpt[l] = q;
        for (int k = 0; k < lines[l]; ++k) add_ddl(l, lines[l], k, "x");
        v.ddl_nbli[l] = lines[l];
    }
    add_butt(1, 0, "Apply", 300, 10, 50, 0);
    v.butt_pos[0] = {300, 10, 350, 25};
    std::mt19937 rng(11);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 20000; ++n) {
        const int x = pick(-20, 420), y = pick(-20, 320);
        switch (pick(0, 9)) {
            case 0:
            case 1:
            case 2:
                frm_mouseclick(cpw, 1, pick(0, 1), pick(0, 2), x, y);
                break;
            case 3:
                frm_mouseclick(cpw, 1, cpw_wheel, cpw_button_middle, pick(-3, 3), 0);
                break;
            case 4:
                frm_mousemove(cpw, 1, x, y);
                break;
            case 5:
                frm_mousedrag(cpw, 1, cpw_button_left, x, y);
                break;
            case 6:
                frm_mouseentry(cpw, 1, pick(0, 1));
                break;
            default: {
                CpwKeyInfo k;
                k.pressed = pick(0, 1);
                k.vk = pick(0, 1) ? pick(0x08, 0x2E) : pick('0', 'Z');
                // No clipboard keys: those would start the desktop's tools thousands of times.
                k.ch = k.vk < 0x20 ? 0 : pick(0, 3) ? k.vk : pick(0x20, 0xFF);
                k.scan = pick(1, 88);
                frm_KdbHookProc(k);
            }
        }
        if (v.CurDDL >= 0) frm_hit_rects();
        for (int i = 0; i < v.nb_inpt; ++i) ASSERT_LE(v.inpt_cval[i].size(), view_value_len);
        if (v.CurDDL >= 0) {
            ASSERT_LT(v.CurDDL, 3);
            ASSERT_LE(v.ddl_offset, std::max(0, v.ddl_nbli[v.CurDDL] - 10));
            ASSERT_LT(v.CurDDL_N, std::max(1, v.ddl_nbli[v.CurDDL]));
        }
        if (v.CurInpt >= 0 && v.CurPos_1 >= 0) {
            ASSERT_TRUE(caret_in_value());
            const int len = int(v.inpt_cval[v.CurInpt].size());
            ASSERT_LE(v.inpt_ofs[v.CurInpt] + v.CurPos_2, len);
        }
    }
}

}  // namespace
