#include "app/stop.hpp"

#include <cstdio>
#include <cstdlib>

#include "host/console.hpp"

void stop_with_message(std::string_view msg) {
    std::fflush(stdout);
    console_error_line("STOP " + std::string(msg));
    std::exit(0);
}

void stop_silently() {
    std::fflush(stdout);
    std::exit(0);
}
