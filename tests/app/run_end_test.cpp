// The driver's end of a run: each kind of fault, handed up from below, becomes the message and
// the exit status the user knows; nothing below the driver ends the process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/cli/stop.hpp"
#include "fixture.hpp"
#include "host/clipboard.hpp"
#include "host/messages.hpp"

namespace {

// No display while it lives, so the clipboard cannot be had.
struct NoDisplay {
    NoDisplay() {
        for (auto& [name, value] : saved)
            if (const char* v = std::getenv(name)) value = v, unsetenv(name);
    }
    ~NoDisplay() {
        for (const auto& [name, value] : saved)
            if (value) setenv(name, value->c_str(), 1);
    }
    std::pair<const char*, std::optional<std::string>> saved[2] = {{"DISPLAY", {}},
                                                                   {"WAYLAND_DISPLAY", {}}};
};

TEST(RunEnd, EachFaultReachesTheUserAsItsMessageAndStatus) {
    struct Case {
        const char* what;
        std::function<void()> stop;
        std::string err, log;  // standard error, the program log
        int status;
    };
    const Case cases[] = {
        {"silent stop", [] { stop_silently(); }, "", "", 0},
        {"lines skipped", [] { end_program(ExitStatus::lines_skipped); }, "", "", 3},
        {"stop", [] { stop_with_message("No waypoint in a/b.cup"); },
         "STOP No waypoint in a/b.cup\n", "", 2},
        {"already reported", [] { stop_after_report(); }, "", "", 2},
        {"report on the console", [] { stop_reporting("*** Error:a\\/b/line 2 ***", true); },
         "STOP *** Error:a/b\nline 2 ***\n", "*** Error:a/b\nline 2 ***\n", 2},
        {"report in a box", [] { stop_reporting("bad/file", false); },
         "Varnix: bad\nfile\nSTOP bad\nfile\n", "bad\nfile\n", 2},
        {"the clipboard, from the host",
         [] {
             const NoDisplay none;
             if (Fault f = wr_clp("TPPosX=1")) stop_on(std::move(f));
         },
         "Exiting: Can't open clipboard\n", "", 1},
    };
    TempDir dir;
    setenv("VARNIX_NO_DIALOGS", "1", 1);
    for (const Case& c : cases) {
        const fs::path log = dir.path() / (std::string(c.what) + ".txt");
        set_log_file_name(log.string());
        testing::internal::CaptureStderr();
        int status = -1;
        try {  // as a lower part of a run would, and what reaches the driver settled
            c.stop();
            status = settle_end(RunEnd{});
        } catch (const RunEnd& end) {
            status = settle_end(end);
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.err) << c.what;
        EXPECT_EQ(status, c.status) << c.what;
        EXPECT_EQ(fs::exists(log) ? read_text(log) : "", c.log) << c.what;
    }
    reset_messages();
}

}  // namespace
