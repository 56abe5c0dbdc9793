#include "app/pages/varnix_forms.hpp"
#include "app/pages/window_mode.hpp"

extern "C" void varnix_window_main(Fault* end) { *end = varnix_forms(); }
