// Shared set-up of the form engine's tests: each test runs in a scratch folder of its own
// (the form log is written to the current folder), with a fresh model and view, and with
// application hooks that record their calls.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "forms/my_forms.hpp"
#include "tests/common/temp_dir.hpp"

namespace fs = std::filesystem;

// What the test's application hooks do and saw.
struct TestApp {
    std::vector<std::tuple<int, int, int>> callbacks;  // frm_callback(ncla, n, value)
    std::vector<int> checked;                          // boxes passed to check_values_app
    // check_values_app's answer; accepts when empty.
    std::function<int(int, int&, float&, TextField<255>&, std::string&)> check;
};
extern TestApp test_app;

class FormsTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `text` to `name` in the scratch folder; returns the name.
    std::string write(std::string_view name, std::string_view text) const {
        tmp_.write(name, text);
        return std::string(name);
    }
    std::string read(std::string_view name) const { return tmp_.read(name); }
    // Reads a definition given as text; the form log is in log().
    int read_form(std::string_view text) { return frm_read_form(write("form.frm", text)); }
    // Reads one of the shared definitions in tests/forms/data.
    int read_form_file(std::string_view name);
    std::string log() const { return read("frm_forms.log"); }
    const fs::path& dir() const { return tmp_.path(); }

  private:
    TempDir tmp_;
    fs::path old_cwd_;
};
