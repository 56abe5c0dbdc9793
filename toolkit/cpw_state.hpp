// The toolkit context: everything the toolkit keeps between calls. Internal to toolkit/.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "toolkit/cpw.hpp"
#include "toolkit/cpw_host.hpp"

struct FT_LibraryRec_;
struct FT_FaceRec_;

struct CpwEvent {
    int window = 0;  // 0 marks an entry voided by its window's destruction
    int kind = cpw_ev_none;
    std::array<int, 5> p{};
};

// The ring of queued events: an entry is free when its kind is none.
struct CpwEventQueue {
    static constexpr int size = 256;
    std::array<CpwEvent, size> ring{};
    int head = 0;  // next to send
    int tail = 0;  // next free
    std::array<bool, cpw_event_kinds> filtered{};
};

struct CpwWindow {
    int id = 0;
    std::string title;  // Windows-1252
    int x = 0, y = 0, width = 0, height = 0;
    bool fixed_size = false, title_only = false;
    CpwHandlers handlers;
    std::unique_ptr<CpwHostWindow> host;

    bool create_sent = false;             // host redraws/resizes wait for the created event
    int host_width = 0, host_height = 0;  // last size the host reported
    std::vector<std::pair<int, int>> requested_sizes;  // reshapes the host has yet to echo
    bool focused = false;
    bool pointer_inside = false;
    int buttons = 0;  // bit per held button
    bool left_while_captured = false;
    double wheel_rest = 0;  // wheel fraction not yet a whole step
};

// Owns the loaded faces; their FreeType handles close with it.
// A glyph as loaded and rendered once at one size: forms redraw the same texts on every frame.
struct CpwGlyph {
    bool loaded = false;                 // FreeType could load the character
    long advance = 0;                    // 26.6
    long height = 0, bearing_y = 0;      // 26.6 metrics
    int left = 0, top = 0;               // bitmap offset from the pen position
    int width = 0, rows = 0;             // 0: nothing to draw
    std::vector<std::uint8_t> coverage;  // rows top first, `width` bytes each
};

struct CpwFont {
    FT_FaceRec_* face = nullptr;
    std::string path;
    std::unordered_map<std::uint64_t, CpwGlyph> glyphs;  // by size (26.6) << 32 | code point
    ~CpwFont();
};

struct CpwFontState {
    FT_LibraryRec_* library = nullptr;
    void* system_fonts = nullptr;  // the platform's font index, loaded on first use
    int render_mode = 0;
    int alignment = 0;
    long size = 12 * 64;  // 26.6
    int kerning = 0;
    int advance_mult = 1;
    int pixmap_format = 0x1909;  // GL_LUMINANCE
    int flag27 = 0;
    int dpi = 72;
    long halo = -1;  // 0xRRGGBB of a one-pixel outline around drawn text, -1 none
    std::vector<std::uint8_t> scratch;  // converted text images
    std::vector<std::uint8_t> compose;  // coverage of a whole text
    std::vector<std::unique_ptr<CpwFont>> faces;
};

struct CpwContext {
    std::unique_ptr<CpwHost> host;
    std::vector<std::unique_ptr<CpwWindow>> windows;  // by increasing id (cpw_linkedlist)
    int current = 0;                                  // current window id
    CpwEventQueue queue;
    CpwHandlers handlers;  // context-wide
    CpwIdleHandler idle;
    CpwMainLoopHandler mainloop;
    int mainloop_passes = 1;
    bool break_loop = false;
    bool running = false;
    int last_error = 0;
    CpwWindowRequest next_window;  // properties of the next window created
    CpwFontState font;
    std::vector<std::string> dropped;  // paths of the last drop, until its event is handled
    ~CpwContext();
};

// cpw_state
pCpw cpw_state_create(std::unique_ptr<CpwHost> host);
void cpw_state_free();
bool cpw_state_valid(pCpw cpw);

// cpw_error
int cpw_error_set(pCpw cpw, int code);

// cpw_linkedlist: the window list
CpwWindow* cpw_list_find(pCpw cpw, int id);
int cpw_list_free_id(pCpw cpw);
CpwWindow* cpw_list_insert(pCpw cpw, std::unique_ptr<CpwWindow> w);
std::unique_ptr<CpwWindow> cpw_list_remove(pCpw cpw, int id);

// cpw_event
bool cpw_event_insert(pCpw cpw, int window, int kind, std::array<int, 5> p = {});
bool cpw_event_empty(pCpw cpw);
int cpw_event_count(pCpw cpw);
// Takes the head entry and dispatches it (after coalescing); false when the queue is empty.
bool cpw_event_send(pCpw cpw);
// Takes the head entry without dispatching it; false when the queue is empty.
bool cpw_event_take(pCpw cpw, CpwEvent& e);
void cpw_event_void_window(pCpw cpw, int window);

// cpw_callbacks
void cpw_callbacks_dispatch(pCpw cpw, CpwWindow* w, const CpwEvent& e);
void cpw_callbacks_make_current(pCpw cpw, CpwWindow* w);

// cpw_font
bool cpw_font_init(CpwFontState& font);
void cpw_font_free(CpwFontState& font);
// The RGBA/RGB/one-byte pixel map of an 8-bit coverage image, rows from the bottom (as
// glDrawPixels reads them). pitch may be negative (FreeType's bottom-up bitmaps).
void cpw_font_pixmap(const std::uint8_t* coverage, int width, int rows, int pitch, int format,
                     const float color[4], std::vector<std::uint8_t>& out);
// The RGBA pixel map of a coverage image (rows from the top, one byte a pixel) in `color` with
// an outline a pixel wide in `halo` (0xRRGGBB) around it, rows from the bottom.
void cpw_font_halo_pixmap(const std::vector<std::uint8_t>& coverage, int width, int rows,
                          std::uint32_t halo, const float color[4], std::vector<std::uint8_t>& out);
