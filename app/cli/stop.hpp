// How the application's runs end. Scripts tell the outcomes apart by the exit status:
// 0 success (and -help, and a closed form), 1 the clipboard failure, 2 every other stop that
// reports a problem, 3 finished with input lines skipped (each named in a warning).
//
// The stops below end the run, not the process: they hand a RunEnd up to varnix_main, which
// alone shows the fault and returns the status to main. They are for the application's own
// code; a lower layer returns a Fault (include/fault.hpp) for its caller to stop with.
#pragma once

#include <string_view>

#include "app/jobs/run_outcome.hpp"
#include "include/fault.hpp"

// What ends a run early: a fault, or a plain status (nothing to show).
struct RunEnd {
    ExitStatus status = ExitStatus::success;
    Fault fault;
};

// Ends the run with `status` and nothing more to show.
[[noreturn]] void end_program(ExitStatus status);
// Ends the run with `fault` (which must be one).
[[noreturn]] void stop_on(Fault fault);
// "STOP " + msg on standard error, status 2.
[[noreturn]] void stop_with_message(std::string_view msg);
// Nothing written, status 0: the run ended as asked.
[[noreturn]] void stop_silently();
// Status 2 after the problem was already reported to the user.
[[noreturn]] void stop_after_report();
// "STOP " + msg on standard error (in a box as well when not qline) and in the program log,
// then status 2.
[[noreturn]] void stop_reporting(std::string_view msg, bool qline);
// "Exiting: " + msg on standard error, status 1 (the clipboard failures).
[[noreturn]] void BailOut(std::string_view msg);

// Ends the run as the outcome says (a stop, or lines skipped), handing it up to varnix_main;
// returns after a success.
void settle_run(const RunOutcome& outcome, bool qline);

// The driver's end of a run: shows the fault, closes the run log and settles standard output
// (a result that cannot be printed is no success). Returns the exit status.
int settle_end(const RunEnd& end);
