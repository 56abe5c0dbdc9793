// The window list, kept in increasing id order so lookups and the next free id are simple.
#include <algorithm>

#include "toolkit/cpw_state.hpp"

CpwWindow* cpw_list_find(pCpw cpw, int id) {
    for (auto& w : cpw->windows)
        if (w->id == id) return w.get();
    return nullptr;
}

int cpw_list_free_id(pCpw cpw) {
    int id = 1;
    for (auto& w : cpw->windows) {
        if (w->id != id) break;
        ++id;
    }
    return id;
}

CpwWindow* cpw_list_insert(pCpw cpw, std::unique_ptr<CpwWindow> w) {
    auto at = std::lower_bound(cpw->windows.begin(), cpw->windows.end(), w->id,
                               [](const auto& a, int id) { return a->id < id; });
    return cpw->windows.insert(at, std::move(w))->get();
}

std::unique_ptr<CpwWindow> cpw_list_remove(pCpw cpw, int id) {
    auto it = std::find_if(cpw->windows.begin(), cpw->windows.end(),
                           [id](const auto& w) { return w->id == id; });
    if (it == cpw->windows.end()) return nullptr;
    std::unique_ptr<CpwWindow> w = std::move(*it);
    cpw->windows.erase(it);
    return w;
}
