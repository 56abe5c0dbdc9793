// The event loop.
#include <vector>

#include "toolkit/cpw_state.hpp"

namespace {
// Host messages and queued events handled per pass: keeps a pass short so that input, queued
// work and redraws interleave.
constexpr int messages_per_pass = 3;
constexpr int events_per_pass = 3;
}  // namespace

int cpwMainLoop(pCpw cpw) {
    if (!cpw_state_valid(cpw)) return 0;
    if (cpw->running) {
        cpw_error_set(cpw, cpw_err_argument);
        return 0;
    }
    cpw->break_loop = false;
    cpw->running = true;
    for (unsigned long pass = 1;; ++pass) {
        if (cpw->break_loop) {
            cpw->running = false;
            return cpw->last_error <= 0 ? 1 : 0;
        }
        const CpwPump pumped = cpw->host->pump(messages_per_pass);
        if (pumped.quit) cpw->break_loop = true;
        int work = pumped.handled;
        for (int i = 0; i < events_per_pass && cpw_event_send(cpw); ++i) ++work;

        if (cpw->mainloop && pass % static_cast<unsigned long>(cpw->mainloop_passes) == 0) {
            CpwMainLoopHandler h = cpw->mainloop;
            h(cpw, work != 0);
        }
        if (work != 0 || cpw->break_loop || !cpw_event_empty(cpw)) continue;
        if (cpw->idle) {
            CpwIdleHandler h = cpw->idle;
            h(cpw);
        } else if (cpw->mainloop) {
            cpw->host->sleep_ms(1);
        } else {
            // Nothing can change until the host reports input: blocking is the 1 ms sleep
            // without the wake-ups.
            cpw->host->wait();
        }
    }
}

namespace {
bool is_input(int kind) {
    switch (kind) {
        case cpw_ev_mouse_click:
        case cpw_ev_mouse_move:
        case cpw_ev_mouse_drag:
        case cpw_ev_mouse_entry:
        case cpw_ev_key:
        case cpw_ev_system_key:
        case cpw_ev_menu:
        case cpw_ev_drop:
            return true;
        default:
            return false;
    }
}
}  // namespace

int cpwModalPump(pCpw cpw) {
    if (!cpw_state_valid(cpw)) return 0;
    int work = cpw->host->pump(messages_per_pass).handled;
    std::vector<CpwEvent> waiting;
    for (CpwEvent e; cpw_event_take(cpw, e); ++work) {
        if (e.window == 0 || is_input(e.kind)) continue;
        if (e.kind == cpw_ev_close) {
            waiting.push_back(e);
        } else if (CpwWindow* w = cpw_list_find(cpw, e.window)) {
            cpw_callbacks_dispatch(cpw, w, e);
        }
    }
    for (const CpwEvent& e : waiting) cpw_event_insert(cpw, e.window, e.kind, e.p);
    return work != 0 ? 1 : 0;
}

int cpwBreakMainLoop(pCpw cpw) {
    if (!cpw_state_valid(cpw)) return 0;
    cpw->break_loop = true;
    return 1;
}
