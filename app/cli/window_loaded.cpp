#include <string>

#include "app/pages/window_mode.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "host/module.hpp"

Fault run_window_mode() {
    // VARNIX_WINDOW_MODULE_FILE: the module's file name, given by the build.
    const ModuleLookup window = load_module_entry(VARNIX_WINDOW_MODULE_FILE, "varnix_window_main");
    if (!window.entry) {
        // Started from a desktop, the box is all the user sees; the stop line is for scripts.
        const std::string path = path_text(window.path);
        const std::string why = path_text(window.error);
        const std::string what = "The converter window needs its module ";
        error_message_tit(s_error, "Varnix",
                          what + message_literal(path) + ":/" + message_literal(why), false);
        return {Fault::Code::stop, what + path + ": " + why};
    }
    Fault end;
    // The entry is looked up as a function of no arguments; it is this one.
    reinterpret_cast<decltype(&varnix_window_main)>(window.entry)(&end);
    return end;
}
