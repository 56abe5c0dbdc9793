// The diagnostic channel: free-layout lines of inputs and intermediate values.
//
// Silent by default so that a plain run prints only its results; `-v`/`-debug` (or
// VARNIX_DEBUG=1) turn it on, and lines then go to standard output, each beginning with one
// blank. Logicals print as T/F (use tf()).
#pragma once

#include <sstream>
#include <string_view>

void set_diag_on(bool on);
bool diag_on();
// Writes one line (the leading blank is added here) to standard output.
void diag_write(std::string_view line);

inline char tf(bool q) { return q ? 'T' : 'F'; }

template <class... Args>
void diag(const Args&... args) {
    if (!diag_on()) return;
    std::ostringstream os;
    ((os << args << ' '), ...);
    std::string line = os.str();
    if (!line.empty()) line.pop_back();
    diag_write(line);
}
