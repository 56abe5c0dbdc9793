// Creating and freeing the context.
#include "toolkit/cpw_state.hpp"

int cpwInitContextHost(pCpw* cpw, std::unique_ptr<CpwHost> host) {
    if (cpw == nullptr) return 0;
    if (*cpw != nullptr) return 1;
    if (!host) return 0;
    *cpw = cpw_state_create(std::move(host));
    return 1;
}

int cpwInitContext(pCpw* cpw) {
    if (cpw != nullptr && *cpw != nullptr) return 1;
    return cpwInitContextHost(cpw, cpw_glfw_host());
}

void cpwFreeContext(pCpw* cpw) {
    if (cpw == nullptr || !cpw_state_valid(*cpw)) return;
    if ((*cpw)->running) return cpw_error_set(*cpw, cpw_err_argument), void();  // handlers hold it
    cpw_state_free();
    *cpw = nullptr;
}
