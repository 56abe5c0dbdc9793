// How a file run (a batch, a flight plan back to .cup, a task list) ended: the operations below
// the driver return this and never end the process; the driver turns it into the messages and
// the exit status the user knows.
#pragma once

#include <string>
#include <vector>

// How runs end, as scripts tell them apart: 0 success (and -help, and a closed form), 1 the
// clipboard failure, 2 every other stop that reports a problem, 3 finished with input lines
// skipped (each named in a warning).
enum class ExitStatus : int { success = 0, clipboard = 1, stopped = 2, lines_skipped = 3 };

struct RunOutcome {
    // How a stop is shown: "STOP " + text on standard error (message), or that and in a box
    // when there is no console line, and in the program log (reported).
    enum class Stop { none, message, reported };
    ExitStatus status = ExitStatus::success;
    Stop stop = Stop::none;
    std::string text;  // the stop's message; in a reported one "/" is a line break
    int written = 0, outside = 0, skipped = 0;
    std::vector<std::string> outputs;  // files written (host paths)

    // The outcome of a stop; the counts are the caller's to fill.
    static RunOutcome stopped(Stop how, std::string text) {
        RunOutcome o;
        o.status = ExitStatus::stopped;
        o.stop = how;
        o.text = std::move(text);
        return o;
    }
    // The stop's text as the user reads it.
    std::string shown() const;
};

