// The one error path: every failure records its code here.
#include "toolkit/cpw_state.hpp"

int cpw_error_set(pCpw cpw, int code) {
    if (cpw_state_valid(cpw)) cpw->last_error = code;
    return code;
}

int cpwGetLastError(pCpw cpw) { return cpw_state_valid(cpw) ? cpw->last_error : cpw_err_argument; }
