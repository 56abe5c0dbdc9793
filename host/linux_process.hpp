// Running a helper program (clipboard tools, zenity) without a shell: arguments are passed as
// they are, so no quoting can go wrong. Linux-only, used by the linux_*.cpp files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ProcessRun {
    bool started = false;       // the program was found and executed
    bool input_written = true;  // all of the input reached the program
    bool timed_out = false;     // killed after the time limit
    int exit_code = -1;         // -1 when it ended on a signal
    std::string output;         // its standard output, when captured
};

// Runs argv[0] (looked up in PATH) with `input` on its standard input (or /dev/null) and, when
// `capture` is set, collects up to `max_output` bytes of its standard output; its standard error
// and an uncaptured standard output go to /dev/null. `timeout_ms` 0 waits for ever.
ProcessRun run_process(const std::vector<std::string>& argv, std::optional<std::string_view> input,
                       bool capture, std::size_t max_output = 1 << 20, int timeout_ms = 0);
