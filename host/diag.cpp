#include "host/diag.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/console.hpp"

namespace {

struct DiagState {
    bool on = false;     // -v / -debug
    int env_debug = -1;  // VARNIX_DEBUG=1; -1 until looked at
};
DiagState diag_state;

}  // namespace

void set_diag_on(bool on) { diag_state.on = on; }

bool diag_on() {
    if (diag_state.env_debug < 0) {
        const char* v = std::getenv("VARNIX_DEBUG");
        diag_state.env_debug = (v && std::strcmp(v, "1") == 0) ? 1 : 0;
    }
    return diag_state.on || diag_state.env_debug == 1;
}

void diag_write(std::string_view line) {
    std::string text = " ";
    text += line;
    console_line(text);
    std::fflush(stdout);  // a window's lines can be followed while it runs, even into a file
}
