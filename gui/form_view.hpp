// The form view: the GUI side's copy of a form (FormViewState), filled by the model's
// registration calls and read by layout, drawing and interaction. The handlers act on the current
// view (form_view()), which the form's context makes current.
//
// Every index here counts from 0. Registrations past a table are dropped; updates with an
// index at or past the live count do nothing. Counts are kept within the tables, so code that
// loops up to a count never leaves them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gui/form_ops.hpp"
#include "gui/picture.hpp"
#include "include/forms_dim.hpp"
#include "toolkit/cpw.hpp"

// Text capacities of the view (characters, without the terminating zero of the original).
inline constexpr std::size_t view_label_len = 126;
inline constexpr std::size_t view_value_len = 255;
inline constexpr std::size_t view_filter_len = 31;
inline constexpr std::size_t view_ext_len = 63;
inline constexpr int max_radio_vertices = 100;

struct WindowInfo {
    int id = 0;  // 0: no window
    int x = 100, y = 100;
    int width = 250, height = 300;
};

// A table of ints all set to `v`.
template <std::size_t N>
constexpr std::array<int, N> filled(int v) {
    std::array<int, N> a{};
    a.fill(v);
    return a;
}

// What the key handler remembers between events.
struct KeyboardState {
    bool installed = false;
    std::int32_t LastDwnTime = 0;
    int scancode_old = 0;
    bool AltGr_Down_SVE = false;
    // The character each key produced when pressed: a release carries none, and the top row
    // names its key by that character when it has no plain code.
    int pressed_char[512] = {};
    std::int32_t (*clock)() = nullptr;  // null: elapsed_ms
    bool tabbed = false;  // the focus came by Tab: Enter acts on a focused list or tick box
    // Type-ahead in an open list: the letters typed in quick succession, and when the last came.
    std::string typed;
    std::int32_t typed_at = 0;
};

// The last left press on a text input, which tells a double-click.
struct PressMemory {
    std::int32_t at = 0;
    int inpt = -1;
    int x = 0;
    bool word = false;  // it was the second press of a double-click: a word is selected
};

// Lines shown over the whole form (warnings, say) until the pilot closes them: every line whole,
// broken at blanks to the panel's width, scrolled with the wheel, the keys or the scroll bar.
struct LinesPanel {
    bool shown = false;
    std::string title;               // in the pilot's language
    std::vector<std::string> lines;  // in the pilot's language, as given
    // Set by the layout for the window's size (lines_panel_layout):
    std::vector<std::string> rows;  // the lines broken to the panel's width
    int wrapped_width = -1;         // the width `rows` were made for
    int top = 0;                    // first row shown
    int room = 0;                   // rows the panel has room for
    int row_height = 0;
    Rect area{}, text{}, close{}, bar{}, thumb{};  // thumb all 0: everything fits
    bool close_held = false;
};

struct FormViewState {
    // --- inputs ---------------------------------------------------------------------------------
    int nb_inpt = 0;
    std::array<std::string, max_inpt> inpt_txt;   // label
    std::array<std::string, max_inpt> inpt_cval;  // current text of the value
    std::array<std::string, max_inpt> inpt_msg;   // why the value was refused
    std::array<Rect, max_inpt> inpt_pos{};        // box; x0, y0 from the model, x1, y1 layout
    std::array<std::array<int, 2>, max_inpt> inpt_ptx{};  // label x, y (x may be a code)
    std::array<Rect, max_inpt> inpt_ovr{};                // overflow marker, all 0 when none
    std::array<int, max_inpt> inpt_siz{};                 // characters; tick box: side in pixels
    std::array<int, max_inpt> inpt_typ{};                 // InputType
    std::array<int, max_inpt> inpt_arr{};                 // shows step arrows
    std::array<int, max_inpt> inpt_OK{};                  // passed the last check
    std::array<int, max_inpt> inpt_inc{};                 // arrow held: +1 upper, -1 lower, 0 none
    std::array<int, max_inpt> inpt_ofs{};                 // first visible character
    std::array<int, max_inpt> inpt_act{};                 // enabled
    std::array<int, max_inpt> inpt_dep{};                 // dependency code (see dep_inverted)
    std::array<int, max_inpt> inpt_ddl{};                 // list number, -1 none
    std::array<int, max_inpt> inpt_ival{};                // tick 0/1, key code, 0xRRGGBB, list line
    std::array<float, max_inpt> inpt_rval{};
    std::array<std::string, max_inpt> inpt_ext;                 // file-name filter
    std::array<std::string, max_inpt> inpt_dlg;                 // a file box's dialog title
    std::array<int, max_inpt> rdio_set = filled<max_inpt>(-1);  // radio group, -1 none

    // --- radio groups ---------------------------------------------------------------------------
    int nb_rdio = 0;
    std::array<int, max_rdio> tick_rdio_count{};
    std::array<std::array<int, max_rdio_memb>, max_rdio> tick_rdio{};  // member input indices
    int NCRad = 0;                                                     // circle vertices
    std::array<std::array<float, 2>, max_radio_vertices> pprad{};      // unit circle (cos, sin)

    // --- lists ----------------------------------------------------------------------------------
    std::array<int, max_ddl> ddl_nbli{};
    std::array<int, max_ddl> ddl_inpt{};  // input showing the list, -1 none
    std::array<std::array<std::string, max_ddl_lines>, max_ddl> ddl_txt;
    int LndDDL = -1;                                 // the landscape list, -1 none
    std::array<std::string, max_lnd_lines> lnd_nam;  // its lines

    // --- buttons, text items, separators --------------------------------------------------------
    int nb_butt = 0;
    std::array<Rect, max_butt> butt_pos{};
    std::array<int, max_butt> butt_siz{};
    std::array<int, max_butt> butt_typ{};
    std::array<std::string, max_butt> butt_txt;
    int nb_subt = 0;
    std::array<std::array<int, 2>, max_titl> subt_pos{};  // x (may be a code), y
    std::array<std::string, max_titl> subt_txt;
    int nb_sepa = 0;
    std::array<Rect, max_sepa> sepa_pos{};

    // --- picture areas --------------------------------------------------------------------------
    int nb_pict = 0;
    std::array<Rect, max_pict> pict_pos{};
    std::array<PictureItems, max_pict> pict;
    // The dots of each picture as drawing last made them into pixels (RGBA, bottom row first),
    // kept while the items and the area stay as they are: a software renderer takes far longer
    // to draw 100,000 points than to copy one image.
    struct DotsImage {
        std::vector<std::uint8_t> rgba;
        int width = 0, height = 0;
        PictureView view;  // the view the image shows
        bool valid = false;
    };
    std::array<DotsImage, max_pict> pict_dots;
    std::array<PictureView, max_pict> pict_view{};  // ppu 0: fitted at the next drawing
    // The user zoomed or panned: a resized picture keeps the scale instead of fitting again.
    std::array<bool, max_pict> pict_moved{};
    std::array<Rect, max_pict> pict_fitted_to{};  // the area the view was last fitted to
    std::array<std::vector<PlacedLabel>, max_pict> pict_labels;  // as the last drawing placed them
    std::array<std::size_t, max_pict> pict_beyond{};             // dots outside the view then
    int GrowPict = -1;   // the picture that takes a larger window's extra room, -1 none: fixed size
    int FocusPict = -1;  // picture with the keyboard focus (zoom and pan keys), -1 none
    int PanPict = -1;    // picture being dragged, -1 none
    std::array<int, 2> pan_at{};         // where the drag was last (pixels, y up)
    std::array<int, 2> pointer{-1, -1};  // the pointer's last position (pixels, y up)

    // --- metrics and window ---------------------------------------------------------------------
    pCpw cpw = nullptr;              // the toolkit context the window lives in
    int font_size = 0;               // in pixels, the definition's size times the scale
    int font_points = 0;             // the definition's size
    CpwFontFace Txt_Font = nullptr;  // labels, text items, captions; null: text not drawn
    CpwFontFace Inp_Font = nullptr;  // values and list lines (fixed pitch)
    int DxI = 0, DyI = 0;            // size of "0" in the input font
    int Yoffset = 0;                 // text inset: depth of "_" below the baseline
    int BoxH = 0;        // height of a value box and a list row: the fonts' ascent and descent fit
    int TxtBase = 0;     // baseline of values and list lines above the box's bottom edge
    float scale = 1;     // the monitor's content scale: positions and sizes are multiplied by it
    bool scaled = true;  // the registered positions carry the scale already
    WindowInfo windowInfo;
    int min_width = 0, min_height = 0;  // the form's own size, the least a resize keeps
    // Positions as placed at the form's own size, and the coded x of buttons and text items,
    // from which a resized window is laid out again.
    struct OwnLayout {
        std::array<Rect, max_inpt> inpt_pos{};
        std::array<std::array<int, 2>, max_inpt> inpt_ptx{};
        std::array<Rect, max_butt> butt_pos{};
        std::array<int, max_butt> butt_x{};
        std::array<std::array<int, 2>, max_titl> subt_pos{};
        std::array<int, max_titl> subt_x{}, subt_width{};
        std::array<Rect, max_sepa> sepa_pos{};
        std::array<Rect, max_pict> pict_pos{};
    } own;
    std::string font_name = "arial.ttf";
    std::string Title = "Form";
    int ActWin = 0;  // the window has a close box
    bool debug = false;
    int ExitStat = 0;     // result of the event loop
    bool redraw = false;  // a redraw was asked for and not yet done

    // --- interaction state (changed by the handlers; drawing writes only the hit rectangles) ----
    int CurInpt = -1;     // input with the focus, -1 none
    int CurInptOld = -1;  // focused input at the last left press: tells a second click
    int CurPos_1 = -1;    // caret, or selection start, in visible characters from inpt_ofs
    int CurPos_2 = -1;    // selection end; equal to CurPos_1 or -1: a caret
    int CurButt = -1;     // button under the last left press or release
    int CurOvfl = -1;     // input whose full text pops up while its marker is held
    int CurDDL = -1;      // open list, -1 none
    int CurDDL_N = -1;    // hovered line of the open list (absolute line number)
    Rect ddl_pos{};       // open list as drawn: x0, top, x1, bottom
    int ddl_offset = 0;   // first visible line of the open list
    int Scroll = 0;       // the open list shows a scroll bar
    int DxScrl = 0;       // width of that scroll bar, 0 without one
    int YScrl0 = 0;       // scroll thumb's lower edge as drawn
    int YScrl1 = 0;       // scroll thumb's upper edge as drawn
    int ScrollDrag = 0;   // the thumb is being dragged
    int DragInpt = -1;    // text input whose selection follows the held left button, -1 none
    int SelAnchor = -1;   // where that selection started, in visible characters
    int DyScrl0 = -1;     // from the thumb's lower edge to where it was grabbed, -1 not grabbed
    int xmsg = -1;        // message pop-up position (drawing clamps x into the window), -1 none
    int ymsg = -1;
    int MsgInpt = -1;     // input whose message pops up
    int BrowseHeld = -1;  // file box whose "..." button the left button holds, -1 none
    int PathTyped = -1;   // file box typed into and not yet handed to the application, -1 none

    // Keys and double-clicks
    int FocusButt = -1;     // button with the keyboard focus, -1 none
    int SelFixed = -1;      // the selection's end Shift+keys keep, in the value; -1 its left end
    PressMemory LastPress;  // the last left press on a text input

    LinesPanel panel;  // lines shown over the form, when shown

    FormModelOps model_ops;  // the model's checks and the application's callback
    KeyboardState kbd;       // the key handler's memory between events
};

// The view the handlers act on; set_form_view(null) leaves none (a handler then aborts).
FormViewState& form_view();
void set_form_view(FormViewState* view);

// Back to the start-up state (tests).
void reset_form_view();

// --- registration, called by the model while it loads a form ------------------------------------

// Opens a hand-over: the counts, the lists and the landscape list of an earlier form are
// forgotten, so a form that registers fewer of them shows none of the old ones.
void start_hand_over();
void set_opt(int active, int font_size, int debug);
void add_inpt(int count, int index, std::string_view label, std::string_view value,
              const std::array<int, 4>& pos, int ival, float rval, int siz, int typ, int arr,
              int act, int dep, int ddl, std::string_view ext);
void add_ddl(int list, int count, int line, std::string_view text);
void add_lnd(int list, int count, int line, std::string_view text);
// Member numbers count from 1 (the model's box numbers); a member below 1 belongs to no box.
void add_rdio(int count, const std::array<int, max_rdio>& member_count,
              const std::array<std::array<int, max_rdio_memb>, max_rdio>& members);
void add_sepa(int count, const std::array<Rect, max_sepa>& pos);
void add_subt(int count, int index, std::string_view text, int x, int y);
void add_butt(int count, int index, std::string_view caption, int x, int y, int width, int type);
// grow: this picture takes the room of a window made larger than the form (the last one
// registered with it wins).
void add_pict(int count, int index, const Rect& pos, bool grow = false);

// --- updates while the form is shown -------------------------------------------------------------

void set_inpt_props(int index, std::string_view label, int enabled, int type, std::string_view ext,
                    int redraw);
void set_inpt_val(int index, int ival, float rval, std::string_view text);
// The title of the dialog a file box opens ("" gives the title of its kind).
void set_inpt_dialog_title(int index, std::string_view title);
void set_subt(int index, std::string_view text, int redraw);
// Replaces what picture area `index` shows and redraws it.
void set_pict(int index, PictureItems items);
// Replaces the lines of list `list` (from 0): up to max_ddl_lines, each cut at view_filter_len.
void set_list_lines(int list, const std::vector<std::string>& lines);
// The value shown now; a list reports its line counting from 1. 0 when index is outside 0..99.
int get_box_val(int index, int& ival, float& rval, std::string& text);

// File and folder boxes: a path typed into the box, and a "..." button beside it for the dialog.
bool is_file_box(int typ);
// Where box i's "..." button sits (window pixels, y upward); all 0 when it has none.
Rect browse_button(int i);

// Shows `lines` (English texts, translated here) over the form under `title`, until closed.
void show_lines(std::string_view title, const std::vector<std::string>& lines);

// Tick boxes enable or disable the inputs that depend on them.
void check_depend();
// Asks for the window to be drawn again.
void frm_post_redraw();

// --- layout (form_layout.cpp)
// ---------------------------------------------------------------------

// The radio circle for members up to `largest` pixels: NCRad vertices of pprad, within the table.
void set_radio_vertices(int largest);
// Bounding box of text in a face at a size in points; all 0 without a face.
CpwFontBBox frm_text_box(CpwFontFace face, int points, std::string_view text);
// DxI, DyI and Yoffset from the input font at font_size.
void frm_metrics();
// Multiplies the positions and sizes registered since the hand-over began, and the font size,
// by the monitor's content scale; once per hand-over.
void frm_apply_scale(float scale);
// Places every element and sets the window's client size in windowInfo (and min_width,
// min_height).
void form_setup();
// Lays the placed form out again for a client size: a growing picture takes the extra room,
// what is above it moves up, what is right of it moves right, centred and per-mille positions
// follow the width. A size below the form's own lays it out at its own.
void form_fit(int width, int height);
// The picture under a point (pixels, y up), or -1.
int picture_at(int x, int y);
// The area a picture's items are drawn in: inside its frame.
Rect picture_inner(int n);

inline constexpr int list_rows = 10;   // lines an open list shows at most
inline constexpr int list_floor = 12;  // a list that would leave the window starts this high
// The input shows the overflow marker: a text longer than the box, not a tick, key or colour.
bool has_overflow_marker(int i);
// The input showing the open list, or -1.
int open_list_input();
// Line `line` (from 0) of the open list; empty past its table or with no list open.
std::string_view open_list_line(int line);
// The rectangles drawing leaves for hit-testing (inpt_ovr, ddl_pos, the scroll bar, a clamped
// xmsg), set by drawWindowOne before it draws; no GL context needed.
void frm_hit_rects();

// The lines panel (form_lines.cpp): its rows and rectangles for the window's size, and what the
// mouse and the keys do while it is shown (true: the event was the panel's).
void lines_panel_layout();
bool lines_panel_mouse(int state, int button, int x, int y);  // y upward, wheel steps in x
bool lines_panel_key(const CpwKeyInfo& key);

// --- drawing (form_draw.cpp; needs the window's GL context current)
// -------------------------------

void drawWindowOne();
void set2DMatrix();
// GL state of a new window, and the viewport of a resized one.
void frm_gl_setup();
void frm_gl_viewport(int width, int height);
// The window's drawn pixels (back buffer, before the swap) as RGB rows, bottom row first.
std::vector<std::uint8_t> frm_read_back();

// --- the window (form_window.cpp)
// -----------------------------------------------------------------

int frm_start_graphics(std::string_view font_file, std::string_view title);  // window id, 0 none
int frm_new_form_gr();  // window id, 0 when there is no window
// Moves the window (with its toolkit context and fonts) from view `from` to the current view,
// lays the current form out in it and titles it; window id, 0 when `from` had none.
int frm_take_window(FormViewState& from, std::string_view title);
void frm_set_window_title(std::string_view title);
int frm_do_graphics();  // ExitStat, 0 when there is no window
// Why the window could not be made, in the window system's words; empty when it did not say.
std::string frm_window_failure();
// Toolkit handlers of the form window.
void frm_draw(pCpw cpw, int win);
void frm_reshape(pCpw cpw, int win, int width, int height);
void frm_window(pCpw cpw, int win, int flag);  // 1 created, 0 the user closed it
