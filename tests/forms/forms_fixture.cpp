#include "tests/forms/forms_fixture.hpp"

#include <cstdlib>
#include <fstream>

#include "gui/form_view.hpp"
#include "host/registry.hpp"
#include "include/common_data.hpp"

TestApp test_app;

void frm_callback(int ncla, int n, int& value) { test_app.callbacks.emplace_back(ncla, n, value); }

int check_values_app(int n, std::string_view, int& ival, float& rval, TextField<255>& cval,
                     std::string& msg) {
    test_app.checked.push_back(n);
    return test_app.check ? test_app.check(n, ival, rval, cval, msg) : 1;
}

void FormsTest::SetUp() {
    std::string tmpl = (fs::temp_directory_path() / "forms_test_XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    old_cwd_ = fs::current_path();
    fs::current_path(dir_);
    setenv("VARNIX_NO_DIALOGS", "1", 1);
    // No window system: a created form gets no window and its loop never runs.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("VARNIX_REGISTRY", (dir_ / "none.reg").c_str(), 1);
    registry_reset();
    reset_common_data();
    reset_form_model();
    reset_form_view();
    test_app = {};
}

void FormsTest::TearDown() {
    fs::current_path(old_cwd_);
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::string FormsTest::write(std::string_view name, std::string_view text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return std::string(name);
}

std::string FormsTest::read(std::string_view name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
