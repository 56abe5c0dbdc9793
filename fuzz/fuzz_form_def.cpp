// Fuzzes the definition-file reader, then drives the model it built: hand-over to the view,
// value checks and stepping of every box, and a saved-values round trip.
#include <cstdlib>
#include <string>

#include "forms/my_forms.hpp"
#include "fuzz/fuzz_support.hpp"
#include "gui/form_view.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("VARNIX_NO_DIALOGS", "1", 1);
    // No window system: a window per input would be slow and test nothing of the readers.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("VARNIX_REGISTRY", "/nonexistent/varnix-fuzz.reg", 1);  // no installation
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string definition = scratch_file(".frm");
    static const std::string saved = scratch_file(".sav");
    write_bytes(definition, data, size);

    reset_form_model();
    cpwFreeContext(&FormView.cpw);  // the view's reset leaves the toolkit context alone
    reset_form_view();
    frm_read_form(definition);
    check_tables();
    frm_create_form();
    check_tables();

    for (int i = 1; i <= frm_get_count(); ++i) {
        int iv, it;
        float rv;
        std::string cv, msg;
        frm_get_cur_value(i, iv, rv, cv, it);
        if (check_values(i - 1, 1, iv, rv, cv, msg)) {
            check_minmax(i - 1, iv, rv, cv, msg);
            incrm_val(i - 1, iv, rv, cv, i % 2 ? 1 : -1);
        }
        frm_set_value(i, iv, rv, cv, true);
    }
    check_tables();

    frm_write_form_data(saved);
    frm_read_form_data(saved);
    check_tables();
    return 0;
}
