// The one way the application ends. Scripts tell the outcomes apart by the exit status:
// 0 success (and -help, and a closed form), 1 the clipboard failure (host's BailOut), 2 every
// other stop that reports a problem, 3 finished with input lines skipped (each named in a
// warning).
#pragma once

#include <string_view>

enum class ExitStatus : int { success = 0, clipboard = 1, stopped = 2, lines_skipped = 3 };

// Closes the run log and ends the process (host's exit_program, which the clipboard's fatal
// failure takes as well).
[[noreturn]] void end_program(ExitStatus status);
// "STOP " + msg on standard error, status 2.
[[noreturn]] void stop_with_message(std::string_view msg);
// Nothing written, status 0: the run ended as asked.
[[noreturn]] void stop_silently();
// Status 2 after the problem was already reported to the user.
[[noreturn]] void stop_after_report();
// "STOP " + msg on standard error (in a box as well when not qline) and in the program log,
// then status 2.
[[noreturn]] void stop_reporting(std::string_view msg, bool qline);
