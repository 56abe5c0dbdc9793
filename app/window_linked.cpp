#include "app/varnix_forms.hpp"
#include "app/window_mode.hpp"

Fault run_window_mode() { return varnix_forms(); }
