// A headless host for tests: windows are plain records, host messages are scripted closures
// (each one may report input through the cpw_input_* calls), and every host call is counted.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "toolkit/cpw_host.hpp"

struct CpwNullWindow : CpwHostWindow {
    CpwWindowRequest request;
    bool visible = true;
    bool destroyed = false;
    bool captured = false;
    int cursor = cpw_cursor_arrow;
    int swaps = 0;
    int icon_width = 0;
    std::vector<std::pair<int, int>> size_requests;
};

class CpwNullHost : public CpwHost {
  public:
    // Scripted host messages, handled up to `max` per pump.
    std::deque<std::function<void()>> messages;
    bool fail_create = false;
    float scale = 1;             // the content scale it reports
    std::string error_text;      // the error it reports
    int focus_requests = 0;
    // Waits with nothing scripted after which the host reports a quit, so a test whose loop
    // never breaks ends instead of hanging.
    int quit_after_idle_waits = 10000;

    int pumps = 0, waits = 0, sleeps = 0;
    int current = 0;  // id of the window whose context is current
    pCpw context = nullptr;

    // The window record with that id (live or destroyed, the latest), or null.
    CpwNullWindow* window(int id);

    void attach(pCpw cpw) override { context = cpw; }
    std::unique_ptr<CpwHostWindow> create_window(const CpwWindowRequest& request, int id) override;
    void destroy_window(std::unique_ptr<CpwHostWindow> w) override;
    void make_current(CpwHostWindow* w) override { current = w != nullptr ? w->id : 0; }
    void swap_buffers(CpwHostWindow* w) override { ++rec(w).swaps; }
    void show(CpwHostWindow* w, bool visible) override { rec(w).visible = visible; }
    void set_client_size(CpwHostWindow* w, int width, int height) override {
        rec(w).size_requests.emplace_back(width, height);
    }
    void set_cursor(CpwHostWindow* w, int cursor) override { rec(w).cursor = cursor; }
    void set_icon(CpwHostWindow* w, const CpwImage& icon) override {
        rec(w).icon_width = icon.width;
    }
    void capture_pointer(CpwHostWindow* w, bool on) override { rec(w).captured = on; }
    CpwPump pump(int max) override;
    void wait() override;
    void sleep_ms(int) override { ++sleeps; }
    void focus(CpwHostWindow*) override { ++focus_requests; }
    float content_scale() override { return scale; }
    std::string last_error() override { return error_text; }

  private:
    static CpwNullWindow& rec(CpwHostWindow* w) { return static_cast<CpwNullWindow&>(*w); }
    std::vector<CpwNullWindow*> all_;  // every record handed out, in creation order
    std::vector<std::unique_ptr<CpwHostWindow>> graveyard_;
    int idle_waits_ = 0;
    bool quit_ = false;
};
