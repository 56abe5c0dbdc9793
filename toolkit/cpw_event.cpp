// The event queue: a ring of 256 entries; a full ring or a filtered kind drops new events.
#include "toolkit/cpw_state.hpp"

namespace {
int next_index(int i) { return (i + 1) % CpwEventQueue::size; }

// A moved or resized event followed by one of the same kind for the same window is stale: a
// burst of resizes ends in one call with the last size.
bool superseded(const CpwEvent& e, const CpwEvent& next) {
    return (e.kind == cpw_ev_position || e.kind == cpw_ev_reshape) && next.kind == e.kind &&
           next.window == e.window;
}
}  // namespace

bool cpw_event_insert(pCpw cpw, int window, int kind, std::array<int, 5> p) {
    CpwEventQueue& q = cpw->queue;
    if (kind <= cpw_ev_none || kind >= cpw_event_kinds || q.filtered[kind]) return false;
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

bool cpw_event_send(pCpw cpw) {
    CpwEventQueue& q = cpw->queue;
    if (q.ring[q.head].kind == cpw_ev_none) return false;
    const CpwEvent e = q.ring[q.head];
    q.ring[q.head] = CpwEvent{};
    q.head = next_index(q.head);
    if (e.window == 0 || superseded(e, q.ring[q.head])) return true;
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
