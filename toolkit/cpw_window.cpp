// Windows: properties, creation and destruction, show/hide, reshape, redisplay, cursor, and
// the window-level host reports (close, move, size, redraw, visibility).
#include <algorithm>
#include <new>

#include "toolkit/cpw_state.hpp"

namespace {
// Only the latest few unanswered reshapes matter; older ones have been overtaken.
constexpr std::size_t max_requested_sizes = 8;

CpwWindow* find_or_error(pCpw cpw, int win) {
    if (!cpw_state_valid(cpw)) return nullptr;
    CpwWindow* w = cpw_list_find(cpw, win);
    if (w == nullptr) cpw_error_set(cpw, cpw_err_no_window);
    return w;
}

bool valid_size(int width, int height) {
    // Far beyond any screen; keeps width × height × 4 well inside int.
    constexpr int max_side = 16384;
    return width > 0 && height > 0 && width <= max_side && height <= max_side;
}
}  // namespace

int cpwInitWindowProperty(pCpw cpw, int property, int value1, int /*value2*/) {
    if (!cpw_state_valid(cpw)) return 0;
    if (value1 != 0 && value1 != 1) return cpw_error_set(cpw, cpw_err_argument), 0;
    switch (property) {
        case cpw_wprop_title_only:
            cpw->next_window.title_only = value1 == 1;
            return 1;
        case cpw_wprop_fixed_size:
            cpw->next_window.fixed_size = value1 == 1;
            return 1;
        default:
            cpw_error_set(cpw, cpw_err_argument);
            return 0;
    }
}

int cpwCreateWindowEx(pCpw cpw, const char* title, int x, int y, int width, int height) {
    if (!cpw_state_valid(cpw)) return 0;
    if (!valid_size(width, height)) return cpw_error_set(cpw, cpw_err_argument), 0;

    std::unique_ptr<CpwWindow> w(new (std::nothrow) CpwWindow);
    if (!w) return cpw_error_set(cpw, cpw_err_memory), 0;
    w->id = cpw_list_free_id(cpw);
    w->title = title != nullptr ? title : "";
    w->x = x;
    w->y = y;
    w->width = w->host_width = width;
    w->height = w->host_height = height;
    w->fixed_size = cpw->next_window.fixed_size;
    w->title_only = cpw->next_window.title_only;

    CpwWindowRequest request = cpw->next_window;
    request.title_utf8 = cpw_cp1252_to_utf8(w->title.c_str());
    request.x = x;
    request.y = y;
    request.width = width;
    request.height = height;
    w->host = cpw->host->create_window(request, w->id);
    if (!w->host) return cpw_error_set(cpw, cpw_err_window), 0;
    w->host->id = w->id;
    cpw->host->set_icon(w->host.get(), cpw_program_icon());

    CpwWindow* win = cpw_list_insert(cpw, std::move(w));
    cpw_callbacks_make_current(cpw, win);
    const int id = win->id;
    cpw_event_insert(cpw, id, cpw_ev_create);
    cpw_event_insert(cpw, id, cpw_ev_position, {x, y});
    cpw_event_insert(cpw, id, cpw_ev_reshape, {width, height});
    cpw_event_insert(cpw, id, cpw_ev_display);
    return id;
}

int cpwDestroyWindow(pCpw cpw, int win) {
    if (find_or_error(cpw, win) == nullptr) return 0;
    std::unique_ptr<CpwWindow> w = cpw_list_remove(cpw, win);
    cpw_event_void_window(cpw, win);  // a later window may get the same id
    if (cpw->current == win) cpw->current = 0;
    cpw->host->destroy_window(std::move(w->host));
    if (win == 1) cpw->break_loop = true;
    return 1;
}

int cpwShowWindow(pCpw cpw, int win) {
    CpwWindow* w = find_or_error(cpw, win);
    if (w == nullptr) return 0;
    cpw->host->show(w->host.get(), true);
    return 1;
}

int cpwHideWindow(pCpw cpw, int win) {
    CpwWindow* w = find_or_error(cpw, win);
    if (w == nullptr) return 0;
    cpw->host->show(w->host.get(), false);
    return 1;
}

int cpwPostRedisplay(pCpw cpw) {
    if (!cpw_state_valid(cpw)) return 0;
    if (cpw->windows.empty()) return cpw_error_set(cpw, cpw_err_no_window), 0;
    for (auto& w : cpw->windows) cpw_event_insert(cpw, w->id, cpw_ev_display);
    return 1;
}

int cpwSwapWindowBuffers(pCpw cpw, int win) {
    CpwWindow* w = find_or_error(cpw, win);
    if (w == nullptr) return 0;
    cpw->host->swap_buffers(w->host.get());
    return 1;
}

int cpwReshapeWindow(pCpw cpw, int width, int height, int win) {
    CpwWindow* w = find_or_error(cpw, win);
    if (w == nullptr) return 0;
    if (!valid_size(width, height)) return cpw_error_set(cpw, cpw_err_argument), 0;
    w->width = width;
    w->height = height;
    cpw_event_insert(cpw, win, cpw_ev_reshape, {width, height});
    cpw_event_insert(cpw, win, cpw_ev_display);
    if (width == w->host_width && height == w->host_height && w->requested_sizes.empty())
        return 1;  // the host has this size already and will report nothing
    if (w->requested_sizes.size() == max_requested_sizes)
        w->requested_sizes.erase(w->requested_sizes.begin());
    w->requested_sizes.emplace_back(width, height);
    cpw->host->set_client_size(w->host.get(), width, height);
    return 1;
}

int cpwSetWindowResizable(pCpw cpw, int win, int resizable, int min_width, int min_height) {
    CpwWindow* w = find_or_error(cpw, win);
    if (w == nullptr) return 0;
    if (resizable != 0 && !valid_size(min_width, min_height))
        return cpw_error_set(cpw, cpw_err_argument), 0;
    cpw->host->set_size_limits(w->host.get(), resizable != 0, min_width, min_height);
    return 1;
}

int cpwSetWindowTitle(pCpw cpw, const char* title, int win) {
    CpwWindow* w = find_or_error(cpw, win);
    if (w == nullptr || title == nullptr) return 0;
    w->title = title;
    cpw->host->set_title(w->host.get(), cpw_cp1252_to_utf8(title));
    return 1;
}

void cpw_input_drop(pCpw cpw, int win, std::vector<std::string> paths_utf8) {
    if (cpw_list_find(cpw, win) == nullptr || paths_utf8.empty()) return;
    cpw->dropped = std::move(paths_utf8);  // a drop before the last was handled replaces it
    cpw_event_insert(cpw, win, cpw_ev_drop);
}

int cpwSetCursor(pCpw cpw, int cursor, int win) {
    CpwWindow* w = find_or_error(cpw, win);
    if (w == nullptr) return 0;
    if (cursor < cpw_cursor_arrow || cursor > cpw_cursor_size_ns)
        return cpw_error_set(cpw, cpw_err_argument), 0;
    if (cpw->current == win && w->pointer_inside) cpw->host->set_cursor(w->host.get(), cursor);
    return 1;
}

int cpwFocusWindow(pCpw cpw, int win) {
    CpwWindow* w = find_or_error(cpw, win);
    if (w == nullptr) return 0;
    cpw->host->focus(w->host.get());
    return 1;
}

float cpwGetContentScale(pCpw cpw) {
    return cpw_state_valid(cpw) ? cpw->host->content_scale() : 1.0f;
}

std::string cpwGetHostError(pCpw cpw) {
    return cpw_state_valid(cpw) ? cpw->host->last_error() : std::string();
}

int cpwGetWindow(pCpw cpw) { return cpw_state_valid(cpw) ? cpw->current : 0; }

int cpwGetWindowSize(pCpw cpw, int win, int* width, int* height) {
    CpwWindow* w = find_or_error(cpw, win);
    if (w == nullptr) return 0;
    if (width != nullptr) *width = w->width;
    if (height != nullptr) *height = w->height;
    return 1;
}

CpwHandlers* cpwWindowHandlers(pCpw cpw, int win) {
    CpwWindow* w = find_or_error(cpw, win);
    return w != nullptr ? &w->handlers : nullptr;
}

// --- host reports ----------------------------------------------------------------------------

void cpw_input_close(pCpw cpw, int win) {
    CpwWindow* w = cpw_list_find(cpw, win);
    // A title-only window has no close box: a close request cannot come from the user.
    if (w == nullptr || w->title_only) return;
    cpw_event_insert(cpw, win, cpw_ev_close);
}

void cpw_input_moved(pCpw cpw, int win, int x, int y) {
    CpwWindow* w = cpw_list_find(cpw, win);
    if (w == nullptr) return;
    w->x = x;
    w->y = y;
    cpw_event_insert(cpw, win, cpw_ev_position, {x, y});
}

void cpw_input_resized(pCpw cpw, int win, int width, int height) {
    CpwWindow* w = cpw_list_find(cpw, win);
    if (w == nullptr) return;
    w->host_width = width;
    w->host_height = height;
    auto& req = w->requested_sizes;
    auto echo = std::find(req.begin(), req.end(), std::make_pair(width, height));
    if (echo != req.end()) {
        // Our own reshape coming back: its queued resize reports it.
        req.erase(req.begin(), echo + 1);
        return;
    }
    if (width == w->width && height == w->height) return;
    w->width = width;
    w->height = height;
    if (cpw->queue.filtered[cpw_ev_reshape]) return;
    if (!w->create_sent) {
        // Handlers have not seen the window yet: this corrects the queued creation resize.
        cpw_event_insert(cpw, win, cpw_ev_reshape, {width, height});
        return;
    }
    cpw_callbacks_dispatch(cpw, w, CpwEvent{win, cpw_ev_reshape, {width, height}});
}

void cpw_input_refresh(pCpw cpw, int win) {
    CpwWindow* w = cpw_list_find(cpw, win);
    if (w == nullptr || !w->create_sent) return;  // the queued first redraw is still to come
    if (cpw->queue.filtered[cpw_ev_display]) return;
    cpw_callbacks_dispatch(cpw, w, CpwEvent{win, cpw_ev_display, {}});
}

void cpw_input_visible(pCpw cpw, int win, bool visible) {
    if (cpw_list_find(cpw, win) == nullptr) return;
    cpw_event_insert(cpw, win, cpw_ev_visibility, {visible ? 1 : 0});
}
