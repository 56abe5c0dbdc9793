// Fuzzes the saved-values reader on the tests' form with a box of every type. Beyond "no crash":
// what was read, written and read again must write the same text again (nothing drifts or is
// lost).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "forms/my_forms.hpp"
#include "fuzz/fuzz_check.hpp"
#include "fuzz/fuzz_support.hpp"

namespace {

// The model right after reading the form.
struct Model {
    Frm000 frm000;
    Frmc01 frmc01;
    Frmi01 frmi01;
    Frmi03 frmi03;
};

const Model& fresh_model() {
    static const Model model = [] {
        if (frm_read_form(VARNIX_EVERY_TYPE_FORM) != 0) std::abort();
        return Model{frm_context().frm000, frm_context().frmc01, frm_context().frmi01,
                     frm_context().frmi03};
    }();
    return model;
}

void restore(const Model& m) {
    frm_context().frm000 = m.frm000;
    frm_context().frmc01 = m.frmc01;
    frm_context().frmi01 = m.frmi01;
    frm_context().frmi03 = m.frmi03;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Model& model = fresh_model();

    restore(model);
    frm_read_form_data_bytes(as_text(data, size));
    check_tables();
    const std::string first = frm_form_data_text();

    restore(model);
    frm_read_form_data_bytes(first);
    const std::string second = frm_form_data_text();
    if (first != second) {
        std::fprintf(stderr, "saved values drift:\n--- first\n%s--- second\n%s", first.c_str(),
                     second.c_str());
        std::abort();
    }
    return 0;
}
