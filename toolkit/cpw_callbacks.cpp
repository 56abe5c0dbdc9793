// Handler registration and dispatch: the window's own handler, else the context-wide one,
// else the default (which does nothing, except that a close request destroys the window).
#include <utility>

#include "toolkit/cpw_state.hpp"

namespace {
// The handler of slot `member`: the window's own when set, else the context-wide one. A copy,
// so the handler may replace itself or destroy its window while it runs.
template <class H>
H pick(pCpw cpw, const CpwWindow* w, H CpwHandlers::*member) {
    const H& own = w->handlers.*member;
    return own ? own : cpw->handlers.*member;
}

void set_handler(pCpw cpw, auto CpwHandlers::*member, auto h) {
    if (cpw_state_valid(cpw)) cpw->handlers.*member = std::move(h);
}
}  // namespace

void cpw_callbacks_make_current(pCpw cpw, CpwWindow* w) {
    cpw->current = w->id;
    cpw->host->make_current(w->host.get());
}

void cpw_callbacks_dispatch(pCpw cpw, CpwWindow* w, const CpwEvent& e) {
    const int id = w->id;
    const auto& p = e.p;
    switch (e.kind) {
        case cpw_ev_create:
            w->create_sent = true;
            cpw_callbacks_make_current(cpw, w);
            if (auto h = pick(cpw, w, &CpwHandlers::create)) h(cpw, id, 1);
            break;
        case cpw_ev_close:
            if (auto h = pick(cpw, w, &CpwHandlers::create))
                h(cpw, id, 0);
            else
                cpwDestroyWindow(cpw, id);
            break;
        case cpw_ev_display:
            cpw_callbacks_make_current(cpw, w);
            if (auto h = pick(cpw, w, &CpwHandlers::display)) h(cpw, id);
            break;
        case cpw_ev_reshape:
            cpw_callbacks_make_current(cpw, w);
            if (auto h = pick(cpw, w, &CpwHandlers::reshape)) h(cpw, id, p[0], p[1]);
            break;
        case cpw_ev_position:
            if (auto h = pick(cpw, w, &CpwHandlers::position)) h(cpw, id, p[0], p[1]);
            break;
        case cpw_ev_mouse_click:
            if (auto h = pick(cpw, w, &CpwHandlers::mouse_click))
                h(cpw, id, p[0], p[1], p[2], p[3]);
            break;
        case cpw_ev_mouse_move:
            if (auto h = pick(cpw, w, &CpwHandlers::mouse_move)) h(cpw, id, p[0], p[1]);
            break;
        case cpw_ev_mouse_drag:
            if (auto h = pick(cpw, w, &CpwHandlers::mouse_drag)) h(cpw, id, p[0], p[1], p[2]);
            break;
        case cpw_ev_mouse_entry:
            if (auto h = pick(cpw, w, &CpwHandlers::mouse_entry)) h(cpw, id, p[0]);
            break;
        case cpw_ev_drop:
            if (auto h = pick(cpw, w, &CpwHandlers::drop)) {
                const std::vector<std::string> paths = std::move(cpw->dropped);
                cpw->dropped.clear();
                h(cpw, id, paths);
            }
            break;
        case cpw_ev_visibility:
            if (auto h = pick(cpw, w, &CpwHandlers::visibility)) h(cpw, id, p[0]);
            break;
        case cpw_ev_key:
        case cpw_ev_system_key:
            if (auto h = pick(cpw, w, &CpwHandlers::key)) {
                CpwKeyInfo k;
                k.pressed = p[0];
                k.vk = p[1];
                k.scan = p[2] & 0xFF;
                k.extended = (p[2] >> 8) & 1;
                k.ch = p[3];
                k.mods = p[4];
                k.system = e.kind == cpw_ev_system_key;
                h(cpw, id, k);
            }
            break;
        default:  // menus are not produced by this toolkit
            break;
    }
}

void cpwCreateCallback(pCpw cpw, CpwCreateHandler h) { set_handler(cpw, &CpwHandlers::create, h); }
void cpwDisplayCallback(pCpw cpw, CpwDisplayHandler h) {
    set_handler(cpw, &CpwHandlers::display, h);
}
void cpwReshapeCallback(pCpw cpw, CpwReshapeHandler h) {
    set_handler(cpw, &CpwHandlers::reshape, h);
}
void cpwPositionCallback(pCpw cpw, CpwPositionHandler h) {
    set_handler(cpw, &CpwHandlers::position, h);
}
void cpwMouseClickCallback(pCpw cpw, CpwMouseClickHandler h) {
    set_handler(cpw, &CpwHandlers::mouse_click, h);
}
void cpwMouseMoveCallback(pCpw cpw, CpwMouseMoveHandler h) {
    set_handler(cpw, &CpwHandlers::mouse_move, h);
}
void cpwMouseDragCallback(pCpw cpw, CpwMouseDragHandler h) {
    set_handler(cpw, &CpwHandlers::mouse_drag, h);
}
void cpwMouseEntryCallback(pCpw cpw, CpwMouseEntryHandler h) {
    set_handler(cpw, &CpwHandlers::mouse_entry, h);
}
void cpwDropCallback(pCpw cpw, CpwDropHandler h) { set_handler(cpw, &CpwHandlers::drop, h); }

void cpwVisibilityCallback(pCpw cpw, CpwVisibilityHandler h) {
    set_handler(cpw, &CpwHandlers::visibility, h);
}
void cpwKeyCallback(pCpw cpw, CpwKeyHandler h) { set_handler(cpw, &CpwHandlers::key, h); }

void cpwIdleCallback(pCpw cpw, CpwIdleHandler h) {
    if (cpw_state_valid(cpw)) cpw->idle = std::move(h);
}

void cpwMainLoopCallback(pCpw cpw, CpwMainLoopHandler h, int passes) {
    if (!cpw_state_valid(cpw)) return;
    cpw->mainloop = std::move(h);
    cpw->mainloop_passes = passes < 1 ? 1 : passes;
}
