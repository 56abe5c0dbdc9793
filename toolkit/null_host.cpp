// The headless host.
#include "toolkit/null_host.hpp"

CpwNullWindow* CpwNullHost::window(int id) {
    for (auto it = all_.rbegin(); it != all_.rend(); ++it)
        if ((*it)->id == id) return *it;
    return nullptr;
}

std::unique_ptr<CpwHostWindow> CpwNullHost::create_window(const CpwWindowRequest& request, int id) {
    if (fail_create) return nullptr;
    auto w = std::make_unique<CpwNullWindow>();
    w->id = id;
    w->request = request;
    all_.push_back(w.get());
    current = id;
    return w;
}

void CpwNullHost::destroy_window(std::unique_ptr<CpwHostWindow> w) {
    if (!w) return;
    rec(w.get()).destroyed = true;
    if (current == w->id) current = 0;
    graveyard_.push_back(std::move(w));  // kept for inspection
}

CpwPump CpwNullHost::pump(int max) {
    ++pumps;
    CpwPump result;
    if (quit_) {
        quit_ = false;
        result.handled = 1;
        result.quit = true;
        return result;
    }
    while (result.handled < max && !messages.empty()) {
        std::function<void()> m = std::move(messages.front());
        messages.pop_front();
        m();
        ++result.handled;
    }
    if (result.handled > 0) idle_waits_ = 0;
    return result;
}

void CpwNullHost::wait() {
    ++waits;
    if (messages.empty() && ++idle_waits_ >= quit_after_idle_waits) {
        idle_waits_ = 0;
        quit_ = true;
    }
}
