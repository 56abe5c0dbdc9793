// A view made current before any test runs, for test binaries of the view alone.
#include "gui/form_view.hpp"

namespace {
FormViewState view;
const bool made_current = (set_form_view(&view), true);
}  // namespace
