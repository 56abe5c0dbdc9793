// The real host layer: GLFW 3 windows with OpenGL contexts.
//
// GLFW reports input through callbacks from inside glfwPollEvents/glfwWaitEvents; each callback
// is one host message, turned into toolkit input here. GLFW drains its whole queue per call, so
// the per-pass message limit cannot apply. The window system keeps the pointer on the window
// during a press by itself (X11's implicit grab; GLFW captures it on Windows). What GLFW does not
// offer comes from glfw_platform.hpp.
#include <GLFW/glfw3.h>

#include <array>
#include <cmath>
#include <optional>
#include <thread>

#include "toolkit/cpw_host.hpp"
#include "toolkit/glfw_keys.hpp"
#include "toolkit/glfw_platform.hpp"

namespace {

class GlfwHost;

struct GlfwWindow : CpwHostWindow {
    GLFWwindow* win = nullptr;
    GlfwHost* host = nullptr;
    // The pointer as the last motion event put it. Asking the server instead gives where the
    // pointer is now, which for a press still queued behind a quick drag is already the end.
    bool pointer_known = false;
    double pointer_x = 0, pointer_y = 0;
};

class GlfwHost final : public CpwHost {
  public:
    ~GlfwHost() override;
    void attach(pCpw cpw) override { cpw_ = cpw; }
    std::unique_ptr<CpwHostWindow> create_window(const CpwWindowRequest& request, int id) override;
    void destroy_window(std::unique_ptr<CpwHostWindow> w) override;
    void make_current(CpwHostWindow* w) override { glfwMakeContextCurrent(glfw(w)); }
    void swap_buffers(CpwHostWindow* w) override { glfwSwapBuffers(glfw(w)); }
    void show(CpwHostWindow* w, bool visible) override {
        visible ? glfwShowWindow(glfw(w)) : glfwHideWindow(glfw(w));
    }
    void set_client_size(CpwHostWindow* w, int width, int height) override {
        glfwSetWindowSize(glfw(w), width, height);
    }
    void set_cursor(CpwHostWindow* w, int cursor) override;
    void set_icon(CpwHostWindow* w, const CpwImage& icon) override;
    void capture_pointer(CpwHostWindow*, bool) override {}  // implicit, see above
    CpwPump pump(int max) override;
    void wait() override;
    void sleep_ms(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    void focus(CpwHostWindow* w) override { glfwFocusWindow(glfw(w)); }
    void set_title(CpwHostWindow* w, const std::string& utf8) override {
        glfwSetWindowTitle(glfw(w), utf8.c_str());
    }
    void set_size_limits(CpwHostWindow* w, bool resizable, int min_width, int min_height) override {
        glfwSetWindowAttrib(glfw(w), GLFW_RESIZABLE, resizable ? GLFW_TRUE : GLFW_FALSE);
        if (resizable)
            glfwSetWindowSizeLimits(glfw(w), min_width, min_height, GLFW_DONT_CARE, GLFW_DONT_CARE);
        else
            glfwSetWindowSizeLimits(glfw(w), GLFW_DONT_CARE, GLFW_DONT_CARE, GLFW_DONT_CARE,
                                    GLFW_DONT_CARE);
    }
    float content_scale() override;
    std::string last_error() override { return glfw_error; }

  private:
    friend struct Callbacks;
    static GLFWwindow* glfw(CpwHostWindow* w) { return static_cast<GlfwWindow*>(w)->win; }
    bool init();
    void begin_reports() { ++reporting_; }
    void end_reports();
    void flush_key();

    pCpw cpw_ = nullptr;
    bool initialised_ = false;
    int reporting_ = 0;                // inside glfwPollEvents/glfwWaitEvents
    int handled_ = 0;                  // host messages reported in this pump
    std::vector<GLFWwindow*> doomed_;  // destroyed from inside a callback: GLFW forbids that
    std::array<GLFWcursor*, 7> cursors_{};
    // A key press waits for the character GLFW reports right after it.
    std::optional<std::pair<int, CpwKeyInfo>> pending_key_;
    static inline std::string glfw_error;  // GLFW's words for its last error
};

// The host and toolkit id of a GLFW window, or null once the window is being destroyed.
GlfwWindow* from(GLFWwindow* win) {
    return static_cast<GlfwWindow*>(glfwGetWindowUserPointer(win));
}

int floor_int(double v) { return static_cast<int>(std::floor(v)); }

struct Callbacks {
    // Every report: count it, and let a pending key press go first.
    static GlfwWindow* report(GLFWwindow* win, bool flush = true) {
        GlfwWindow* w = from(win);
        if (w == nullptr) return nullptr;
        ++w->host->handled_;
        if (flush) w->host->flush_key();
        return w;
    }
    static void close(GLFWwindow* win) {
        glfwSetWindowShouldClose(win, GLFW_FALSE);  // the toolkit decides
        if (GlfwWindow* w = report(win)) cpw_input_close(w->host->cpw_, w->id);
    }
    static void pos(GLFWwindow* win, int x, int y) {
        if (GlfwWindow* w = report(win)) cpw_input_moved(w->host->cpw_, w->id, x, y);
    }
    static void size(GLFWwindow* win, int width, int height) {
        if (width <= 0 || height <= 0) return;  // minimised
        if (GlfwWindow* w = report(win)) cpw_input_resized(w->host->cpw_, w->id, width, height);
    }
    static void refresh(GLFWwindow* win) {
        if (GlfwWindow* w = report(win)) cpw_input_refresh(w->host->cpw_, w->id);
    }
    static void iconify(GLFWwindow* win, int iconified) {
        if (GlfwWindow* w = report(win)) cpw_input_visible(w->host->cpw_, w->id, !iconified);
    }
    static void focus(GLFWwindow* win, int focused) {
        if (GlfwWindow* w = report(win)) cpw_input_focus(w->host->cpw_, w->id, focused);
    }
    static void enter(GLFWwindow* win, int entered) {
        if (GlfwWindow* w = report(win)) cpw_input_pointer_inside(w->host->cpw_, w->id, entered);
    }
    static void cursor(GLFWwindow* win, double x, double y) {
        GlfwWindow* w = report(win);
        if (w == nullptr) return;
        w->pointer_known = true;
        w->pointer_x = x;
        w->pointer_y = y;
        cpw_input_pointer_pos(w->host->cpw_, w->id, floor_int(x), floor_int(y));
    }
    static void button(GLFWwindow* win, int button, int action, int /*mods*/) {
        // GLFW numbers left, right, middle; the toolkit left, middle, right.
        static constexpr int map[] = {cpw_button_left, cpw_button_right, cpw_button_middle};
        if (button < 0 || button > 2) return;
        GlfwWindow* w = report(win);
        if (w == nullptr) return;
        double x = w->pointer_x, y = w->pointer_y;
        if (!w->pointer_known) glfwGetCursorPos(win, &x, &y);
        cpw_input_button(w->host->cpw_, w->id, map[button], action == GLFW_PRESS, floor_int(x),
                         floor_int(y));
    }
    static void drop(GLFWwindow* win, int count, const char** paths) {
        GlfwWindow* w = report(win);
        if (w == nullptr || count <= 0) return;
        cpw_input_drop(w->host->cpw_, w->id, std::vector<std::string>(paths, paths + count));
    }
    static void scroll(GLFWwindow* win, double /*dx*/, double dy) {
        if (GlfwWindow* w = report(win)) cpw_input_wheel(w->host->cpw_, w->id, dy);
    }
    static void key(GLFWwindow* win, int key, int scancode, int action, int /*mods*/) {
        GlfwWindow* w = report(win);
        if (w == nullptr) return;
        auto down = [win](int k) { return glfwGetKey(win, k) == GLFW_PRESS; };
        CpwKeyInfo k;
        k.pressed = action != GLFW_RELEASE;
        k.vk = cpw_glfw_vk(key, scancode);
        const int scan = cpw_glfw_scan(scancode);
        k.scan = scan & 0xFF;
        k.extended = (scan >> 8) & 1;
        const bool ctrl = down(GLFW_KEY_LEFT_CONTROL) || down(GLFW_KEY_RIGHT_CONTROL);
        const bool altgr = down(GLFW_KEY_RIGHT_ALT);
        k.mods = (ctrl ? cpw_mod_ctrl : 0) |
                 (down(GLFW_KEY_LEFT_SHIFT) || down(GLFW_KEY_RIGHT_SHIFT) ? cpw_mod_shift : 0) |
                 (down(GLFW_KEY_LEFT_ALT) ? cpw_mod_alt : 0) | (altgr ? cpw_mod_altgr : 0);
        k.system = (k.mods & cpw_mod_alt) != 0 || k.vk == 0x79 /* F10 */ || k.vk == 0xA4;
        if (!k.pressed) {
            cpw_input_key(w->host->cpw_, w->id, k);
            return;
        }
        k.ch = cpw_glfw_control_char(k.vk, ctrl && !altgr);
        w->host->pending_key_.emplace(w->id, k);
    }
    static void character(GLFWwindow* win, unsigned int codepoint) {
        GlfwWindow* w = report(win, false);
        if (w == nullptr) return;
        const int ch = cpw_unicode_to_cp1252(codepoint);
        auto& pending = w->host->pending_key_;
        if (pending && pending->first == w->id) {
            CpwKeyInfo& k = pending->second;
            // Ctrl with a key gives a control character or none, never the printable one.
            const bool ctrl_only = (k.mods & cpw_mod_ctrl) && !(k.mods & cpw_mod_altgr);
            if (k.ch == 0 && !ctrl_only) k.ch = ch;
            w->host->flush_key();
            return;
        }
        if (ch == 0) return;
        CpwKeyInfo k;  // composed by an input method: a character without a key
        k.pressed = 1;
        k.ch = ch;
        cpw_input_key(w->host->cpw_, w->id, k);
    }
};

GlfwHost::~GlfwHost() {
    for (GLFWwindow* win : doomed_) glfwDestroyWindow(win);
    for (GLFWcursor* c : cursors_)
        if (c != nullptr) glfwDestroyCursor(c);
    // GLFW stays initialised to the end of the process, like the context normally does:
    // terminating unloads the GL driver, whose lifetime allocations then look like leaks of
    // unknown origin to LeakSanitizer.
}

bool GlfwHost::init() {
    if (!initialised_) {
        // Before glfwInit, so that a display that cannot be opened is told in GLFW's words.
        glfwSetErrorCallback([](int, const char* what) { glfw_error = what ? what : ""; });
        initialised_ = glfwInit() == GLFW_TRUE;
    }
    return initialised_;
}

float GlfwHost::content_scale() {
    // On X11 GLFW takes it from Xft.dpi (96 dpi is 1), as desktops set it for their own apps.
    GLFWmonitor* monitor = init() ? glfwGetPrimaryMonitor() : nullptr;
    if (monitor == nullptr) return 1;
    float xs = 1, ys = 1;
    glfwGetMonitorContentScale(monitor, &xs, &ys);
    return xs > 0 ? xs : 1;
}

void GlfwHost::end_reports() {
    flush_key();
    if (--reporting_ > 0) return;
    for (GLFWwindow* win : doomed_) glfwDestroyWindow(win);
    doomed_.clear();
}

void GlfwHost::flush_key() {
    if (!pending_key_) return;
    auto [id, k] = *pending_key_;
    pending_key_.reset();
    cpw_input_key(cpw_, id, k);
}

std::unique_ptr<CpwHostWindow> GlfwHost::create_window(const CpwWindowRequest& request, int id) {
    if (!init()) return nullptr;
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);  // placed first, then shown
    glfwWindowHint(GLFW_RESIZABLE, request.fixed_size ? GLFW_FALSE : GLFW_TRUE);
    glfwWindowHint(GLFW_FOCUS_ON_SHOW, GLFW_TRUE);
    GLFWwindow* win = glfwCreateWindow(request.width, request.height, request.title_utf8.c_str(),
                                       nullptr, nullptr);
    if (win == nullptr) return nullptr;
    auto w = std::make_unique<GlfwWindow>();
    w->win = win;
    w->host = this;
    w->id = id;
    glfwSetWindowUserPointer(win, w.get());
    glfwSetWindowCloseCallback(win, Callbacks::close);
    glfwSetWindowPosCallback(win, Callbacks::pos);
    glfwSetWindowSizeCallback(win, Callbacks::size);
    glfwSetWindowRefreshCallback(win, Callbacks::refresh);
    glfwSetWindowIconifyCallback(win, Callbacks::iconify);
    glfwSetWindowFocusCallback(win, Callbacks::focus);
    glfwSetCursorEnterCallback(win, Callbacks::enter);
    glfwSetCursorPosCallback(win, Callbacks::cursor);
    glfwSetMouseButtonCallback(win, Callbacks::button);
    glfwSetScrollCallback(win, Callbacks::scroll);
    glfwSetDropCallback(win, Callbacks::drop);
    glfwSetKeyCallback(win, Callbacks::key);
    glfwSetCharCallback(win, Callbacks::character);
    glfwSetWindowPos(win, request.x, request.y);
    if (request.title_only) cpw_glfw_title_only(win);
    glfwShowWindow(win);
    glfwFocusWindow(win);
    glfwMakeContextCurrent(win);
    return w;
}

void GlfwHost::destroy_window(std::unique_ptr<CpwHostWindow> w) {
    if (!w) return;
    GLFWwindow* win = glfw(w.get());
    glfwSetWindowUserPointer(win, nullptr);  // reports still queued for it are dropped
    if (pending_key_ && pending_key_->first == w->id) pending_key_.reset();
    if (glfwGetCurrentContext() == win) glfwMakeContextCurrent(nullptr);
    if (reporting_ > 0) {
        glfwHideWindow(win);
        doomed_.push_back(win);
    } else {
        glfwDestroyWindow(win);
    }
}

void GlfwHost::set_cursor(CpwHostWindow* w, int cursor) {
    static constexpr int shapes[] = {0,
                                     GLFW_ARROW_CURSOR,
                                     GLFW_HAND_CURSOR,
                                     GLFW_IBEAM_CURSOR,
                                     GLFW_CROSSHAIR_CURSOR,
                                     GLFW_HRESIZE_CURSOR,
                                     GLFW_VRESIZE_CURSOR};
    if (cursor < cpw_cursor_arrow || cursor > cpw_cursor_size_ns) return;
    if (cursors_[cursor] == nullptr) cursors_[cursor] = glfwCreateStandardCursor(shapes[cursor]);
    glfwSetCursor(glfw(w), cursors_[cursor]);
}

void GlfwHost::set_icon(CpwHostWindow* w, const CpwImage& icon) {
    if (icon.width == 0) return;
    GLFWimage image{icon.width, icon.height, const_cast<unsigned char*>(icon.rgba.data())};
    glfwSetWindowIcon(glfw(w), 1, &image);  // GLFW copies the pixels
}

CpwPump GlfwHost::pump(int /*max*/) {
    CpwPump result;
    if (!initialised_) return result;
    handled_ = 0;
    begin_reports();
    glfwPollEvents();
    end_reports();
    result.handled = handled_;
    return result;
}

void GlfwHost::wait() {
    if (!initialised_) {  // no window was ever made: nothing can arrive
        sleep_ms(1);
        return;
    }
    begin_reports();
    glfwWaitEvents();
    end_reports();
}

}  // namespace

std::unique_ptr<CpwHost> cpw_glfw_host() { return std::make_unique<GlfwHost>(); }
