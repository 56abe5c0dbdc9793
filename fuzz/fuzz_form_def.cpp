// Fuzzes the definition-file reader, then drives the model it built: hand-over to the view and
// its layout, value checks and stepping of every box, and a saved-values round trip. All in
// memory: a headless toolkit context with the two fonts loaded once, no window, no log file.
#include <cstdlib>
#include <memory>
#include <string>

#include "forms/my_forms.hpp"
#include "fuzz/fuzz_check.hpp"
#include "fuzz/fuzz_support.hpp"
#include "gui/form_view.hpp"
#include "host/messages.hpp"
#include "toolkit/null_host.hpp"

namespace {

// What a fresh view keeps across inputs: the context and the faces loaded into it.
struct Toolkit {
    pCpw cpw = nullptr;
    CpwFontFace text_font = nullptr, input_font = nullptr;
};

Toolkit& toolkit() {
    static Toolkit t = [] {
        Toolkit k;
        if (cpwInitContextHost(&k.cpw, std::make_unique<CpwNullHost>()) == 0) std::abort();
        k.text_font = cpwLoadFont(k.cpw, "arial.ttf", cpw_font_location_system, nullptr);
        k.input_font = cpwLoadFont(k.cpw, "cour.ttf", cpw_font_location_system, nullptr);
        return k;
    }();
    return t;
}

// A fresh view before each input. Only a form with boxes reaches the view, and the reset is a
// large part of a run: skipped when the last input's form had none.
void fresh_view() {
    static bool first = true;
    if (!first && frm_context().frm000.nb_inpt == 0) return;
    first = false;
    const Toolkit& t = toolkit();
    reset_form_view();
    form_view().cpw = t.cpw;
    form_view().Txt_Font = t.text_font;
    form_view().Inp_Font = t.input_font;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("VARNIX_NO_DIALOGS", "1", 1);
    setenv("VARNIX_REGISTRY", "/nonexistent/varnix-fuzz.reg", 1);  // no installation
    set_log_file_name("");  // no run log: an empty name opens nothing
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::string log;
    fresh_view();
    frm_read_form_bytes("fuzz.frm", as_text(data, size), log);
    check_tables();
    if (frm_context().frm000.nb_inpt > 0) {
        // frm_create_form's steps, with the faces already loaded and no window.
        set_opt(frm_context().frm999.iact, frm_context().frm000.f_size, 0);
        load_form();
        frm_metrics();
        form_setup();
    }
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

    frm_read_form_data_bytes(frm_form_data_text());
    check_tables();
    return 0;
}
