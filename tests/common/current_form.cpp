// A form context made current before any test runs, for test binaries of the engine and the
// application: their tests act on "the form" as the program's one window does.
#include "forms/my_forms.hpp"

namespace {
const std::unique_ptr<FormContext> form = [] {
    auto f = frm_create_context();
    frm_set_context(f.get());
    return f;
}();
}  // namespace
