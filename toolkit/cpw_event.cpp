// The event queue: a ring of 256 entries; a full ring or a filtered kind drops new events.
#include "toolkit/cpw_state.hpp"

namespace {
int next_index(int i) { return (i + 1) % CpwEventQueue::size; }

// A queued move or resize of the same window that a new one makes stale. Merging on arrival,
// rather than skipping when sending, also covers the redraw that every reshape queues between
// two resizes, and keeps the first redraw after the first resize.
CpwEvent* stale(CpwEventQueue& q, int window, int kind) {
    if (kind != cpw_ev_position && kind != cpw_ev_reshape) return nullptr;
    for (int i = q.head; q.ring[i].kind != cpw_ev_none; i = next_index(i)) {
        if (q.ring[i].kind == kind && q.ring[i].window == window) return &q.ring[i];
        if (next_index(i) == q.head) break;  // full ring
    }
    return nullptr;
}
}  // namespace

bool cpw_event_insert(pCpw cpw, int window, int kind, std::array<int, 5> p) {
    CpwEventQueue& q = cpw->queue;
    if (kind <= cpw_ev_none || kind >= cpw_event_kinds || q.filtered[kind]) return false;
    if (CpwEvent* old = stale(q, window, kind)) {
        old->p = p;  // a burst of resizes ends in one call with the last size
        return true;
    }
    CpwEvent& slot = q.ring[q.tail];
    if (slot.kind != cpw_ev_none) return false;  // full
    slot = CpwEvent{window, kind, p};
    q.tail = next_index(q.tail);
    return true;
}

bool cpw_event_empty(pCpw cpw) { return cpw->queue.ring[cpw->queue.head].kind == cpw_ev_none; }

int cpw_event_count(pCpw cpw) {
    int n = 0;
    for (const CpwEvent& e : cpw->queue.ring) n += e.kind != cpw_ev_none;
    return n;
}

bool cpw_event_take(pCpw cpw, CpwEvent& e) {
    CpwEventQueue& q = cpw->queue;
    if (q.ring[q.head].kind == cpw_ev_none) return false;
    e = q.ring[q.head];
    q.ring[q.head] = CpwEvent{};
    q.head = next_index(q.head);
    return true;
}

bool cpw_event_send(pCpw cpw) {
    CpwEvent e;
    if (!cpw_event_take(cpw, e)) return false;
    if (e.window == 0) return true;
    if (CpwWindow* w = cpw_list_find(cpw, e.window)) cpw_callbacks_dispatch(cpw, w, e);
    return true;
}

void cpw_event_void_window(pCpw cpw, int window) {
    for (CpwEvent& e : cpw->queue.ring)
        if (e.kind != cpw_ev_none && e.window == window) e.window = 0;
}

int cpwFilterEvent(pCpw cpw, int kind, int flag) {
    if (!cpw_state_valid(cpw)) return 0;
    if (kind <= cpw_ev_none || kind >= cpw_event_kinds || (flag != 0 && flag != 1)) {
        cpw_error_set(cpw, cpw_err_argument);
        return 0;
    }
    cpw->queue.filtered[kind] = flag == 1;
    return 1;
}
