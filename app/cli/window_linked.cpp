#include "app/pages/varnix_forms.hpp"
#include "app/pages/window_mode.hpp"

Fault run_window_mode() { return varnix_forms(); }
