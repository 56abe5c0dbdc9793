// A fault found below the driver: what kind of end it asks for and the text the user will read.
// Readers, the host and the form engine return it and go no further; only the driver
// (varnix_main) shows it and turns it into the exit status.
#pragma once

#include <string>
#include <utility>

struct Fault {
    enum class Code : int {
        none,           // nothing went wrong
        stop,           // "STOP " + text on standard error; status 2
        report,         // a message ("/" a line break): "STOP " + the text as shown on standard
                        // error, and the text in the program log; status 2
        report_in_box,  // the same, shown in a message box first (a run without a console)
        reported,       // already shown to the user; status 2 and nothing more
        clipboard,      // the clipboard cannot be used: "Exiting: " + text; status 1
    };

    Code code = Code::none;
    std::string text;

    Fault() = default;
    Fault(Code c, std::string t) : code(c), text(std::move(t)) {}

    explicit operator bool() const { return code != Code::none; }
};
