// Starting the converter window through the real binary, copied beside variants of its
// definition file: every way the start can fail, with its words on the console and in the
// message box (on standard error with VARNIX_NO_DIALOGS=1).
#include <gtest/gtest.h>

#include <regex>

#include "fixture.hpp"

namespace {

const std::string form_text = read_text(fs::path(VARNIX_SOURCE_DIR) / "data/Varnix_form.frm");

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class FormStart : public AlpsInstalled {
  protected:
    // Runs `varnix` from bin/ under `prefix`, with no operand and no display unless given.
    RunResult start(const fs::path& prefix, const std::string& display = "") {
        fs::create_directories(prefix / "bin");
        fs::copy_file(VARNIX_BINARY, prefix / "bin/varnix", fs::copy_options::overwrite_existing);
        const fs::path module = VARNIX_WINDOW_MODULE;
        if (!module.empty())
            fs::copy_file(module, prefix / "bin" / module.filename(),
                          fs::copy_options::overwrite_existing);
        return run_program(prefix / "bin/varnix", {}, work.path(),
                           {{"VARNIX_REGISTRY", store.string()}, {"DISPLAY", display}});
    }

    TempDir work, prefix;
};

const std::string no_window =
    "STOP frm_create_form: no display to open the window on (neither DISPLAY nor "
    "WAYLAND_DISPLAY is set; start Varnix from the desktop, or give a landscape, a latitude and "
    "a longitude to convert on the command line)\n";

TEST_F(FormStart, FailuresSayWhatIsWrong) {
    struct Case {
        std::string what;
        std::string form;  // the definition beside the binary; "-" for none
        std::string out;   // a line standard output must hold ("" for none)
        std::string err;   // what standard error must end with
        std::string display = "";
    };
    const std::string bin = (prefix.path() / "bin").string();
    const std::string not_read = bin + "/Varnix_form.frm/ Error reading";
    const Case cases[] = {
        {"no definition file", "-", not_read,
         "Varnix: " + bin + "/Varnix_form.frm\n Error reading\n"},
        {"a box without a type", replaced(form_text, "Type=CHR; ", ""), not_read,
         "Varnix: " + bin + "/Varnix_form.frm\n Error reading\n"},
        {"version 2299 belongs to 2200", replaced(form_text, "Version=2200", "Version=2299"), "",
         no_window},
        {"version 2300", replaced(form_text, "Version=2200", "Version=2300"),
         "Version numbers do not match:/App:2200/Form:2300",
         "Varnix: Version numbers do not match:\nApp:2200\nForm:2300\n"},
        {"version with leading zeros", replaced(form_text, "Version=2200", "Version=99"),
         "Version numbers do not match:/App:2200/Form:0099",
         "Varnix: Version numbers do not match:\nApp:2200\nForm:0099\n"},
        {"no OC2 line", replaced(form_text, "Title=OC2", "Title=Result"), "",
         "Varnix: *** Form definition file corrupted ***\n"
         "STOP *** Form definition file corrupted  ***\n"},
        {"no IT box", replaced(form_text, "Name=IT;", "Name=In;"), "",
         "Varnix: *** Form definition file corrupted ***\n"
         "STOP *** Form definition file corrupted  ***\n"},
        {"no display", form_text, "", no_window},
        // A display that is gone: the box (on standard error here) and the stop give the
        // window system's own reason.
        {"a display nobody serves", form_text, "",
         "Varnix: The converter window could not be opened:\n"
         "X11: Failed to open display :9999\n"
         "STOP frm_create_form: X11: Failed to open display :9999\n",
         ":9999"},
    };
    for (const auto& c : cases) {
        fs::remove(prefix.path() / "bin/Varnix_form.frm");
        if (c.form != "-") write_text(prefix.path() / "bin/Varnix_form.frm", c.form);
        RunResult r = start(prefix.path(), c.display);
        EXPECT_EQ(r.status, 2) << c.what;  // a start that fails is a reported stop
        if (!c.out.empty()) {
            EXPECT_NE(r.out.find(c.out + "\n"), std::string::npos) << c.what << "\n" << r.out;
        }
        EXPECT_TRUE(r.err.ends_with(c.err)) << c.what << "\n" << r.err;
        // Nothing is remembered from a start that failed.
        EXPECT_FALSE(fs::exists(work.path() / ".config/varnix/Varnix_form.dat")) << c.what;
    }
}

// An installed program finds its definition in ../share/varnix/ beside bin/.
TEST_F(FormStart, InstalledLayoutFindsTheDefinition) {
    write_text(prefix.path() / "share/varnix/Varnix_form.frm", form_text);
    RunResult r = start(prefix.path());
    EXPECT_EQ(r.err, no_window);
}

// No simulator: the message and a stop, not a window without landscapes, choices or buttons.
TEST_F(FormStart, NoInstallationStopsBeforeTheWindow) {
    RunResult r =
        run_varnix({}, work.path(), {{"VARNIX_REGISTRY", (work.path() / "none.reg").string()}});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.starts_with("Varnix: *** No Volaro installation found (2 or 3) ***"))
        << r.err;
    EXPECT_EQ(r.err.find("frm_create_form"), std::string::npos) << r.err;
}

}  // namespace
