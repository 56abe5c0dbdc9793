// The toolkit's boundary to the window system. Shared code (queue, dispatch, loop, handlers,
// fonts) calls the host only through CpwHost; a backend fills it (glfw_host.cpp for the real
// window system, null_host.cpp for tests) and reports native input upward through the
// cpw_input_* calls, never calling application code itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/cpw.hpp"

// A backend's window; the shared code knows only its toolkit id.
struct CpwHostWindow {
    int id = 0;
    virtual ~CpwHostWindow() = default;
};

struct CpwWindowRequest {
    std::string title_utf8;
    int x = 0, y = 0, width = 0, height = 0;  // client size; the frame goes around it
    bool fixed_size = false;
    bool title_only = false;
};

// An RGBA image, rows from the top.
struct CpwImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};

struct CpwPump {
    int handled = 0;    // host messages handled
    bool quit = false;  // the host asked the program to quit
};

class CpwHost {
  public:
    virtual ~CpwHost() = default;
    // The context the backend reports input to (set once, before any window).
    virtual void attach(pCpw cpw) = 0;
    // A window with an OpenGL context, shown, focused and current; null on failure.
    virtual std::unique_ptr<CpwHostWindow> create_window(const CpwWindowRequest& request,
                                                         int id) = 0;
    // Destroys a window; safe from inside the backend's own input reports.
    virtual void destroy_window(std::unique_ptr<CpwHostWindow> w) = 0;
    virtual void make_current(CpwHostWindow* w) = 0;
    virtual void swap_buffers(CpwHostWindow* w) = 0;
    virtual void show(CpwHostWindow* w, bool visible) = 0;
    // New client size, position kept.
    virtual void set_client_size(CpwHostWindow* w, int width, int height) = 0;
    virtual void set_cursor(CpwHostWindow* w, int cursor) = 0;
    virtual void set_icon(CpwHostWindow* w, const CpwImage& icon) = 0;
    // Keeps pointer input on the window while a button is held (on = false releases it).
    virtual void capture_pointer(CpwHostWindow* w, bool on) = 0;
    // Handles pending host messages, up to max where the host can count them.
    virtual CpwPump pump(int max) = 0;
    // Blocks until host input arrives.
    virtual void wait() = 0;
    virtual void sleep_ms(int ms) = 0;
    virtual void set_title(CpwHostWindow*, const std::string& /*utf8*/) {}
    // Whether the user may resize the window, and the least client size then.
    virtual void set_size_limits(CpwHostWindow*, bool /*resizable*/, int /*min_width*/,
                                 int /*min_height*/) {}
    // Keyboard focus to the window.
    virtual void focus(CpwHostWindow*) {}
    // Content scale of the primary screen.
    virtual float content_scale() { return 1; }
    // The window system's description of its last error, empty when none.
    virtual std::string last_error() { return {}; }
};

std::unique_ptr<CpwHost> cpw_glfw_host();

// Like cpwInitContext, on a given backend (tests use the null backend).
int cpwInitContextHost(pCpw* cpw, std::unique_ptr<CpwHost> host);

// --- input reported by backends (cpw_keymouse, cpw_window) -------------------------------------
void cpw_input_close(pCpw cpw, int win);
void cpw_input_moved(pCpw cpw, int win, int x, int y);
// Host size change; bypasses the queue unless it is the echo of cpwReshapeWindow.
void cpw_input_resized(pCpw cpw, int win, int width, int height);
// Host asks for a redraw; bypasses the queue.
void cpw_input_refresh(pCpw cpw, int win);
void cpw_input_visible(pCpw cpw, int win, bool visible);
void cpw_input_focus(pCpw cpw, int win, bool focused);
void cpw_input_pointer_inside(pCpw cpw, int win, bool inside);
void cpw_input_pointer_pos(pCpw cpw, int win, int x, int y);
// button in toolkit numbering (0 left, 1 middle, 2 right).
void cpw_input_button(pCpw cpw, int win, int button, bool pressed, int x, int y);
// Wheel offset in steps (1.0 = one notch away from the user); fractions accumulate.
void cpw_input_wheel(pCpw cpw, int win, double steps);
void cpw_input_key(pCpw cpw, int win, const CpwKeyInfo& key);
void cpw_input_drop(pCpw cpw, int win, std::vector<std::string> paths_utf8);

// --- helpers shared with backends and tests ---------------------------------------------------
// Unicode code point of a Windows-1252 byte, and back (0 when not in Windows-1252).
char32_t cpw_cp1252_to_unicode(unsigned char c);
unsigned char cpw_unicode_to_cp1252(char32_t u);
std::string cpw_cp1252_to_utf8(const char* text);
// Decodes a PAM (P7) image of depth 4 (RGB_ALPHA) or 3 (RGB) with maxval 255; false when
// malformed.
bool cpw_decode_pam(const std::uint8_t* data, std::size_t size, CpwImage& out);
// The program's window icon, decoded from the image the build embeds.
const CpwImage& cpw_program_icon();
// Scan code as Windows reports it (bit 8: extended) of a Linux evdev key code, 0 when unknown.
int cpw_scan_from_evdev(int evdev);
