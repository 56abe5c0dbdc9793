#include "app/varnix_forms.hpp"

#include "app/stop.hpp"

void varnix_forms() {
    stop_with_message(
        "The converter window is not available in this version; give a landscape, "
        "a latitude and a longitude, or a batch file");
}
