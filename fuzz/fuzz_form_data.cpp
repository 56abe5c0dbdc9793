// Fuzzes the saved-values reader on the tests' form with a box of every type. Beyond "no crash":
// what was read, written and read again must write the same text again (nothing drifts or is
// lost).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "forms/my_forms.hpp"
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
        return Model{frm000, frmc01, frmi01, frmi03};
    }();
    return model;
}

void restore(const Model& m) {
    frm000 = m.frm000;
    frmc01 = m.frmc01;
    frmi01 = m.frmi01;
    frmi03 = m.frmi03;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string input = scratch_file(".in");
    static const std::string first = scratch_file(".1");
    static const std::string second = scratch_file(".2");
    const Model& model = fresh_model();

    write_bytes(input, data, size);
    restore(model);
    frm_read_form_data(input);
    check_tables();
    frm_write_form_data(first);

    restore(model);
    frm_read_form_data(first);
    frm_write_form_data(second);
    std::string a = read_bytes(first), b = read_bytes(second);
    if (a != b) {
        std::fprintf(stderr, "saved values drift:\n--- first\n%s--- second\n%s", a.c_str(),
                     b.c_str());
        std::abort();
    }
    return 0;
}
