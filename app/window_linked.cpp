#include "app/varnix_forms.hpp"
#include "app/window_mode.hpp"

void run_window_mode() { varnix_forms(); }
