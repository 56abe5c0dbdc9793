// The one toolkit context of the process.
#include "toolkit/cpw_state.hpp"

namespace {
// Owned here; the handle given to callers is its address.
std::unique_ptr<CpwContext> cpw_context;
}  // namespace

CpwContext::~CpwContext() {
    // Windows first: their GL contexts belong to the host.
    while (!windows.empty()) {
        std::unique_ptr<CpwWindow> w = std::move(windows.back());
        windows.pop_back();
        if (host && w->host) host->destroy_window(std::move(w->host));
    }
    cpw_font_free(font);
    host.reset();
}

pCpw cpw_state_create(std::unique_ptr<CpwHost> host) {
    if (cpw_context) return cpw_context.get();  // one context per process
    cpw_context = std::make_unique<CpwContext>();
    cpw_context->host = std::move(host);
    cpw_context->host->attach(cpw_context.get());
    cpw_font_init(cpw_context->font);
    return cpw_context.get();
}

void cpw_state_free() { cpw_context.reset(); }

bool cpw_state_valid(pCpw cpw) { return cpw != nullptr && cpw == cpw_context.get(); }
