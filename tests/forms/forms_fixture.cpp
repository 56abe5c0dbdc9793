#include "tests/forms/forms_fixture.hpp"

#include <cstdlib>

#include "gui/form_view.hpp"
#include "host/install.hpp"
#include "host/registry.hpp"
#include "include/common_data.hpp"

TestApp test_app;

namespace {

void record_callback(int ncla, int n, int& value) {
    test_app.callbacks.emplace_back(ncla, n, value);
}

int record_check(int n, std::string_view, int& ival, float& rval, TextField<255>& cval,
                 std::string& msg) {
    test_app.checked.push_back(n);
    return test_app.check ? test_app.check(n, ival, rval, cval, msg) : 1;
}

}  // namespace

void FormsTest::SetUp() {
    ASSERT_FALSE(dir().empty());
    old_cwd_ = fs::current_path();
    fs::current_path(dir());
    setenv("VARNIX_NO_DIALOGS", "1", 1);
    // No window system: a created form gets no window and its loop never runs.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("VARNIX_REGISTRY", (dir() / "none.reg").c_str(), 1);
    registry_reset();
    reset_common_data();
    reset_form_model();
    reset_form_view();
    test_app = {};
    frm_set_app_hooks({record_callback, record_check, {}, [](int, std::vector<std::string>& lines) {
                           return installed_landscapes(lines, common_data.qline);
                       }});
}

void FormsTest::TearDown() { fs::current_path(old_cwd_); }

int FormsTest::read_form_file(std::string_view name) {
    return frm_read_form((fs::path(VARNIX_TEST_DATA) / name).string());
}
