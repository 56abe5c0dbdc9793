// The window toolkit: OpenGL windows, an event queue with its loop, handlers, and FreeType text.
//
// How to use: create the context once (cpwInitContext), set font options and load faces, set
// window properties, create a window, register handlers, run cpwMainLoop until a handler calls
// cpwBreakMainLoop or window 1 is destroyed. Handlers run on the thread of cpwMainLoop and may
// call any operation here, including destroying their own window.
//
// Results: 1 done / 0 failed unless said otherwise; a failure also sets the last error code
// (cpwGetLastError). Nothing here prints or stops the program. Texts are Windows-1252 and
// NUL-terminated. Pointer positions are client coordinates from the top-left corner.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct CpwContext;
using pCpw = CpwContext*;

struct CpwFont;  // a loaded face; owned by the context
using CpwFontFace = CpwFont*;

// Last error codes.
enum CpwError : int {
    cpw_err_none = 0,
    cpw_err_font = 1,         // font file missing or unreadable, glyph failure
    cpw_err_memory = 2,       // out of memory
    cpw_err_argument = 3,     // bad argument or option
    cpw_err_font_format = 4,  // a file the font library does not recognise
    cpw_err_window = 6,       // window creation failed
    cpw_err_no_window = 16,   // no window with that id
};

// Event kinds (the values are those of the queue entries).
enum CpwEventKind : int {
    cpw_ev_none = 0,
    cpw_ev_mouse_click = 1,
    cpw_ev_mouse_move = 2,
    cpw_ev_mouse_drag = 3,
    cpw_ev_mouse_entry = 4,
    cpw_ev_key = 5,
    cpw_ev_system_key = 6,  // keys typed with the left Alt held, the left Alt key itself, F10
    cpw_ev_create = 7,
    cpw_ev_close = 8,
    cpw_ev_position = 9,
    cpw_ev_display = 10,
    cpw_ev_visibility = 11,
    cpw_ev_reshape = 12,
    cpw_ev_menu = 13,
    cpw_ev_drop = 14,  // files dropped on the window (cpwDropCallback)
};
inline constexpr int cpw_event_kinds = 15;

// Mouse button states and buttons of the click handler.
enum : int { cpw_press = 0, cpw_release = 1, cpw_wheel = 2 };
enum : int { cpw_button_left = 0, cpw_button_middle = 1, cpw_button_right = 2 };
// Pointer entry handler states.
enum : int { cpw_entered = 0, cpw_left = 1 };

// Font options (cpwFontMode).
enum : int {
    cpw_font_render_mode = 1,     // 0 = pixel maps, the only mode
    cpw_font_alignment = 11,      // 0 left (default), 10 right, 14 centre: all draw left-aligned
    cpw_font_size = 20,           // points, 1..1000 (stored × 64)
    cpw_font_kerning = 22,        // 0 or 1; stored, glyphs advance by their own advance
    cpw_font_advance_mult = 23,   // multiplier of advances in cpwGetFontBBox, 0 or more
    cpw_font_pixmap_format = 26,  // GL_RGBA, GL_RGB, or a one-byte format drawn as coverage
    cpw_font_flag27 = 27,         // 0 or 1; stored only
    cpw_font_halo = 28,           // 0xRRGGBB outline a pixel wide around drawn text; -1 none
};
// cpwLoadFont locations.
enum : int { cpw_font_location_system = 1, cpw_font_location_folder = 2 };
// cpwDrawFont mode.
enum : int { cpw_draw_pixmaps = 1 };

// Window properties (cpwInitWindowProperty); value1 = 1 turns the property on, 0 off.
enum : int {
    cpw_wprop_title_only = 4,    // title bar without system menu and close box
    cpw_wprop_fixed_size = 256,  // no resize frame
};

// Pointer shapes (cpwSetCursor).
enum : int {
    cpw_cursor_arrow = 1,
    cpw_cursor_hand = 2,
    cpw_cursor_ibeam = 3,
    cpw_cursor_cross = 4,
    cpw_cursor_size_we = 5,
    cpw_cursor_size_ns = 6,
};

// What a key handler receives. Codes are those of the PC keyboard: Windows virtual-key codes
// (left and right modifiers apart: 160..165), set-1 scan codes with the E0-prefix flag apart.
struct CpwKeyInfo {
    int pressed = 0;   // 1 press (also auto-repeat), 0 release
    int vk = 0;        // virtual-key code, 0 when the key has none
    int scan = 0;      // set-1 scan code without the E0 prefix, 0 when unknown
    int extended = 0;  // 1 for E0-prefixed keys (arrows, Delete, right Ctrl/Alt, keypad Enter…)
    int ch = 0;      // Windows-1252 character the press produces (Ctrl+letter gives 1..26), 0 none
    int mods = 0;    // cpw_mod_* bits held when the event happened
    int system = 0;  // 1 for a system key (cpw_ev_system_key)
};
enum : int { cpw_mod_ctrl = 1, cpw_mod_shift = 2, cpw_mod_alt = 4, cpw_mod_altgr = 8 };

// Handler types; every handler gets the context and the window id first.
using CpwCreateHandler = std::function<void(pCpw, int win, int flag)>;  // 1 created, 0 close asked
using CpwDisplayHandler = std::function<void(pCpw, int win)>;
using CpwReshapeHandler = std::function<void(pCpw, int win, int width, int height)>;
using CpwPositionHandler = std::function<void(pCpw, int win, int x, int y)>;
using CpwMouseClickHandler =
    std::function<void(pCpw, int win, int state, int button, int x, int y)>;
using CpwMouseMoveHandler = std::function<void(pCpw, int win, int x, int y)>;
using CpwMouseDragHandler = std::function<void(pCpw, int win, int button, int x, int y)>;
using CpwMouseEntryHandler = std::function<void(pCpw, int win, int state)>;
using CpwVisibilityHandler = std::function<void(pCpw, int win, int visible)>;
using CpwKeyHandler = std::function<void(pCpw, int win, const CpwKeyInfo& key)>;
// Paths of files dropped on the window, UTF-8, in the order the window system gives them.
using CpwDropHandler = std::function<void(pCpw, int win, const std::vector<std::string>& paths)>;
using CpwIdleHandler = std::function<void(pCpw)>;
using CpwMainLoopHandler = std::function<void(pCpw, int work)>;

// One handler per event kind; an empty slot falls through to the context-wide handler.
struct CpwHandlers {
    CpwCreateHandler create;
    CpwDisplayHandler display;
    CpwReshapeHandler reshape;
    CpwPositionHandler position;
    CpwMouseClickHandler mouse_click;
    CpwMouseMoveHandler mouse_move;
    CpwMouseDragHandler mouse_drag;
    CpwMouseEntryHandler mouse_entry;
    CpwVisibilityHandler visibility;
    CpwKeyHandler key;  // key and system-key events
    CpwDropHandler drop;
};

// Bounding box of a text (cpwGetFontBBox), in pixels.
struct CpwFontBBox {
    int width = 0;
    int height = 0;
    int offsetx = 0;
    int offsety = 0;  // depth below the baseline
};

// --- context (cpw_init) --------------------------------------------------------------------
// Creates the context when *cpw is null (the window system is opened only with the first
// window, so fonts work without a display); 1, also when it exists already.
int cpwInitContext(pCpw* cpw);
// Frees the context (windows, faces); *cpw becomes null. Refused (error 3) while the loop runs.
void cpwFreeContext(pCpw* cpw);
// The last error code.
int cpwGetLastError(pCpw cpw);

// --- fonts (cpw_font) ----------------------------------------------------------------------
// Sets a font option, returns its previous value (the size in points); -1 and error 3 for an
// unknown option or a value out of range.
int cpwFontMode(pCpw cpw, int option, int value);
// Loads a face. location 1: the file name (any case) in the system's font folders, or, for a
// known Windows font file missing there, a metric-compatible or same-role installed font;
// location 2: the file in `folder`. Null on failure: error 1, 4 unknown format, 3 bad arguments.
CpwFontFace cpwLoadFont(pCpw cpw, const char* filename, int location, const char* folder);
// Measures text at the current size: width = sum of advances × advance multiplier, height =
// tallest glyph, offsety = deepest descent. 0 and error 3 when an argument is missing.
int cpwGetFontBBox(pCpw cpw, CpwFontFace font, const char* text, CpwFontBBox* bbox);
// Draws text at the current raster position in the current colour and advances the raster
// position by the glyph advances. Needs a window (its GL context current). 0 and error 3 when
// the face or text is missing or mode is not cpw_draw_pixmaps.
int cpwDrawFont(pCpw cpw, CpwFontFace font, const char* text, int mode);
// The same for UTF-8 text (names as a file spells them: Łódź, Οξιά); bytes that are not UTF-8
// show as U+FFFD.
int cpwGetFontBBoxUtf8(pCpw cpw, CpwFontFace font, std::string_view utf8, CpwFontBBox* bbox);
int cpwDrawFontUtf8(pCpw cpw, CpwFontFace font, std::string_view utf8);

// --- windows (cpw_window) ------------------------------------------------------------------
// Sets a property of the windows created from now on; 0 and error 3 for an unknown property.
int cpwInitWindowProperty(pCpw cpw, int property, int value1, int value2);
// Creates a window with the given client size at screen position (x, y), shows it, focuses it
// and makes it current; queues created, moved, resized and redraw events. Window id (1 for the
// first, then the smallest free), 0 on failure (error 3, 2 or 6).
int cpwCreateWindowEx(pCpw cpw, const char* title, int x, int y, int width, int height);
// Removes the window; destroying window 1 also breaks the loop. 0 and error 16 for no window.
int cpwDestroyWindow(pCpw cpw, int win);
int cpwShowWindow(pCpw cpw, int win);
int cpwHideWindow(pCpw cpw, int win);
// Queues a redraw event for every window; 0 and error 16 when there is none.
int cpwPostRedisplay(pCpw cpw);
// Presents the drawn frame.
int cpwSwapWindowBuffers(pCpw cpw, int win);
// Stores the new client size, queues resize and redraw events, resizes the host window.
int cpwReshapeWindow(pCpw cpw, int width, int height, int win);
// Lets the user resize the window down to a least client size (resizable 1), or not (0).
int cpwSetWindowResizable(pCpw cpw, int win, int resizable, int min_width, int min_height);
// A new title (Windows-1252, as the window was created with).
int cpwSetWindowTitle(pCpw cpw, const char* title, int win);
// Sets the pointer shape while the window is current and the pointer is inside it.
int cpwSetCursor(pCpw cpw, int cursor, int win);
// The current window id (the last created or the last one whose handler was made current), 0.
int cpwGetWindow(pCpw cpw);
// Gives the window the keyboard focus (after a dialog of another program had it).
int cpwFocusWindow(pCpw cpw, int win);
// The content scale of the screen (2 where everything is drawn twice the usual size), 1 when
// the window system does not tell.
float cpwGetContentScale(pCpw cpw);
// The window system's own words for its last failure (why a window could not be made); empty
// when it reported none.
std::string cpwGetHostError(pCpw cpw);
// Client size of a window; 0 and error 16 for no window.
int cpwGetWindowSize(pCpw cpw, int win, int* width, int* height);
// The window's own handler set (empty slots fall through to the context-wide handlers);
// null and error 16 for no window.
CpwHandlers* cpwWindowHandlers(pCpw cpw, int win);

// --- context-wide handlers (cpw_callbacks) -------------------------------------------------
void cpwCreateCallback(pCpw cpw, CpwCreateHandler h);
void cpwDisplayCallback(pCpw cpw, CpwDisplayHandler h);
void cpwReshapeCallback(pCpw cpw, CpwReshapeHandler h);
void cpwPositionCallback(pCpw cpw, CpwPositionHandler h);
void cpwMouseClickCallback(pCpw cpw, CpwMouseClickHandler h);
void cpwMouseMoveCallback(pCpw cpw, CpwMouseMoveHandler h);
void cpwMouseDragCallback(pCpw cpw, CpwMouseDragHandler h);
void cpwMouseEntryCallback(pCpw cpw, CpwMouseEntryHandler h);
void cpwVisibilityCallback(pCpw cpw, CpwVisibilityHandler h);
void cpwKeyCallback(pCpw cpw, CpwKeyHandler h);
void cpwDropCallback(pCpw cpw, CpwDropHandler h);
// Called instead of the idle wait when a pass found no work.
void cpwIdleCallback(pCpw cpw, CpwIdleHandler h);
// Called every `passes` passes (at least 1) with 1 when the pass found work.
void cpwMainLoopCallback(pCpw cpw, CpwMainLoopHandler h, int passes);
// Events of a filtered kind are dropped on arrival (flag 1) or accepted again (flag 0).
int cpwFilterEvent(pCpw cpw, int kind, int flag);

// --- event loop (cpw_main) -----------------------------------------------------------------
// Runs until broken: 1 when the last error code is 0 at that time, else 0; 0 at once without a
// context or when called from inside the running loop (error 3).
int cpwMainLoop(pCpw cpw);
// Asks the loop to end after the current pass.
int cpwBreakMainLoop(pCpw cpw);
// One pass while another program's modal dialog is up, called from inside a handler: the
// windows are still moved, resized and redrawn, while pointer and key input is dropped (it
// belongs to the dialog) and close requests wait for the loop. 1 when it found work.
int cpwModalPump(pCpw cpw);
