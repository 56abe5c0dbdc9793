#include "app/varnix_forms.hpp"
#include "app/window_mode.hpp"

extern "C" void varnix_window_main(Fault* end) { *end = varnix_forms(); }
